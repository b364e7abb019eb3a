#pragma once
// The program as it runs, offscreen, over a simulated bus: the dashboard has
// searched modules 1, 3 and 7, the boxes are scripted and the printer records.
// The journal of module 3 is a fixed one, so that the screen's lines can be
// checked to the character.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "commun/programme_essai.h"
#include "history/formes_historique.h"
#include "history/frm_journal_alarme.h"
#include "history/frm_purger.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "platform/ui/minuterie.h"

namespace ostrel::test {

inline QByteArray Nom12(const char* nom) { return QByteArray(nom).leftJustified(12, ' ', true); }

// The journal of module 3 (oldest first) and its operators.
inline void Journal_Module_3(sim::Module_Simule& m) {
    using sim::Horodatage;
    m.journal = {
        {Horodatage{2027, 3, 1, 8, 15}, 2, 0, 2},
        {Horodatage{2027, 3, 1, 9, 0}, 1, 2, 2},
        {Horodatage{2027, 3, 2, 0, 0}, 4, 0, 3},   // midnight: the date alone
        {Horodatage{2027, 3, 3, 14, 30}, 5, 0, 3}, // "Plus d'alarme" like 0
        {Horodatage{2027, 3, 5, 23, 59}, 10, 0, 12},
        {Horodatage{2027, 3, 6, 7, 5}, 9, 4, 12},
        {Horodatage{2027, 3, 6, 18, 40}, 6, 0, 5},
    };
    m.operateurs = {Nom12("Dupont"), Nom12("Martin"), Nom12("Lef\xE8vre"), Nom12("Garcia")};
    m.codes_acces = {1003, 2003, 3003, 4003};
    m.voies[4].nom = QByteArray(12, ' ');  // a channel without a name
    for (auto& v : m.voies) v.etat = 2;
    m.horloge = {30, 10, 1, 7, 3, 27};  // 07/03/2027 10:30
}

class Banc_Journal : public ostrel_test::Programme_Essai<> {
public:
    // Starts the program over the bus (modules 1, 3 and 7); false when it could not.
    bool Demarrer(double echelle = 0.05) {
        ostrel_test::Application();
        Installer({Enregistrer_Formes_Historique});
        Definir_Horloge_Murale([] { return DateSerial(2027, 3, 7) + TimeSerial(9, 5, 3); });
        bus.Etat_Demonstration({1, 3, 7});
        bus.Avec_Etat([](sim::Etat_Bus& e) { Journal_Module_3(e.modules[3]); });
        if (!Demarrer_Bus()) return false;
        Definir_Echelle_Temps(echelle);
        Frm_Menu1_Forme* t = Demarrer_Tableau(boites.reponse_connexion);
        if (!t) return false;
        t->Tmr_Date()->Enabled(false);
        ostrel_test::Traiter_Evenements();
        boites.Effacer();
        bus.Effacer_Trames();
        return Code_Erreur == 0;
    }

    void Arreter() {
        // The program's own exit: options written, port closed, every form unloaded.
        if (Tableau()) Fin_Programme();
        Programme_Essai::Arreter();
    }

    frm_Journal_Alarme_Forme* Journal() const {
        return registre.Instance_De<frm_Journal_Alarme_Forme>("frm_Journal_Alarme");
    }
    Frm_Purger_Forme* Purger() const { return registre.Instance_De<Frm_Purger_Forme>("Frm_Purger"); }

    // The journal screen opened from the consultation menu, with `module` current.
    frm_Journal_Alarme_Forme* Ouvrir_Ecran_Journal(Octet module = 3) {
        Num_Module = module;
        // From the home screen through the consultation menu, as the operator goes.
        if (registre.Est_Chargee("Frm_Accueil"))
            Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);
        Ecran_Courant = QStringLiteral("Consultation");
        Liaison_Ecran(QStringLiteral("Consultation"), QStringLiteral("Journal des alarmes"), Faux);
        ostrel_test::Traiter_Evenements();
        return Journal();
    }

    // A control of the purge screen, else of the journal screen.
    template <class T = QWidget> T* Controle(const char* nom) const {
        for (Forme* f : {static_cast<Forme*>(Purger()), static_cast<Forme*>(Journal())})
            if (f)
                if (auto* c = f->findChild<T*>(QString::fromLatin1(nom))) return c;
        return nullptr;
    }

    QStringList Lignes_Liste() const {
        QStringList l;
        if (auto* liste = Controle<QListWidget>("List_Alarmes"))
            for (int i = 0; i < liste->count(); ++i) l << liste->item(i)->text();
        return l;
    }

    // The requests the bus took, in order. A request whose bytes a busy
    // machine sent with a pause amid them reaches the bus in pieces, which
    // fail their CRC and are answered by nothing, and the program sends it
    // again: the pieces are not requests.
    std::vector<QByteArray> Requetes() const {
        std::vector<QByteArray> r;
        for (const auto& t : bus.Trames_Recues())
            if (t.octets.size() >= 6 && sim::Crc_Correct(t.octets)) r.push_back(t.octets);
        return r;
    }
    // The frames the program sent, in order, whether the bus took them whole
    // or in pieces: the attempts of an exchange that fails.
    std::vector<QByteArray> Envois() const {
        QByteArray octets;
        for (const auto& t : bus.Trames_Recues()) octets += t.octets;
        std::vector<QByteArray> e;
        while (octets.size() >= 8) {
            const qsizetype n = static_cast<unsigned char>(octets[1]) == 0x10 ? 9 + static_cast<unsigned char>(octets[6]) : 8;
            e.push_back(octets.left(n));
            octets.remove(0, n);
        }
        return e;
    }
    // Request codes of the requests the bus took, in order.
    std::vector<int> Codes() const { return Codes_De(Requetes()); }
    // Request codes of the frames the program sent, in order.
    std::vector<int> Codes_Envoyes() const { return Codes_De(Envois()); }
    static std::vector<int> Codes_De(const std::vector<QByteArray>& trames) {
        std::vector<int> c;
        for (const QByteArray& t : trames) c.push_back(static_cast<unsigned char>(t[3]));
        return c;
    }
    // The (count or value) word of each request of a code.
    std::vector<int> Mots(int code) const {
        std::vector<int> m;
        for (const QByteArray& r : Requetes())
            if (static_cast<unsigned char>(r[3]) == code)
                m.push_back(static_cast<unsigned char>(r[4]) << 8 | static_cast<unsigned char>(r[5]));
        return m;
    }

    // Texts of the boxes shown since the last call.
    std::vector<QString> Boites_Vues() {
        std::vector<QString> t = boites.Textes();
        boites.Effacer();
        return t;
    }
    // The trace file's lines.
    QStringList Trace() const {
        return Depuis_Cp1252(Lire(QStringLiteral("Windows/setupm.snf"))).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    QString Chemin(const QString& relatif) const { return disque.filePath(relatif); }
    QByteArray Lire(const QString& relatif) const { return disque.Lire(relatif); }
    void Ecrire(const QString& relatif, const QByteArray& contenu) const { disque.Ecrire(relatif, contenu); }
};

}  // namespace ostrel::test
