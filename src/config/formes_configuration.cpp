#include "config/formes_configuration.h"

#include "config/frm_etalonnage.h"
#include "config/frm_param_oc.h"
#include "config/frm_param_voies.h"
#include "platform/ui/registre_formes.h"

namespace ostrel {

void Enregistrer_Formes_Configuration(Registre_Formes& registre) {
    registre.Enregistrer(QStringLiteral("Frm_Param_OC"), [] { return new Frm_Param_OC_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Param_Voies"), [] { return new Frm_Param_Voies_Forme; });
    // The calibration dialog is a window of the dashboard's, not a screen laid in it.
    registre.Enregistrer(QStringLiteral("Frm_Etalonnage"),
                         [&registre] { return new Frm_Etalonnage_Forme(registre.Conteneur()); });
}

}  // namespace ostrel
