#pragma once
// A whole recordings file read as the program's loader reads it, for the
// targets that read one or write one.
#include <vector>

#include "commun.h"
#include "files/enregistrements.h"
#include "platform/formats.h"

namespace ostrel::fuzz {

struct Enregistrements_Lus {
    Tete_Enregistrements Tete;
    std::vector<Long> Fins;
    Long Nb_Points = 0;
};

// False when the loader would say "Fichier incorrect!"; a head that announces
// no point admits none. With toutes_sections, every section must also
// convert, as the export tool wants.
inline bool Lire_Enregistrements(const QByteArray& contenu, Table_Mesures& mesures, Enregistrements_Lus& lus,
                                 bool toutes_sections = false) {
    Lecteur_Texte lecteur(contenu);
    if (!Lire_Tete_Enregistrements(lecteur, lus.Tete)) return false;
    if (toutes_sections && !Convertir_Sections_Enregistrements(lus.Tete)) return false;
    const Long limite = lus.Tete.Nb_Enregistrements == 0 ? 0 : Table_Mesures::Taille;
    const Points_Lus points = Lire_Blocs_Enregistrements(lecteur, lus.Tete.Nb_Voies, lus.Tete.Noms, mesures, lus.Fins, limite);
    lus.Nb_Points = points.Nb_Points;
    return points.Correct;
}

// Whether the singles of the channels read are all the file's seven digits
// carry: a threshold (written in tenths) or a scale read from more digits,
// or too large for seven, comes back as a nearby value only.
inline bool Sept_Chiffres(const std::array<Parametres_Voie, 16>& voies, size_t n) {
    auto porte = [](Simple v, const QString& texte, double diviseur) {
        const std::optional<Simple> relu = Convertir_Simple(texte);
        return relu && static_cast<Simple>(static_cast<double>(*relu) / diviseur) == v;
    };
    for (size_t k = 0; k < n && k < voies.size(); ++k) {
        const Parametres_Voie& v = voies[k];
        if (!porte(v.Seuil_Haut, Texte_Simple_Dixiemes(v.Seuil_Haut), 10) ||
            !porte(v.Seuil_Bas, Texte_Simple_Dixiemes(v.Seuil_Bas), 10) ||
            !porte(v.Echelle_4mA, Texte_Simple(v.Echelle_4mA), 1) || !porte(v.Echelle_20mA, Texte_Simple(v.Echelle_20mA), 1))
            return false;
    }
    return true;
}

// What reading gives that the format carries exactly: the channels, their
// names, the header and counts, every point's channel, date and alarm.
inline Releve Releve_Exact(const Enregistrements_Lus& lus, const Table_Mesures& mesures) {
    Releve r;
    r("Nb_Voies", lus.Tete.Nb_Voies)("Entete_Module", lus.Tete.Entete_Module)("Nb_Points", lus.Nb_Points);
    r.Liste("Noms", lus.Tete.Noms).Liste("Fins", lus.Fins);
    for (Long i = 0; i < lus.Nb_Points; ++i)
        r("Num_Voie", mesures[i].Num_Voie)("Date_Heure", mesures[i].Date_Heure)("Alarme", mesures[i].Alarme);
    return r;
}

}  // namespace ostrel::fuzz
