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
    const bool exact = Sept_Chiffres(Donnees_Module[0].Voies, NB_Voie);
    const QByteArray fichier = Fichier_Du_Module(NB_Voie);
    Octet NB_Voie_Relu = 0;
    const std::optional<QByteArray> texte_relu = Exporter(fichier, NB_Voie_Relu);
    VERIFIER(texte_relu.has_value());
    if (exact) VERIFIER_EGAUX(*texte_relu, *texte);
    return 0;
}
