#include <gtest/gtest.h>

#include "link/donnees.h"
#include "link/traitement.h"
#include "link/variables.h"

using namespace ostrel;

namespace {
void Mettre_En_Service(std::initializer_list<int> modules) {
    Tab_Fonctionnement_OC.fill(Hors_Service);
    for (int m : modules) Tab_Fonctionnement_OC[m - 1] = En_Service;
}
}  // namespace

TEST(Parcours, ModulesUnTroisSept) {
    Reinitialiser_Donnees();
    Mettre_En_Service({1, 3, 7});
    EXPECT_EQ(Module_En_Service_Suivant(1), 3);
    EXPECT_EQ(Module_En_Service_Suivant(3), 7);
    EXPECT_EQ(Module_En_Service_Suivant(7), 1);
    for (int k = 1; k <= 4; ++k) {
        Octet rang = static_cast<Octet>(k);
        EXPECT_EQ(Nieme_Module_En_Service(rang), (std::array<int, 4>{1, 3, 7, 1}[k - 1]));
    }
    EXPECT_EQ(Rang_Module_En_Service(1), 1);
    EXPECT_EQ(Rang_Module_En_Service(3), 2);
    EXPECT_EQ(Rang_Module_En_Service(7), 3);
    EXPECT_EQ(Rang_Module_En_Service(5), 1);
}

TEST(Parcours, BornesEtRetourAuModuleUn) {
    Reinitialiser_Donnees();
    Mettre_En_Service({1});
    EXPECT_EQ(Module_En_Service_Suivant(32), 1);
    EXPECT_EQ(Module_En_Service_Suivant(0), 1);
    Mettre_En_Service({});
    EXPECT_EQ(Module_En_Service_Suivant(5), 1);
    Mettre_En_Service({2, 32});
    EXPECT_EQ(Module_En_Service_Suivant(0), 2);
    EXPECT_EQ(Module_En_Service_Suivant(2), 32);
    EXPECT_EQ(Module_En_Service_Suivant(31), 32);

    Octet k = 0;
    EXPECT_EQ(Nieme_Module_En_Service(k), 1);
    EXPECT_EQ(k, 1);
    k = 40;
    EXPECT_EQ(Nieme_Module_En_Service(k), 1);
    EXPECT_EQ(k, 1);
    Octet adresse = 0;
    EXPECT_EQ(Rang_Module_En_Service(adresse), 1);
    adresse = 33;
    EXPECT_EQ(Rang_Module_En_Service(adresse), 1);
    EXPECT_EQ(adresse, 33);
}

TEST(Parcours, UneEntreeNiEnNiHorsServiceArreteLaRecherche) {
    Reinitialiser_Donnees();  // every entry empty, as before the first search
    EXPECT_EQ(Module_En_Service_Suivant(1), 1);
    Tab_Fonctionnement_OC.fill(Hors_Service);
    Tab_Fonctionnement_OC[4] = QString();
    Tab_Fonctionnement_OC[9] = En_Service;
    EXPECT_EQ(Module_En_Service_Suivant(1), 1);
    EXPECT_EQ(Module_En_Service_Suivant(5), 10);
}
