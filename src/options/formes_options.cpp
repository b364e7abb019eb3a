#include "options/formes_options.h"

#include "options/frm_options_logicielles.h"
#include "options/frm_param_periph.h"
#include "platform/ui/registre_formes.h"

namespace ostrel {

void Enregistrer_Formes_Options(Registre_Formes& registre) {
    registre.Enregistrer(QStringLiteral("Frm_Options_Logicielles"), [] { return new Frm_Options_Logicielles_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Param_Periph"), [] { return new Frm_Param_Periph_Forme; });
}

}  // namespace ostrel
