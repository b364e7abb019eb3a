#pragma once
// A whole recordings file read as the program's loader reads it, for the
// targets that read one or write one.
#include <vector>

#include "commun.h"
#include "files/enregistrements.h"

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
