#include "shell/imprimante_programme.h"

#include "link/variables.h"
#include "platform/chemins.h"

namespace ostrel {

QString Dossier_Impressions() {
    if (Repertoire_Application.isEmpty()) return {};
    return Chemin_Natif(Repertoire_Application + QStringLiteral("\\") + Imprimante_Qt::Nom_Dossier_Pdf());
}

std::unique_ptr<Imprimante_Qt> Creer_Imprimante_Programme() {
    // The folder is asked at each document: the options may move the application folder.
    return std::make_unique<Imprimante_Qt>([] { return Dossier_Impressions(); });
}

}  // namespace ostrel
