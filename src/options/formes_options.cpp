#include "options/formes_options.h"

#include "platform/ui/registre_formes.h"

namespace ostrel {

void Enregistrer_Formes_Options(Registre_Formes& registre) { (void)registre; }

}  // namespace ostrel
