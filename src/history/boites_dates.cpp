#include "history/boites_dates.h"

#include "platform/dates.h"

namespace ostrel {

int Longueur_Date_Courte() { return static_cast<int>(Texte_Date_Courte(Aujourdhui()).size()); }

QString Texte_Boite_Jour(Date d) {
    const QString t = Texte_Date_Courte(d);
    return Longueur_Date_Courte() == 10 ? t : t.left(6) + t.right(2);
}

QString Texte_Boite_Date(Date d) {
    const QString s = Texte_Date(d);
    if (s.size() == 8 || s.size() == 10) return s + QStringLiteral(" 00:00");
    return s.left(Longueur_Date_Courte() + 6);
}

}  // namespace ostrel
