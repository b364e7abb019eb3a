// Takes a picture of the dashboard with the home screen, as the program
// shows it after start-up, at a given size:
//   capture_ecran <fichier.png> [largeur hauteur] [oui|non]
// "oui" (default) answers Yes to the connection question (the bus on
// $OSTREL_COM1 is searched), "non" answers No. Message boxes are answered
// with their first button and listed on the standard error.
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <cstdio>

#include "link/formes.h"
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
        std::fprintf(stderr, "usage : capture_ecran fichier.png [largeur hauteur] [oui|non]\n");
        return 2;
    }
    QApplication application(argc, argv);
    Configurer_Application();
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;
    const bool oui = argc > 4 ? QString::fromLocal8Bit(argv[4]) != QStringLiteral("non") : true;

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
    for (const QString& texte : boites.Textes()) std::fprintf(stderr, "boîte : %s\n", qPrintable(texte));
    const bool ok = tableau->grab().save(QString::fromLocal8Bit(argv[1]));
    Definir_Formes(nullptr);
    Definir_Boites(nullptr);
    return ok ? 0 : 1;
}
