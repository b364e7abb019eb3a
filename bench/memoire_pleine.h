#pragma once
// The full recordings memory the benches work on: 516,098 points over 16
// channels, channel after channel, a point a minute from 1 January 2026,
// values in tenths swinging around each channel's level, now and then an
// alarm or a power cut; and the recordings file the program saves of it.
// A noise can be added to the values: a probe that reads unsteadily gives
// curves that go up and down within every pixel column.
#include <QByteArray>
#include <QString>
#include <cmath>
#include <vector>

#include "files/enregistrements.h"
#include "link/donnees.h"
#include "platform/dates.h"

namespace ostrel::banc {

constexpr int Voies = 16;

// Fills Tab_Mesures, Index_Fin_Voie and the channel settings with `points`
// points, each off by up to `bruit` degrees either way (the same every run);
// returns the head of the file that holds them.
inline Tete_Enregistrements Remplir_Memoire_Pleine(Long points = Table_Mesures::Taille, double bruit = 0) {
    Tete_Enregistrements tete;
    tete.Module = QStringLiteral("1");
    tete.Nb_Voies = Voies;
    tete.Entete_Module = QStringLiteral("BANC D'ESSAI");
    tete.Nb_Enregistrements = points;
    tete.Nb_Evenements = QStringLiteral("12");
    Index_Fin_Voie.assign(Voies, 0);
    const Date debut = DateSerial(2026, 1, 1);
    Long i = 0;
    for (int v = 0; v < Voies; ++v) {
        const QString nom = QStringLiteral("Chambre %1").arg(v + 1).leftJustified(12);
        Parametres_Voie& p = Tab_Parametres_Voies[static_cast<size_t>(v)];
        p.Nom_Voie = nom;
        p.Voie_Valide = Vrai;
        p.Alarme_Valide = Vrai;
        p.Periode_Enreg = 1;
        p.Seuil_Haut = 10.0f * v + 6;
        p.Seuil_Bas = 10.0f * v - 6;
        p.Echelle_20mA = 100;
        tete.Noms[static_cast<size_t>(v)] = nom;
        tete.Voies[static_cast<size_t>(v)] = p;
        const Long fin = points * (v + 1) / Voies;
        for (Long k = 0; i < fin; ++i, ++k) {
            Mesure_Enreg& m = Tab_Mesures[i];
            m.Date_Heure = debut + k / 1440.0;
            quint32 tirage = static_cast<quint32>(i) * 0x9E3779B9u;
            tirage = (tirage ^ (tirage >> 16)) * 0x85EBCA6Bu;
            tirage ^= tirage >> 13;
            const double valeur = 10 * v + 5 * std::sin(k / 700.0) + (k % 37) / 20.0 + bruit * ((tirage >> 8) / 8388608.0 - 1);
            m.Valeur = k % 5000 == 7 ? Valeur_Debut_Coupure : static_cast<Simple>(std::round(valeur * 10) / 10);
            m.Alarme = i % 97 == 0 ? Vrai : Faux;
            m.Num_Voie = static_cast<Octet>(v + 1);
            m.Nom_Voie = nom;
        }
        Index_Fin_Voie[static_cast<size_t>(v)] = fin;
    }
    return tete;
}

// The recordings file of the memory above.
inline QByteArray Fichier_Memoire_Pleine(Long points = Table_Mesures::Taille, double bruit = 0) {
    const Tete_Enregistrements tete = Remplir_Memoire_Pleine(points, bruit);
    return Ecrire_Fichier_Enregistrements(tete, Index_Fin_Voie, Tab_Mesures);
}

}  // namespace ostrel::banc
