// What the viewer reads of the recordings table: slices whatever the end
// indexes hold, the numeric table's texts, the period search, the printed
// cells and the readout.
#include <gtest/gtest.h>

#include "commun/application_test.h"
#include "history/donnees_enreg.h"
#include "link/donnees.h"
#include "link/variables.h"
#include "platform/dates.h"

using namespace ostrel;

namespace {

class Donnees : public ::testing::Test {
protected:
    void SetUp() override {
        Reinitialiser_Donnees();
        Definir_Horloge_Murale([] { return DateSerial(2027, 3, 10); });
    }
    void TearDown() override { Definir_Horloge_Murale(nullptr); }
    // Channel 0: 5 points at 10:00..14:00 on 09/03/2027; channel 1 empty; channel 2: 1 point.
    void Remplir() {
        for (int k = 0; k < 5; ++k) {
            Tab_Mesures[k].Date_Heure = DateSerial(2027, 3, 9) + TimeSerial(10 + k, 0, 0);
            Tab_Mesures[k].Valeur = 20.5f + k;
        }
        Tab_Mesures[5].Date_Heure = DateSerial(2027, 3, 9) + TimeSerial(12, 0, 0);
        Index_Fin_Voie = {5, 5, 6};
    }
};

TEST_F(Donnees, TranchesToujoursDansLaTable) {
    Index_Fin_Voie = {10, 4, 30};
    EXPECT_EQ(Tranche_Voie(0).Debut, 0);
    EXPECT_EQ(Tranche_Voie(0).Fin, 10);
    // An end index that goes back gives an empty slice, not a reversed one.
    EXPECT_TRUE(Tranche_Voie(1).Vide());
    EXPECT_EQ(Tranche_Voie(1).Debut, 10);
    EXPECT_EQ(Tranche_Voie(2).Debut, 10);
    EXPECT_EQ(Tranche_Voie(2).Fin, 30);
    // Beyond the end indexes, or an index outside the table.
    EXPECT_TRUE(Tranche_Voie(3).Vide());
    EXPECT_EQ(Tranche_Voie(3).Debut, 30);
    EXPECT_TRUE(Tranche_Voie(-1).Vide());
    Index_Fin_Voie = {-5, 600000};
    EXPECT_EQ(Tranche_Voie(0).Fin, 0);
    EXPECT_EQ(Tranche_Voie(1).Fin, Table_Mesures::Taille);
    Index_Fin_Voie.clear();
    EXPECT_TRUE(Tranche_Voie(0).Vide());
}

TEST_F(Donnees, LignesDuTableauNumerique) {
    Parametres_Voie v;
    v.Periode_Enreg = 15;
    EXPECT_EQ(Tete_Tableau_Numerique("Chambre 1   ", v),
              (QStringList{"Chambre 1   ", QString(32, '*'), "Per. enreg. (mn) = 15", "Alarme non valide", QString(32, '*')}));
    v.Alarme_Valide = Vrai;
    v.Seuil_Haut = 8.5f;
    v.Seuil_Bas = -20;
    EXPECT_EQ(Tete_Tableau_Numerique("Voie n°2", v),
              (QStringList{"Voie n°2", QString(32, '*'), "Per. enreg. (mn) = 15", "Alarme valide",
                           "Seuil d'alarme haut = 8,5", "Seuil d'alarme bas = -20",
                           " * = Alarme présente et/ou non acquittée", QString(32, '*')}));

    Mesure_Enreg m;
    m.Date_Heure = DateSerial(2027, 3, 9) + TimeSerial(10, 15, 0);
    m.Valeur = 21.5f;
    EXPECT_EQ(Ligne_Tableau_Numerique(m), QStringLiteral("09/03/2027 10:15:00  21,5    "));
    m.Alarme = Vrai;
    EXPECT_EQ(Ligne_Tableau_Numerique(m), QStringLiteral("09/03/2027 10:15:00  21,5  * "));
    // A reserved value says what it is, without value or mark.
    m.Valeur = Valeur_Debut_Coupure;
    EXPECT_EQ(Ligne_Tableau_Numerique(m), QStringLiteral("09/03/2027 10:15:00   Début Coupure"));
    m.Valeur = Valeur_Fin_Coupure;
    EXPECT_EQ(Ligne_Tableau_Numerique(m), QStringLiteral("09/03/2027 10:15:00   Fin Coupure"));
    // Midnight: the date alone, filled to 21 characters.
    m.Date_Heure = DateSerial(2027, 3, 9);
    m.Valeur = Valeur_Inhibee;
    EXPECT_EQ(Ligne_Tableau_Numerique(m), QStringLiteral("09/03/2027            Inhibé"));
}

TEST_F(Donnees, RecherchePeriode) {
    Remplir();
    const Date jour = DateSerial(2027, 3, 9);
    // Both ends included.
    EXPECT_EQ(Index_Debut_Periode(0, jour + TimeSerial(11, 0, 0)), 1);
    EXPECT_EQ(Index_Fin_Periode(0, jour + TimeSerial(13, 0, 0)), 3);
    // A period starting before the first point, ending after the last.
    EXPECT_EQ(Index_Debut_Periode(0, jour), 0);
    EXPECT_EQ(Index_Fin_Periode(0, jour + 1), 4);
    // A period ending before the first point: both give the slice's first index.
    EXPECT_EQ(Index_Fin_Periode(0, jour + TimeSerial(9, 0, 0)), 0);
    EXPECT_EQ(Index_Debut_Periode(0, jour + TimeSerial(9, 0, 0)), 0);
    // A period starting after the last point: the slice's end.
    EXPECT_EQ(Index_Debut_Periode(0, jour + 1), 5);
    // An empty slice: both give its bound.
    EXPECT_EQ(Index_Debut_Periode(1, jour), 5);
    EXPECT_EQ(Index_Fin_Periode(1, jour + 1), 5);
    // A slice of one point.
    EXPECT_EQ(Index_Fin_Periode(2, jour + 1), 5);
    // Beyond 15.
    EXPECT_EQ(Index_Debut_Periode(16, jour), 0);
    EXPECT_EQ(Index_Fin_Periode(16, jour), 0);
}

TEST_F(Donnees, CellulesImprimeesEtLecture) {
    Mesure_Enreg m;
    m.Date_Heure = DateSerial(2027, 3, 9) + TimeSerial(10, 15, 30);
    EXPECT_EQ(Date_Tableau_Imprime(m.Date_Heure), QStringLiteral("09/03/2027 10:15"));
    EXPECT_EQ(Date_Tableau_Imprime(DateSerial(2027, 3, 9)), QStringLiteral("09/03/2027 00:00"));
    m.Valeur = -5.5f;
    EXPECT_EQ(Cellule_Tableau_Imprime(m), QStringLiteral("09/03/2027 10:15    -5,5       ...   "));
    m.Alarme = Vrai;
    EXPECT_EQ(Cellule_Tableau_Imprime(m), QStringLiteral("09/03/2027 10:15    -5,5    ALARME"));
    m.Valeur = Valeur_Debut_Coupure;
    EXPECT_EQ(Cellule_Tableau_Imprime(m), QStringLiteral("09/03/2027 10:15 Début Coupure"));
    // The shortest cell is filled out so that the next column keeps its place.
    m.Valeur = Valeur_Inhibee;
    EXPECT_EQ(Cellule_Tableau_Imprime(m), QStringLiteral("09/03/2027 10:15 Inhibé").leftJustified(28));

    EXPECT_EQ(Lecture_Curseur(DateSerial(2027, 3, 9) + TimeSerial(10, 15, 0), 21.25), QStringLiteral("09/03/2027 10:15:00  21,2"));
    EXPECT_EQ(Lecture_Curseur(DateSerial(2027, 3, 9), 21.35f), QStringLiteral("09/03/2027  21,4"));
    EXPECT_EQ(Lecture_Curseur(DateSerial(2027, 3, 9), -3), QStringLiteral("09/03/2027  -3"));

    EXPECT_EQ(Texte_Boite_Date(DateSerial(2027, 3, 9)), QStringLiteral("09/03/2027 00:00"));
    EXPECT_EQ(Texte_Boite_Date(DateSerial(2027, 3, 9) + TimeSerial(23, 59, 59)), QStringLiteral("09/03/2027 23:59"));
    EXPECT_EQ(Longueur_Date_Courte(), 10);
}

}  // namespace
