// Conversion: turns a data file of the first version of the software into a
// recordings file of the current format.
#include <QApplication>

#include "platform/ui/boites_qt.h"
#include "tools/form1.h"

int main(int argc, char** argv) {
    using namespace ostrel;
    QApplication application(argc, argv);
    Configurer_Outil(QStringLiteral("Conversion"));
    Boites_Qt boites;
    Definir_Boites(&boites);
    int resultat;
    {
        Form1 fenetre;
        fenetre.show();
        resultat = QApplication::exec();
    }
    Definir_Boites(nullptr);
    return resultat;
}
