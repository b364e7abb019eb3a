// Fuzz target: the reader of Conversion, on a file of the first version.
//
// Property: the recordings file it writes is loaded by the program and read
// by the export (every section converts), and gives back the channels, the
// header and every point converted; a single comes back to the seven digits
// the file gives it, a point's value to the tenth, its date to the minute
// within its century.
#include "lecture_enregistrements.h"
#include "platform/dates.h"
#include "tools/conversion.h"

namespace {

using namespace ostrel;
using namespace ostrel::fuzz;

Table_Mesures Mesures_Relues;

double Sept_Chiffres(Simple valeur) { return std::fabs(valeur) * 1e-6; }

void Ajouter_Voie(Releve& r, const Parametres_Voie& v, const QString& nom, Octet nature, Simple haut, Simple bas) {
    r("Nom_Voie", nom)("Nature_Capteur", nature)("Seuil_Haut", haut, Sept_Chiffres(haut))(
        "Seuil_Bas", bas, Sept_Chiffres(bas))("Echelle_4mA", v.Echelle_4mA, Sept_Chiffres(v.Echelle_4mA))(
        "Echelle_20mA", v.Echelle_20mA, Sept_Chiffres(v.Echelle_20mA))("Voie_Valide", v.Voie_Valide)(
        "Alarme_Valide", v.Alarme_Valide)("Periode_Enreg", v.Periode_Enreg)("Tempo_Alarme", v.Tempo_Alarme)(
        "Role_ETOR_Inhib", v.Role_ETOR_Inhib)("Unite", v.Unite)("Inhib_Enreg_ETOR", v.Inhib_Enreg_ETOR)(
        "Num_ETOR_Inhib", v.Num_ETOR_Inhib)("Inhib_Alarme_ETOR", v.Inhib_Alarme_ETOR)(
        "Num_Planning_Inhib", v.Num_Planning_Inhib)("Contact_NF", v.Contact_NF)("Relais_2", v.Relais_2)(
        "Buzzer", v.Buzzer);
}

// The file keeps a point's year within its century (one of 1999 reads back in
// 2099) and its time to the minute.
void Ajouter_Points(Releve& r, const Table_Mesures& mesures, Long nb) {
    for (Long i = 0; i < nb; ++i) {
        const Mesure_Enreg& m = mesures[i];
        const Composantes_Date c = Decomposer(m.Date_Heure);
        r("Num_Voie", m.Num_Voie)("Jour", c.Jour)("Mois", c.Mois)("Annee", c.Annee % 100)("Heure", c.Heure)(
            "Minute", c.Minute)("Alarme", m.Alarme)("Valeur", m.Valeur, 0.05 + Sept_Chiffres(m.Valeur));
    }
}

Releve Converti(Octet NB_Voie) {
    Releve r;
    for (size_t k = 0; k < NB_Voie; ++k)
        Ajouter_Voie(r, Tab_Parametres_Voies[k], Tab_Parametres_Voies[k].Nom_Voie, Tab_Nature_Capteur[k],
                     Tab_Seuil_Haut[k], Tab_Seuil_Bas[k]);
    r("Entete_Module", Tab_Parametres_Voies[0].Entete_Module)("Nb_Evenements", Tab_Parametres_Voies[0].Nb_Evenements);
    Ajouter_Points(r, Tab_Mesures, Index_Fin_Voie.back());
    return r;
}

Releve Relu(const Enregistrements_Lus& lus) {
    Releve r;
    const Tete_Enregistrements& t = lus.Tete;
    for (size_t k = 0; k < t.Nb_Voies; ++k)
        Ajouter_Voie(r, t.Voies[k], t.Noms[k], t.Voies[k].Nature_Capteur, t.Voies[k].Seuil_Haut, t.Voies[k].Seuil_Bas);
    r("Entete_Module", t.Entete_Module)("Nb_Evenements", t.Nb_Evenements.toDouble());
    Ajouter_Points(r, Mesures_Relues, lus.Nb_Points);
    return r;
}

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
    VERIFIER_EGAUX(relus.Fins, Index_Fin_Voie);
    VERIFIER_EGAUX(Relu(relus), Converti(NB_Voie));
    return 0;
}
