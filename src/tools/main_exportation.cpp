// Exportation: turns a recordings file into a labelled text for spreadsheets.
#include "tools/frm_export.h"

int main(int argc, char** argv) {
    return ostrel::Executer_Outil(argc, argv, QStringLiteral("Exportation"),
                                  [] { return std::make_unique<ostrel::Frm_Export>(); });
}
