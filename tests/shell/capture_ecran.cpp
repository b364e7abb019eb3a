// Takes a picture of the dashboard with one screen over it, as the program
// shows it after start-up, at a given size:
//   capture_ecran <fichier.png> [largeur hauteur] [oui|non] [écran]
// "oui" (default) answers Yes to the connection question (the bus on
// $OSTREL_COM1 is searched), "non" answers No. The screen is "accueil"
// (default), "consultation", "configuration", "mot_de_passe" (a few
// characters typed) or "probleme" (a line interruption met on the
// consultation menu, first tick of its timer). Message boxes are answered with their first button and listed on
// the standard error.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

#include "link/ecrans/frm_pb_liaison.h"
#include "link/formes.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/variables.h"
#include "platform/ui/minuterie.h"
#include "shell/frm_accueil.h"
#include "platform/dialogues.h"
#include "platform/ui/registre_formes.h"
#include "config/formes_configuration.h"
#include "history/formes_historique.h"
#include "options/formes_options.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"

namespace {

// Answers the connection question as asked, every other box with its first button.
class Boites_Capture : public ostrel::Boites_Scriptees {
public:
    int reponse_question = ostrel::vbYes;
    int MsgBox(const QString& texte, int style, const QString& titre) override {
        if ((style & 7) == ostrel::vbYesNo) Reponses.push_front(reponse_question);
        return Boites_Scriptees::MsgBox(texte, style, titre);
    }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace ostrel;
    if (argc < 2) {
        std::fprintf(stderr, "usage : capture_ecran fichier.png [largeur hauteur] [oui|non] [écran]\n");
        return 2;
    }
    QApplication application(argc, argv);
    Configurer_Application();
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;
    const bool oui = argc > 4 ? QString::fromLocal8Bit(argv[4]) != QStringLiteral("non") : true;
    const QString ecran = argc > 5 ? QString::fromLocal8Bit(argv[5]) : QStringLiteral("accueil");

    Boites_Capture boites;
    boites.reponse_question = oui ? vbYes : vbNo;
    Definir_Boites(&boites);
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
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
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
    for (const QString& texte : boites.Textes()) std::fprintf(stderr, "boîte : %s\n", qPrintable(texte));
    const bool ok = tableau->grab().save(QString::fromLocal8Bit(argv[1]));
    Definir_Formes(nullptr);
    Definir_Boites(nullptr);
    return ok ? 0 : 1;
}
