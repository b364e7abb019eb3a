// Pictures of the software options screen and of the three tabs of the
// bridge settings screen over the dashboard, the program running against
// the simulated bus (modules 1, 3 and 7, the bridge on 1):
//   capture_options <dossier> [largeur hauteur]
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <cstdio>

#include "link/formes.h"
#include "link/liaison_ecran.h"
#include "link/variables.h"
#include "options/formes_options.h"
#include "platform/dialogues.h"
#include "platform/horloge.h"
#include "platform/ui/registre_formes.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "simulateur.h"

namespace {

class Boites_Capture : public ostrel::Boites_Scriptees {
public:
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        if ((style & 7) == ostrel::vbYesNo) Reponses.push_front(ostrel::vbYes);
        return Boites_Scriptees::MsgBox(texte, style, titre);
    }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace ostrel;
    if (argc < 2) {
        std::fprintf(stderr, "usage : capture_options dossier [largeur hauteur]\n");
        return 2;
    }
    QApplication application(argc, argv);
    Configurer_Application();
    const QString dossier = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dossier);
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;

    QTemporaryDir disque;
    qputenv("OSTREL_DISQUE_C", disque.path().toUtf8());
    qputenv("OSTREL_DOSSIER_WINDOWS", disque.filePath("Windows").toUtf8());
    sim::Simulateur bus;
    bus.Etat_Demonstration({1, 3, 7});
    bus.Avec_Etat([](sim::Etat_Bus& e) {
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
    if (!bus.Demarrer()) return 1;
    qputenv("OSTREL_COM1", bus.Chemin().toUtf8());
    for (int n = 2; n <= 16; ++n)
        qputenv(QByteArray("OSTREL_COM") + QByteArray::number(n), QByteArray("/nonexistent/tty") + QByteArray::number(n));

    Boites_Capture boites;
    Definir_Boites(&boites);
    Registre_Formes registre;
    Enregistrer_Formes(registre);
    Enregistrer_Formes_Options(registre);
    Definir_Formes(&registre);
    registre.Charger(QStringLiteral("Frm_Menu1"));
    auto* tableau = registre.Instance_De<Frm_Menu1_Forme>(QStringLiteral("Frm_Menu1"));
    if (!tableau) return 1;
    tableau->setGeometry(0, 0, largeur, hauteur);
    tableau->show();
    tableau->Fin_Demarrage();
    tableau->Lbl_Info_Client(QStringLiteral("Entrepôt frigorifique – bâtiment B"));
    auto photo = [&](const char* nom) {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        const QString chemin = dossier + QLatin1Char('/') + QString::fromLatin1(nom);
        if (!tableau->grab().save(chemin)) std::fprintf(stderr, "échec : %s\n", qPrintable(chemin));
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
    for (const QString& texte : boites.Textes()) std::fprintf(stderr, "boîte : %s\n", qPrintable(texte));
    for (const char* forme : {"Frm_Param_Periph", "Frm_Menu1"}) registre.Decharger(QString::fromLatin1(forme));
    Definir_Formes(nullptr);
    Definir_Boites(nullptr);
    bus.Arreter();
    return 0;
}
