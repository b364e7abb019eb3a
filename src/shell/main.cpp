// Ostrel: the supervision program. The dashboard is its start-up form: it
// reads the options, opens the trace and the port, finds the modules and
// shows the home screen, whose "Quitter" ends the program.
#include <QApplication>
#include <QScreen>

#include "platform/chemins.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"
#include "platform/formes.h"
#include "platform/imprimante.h"
#include "platform/ui/boites_qt.h"
#include "platform/ui/registre_formes.h"
#include "config/formes_configuration.h"
#include "history/formes_historique.h"
#include "options/formes_options.h"
#include "shell/ecrans_programme.h"
#include "shell/imprimante_programme.h"

int main(int argc, char** argv) {
    using namespace ostrel;
    Ignorer_Limite_Taille_Fichier();
    Preparer_Dossier_Execution();
    QApplication application(argc, argv);
    Configurer_Application();

    Boites_Qt boites;
    Definir_Boites(&boites);
    const auto imprimante = Creer_Imprimante_Programme();
    Definir_Imprimante(imprimante.get());
    Registre_Formes registre;
    Enregistrer_Formes(registre);
    Enregistrer_Formes_Historique(registre);
    Enregistrer_Formes_Configuration(registre);
    Enregistrer_Formes_Options(registre);
    Definir_Formes(&registre);

    registre.Charger(QStringLiteral("Frm_Menu1"));
    Forme* tableau = registre.Instance(QStringLiteral("Frm_Menu1"));
    int resultat = 1;
    if (tableau) {
        if (QScreen* ecran = QApplication::primaryScreen()) tableau->setGeometry(ecran->availableGeometry());
        tableau->showMaximized();
        resultat = QApplication::exec();
    }
    Definir_Formes(nullptr);
    Definir_Imprimante(nullptr);
    Definir_Boites(nullptr);
    return resultat;
}
