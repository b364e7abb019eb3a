#include "link/donnees.h"
#include "link/traitement.h"

namespace ostrel {

Octet Module_En_Service_Suivant(Octet n) {
    if (n >= 32) return 1;
    int i = n + 1;
    while (i < 32 && Tab_Fonctionnement_OC[i - 1] == Hors_Service) ++i;
    return Tab_Fonctionnement_OC[i - 1] == En_Service ? static_cast<Octet>(i) : Octet(1);
}

Octet Nieme_Module_En_Service(Octet& k) {
    if (k < 1 || k > 32) k = 1;
    Octet m = 1;
    for (int i = 1; i < k; ++i) m = Module_En_Service_Suivant(m);
    return m;
}

Octet Rang_Module_En_Service(Octet adresse) {
    const Octet a = (adresse < 1 || adresse > 32) ? Octet(1) : adresse;
    Octet m = 1;
    for (int r = 1; r <= a; ++r) {
        if (m == a) return static_cast<Octet>(r);
        m = Module_En_Service_Suivant(m);
    }
    return 1;
}

}  // namespace ostrel
