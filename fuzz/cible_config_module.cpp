// Fuzz target: the module configuration file, as the module settings screen
// restores it.
//
// Property: the file saved from what was restored (with the screen's codes
// and names when the file had none) restores the same settings.
#include "commun.h"
#include "files/config_module.h"

namespace {

using namespace ostrel;
using namespace ostrel::fuzz;

Releve Releve_Module(const Config_Module_Lue& m) {
    Releve r;
    r("Module", m.Module)("Entete", m.Entete)("Logique_STOR1", m.Logique_STOR1)("Logique_STOR2", m.Logique_STOR2);
    for (size_t p = 1; p <= 16; ++p) r.Liste("Planning", m.Planning[p]);
    r.Liste("Planning_Actif", m.Planning_Actif).Liste("Codes", m.Codes).Liste("Noms", m.Noms);
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, size_t taille) {
    std::optional<Config_Module_Lue> lue = Lire_Config_Module(Entree(donnees, taille).Reste());
    if (!lue) return 0;
    if (!lue->Avec_Codes) {
        lue->Codes.fill(QStringLiteral("0000"));
        lue->Noms.fill(QString());
    }

    Parametres_Module parametres;
    parametres.Entete = lue->Entete;
    parametres.Logique_STOR1 = lue->Logique_STOR1;
    parametres.Logique_STOR2 = lue->Logique_STOR2;
    parametres.Planning = lue->Planning;
    const QByteArray ecrit = Ecrire_Config_Module(lue->Module, parametres, lue->Codes, lue->Noms);
    const std::optional<Config_Module_Lue> relue = Lire_Config_Module(ecrit);
    VERIFIER(relue.has_value());
    VERIFIER(relue->Avec_Codes);
    VERIFIER_EGAUX(Releve_Module(*relue), Releve_Module(*lue));
    return 0;
}
