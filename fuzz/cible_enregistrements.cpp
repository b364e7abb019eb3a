// Fuzz target: a recordings file, as the recordings menu loads it.
//
// Property: the file saved from what was loaded loads again with the same
// channels, names, header and points, and saving that writes the same file
// when the thresholds read are ones the file's seven digits carry.
#include "lecture_enregistrements.h"
#include "platform/formats.h"

namespace {

using namespace ostrel;
using namespace ostrel::fuzz;

Table_Mesures Mesures_Lues, Mesures_Relues;

// The save of the program: the current module's number, the points loaded
// (their count in the head) and the journal count it holds.
QByteArray Sauver(Enregistrements_Lus lus, const Table_Mesures& mesures) {
    lus.Tete.Module = Texte_Entier(1);
    lus.Tete.Nb_Enregistrements = lus.Fins.empty() ? 0 : lus.Fins.back();
    lus.Tete.Nb_Evenements = Texte_Entier(0);
    VERIFIER(Verifier_Tables_Enregistrements(lus.Tete, lus.Fins).isEmpty());
    return Ecrire_Fichier_Enregistrements(lus.Tete, lus.Fins, mesures);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, size_t taille) {
    Enregistrements_Lus lus;
    if (!Lire_Enregistrements(Entree(donnees, taille).Reste(), Mesures_Lues, lus)) return 0;
    const QByteArray ecrit = Sauver(lus, Mesures_Lues);
    Enregistrements_Lus relus;
    VERIFIER(Lire_Enregistrements(ecrit, Mesures_Relues, relus));
    VERIFIER_EGAUX(Releve_Exact(relus, Mesures_Relues), Releve_Exact(lus, Mesures_Lues));
    if (Sept_Chiffres(lus.Tete.Voies, lus.Tete.Nb_Voies)) VERIFIER_EGAUX(Sauver(relus, Mesures_Relues), ecrit);
    return 0;
}
