// Fuzz target: the reader of Exportation, on a recordings file.
//
// Property: the recordings file written from what the export read is read
// again by it, into the same export text when the singles read are ones the
// file's seven digits carry.
#include "lecture_enregistrements.h"
#include "platform/formats.h"
#include "tools/exportation.h"

namespace {

using namespace ostrel;
using namespace ostrel::fuzz;

// The export of a content, or nothing when its reader refuses it.
std::optional<QByteArray> Exporter(const QByteArray& contenu, Octet& NB_Voie) {
    Lecteur_Texte lecteur(contenu);
    if (!Lire_Tete_Export(lecteur, 1, NB_Voie) || !Lire_Points_Export(lecteur, 1, NB_Voie)) return std::nullopt;
    return Texte_Export(1, NB_Voie);
}

// Whether the singles read are all the file's seven digits can carry: a
// threshold (written in tenths) or a scale read from more digits comes back
// as the nearest seven-digit value only.
bool Sept_Chiffres(Octet NB_Voie) {
    auto porte = [](Simple v, const QString& texte, double diviseur) {
        const std::optional<Simple> relu = Convertir_Simple(texte);
        return relu && static_cast<Simple>(static_cast<double>(*relu) / diviseur) == v;
    };
    for (size_t k = 0; k < NB_Voie; ++k) {
        const Parametres_Voie& v = Donnees_Module[0].Voies[k];
        if (!porte(v.Seuil_Haut, Texte_Simple_Dixiemes(v.Seuil_Haut), 10) ||
            !porte(v.Seuil_Bas, Texte_Simple_Dixiemes(v.Seuil_Bas), 10) ||
            !porte(v.Echelle_4mA, Texte_Simple(v.Echelle_4mA), 1) || !porte(v.Echelle_20mA, Texte_Simple(v.Echelle_20mA), 1))
            return false;
    }
    return true;
}

// What the export read, as a recordings file.
QByteArray Fichier_Du_Module(Octet NB_Voie) {
    const Module_Export& module = Donnees_Module[0];
    Tete_Enregistrements tete;
    tete.Module = Texte_Entier(1);
    tete.Nb_Voies = NB_Voie;
    tete.Voies = module.Voies;
    tete.Noms = module.Noms;
    tete.Entete_Module = module.Entete_Module;
    tete.Nb_Enregistrements = module.Nb_Enregistrements;
    tete.Nb_Evenements = Texte_Entier(module.Nb_Evenements);
    VERIFIER(Verifier_Tables_Enregistrements(tete, Index_Fin_Voie).isEmpty());
    return Ecrire_Fichier_Enregistrements(tete, Index_Fin_Voie, Tab_Mesures);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, size_t taille) {
    Octet NB_Voie = 0;
    const std::optional<QByteArray> texte = Exporter(Entree(donnees, taille).Reste(), NB_Voie);
    if (!texte) return 0;
    const bool exact = Sept_Chiffres(NB_Voie);
    const QByteArray fichier = Fichier_Du_Module(NB_Voie);
    Octet NB_Voie_Relu = 0;
    const std::optional<QByteArray> texte_relu = Exporter(fichier, NB_Voie_Relu);
    VERIFIER(texte_relu.has_value());
    if (exact) VERIFIER_EGAUX(*texte_relu, *texte);
    return 0;
}
