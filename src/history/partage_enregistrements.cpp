#include "history/partage_enregistrements.h"

namespace ostrel {

Booleen Donnees_Fichier = Faux;
Booleen Lecture_Tous_Enreg = Faux;

}  // namespace ostrel
