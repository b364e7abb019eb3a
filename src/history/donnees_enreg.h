#pragma once
// What the recordings viewer reads of the recordings table, apart from its
// window: each channel's slice, the texts of the numeric table and of its
// printout, the period search, the cursor readout and (boites_dates.h) the
// texts of the date boxes.
#include <QString>
#include <QStringList>

#include "history/boites_dates.h"
#include "link/donnees.h"
#include "platform/types.h"

namespace ostrel {

// The points of one channel in Tab_Mesures: [Debut, Fin).
struct Tranche_Mesures {
    Long Debut = 0;
    Long Fin = 0;
    bool Vide() const { return Debut >= Fin; }
    Long Taille() const { return Fin > Debut ? Fin - Debut : 0; }
};

// Slice of channel index k (0-based) as Index_Fin_Voie bounds it. Always
// within the table and never reversed, whatever the end indexes hold: a
// channel beyond the end indexes given is empty.
Tranche_Mesures Tranche_Voie(int k);

// Text of a reserved value (" Début Coupure", " Fin Coupure", " Inhibé"),
// empty for a measure.
QString Texte_Valeur_Reservee(Simple valeur);

// The numeric table: its head for a channel, and the line of one point.
QStringList Tete_Tableau_Numerique(const QString& nom_voie, const Parametres_Voie& voie);
QString Ligne_Tableau_Numerique(const Mesure_Enreg& point);
constexpr int Lignes_Max_Liste = 32768;  // list indexes 0..32767

// Period search in the slice of channel n between d1 and d2 (both included):
// the first point not earlier than d1 (the slice's end when none), and the
// point before the first later than d2 from the second point on (the slice's
// last point when none; its start when it holds at most one point). Both give
// 0 for a channel above 15.
Long Index_Debut_Periode(int n, Date d1);
Long Index_Fin_Periode(int n, Date d2);

// The printed table: the date of a point ("dd/mm/yyyy hh:nn") and its cell.
QString Date_Tableau_Imprime(Date d);
QString Cellule_Tableau_Imprime(const Mesure_Enreg& point);
// The most rows a column holds: fewer where its page has no room for them.
constexpr int Points_Par_Colonne = 52;
constexpr int Colonnes_Par_Page = 3;

// Cursor readout: the date and time, two blanks, the value to one decimal.
QString Lecture_Curseur(double x, double y);

}  // namespace ostrel
