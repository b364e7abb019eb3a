// Exportation: turns a recordings file into a labelled text for spreadsheets.
#include <QApplication>

#include "platform/ui/boites_qt.h"
#include "tools/frm_export.h"

int main(int argc, char** argv) {
    using namespace ostrel;
    QApplication application(argc, argv);
    Configurer_Outil(QStringLiteral("Exportation"));
    Boites_Qt boites;
    Definir_Boites(&boites);
    int resultat;
    {
        Frm_Export fenetre;
        fenetre.show();
        resultat = QApplication::exec();
    }
    Definir_Boites(nullptr);
    return resultat;
}
