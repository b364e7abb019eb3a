// Fuzz target: the channel configuration file, restored into the channels of
// a module of 1 to 16 channels (first input byte).
//
// Property: the file saved from what was restored restores the same channels,
// and saving them again writes the same file.
#include "commun.h"
#include "files/config_voies.h"

using namespace ostrel;
using namespace ostrel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, size_t taille) {
    Entree entree(donnees, taille);
    const Octet n = static_cast<Octet>(1 + entree.Octet_Suivant() % 16);
    const Table_Voies depart{};
    const std::optional<Table_Voies> lues = Lire_Config_Voies(entree.Reste(), n, depart);
    if (!lues) return 0;

    const QByteArray ecrit = Ecrire_Config_Voies(1, *lues, n);
    const std::optional<Table_Voies> relues = Lire_Config_Voies(ecrit, n, depart);
    VERIFIER(relues.has_value());
    VERIFIER_EGAUX(Ecrire_Config_Voies(1, *relues, n), ecrit);
    // Whole numbers, flags and names come back exactly; a single keeps the
    // seven digits the file gives it.
    for (size_t k = 0; k < n; ++k) {
        Parametres_Voie a = (*lues)[k], b = (*relues)[k];
        for (Parametres_Voie* v : {&a, &b}) v->Seuil_Haut = v->Seuil_Bas = v->Echelle_4mA = v->Echelle_20mA = v->Offset = 0;
        VERIFIER_EGAUX(Empreinte(b), Empreinte(a));
    }
    return 0;
}
