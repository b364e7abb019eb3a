// Fuzz target: an alarm journal file, as the journal screen opens it.
//
// Property: the file written from what was read reads back to the same
// journal (a channel name's double quotes become single ones when it has to
// be quoted), and writing it again writes the same file.
#include "commun.h"
#include "history/journal_alarmes.h"

namespace {

using namespace ostrel;
using namespace ostrel::fuzz;

Releve Releve_Journal(const Journal_Lu& j, bool avec_noms_voies) {
    Releve r;
    r("Titre", j.Titre)("Nb", j.Nb).Liste("Noms", j.Noms);
    for (const Evenement_Journal& e : j.Entrees) {
        r("Date_Heure", e.Date_Heure)("Etat", e.Etat)("Num_Voie", e.Num_Voie)("Num_Operateur", e.Num_Operateur);
        if (avec_noms_voies) r("Nom_Voie", e.Nom_Voie);
    }
    return r;
}

QByteArray Ecrire(const Journal_Lu& j) {
    Table_Noms_Operateurs noms;
    for (size_t k = 0; k < 4; ++k) noms[k + 1] = j.Noms[k];
    return Contenu_Fichier_Journal(j.Titre, noms, j.Entrees, j.Nb);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, size_t taille) {
    Journal_Lu lu;
    if (!Lire_Contenu_Journal(Entree(donnees, taille).Reste(), lu)) return 0;
    const QByteArray ecrit = Ecrire(lu);
    Journal_Lu relu;
    VERIFIER(Lire_Contenu_Journal(ecrit, relu));
    VERIFIER_EGAUX(Releve_Journal(relu, false), Releve_Journal(lu, false));
    VERIFIER_EGAUX(Ecrire(relu), ecrit);
    for (size_t k = 0; k < lu.Entrees.size(); ++k) {
        QString nom = lu.Entrees[k].Nom_Voie;
        if (nom != relu.Entrees[k].Nom_Voie) nom.replace(QLatin1Char('"'), QLatin1Char('\''));
        VERIFIER_EGAUX(relu.Entrees[k].Nom_Voie, nom);
    }
    return 0;
}
