// Pictures of the channel settings screen and of the calibration dialog, on a
// simulated 16-channel module, at a given size:
//   capture_voies <dossier> [largeur hauteur]
// Writes voies_4_20.png, voies_etor.png, voies_hors_service.png,
// etalonnage.png (the dialog), etalonnage_ecran.png (the dialog over the screen)
// and etalonnage_voie_invalide.png.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QTemporaryDir>
#include <cstdio>

#include "config/formes_configuration.h"
#include "config/frm_param_voies.h"
#include "config/parametres_voies.h"
#include "history/formes_historique.h"
#include "link/formes.h"
#include "link/liaison_ecran.h"
#include "link/variables.h"
#include "options/formes_options.h"
#include "platform/dialogues.h"
#include "platform/imprimante.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/registre_formes.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "simulateur.h"
#include "voies/reglages_sim.h"

namespace {

using namespace ostrel;

class Boites_Capture : public Boites_Scriptees {
public:
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        std::fprintf(stderr, "boîte : %s\n", qPrintable(texte));
        return Boites_Scriptees::MsgBox(texte, style, titre);
    }
};

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
    if (argc < 2) {
        std::fprintf(stderr, "usage : capture_voies dossier [largeur hauteur]\n");
        return 2;
    }
    QTemporaryDir disque;
    qputenv("OSTREL_DISQUE_C", disque.path().toUtf8());
    qputenv("OSTREL_DOSSIER_WINDOWS", disque.filePath("Windows").toUtf8());
    sim::Simulateur bus;
    bus.Configurer({1, 2}, 16);
    Remplir(bus);
    if (!bus.Demarrer()) return 1;
    qputenv("OSTREL_COM1", bus.Chemin().toUtf8());

    QApplication application(argc, argv);
    Configurer_Application();
    const QString dossier = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dossier);
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;

    Boites_Capture boites;
    Definir_Boites(&boites);
    Imprimante_Enregistreuse imprimante;
    Definir_Imprimante(&imprimante);
    Registre_Formes registre;
    Enregistrer_Formes(registre);
    Enregistrer_Formes_Historique(registre);
    Enregistrer_Formes_Configuration(registre);
    Enregistrer_Formes_Options(registre);
    Definir_Formes(&registre);
    registre.Charger(QStringLiteral("Frm_Menu1"));
    auto* tableau = registre.Instance_De<Frm_Menu1_Forme>(QStringLiteral("Frm_Menu1"));
    if (!tableau) return 1;
    tableau->setGeometry(0, 0, largeur, hauteur);
    tableau->show();
    QElapsedTimer t;
    t.start();
    while (!tableau->Demarrage_Termine() && t.elapsed() < 30000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    Attendre();
    tableau->Tmr_Date()->Enabled(false);

    Ecran_Courant = QStringLiteral("Configuration");
    Liaison_Ecran(QStringLiteral("Configuration"), QStringLiteral("Réglages des voies"), Faux);
    Attendre();
    auto* ecran = registre.Instance_De<Frm_Param_Voies_Forme>(QStringLiteral("Frm_Param_Voies"));
    if (!ecran) return 1;
    bool ok = tableau->grab().save(dossier + QStringLiteral("/voies_4_20.png"));
    ecran->findChild<QTabBar*>(QStringLiteral("TabStrip_Voies"))->setCurrentIndex(3);
    Attendre();
    ok = tableau->grab().save(dossier + QStringLiteral("/voies_etor.png")) && ok;
    ecran->findChild<QTabBar*>(QStringLiteral("TabStrip_Voies"))->setCurrentIndex(13);
    Attendre();
    ok = tableau->grab().save(dossier + QStringLiteral("/voies_hors_service.png")) && ok;

    ecran->findChild<QTabBar*>(QStringLiteral("TabStrip_Voies"))->setCurrentIndex(1);
    Attendre();
    ecran->Check_Etalonnage_Click();
    Attendre();
    Forme* dialogue = registre.Instance(QStringLiteral("Frm_Etalonnage"));
    if (!dialogue) return 1;
    if (auto* m = dialogue->findChild<Minuterie*>(QStringLiteral("Tmr_Mesure_Instant"))) m->Declencher();
    Attendre();
    const QPixmap image_dialogue = dialogue->grab();
    ok = image_dialogue.save(dossier + QStringLiteral("/etalonnage.png")) && ok;
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
    ok = fond.save(dossier + QStringLiteral("/etalonnage_ecran.png")) && ok;
    // A channel that the module declares not valid.
    bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[1].voies[1].mesure = -32768; });
    if (auto* m = dialogue->findChild<Minuterie*>(QStringLiteral("Tmr_Mesure_Instant"))) m->Declencher();
    Attendre();
    ok = dialogue->grab().save(dossier + QStringLiteral("/etalonnage_voie_invalide.png")) && ok;
    registre.Decharger(QStringLiteral("Frm_Etalonnage"));
    registre.Decharger(QStringLiteral("Frm_Param_Voies"));
    Definir_Formes(nullptr);
    Definir_Boites(nullptr);
    Definir_Imprimante(nullptr);
    bus.Arreter();
    return ok ? 0 : 1;
}
