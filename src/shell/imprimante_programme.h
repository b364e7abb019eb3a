#pragma once
// The printer the program prints on: the system's default printer when one is
// configured, otherwise PDF files in the "Impressions" folder of the
// application folder.
#include <QString>
#include <memory>

#include "platform/ui/imprimante_qt.h"

namespace ostrel {

// The native path of the application's "Impressions" folder, as it stands now
// (the application folder is known once start-up has set it).
QString Dossier_Impressions();
std::unique_ptr<Imprimante_Qt> Creer_Imprimante_Programme();

}  // namespace ostrel
