// Fuzz target: the reader of Conversion, on a file of the first version.
//
// Property: the recordings file it writes is loaded by the program and read
// by the export (every section converts), with every point converted, and
// saving what was loaded writes the same file.
#include "lecture_enregistrements.h"
#include "tools/conversion.h"

namespace {

using namespace ostrel;
using namespace ostrel::fuzz;

Table_Mesures Mesures_Relues;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, size_t taille) {
    Tab_Parametres_Voies.fill({});
    Lecteur_Texte lecteur(Entree(donnees, taille).Reste());
    Octet NB_Voie = 0;
    if (!Lire_Tete_Ancien_Fichier(lecteur, NB_Voie)) return 0;
    const std::optional<Long> nb_lus = Lire_Points_Ancien_Fichier(lecteur);
    if (!nb_lus) return 0;
    Regrouper_Mesures(*nb_lus, NB_Voie);
    QString erreur;
    const QByteArray converti = Contenu_Nouveau_Fichier(1, NB_Voie, &erreur);
    VERIFIER_EGAUX(erreur, QString());

    Enregistrements_Lus relus;
    VERIFIER(Lire_Enregistrements(converti, Mesures_Relues, relus, true));
    VERIFIER_EGAUX(relus.Tete.Nb_Voies, NB_Voie);
    VERIFIER_EGAUX(relus.Nb_Points, Index_Fin_Voie.back());
    VERIFIER_EGAUX(relus.Fins, Index_Fin_Voie);
    VERIFIER_EGAUX(Ecrire_Fichier_Enregistrements(relus.Tete, relus.Fins, Mesures_Relues), converti);
    return 0;
}
