#include "history/formes_historique.h"

#include "history/frm_enreg.h"
#include "history/frm_journal_alarme.h"
#include "history/frm_menu_enreg.h"
#include "history/frm_purger.h"
#include "platform/ui/registre_formes.h"

namespace ostrel {

void Enregistrer_Formes_Historique(Registre_Formes& registre) {
    registre.Enregistrer(QStringLiteral("frm_Journal_Alarme"), [] { return new frm_Journal_Alarme_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Purger"), [] { return new Frm_Purger_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Menu_Enreg"), [] { return new Frm_Menu_Enreg_Forme; });
    registre.Enregistrer(QStringLiteral("Frm_Enreg"), [] { return new Frm_Enreg_Forme; });
}

}  // namespace ostrel
