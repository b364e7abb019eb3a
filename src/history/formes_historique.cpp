#include "history/formes_historique.h"

#include "platform/ui/registre_formes.h"

namespace ostrel {

void Enregistrer_Formes_Historique(Registre_Formes& registre) { (void)registre; }

}  // namespace ostrel
