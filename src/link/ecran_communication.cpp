#include "link/ecran_communication.h"

#include <algorithm>
#include <cmath>

#include "link/liaison.h"
#include "link/modbus.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/formats.h"

namespace ostrel {
namespace {

using Horloge = std::chrono::steady_clock;

// Real duration of a wait of `unites` units of Temps_Attente, at the time-out scale.
Horloge::duration Duree_Attente(Long unites) {
    const double secondes = unites * Secondes_Par_Unite_Attente * Echelle_Delais();
    return std::chrono::duration_cast<Horloge::duration>(std::chrono::duration<double>(secondes));
}

}  // namespace

Forme_Ecran_Communication& Ecran_Communication() {
    static Forme_Ecran_Communication forme;
    return forme;
}

void Forme_Ecran_Communication::ouverture_port(Octet& port) {
    const bool ouvert = Ostrel.CommPort(port) && Ostrel.Settings(QStringLiteral("9600,n,8,1")) && Ostrel.PortOpen(true);
    if (!ouvert) Code_Erreur = Erreur::Port;
    rouvrir_ = false;
    Ostrel.InputLen(Modbus::Limite_Reponse);
    Frm_Menu1().Lampe_Comm(Couleur_Face_Bouton, Couleur_Face_Bouton);
}

void Forme_Ecran_Communication::fermeture_port() {
    // A port that is not open has nothing to close: no failure to trace.
    if (Ostrel.PortOpen() && !Ostrel.PortOpen(false))
        Ecrit_Mouchard(QStringLiteral("Le port est indisponible pour l'action demandée"));
}

void Forme_Ecran_Communication::Rouvrir_Port() {
    if (Ostrel.PortOpen()) Ostrel.PortOpen(false);
    // The device is looked up again by its configured name, which now leads
    // to the adapter's new node; a failure leaves the send to fail with 68.
    rouvrir_ = !Ostrel.PortOpen(true);
}

void Forme_Ecran_Communication::Envoi_Trame() {
    Pause(20);
    if (rouvrir_) Rouvrir_Port();
    Ostrel.RTSEnable(true);
    Frm_Menu1().Lampe_Comm(Couleur_Fenetre);
    Ostrel.Vider_Entree();
    // The whole frame in one write: the line carries its bytes back to back
    // whatever the PC does meanwhile, where a pause of the program between
    // two bytes written alone would leave a silence amid the request, and the
    // module would take its pieces for two bad frames.
    const int n = std::clamp(static_cast<int>(Nb_Octets_A_Envoyer), 0, static_cast<int>(Trame_Emise.size()));
    if (!Ostrel.Output(QByteArray(reinterpret_cast<const char*>(Trame_Emise.data()), n))) {
        Code_Erreur = Erreur::Port;
        rouvrir_ = true;
        Frm_Menu1().Lampe_Comm(Couleur_Fond_Bandeau);
        return;
    }
    // RTS must stay up until the last bit has left the line.
    Ostrel.Vider_Sortie();
    Pause(20);
    Ostrel.RTSEnable(false);
}

void Forme_Ecran_Communication::Recoit_Trame() {
    int attendu = 100;
    Nb_Octets_Recus = 0;
    // The bytes kept are those a reply can hold; beyond them only the count
    // matters, since such a reply is refused anyway.
    std::array<Octet, Taille_Trame> recus{};
    int total = 0;
    const bool longue = Temps_Attente == Attente_Longue;
    const Instant echeance = Horloge::now() + Duree_Attente(Temps_Attente);
    // The long wait wakes up a few times per second of program time to move
    // the progress bar; the others sleep until input comes or time is up.
    const auto pas_progression = std::chrono::duration_cast<Horloge::duration>(
        std::chrono::duration<double>(0.25 * Echelle_Delais()));
    // Bytes that came in before the deadline count, even when the wait that
    // saw them ended at it.
    for (;;) {
        if (Ostrel.InBufferCount() != 0) {
            const QByteArray lus = Ostrel.Input();
            for (char c : lus) {
                if (total < Taille_Trame) recus[static_cast<size_t>(total)] = static_cast<Octet>(c);
                ++total;
            }
            if (total > 2) {
                switch (recus[1]) {
                    case Modbus::Ecriture_Multiple:
                    case Modbus::Ecriture_Simple: attendu = 8; break;
                    case Modbus::Lecture: attendu = recus[2] + 5; break;
                    case Modbus::Refus_Lecture:
                    case Modbus::Refus_Ecriture_Simple:
                    case Modbus::Refus_Ecriture_Multiple: attendu = 5; break;
                    default: break;
                }
            }
        }
        if (longue) {
            Long progression = Calcul_Progression_Attente(echeance);
            Frm_Menu1().Progess_Bar_Value(progression);
        }
        if (total == attendu) break;
        if (Horloge::now() >= echeance) {
            Code_Erreur = Erreur::Ligne;
            break;
        }
        // Sleep until the rest of the reply can be in: its first three bytes,
        // then as many as its function byte says.
        const int manquants = total < 3 ? 3 - total : (attendu > total ? attendu - total : 1);
        Ostrel.Attendre_Entree(longue ? std::min(echeance, Horloge::now() + pas_progression) : echeance, manquants);
    }

    if (Code_Erreur == 0 && attendu < Modbus::Limite_Reponse) {
        Nb_Octets_Recus = static_cast<Entier>(attendu);
        for (int i = 0; i < attendu; ++i) Trame_Recue[static_cast<size_t>(i)] = recus[static_cast<size_t>(i)];
    } else {
        Code_Erreur = Erreur::Ligne;
    }
    Frm_Menu1().Lampe_Comm(Couleur_Fond_Bandeau);
}

Entier Forme_Ecran_Communication::Calcul_Progression_Attente(Instant echeance) {
    // Whole seconds of program time left before the deadline.
    const double reste_reel = std::chrono::duration<double>(echeance - Horloge::now()).count();
    const double reste = std::floor(reste_reel / Echelle_Delais());
    const double progression = Arrondi_Pair((100.0 / 75.0) * (100.0 - reste));
    if (progression < -32768.0 || progression > 32767.0) return 0;
    return static_cast<Entier>(progression);
}

}  // namespace ostrel
