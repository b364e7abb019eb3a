#pragma once
// The date value the files and modules carry: a count of days since 30/12/1899,
// the fraction being the time of day. Construction follows its carry rules (a
// month of 13 is January of the next year, a day of 0 the last day of the
// month before, 24 hours one more day).
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "platform/types.h"

namespace ostrel {

struct Composantes_Date {
    int Annee = 1899, Mois = 12, Jour = 30;
    int Heure = 0, Minute = 0, Seconde = 0;
};

// Years 0..29 mean 2000..2029 and 30..99 mean 1930..1999; other years are taken as they are.
Date DateSerial(int annee, int mois, int jour);
Date TimeSerial(int heure, int minute, int seconde);
Composantes_Date Decomposer(Date valeur);  // time rounded to the nearest second
int Weekday(Date valeur);                  // 1 Sunday .. 7 Saturday
double Partie_Jour(Date valeur);           // the whole days of the value

// Now and today, from the system clock in local time. Tests may fix the clock.
Date Maintenant();
Date Aujourdhui();
void Definir_Horloge_Murale(std::function<Date()> horloge);  // empty: the system clock

// General date form: "dd/mm/yyyy hh:mm:ss"; the date alone when the time is
// 00:00:00, the time alone when the date part is zero.
QString Texte_Date(Date valeur);
QString Texte_Date_Courte(Date valeur);  // "dd/mm/yyyy"
QString Texte_Heure(Date valeur);        // "hh:mm:ss"
// Texte_Date's text appended to bytes, without a string made on the way:
// what the writers of long files use, point after point.
void Ajouter_Texte_Date(QByteArray& sortie, Date valeur);

// "dd/mm/yyyy", "dd/mm/yy", each with an optional "hh:mm" or "hh:mm:ss",
// or a time alone. Out-of-range parts do not convert.
std::optional<Date> Convertir_Date(const QString& texte);

}  // namespace ostrel
