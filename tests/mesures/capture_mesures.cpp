// Takes a picture of the live measurement screen over the dashboard, as the
// program shows it a few seconds after it was opened, on a simulated bus
// (the demonstration bus: module 1 of 8 channels, modules 2 and 3 of 16):
//   capture_mesures <fichier.png> [largeur hauteur] [module] [secondes] [code]
// With "code", the identification box is opened and two characters typed.
// The program runs on a temporary drive c:. Message boxes are answered with
// their first button and listed on the standard error.
#include <QLineEdit>
#include <QPushButton>

#include "commun/capture_programme.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"

int main(int argc, char** argv) {
    using namespace ostrel;
    using ostrel_test::Attendre;
    if (!ostrel_test::Arguments_Suffisants(argc, 1, "capture_mesures fichier.png [largeur hauteur] [module] [secondes]"))
        return 2;
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;
    const int module = argc > 4 ? std::atoi(argv[4]) : 2;
    const double secondes = argc > 5 ? std::atof(argv[5]) : 4.0;

    ostrel_test::Capture_Programme<> programme(argc, argv);
    programme.bus.Etat_Demonstration();
    if (!programme.Demarrer_Bus()) {
        std::fprintf(stderr, "pseudo-terminal indisponible\n");
        return 1;
    }
    if (!programme.Demarrer(largeur, hauteur)) return 1;
    Attendre(200);

    Code_Erreur = 0;
    Num_Module = static_cast<Octet>(module);
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Mesures"), Faux);
    Attendre(static_cast<int>(secondes * 1000));
    if (argc > 6 && QString::fromLocal8Bit(argv[6]) == QStringLiteral("code")) {
        if (Forme* mesures = programme.registre.Instance(QStringLiteral("Frm_Mesures"))) {
            if (auto* b = mesures->findChild<QPushButton*>(QStringLiteral("Cmd_Acquitter"))) b->click();
            if (auto* t = mesures->findChild<QLineEdit*>(QStringLiteral("Txt_Code_Acce"))) t->setText(QStringLiteral("12"));
        }
        Attendre(300);
    }
    return programme.Photo(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
