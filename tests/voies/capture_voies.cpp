// Pictures of the channel settings screen and of the calibration dialog, on a
// simulated 16-channel module, at a given size:
//   capture_voies <dossier> [largeur hauteur]
// Writes voies_4_20.png, voies_etor.png, voies_hors_service.png,
// etalonnage.png (the dialog), etalonnage_ecran.png (the dialog over the screen)
// and etalonnage_voie_invalide.png.
#include <QDir>
#include <QPainter>
#include <QTabBar>

#include "commun/capture_programme.h"
#include "config/frm_param_voies.h"
#include "config/parametres_voies.h"
#include "link/liaison_ecran.h"
#include "platform/ui/minuterie.h"
#include "voies/reglages_sim.h"

namespace {

using namespace ostrel;

void Attendre() {
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
}

void Remplir(sim::Simulateur& bus) {
    static const char* const noms[] = {"Chambre 1", "Chambre 2", "Hygro quai", "Porte nord", "Congelateur", "Labo",
                                       "Reserve",   "Hall",      "Cuisine",    "Cave",       "Bureau",      "Atelier",
                                       "Serre",     "Vestiaire", "Local tech", "Toit"};
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        sim::Module_Simule& m = e.modules[1];
        for (int k = 1; k <= 16; ++k) {
            Parametres_Voie v = Voie_Defaut(k - 1);
            v.Voie_Valide = k <= 12 ? Vrai : Faux;
            v.Alarme_Valide = Vrai;
            v.Seuil_Haut = 8;
            v.Seuil_Bas = 2;
            v.Periode_Enreg = 15;
            v.Tempo_Alarme = 10;
            if (k == 1) {
                v.Nature_Capteur = 1;
                v.Unite = 1;
                v.Echelle_4mA = 0;
                v.Echelle_20mA = 100;
                v.Seuil_Haut = 85;
                v.Seuil_Bas = 20;
                v.Inhib_Enreg_ETOR = Vrai;
                v.Num_ETOR_Inhib = 4;
                v.Num_Planning_Inhib = 2;
                v.Relais_2 = Vrai;
            }
            if (k == 4) {
                v.Nature_Capteur = 2;
                v.Role_ETOR_Inhib = Vrai;
                v.Alarme_Valide = Faux;
                v.Contact_NF = Vrai;
            }
            sim::Voie_Simulee& s = m.voies[static_cast<size_t>(k - 1)];
            s.reglages = ostrel_test::Reglages(v);
            s.nom = QByteArray(noms[k - 1]).leftJustified(12, ' ', true);
            s.mesure = static_cast<Entier>(35 + 7 * k);
            s.correction = k == 2 ? 5 : 0;
        }
        return 0;
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (!ostrel_test::Arguments_Suffisants(argc, 1, "capture_voies dossier [largeur hauteur]")) return 2;
    ostrel_test::Capture_Programme<> programme(argc, argv);
    sim::Simulateur& bus = programme.bus;
    bus.Configurer({1, 2}, 16);
    Remplir(bus);
    if (!programme.Demarrer_Bus()) return 1;

    const QString dossier = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dossier);
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;
    Frm_Menu1_Forme* tableau = programme.Demarrer(largeur, hauteur);
    if (!tableau) return 1;
    Attendre();
    tableau->Tmr_Date()->Enabled(false);
    Registre_Formes& registre = programme.registre;

    Ecran_Courant = QStringLiteral("Configuration");
    Liaison_Ecran(QStringLiteral("Configuration"), QStringLiteral("Réglages des voies"), Faux);
    Attendre();
    auto* ecran = registre.Instance_De<Frm_Param_Voies_Forme>(QStringLiteral("Frm_Param_Voies"));
    if (!ecran) return 1;
    bool ok = programme.Photo(dossier + QStringLiteral("/voies_4_20.png"));
    ecran->findChild<QTabBar*>(QStringLiteral("TabStrip_Voies"))->setCurrentIndex(3);
    Attendre();
    ok = programme.Photo(dossier + QStringLiteral("/voies_etor.png")) && ok;
    ecran->findChild<QTabBar*>(QStringLiteral("TabStrip_Voies"))->setCurrentIndex(13);
    Attendre();
    ok = programme.Photo(dossier + QStringLiteral("/voies_hors_service.png")) && ok;

    ecran->findChild<QTabBar*>(QStringLiteral("TabStrip_Voies"))->setCurrentIndex(1);
    Attendre();
    ecran->Check_Etalonnage_Click();
    Attendre();
    Forme* dialogue = registre.Instance(QStringLiteral("Frm_Etalonnage"));
    if (!dialogue) return 1;
    if (auto* m = dialogue->findChild<Minuterie*>(QStringLiteral("Tmr_Mesure_Instant"))) m->Declencher();
    Attendre();
    const QPixmap image_dialogue = dialogue->grab();
    ok = ostrel_test::Enregistrer_Image(image_dialogue, dossier + QStringLiteral("/etalonnage.png")) && ok;
    // The dialog over the screen, with a plain title strip as a window manager would draw.
    QPixmap fond = tableau->grab();
    {
        QPainter p(&fond);
        const int bande = 24;
        const QPoint coin((fond.width() - image_dialogue.width()) / 2, (fond.height() - image_dialogue.height()) / 2);
        const QRect cadre(coin - QPoint(2, bande), image_dialogue.size() + QSize(4, bande + 2));
        p.fillRect(cadre, QColor(0x30, 0x50, 0x80));
        p.setPen(Qt::white);
        p.drawText(QRect(cadre.topLeft() + QPoint(8, 0), QSize(cadre.width() - 16, bande)), Qt::AlignVCenter,
                   dialogue->windowTitle());
        p.drawPixmap(coin, image_dialogue);
    }
    ok = ostrel_test::Enregistrer_Image(fond, dossier + QStringLiteral("/etalonnage_ecran.png")) && ok;
    // A channel that the module declares not valid.
    bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[1].voies[1].mesure = -32768; });
    if (auto* m = dialogue->findChild<Minuterie*>(QStringLiteral("Tmr_Mesure_Instant"))) m->Declencher();
    Attendre();
    ok = ostrel_test::Enregistrer_Image(dialogue, dossier + QStringLiteral("/etalonnage_voie_invalide.png")) && ok;
    registre.Decharger(QStringLiteral("Frm_Etalonnage"));
    registre.Decharger(QStringLiteral("Frm_Param_Voies"));
    return ok ? 0 : 1;
}
