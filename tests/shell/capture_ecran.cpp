// Takes a picture of the dashboard with one screen over it, as the program
// shows it after start-up, at a given size:
//   capture_ecran <fichier.png> [largeur hauteur] [oui|non] [écran]
// "oui" (default) answers Yes to the connection question (the bus on
// $OSTREL_COM1 is searched), "non" answers No. The screen is "accueil"
// (default), "consultation", "configuration", "mot_de_passe" (a few
// characters typed) or "probleme" (a line interruption met on the
// consultation menu, first tick of its timer). The program runs on the drive
// c: of the environment. Message boxes are answered with their first button
// and listed on the standard error.
#include <QLineEdit>

#include "commun/capture_programme.h"
#include "link/ecrans/frm_pb_liaison.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "platform/ui/minuterie.h"
#include "shell/frm_accueil.h"

int main(int argc, char** argv) {
    using namespace ostrel;
    if (!ostrel_test::Arguments_Suffisants(argc, 1, "capture_ecran fichier.png [largeur hauteur] [oui|non] [écran]"))
        return 2;
    ostrel_test::Capture_Programme<> programme(argc, argv, false);
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;
    const bool oui = argc > 4 ? QString::fromLocal8Bit(argv[4]) != QStringLiteral("non") : true;
    const QString ecran = argc > 5 ? QString::fromLocal8Bit(argv[5]) : QStringLiteral("accueil");

    programme.boites.reponse_connexion = oui ? vbYes : vbNo;
    if (!programme.Demarrer(largeur, hauteur)) return 1;
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    Registre_Formes& registre = programme.registre;
    if (ecran == QStringLiteral("consultation")) {
        Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);
    } else if (ecran == QStringLiteral("configuration")) {
        Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
    } else if (ecran == QStringLiteral("mot_de_passe")) {
        if (auto* accueil = registre.Instance_De<Frm_Accueil_Forme>(QStringLiteral("Frm_Accueil"))) accueil->Cmd_Menu2_Click();
        if (Forme* psw = registre.Instance(QStringLiteral("Frm_Psw")))
            if (auto* txt = psw->findChild<QLineEdit*>(QStringLiteral("Txt_PSW"))) txt->setText(QStringLiteral("abcdef"));
    } else if (ecran == QStringLiteral("probleme")) {
        Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Consultation"), Faux);
        Code_Erreur = Erreur::Ligne;
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
        if (auto* pb = registre.Instance_De<Frm_Pb_Liaison_Forme>(QStringLiteral("Frm_Pb_Liaison")))
            pb->Timer_Alarme()->Declencher();
    }
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
    return programme.Photo(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
