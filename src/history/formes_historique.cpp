#include "history/formes_historique.h"

#include "history/frm_enreg.h"
#include "history/frm_menu_enreg.h"
#include "platform/ui/registre_formes.h"

namespace ostrel {

void Enregistrer_Formes_Historique(Registre_Formes& registre) {
    registre.Enregistrer(QStringLiteral("Frm_Menu_Enreg"), [] { return new Frm_Menu_Enreg_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Enreg"), [] { return new Frm_Enreg_Forme; });
}

}  // namespace ostrel
