#pragma once
// What the recordings menu hands over to the viewer besides the shared
// tables (Tab_Mesures, Index_Fin_Voie, the date window of Donnees_Reponse).
#include "platform/types.h"

namespace ostrel {

// Faux after a download from a module; Vrai after a file was read or the
// recordings shown were saved.
extern Booleen Donnees_Fichier;
// Vrai after a download of everything the module held (the save then offers
// to purge the module), Faux after a date-to-date download.
extern Booleen Lecture_Tous_Enreg;

}  // namespace ostrel
