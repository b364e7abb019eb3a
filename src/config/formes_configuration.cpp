#include "config/formes_configuration.h"

#include "config/frm_param_oc.h"
#include "platform/ui/registre_formes.h"

namespace ostrel {

void Enregistrer_Formes_Configuration(Registre_Formes& registre) {
    registre.Enregistrer(QStringLiteral("Frm_Param_OC"), [] { return new Frm_Param_OC_Forme; });
}

}  // namespace ostrel
