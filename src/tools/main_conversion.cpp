// Conversion: turns a data file of the first version of the software into a
// recordings file of the current format.
#include "tools/form1.h"

int main(int argc, char** argv) {
    return ostrel::Executer_Outil(argc, argv, QStringLiteral("Conversion"),
                                  [] { return std::make_unique<ostrel::Form1>(); });
}
