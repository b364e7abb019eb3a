#pragma once
// The texts of the date boxes of the journal, the recordings menu and the
// recordings viewer, in the system's short date form.
#include <QString>

#include "platform/types.h"

namespace ostrel {

// Length of today's date in the system's short form (10 for "dd/mm/yyyy").
int Longueur_Date_Courte();
// A day as the date boxes show it: the short form, its year cut to two digits
// when the system's short form has them.
QString Texte_Boite_Jour(Date d);
// A time-axis end as the date boxes show it: "dd/mm/yyyy hh:mm" (seconds dropped).
QString Texte_Boite_Date(Date d);

}  // namespace ostrel
