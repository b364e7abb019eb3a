// Pictures of the software options screen and of the three tabs of the
// bridge settings screen over the dashboard, the program running against
// the simulated bus (modules 1, 3 and 7, the bridge on 1):
//   capture_options <dossier> [largeur hauteur]
#include <QDir>
#include <QPushButton>
#include <QTabBar>

#include "commun/capture_programme.h"
#include "link/liaison_ecran.h"

int main(int argc, char** argv) {
    using namespace ostrel;
    if (!ostrel_test::Arguments_Suffisants(argc, 1, "capture_options dossier [largeur hauteur]")) return 2;
    ostrel_test::Capture_Programme<> programme(argc, argv);
    const QString dossier = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dossier);
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;

    programme.bus.Etat_Demonstration({1, 3, 7});
    programme.bus.Avec_Etat([](sim::Etat_Bus& e) {
        e.pont.emails = {QByteArray("astreinte@exemple.fr"), QByteArray("maintenance@exemple.fr"), QByteArray(),
                         QByteArray("direction@exemple.fr")};
        e.pont.noms_fichiers[0] = "site1";
        e.pont.noms_fichiers[2] = "site3";
        e.pont.noms_fichiers[6] = "site7";
        e.pont.messagerie = QByteArray("\xC0\xA8\x01\xFE\x0A" "0123456789\x08" "ostrel01\x06" "secret", 31);
        e.pont.identifiant = "admin";
        e.pont.mot_de_passe = "netrove";
        return 0;
    });
    if (!programme.Demarrer_Bus()) return 1;
    for (int n = 2; n <= 16; ++n)
        qputenv(QByteArray("OSTREL_COM") + QByteArray::number(n), QByteArray("/nonexistent/tty") + QByteArray::number(n));

    Frm_Menu1_Forme* tableau = programme.Demarrer(largeur, hauteur);
    if (!tableau) return 1;
    tableau->Lbl_Info_Client(QStringLiteral("Entrepôt frigorifique – bâtiment B"));
    Registre_Formes& registre = programme.registre;
    auto photo = [&](const char* nom) {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        programme.Photo(dossier + QLatin1Char('/') + QString::fromLatin1(nom));
    };

    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Options Logicielles"), Faux);
    photo("options_logicielles.png");
    if (Forme* f = registre.Instance(QStringLiteral("Frm_Options_Logicielles"))) {
        if (auto* b = f->findChild<QPushButton*>(QStringLiteral("Cmd_Psw_Admin"))) b->click();
        photo("options_mot_de_passe.png");
        registre.Decharger(QStringLiteral("Frm_Psw"));
    }
    Liaison_Ecran(QStringLiteral("Options Logicielles"), QStringLiteral("Configuration"), Faux);
    Liaison_Ecran(QStringLiteral("Configuration"), QStringLiteral("Réglages Netrove"), Faux);
    photo("reglages_netrove_1.png");
    if (Forme* f = registre.Instance(QStringLiteral("Frm_Param_Periph"))) {
        auto* onglets = f->findChild<QTabBar*>(QStringLiteral("TabStrip"));
        onglets->setCurrentIndex(1);
        photo("reglages_netrove_2.png");
        onglets->setCurrentIndex(2);
        photo("reglages_netrove_3.png");
    }
    return 0;
}
