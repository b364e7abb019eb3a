#include "config/formes_configuration.h"

#include "platform/ui/registre_formes.h"

namespace ostrel {

void Enregistrer_Formes_Configuration(Registre_Formes& registre) { (void)registre; }

}  // namespace ostrel
