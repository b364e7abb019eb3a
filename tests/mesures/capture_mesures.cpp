// Takes a picture of the live measurement screen over the dashboard, as the
// program shows it a few seconds after it was opened, on a simulated bus
// (the demonstration bus: module 1 of 8 channels, modules 2 and 3 of 16):
//   capture_mesures <fichier.png> [largeur hauteur] [module] [secondes] [code]
// With "code", the identification box is opened and two characters typed.
// The program runs on a temporary drive c:. Message boxes are answered with
// their first button and listed on the standard error.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "link/formes.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/ui/registre_formes.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "simulateur.h"

namespace {

void Attendre(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace ostrel;
    if (argc < 2) {
        std::fprintf(stderr, "usage : capture_mesures fichier.png [largeur hauteur] [module] [secondes]\n");
        return 2;
    }
    const int largeur = argc > 3 ? std::atoi(argv[2]) : 1280;
    const int hauteur = argc > 3 ? std::atoi(argv[3]) : 1024;
    const int module = argc > 4 ? std::atoi(argv[4]) : 2;
    const double secondes = argc > 5 ? std::atof(argv[5]) : 4.0;

    QTemporaryDir disque;
    qputenv("OSTREL_DISQUE_C", disque.path().toUtf8());
    qputenv("OSTREL_DOSSIER_WINDOWS", disque.filePath("Windows").toUtf8());
    sim::Simulateur bus;
    bus.Etat_Demonstration();
    if (!bus.Demarrer()) {
        std::fprintf(stderr, "pseudo-terminal indisponible\n");
        return 1;
    }
    qputenv("OSTREL_COM1", bus.Chemin().toUtf8());

    QApplication application(argc, argv);
    Configurer_Application();
    Boites_Scriptees boites;  // answers Yes to the connection question
    Definir_Boites(&boites);
    Registre_Formes registre;
    Enregistrer_Formes(registre);
    Definir_Formes(&registre);
    registre.Charger(QStringLiteral("Frm_Menu1"));
    auto* tableau = registre.Instance_De<Frm_Menu1_Forme>(QStringLiteral("Frm_Menu1"));
    if (!tableau) return 1;
    tableau->setGeometry(0, 0, largeur, hauteur);
    tableau->show();
    QElapsedTimer t;
    t.start();
    while (!tableau->Demarrage_Termine() && t.elapsed() < 30000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    Attendre(200);

    Code_Erreur = 0;
    Num_Module = static_cast<Octet>(module);
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Mesures"), Faux);
    Attendre(static_cast<int>(secondes * 1000));
    if (argc > 6 && QString::fromLocal8Bit(argv[6]) == QStringLiteral("code")) {
        if (Forme* mesures = registre.Instance(QStringLiteral("Frm_Mesures"))) {
            if (auto* b = mesures->findChild<QPushButton*>(QStringLiteral("Cmd_Acquitter"))) b->click();
            if (auto* t = mesures->findChild<QLineEdit*>(QStringLiteral("Txt_Code_Acce"))) t->setText(QStringLiteral("12"));
        }
        Attendre(300);
    }
    for (const QString& texte : boites.Textes()) std::fprintf(stderr, "boîte : %s\n", qPrintable(texte));
    const bool ok = tableau->grab().save(QString::fromLocal8Bit(argv[1]));
    Definir_Formes(nullptr);
    Definir_Boites(nullptr);
    bus.Arreter();
    return ok ? 0 : 1;
}
