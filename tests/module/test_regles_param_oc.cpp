#include <gtest/gtest.h>

#include "commun/application_test.h"
#include "config/regles_param_oc.h"
#include "platform/dates.h"

using namespace ostrel;

namespace {

Date H(int heure, int minute) { return TimeSerial(heure, minute, 0); }

}  // namespace

TEST(ReglesParamOC, CodesEtNomsParDefaut) {
    for (int k = 1; k <= 4; ++k) {
        const QString code = Code_Defaut(k);
        ASSERT_EQ(code.size(), 4);
        EXPECT_EQ(code.right(1), QString::number(k));
        EXPECT_EQ(code.left(3), Code_Defaut(1).left(3));  // one prefix, the operator number after it
        EXPECT_EQ(Nom_Operateur_Defaut(k), QStringLiteral("OPERATEUR ") + QString::number(k));
    }
    EXPECT_EQ(Valeur_Code("0042"), 42);
    EXPECT_EQ(Valeur_Code("0000"), 0);
    EXPECT_EQ(Valeur_Code(""), 0);
    EXPECT_EQ(Valeur_Code("9999"), 9999);
    // Text that is not a code of four digits at most is sent as an empty box.
    EXPECT_EQ(Valeur_Code("12a4"), 0);
    EXPECT_EQ(Valeur_Code("-12"), 0);
    EXPECT_EQ(Valeur_Code("12345"), 0);
}

TEST(ReglesParamOC, EnteteEtSesLignes) {
    EXPECT_TRUE(Entete_Acceptee(""));
    EXPECT_TRUE(Entete_Acceptee(" Chambre froide n 2 z"));
    for (const QString& refuse : {QStringLiteral("Bâtiment"), QStringLiteral("a{b"), QStringLiteral("a~"),
                                  QStringLiteral("a\tb"), QString(QChar(0)), QStringLiteral("é")})
        EXPECT_FALSE(Entete_Acceptee(refuse)) << refuse.toStdString();

    EXPECT_EQ(Remplir_Ligne("abc"), QStringLiteral("abc") + QString(29, ' '));
    EXPECT_EQ(Remplir_Ligne(QString(40, 'x')), QString(40, 'x'));

    const QString l1 = QStringLiteral("Chambre froide A") + QString(16, ' ');
    const QString l2 = QStringLiteral("Ticket ligne 2") + QString(18, ' ');
    const QString entete = l1 + l2;
    // A 16-character name keeps the second line as it was.
    EXPECT_EQ(Entete_Avec_Premiere_Ligne(entete, "Congelateur 16ch"), QStringLiteral("Congelateur 16ch") + QString(16, ' ') + l2);
    EXPECT_EQ(Entete_Avec_Premiere_Ligne(entete, ""), QString(32, ' ') + l2);
    EXPECT_EQ(Entete_Avec_Deuxieme_Ligne(entete, "x"), l1 + QStringLiteral("x") + QString(31, ' '));
    // A header shorter than one line: the second line follows what there is.
    EXPECT_EQ(Entete_Avec_Deuxieme_Ligne("Module non connecté", "B"),
              QStringLiteral("Module non connectéB") + QString(31, ' '));
    EXPECT_EQ(Entete_Avec_Premiere_Ligne("Module non connecté", "A"), QStringLiteral("A") + QString(31, ' '));
    EXPECT_EQ(Premiere_Ligne(entete), l1);
    EXPECT_EQ(Deuxieme_Ligne(entete), l2);
    EXPECT_EQ(Premiere_Ligne("abc"), QStringLiteral("abc"));
    EXPECT_EQ(Deuxieme_Ligne("abc"), QString());
}

TEST(ReglesParamOC, PlanningsLusDuModule) {
    EXPECT_DOUBLE_EQ(Heure_Planning_Lue(TimeSerial(25, 30, 0)), H(1, 30));
    EXPECT_DOUBLE_EQ(Heure_Planning_Lue(TimeSerial(24, 0, 0)), 1.0);  // one whole day, no time: as read
    EXPECT_DOUBLE_EQ(Heure_Planning_Lue(H(8, 15)), H(8, 15));

    Plages p{};
    p[0] = H(8, 0);
    p[1] = H(12, 0);
    p[9] = TimeSerial(25, 30, 0);
    EXPECT_TRUE(Classer_Planning(p));
    EXPECT_DOUBLE_EQ(p[9], H(1, 30));
    EXPECT_DOUBLE_EQ(p[0], H(8, 0));

    // First weekday range from 08:00 to 08:00: not in use, every time back to 00:00.
    Plages q{};
    q[0] = q[1] = H(8, 0);
    q[8] = H(9, 0);
    q[9] = H(17, 0);
    EXPECT_FALSE(Classer_Planning(q));
    for (Date t : q) EXPECT_EQ(t, 0);
    Plages vide{};
    EXPECT_FALSE(Classer_Planning(vide));
    // Only the first weekday range decides.
    Plages r{};
    r[1] = H(6, 0);
    EXPECT_TRUE(Classer_Planning(r));
}

TEST(ReglesParamOC, TexteDesBoitesHoraires) {
    EXPECT_DOUBLE_EQ(*Convertir_Plage("08:30"), H(8, 30));
    EXPECT_EQ(*Convertir_Plage("00:00"), 0);
    EXPECT_DOUBLE_EQ(*Convertir_Plage("23:59"), H(23, 59));
    for (const char* mauvais : {"24:00", "12:60", "1_:3_", "__:__", "8:30", "08:3", "08-30", "aa:bb", ""})
        EXPECT_FALSE(Convertir_Plage(mauvais).has_value()) << mauvais;
    EXPECT_EQ(Texte_Plage(0), QStringLiteral("00:00"));
    EXPECT_EQ(Texte_Plage(H(7, 5)), QStringLiteral("07:05"));
    EXPECT_EQ(Texte_Plage(1.0), QStringLiteral("31/12"));  // 24:00 as decoded: the start of its date text
}

TEST(ReglesParamOC, ReglesDesPlages) {
    const Date h8 = H(8, 0), h9 = H(9, 0), h10 = H(10, 0), h830 = H(8, 30);
    // Rule 1: an end of 00:00 is not compared, the begin is stored, colours untouched.
    Effet_Plage e = Regle_Debut_Change(h10, 0);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Inchangee);
    EXPECT_DOUBLE_EQ(*e.Debut, h10);
    e = Regle_Debut_Change(h830, h9);
    EXPECT_DOUBLE_EQ(*e.Debut, h830);
    e = Regle_Debut_Change(h10, h9);  // after the end: red, nothing stored
    EXPECT_EQ(e.Couleur, Couleur_Plage::Rouge);
    EXPECT_FALSE(e.Debut || e.Fin);
    e = Regle_Debut_Change(h9, h9);  // equal counts as at or before
    EXPECT_EQ(e.Couleur, Couleur_Plage::Rouge);
    e = Regle_Debut_Change(std::nullopt, h9);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Inchangee);
    EXPECT_FALSE(e.Debut || e.Fin || e.Texte_Zero);

    // Rule 2.
    e = Regle_Debut_Sortie(std::nullopt, h9, true);
    EXPECT_TRUE(e.Texte_Zero);
    EXPECT_EQ(*e.Debut, 0);
    EXPECT_FALSE(e.Fin);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Inchangee);
    e = Regle_Debut_Sortie(h10, h9, true);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Rouge);
    EXPECT_FALSE(e.Debut);
    e = Regle_Debut_Sortie(h830, h9, true);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Normale);
    EXPECT_DOUBLE_EQ(*e.Debut, h830);
    e = Regle_Debut_Sortie(h10, h9, false);  // not red: stored without a test
    EXPECT_EQ(e.Couleur, Couleur_Plage::Inchangee);
    EXPECT_DOUBLE_EQ(*e.Debut, h10);

    // Rule 3.
    e = Regle_Fin_Change(h8, h8);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Rouge);
    EXPECT_FALSE(e.Fin);
    e = Regle_Fin_Change(h9, h8);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Normale);
    EXPECT_DOUBLE_EQ(*e.Fin, h9);
    e = Regle_Fin_Change(0.0, h8);  // an end of 00:00 is a range without end
    EXPECT_EQ(e.Couleur, Couleur_Plage::Normale);
    EXPECT_EQ(*e.Fin, 0);
    EXPECT_FALSE(Regle_Fin_Change(std::nullopt, h8).Fin);

    // Rule 4.
    e = Regle_Fin_Sortie(std::nullopt, h8);
    EXPECT_TRUE(e.Texte_Zero);
    EXPECT_EQ(*e.Fin, 0);
    EXPECT_EQ(*e.Debut, 0);
    EXPECT_FALSE(e.Stockee);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Inchangee);
    e = Regle_Fin_Sortie(h830, h9);
    EXPECT_EQ(e.Couleur, Couleur_Plage::Rouge);
    EXPECT_EQ(*e.Fin, 0);
    EXPECT_EQ(*e.Debut, 0);
    EXPECT_FALSE(e.Stockee);
    e = Regle_Fin_Sortie(0.0, 0);
    EXPECT_TRUE(e.Stockee);
    EXPECT_EQ(*e.Fin, 0);
    EXPECT_FALSE(e.Debut);
    e = Regle_Fin_Sortie(h9, 0);  // a begin of 00:00 is not compared
    EXPECT_TRUE(e.Stockee);
    EXPECT_DOUBLE_EQ(*e.Fin, h9);

    EXPECT_TRUE(Plage_Invalide(h9, h8));
    EXPECT_TRUE(Plage_Invalide(h8, h8));
    EXPECT_FALSE(Plage_Invalide(h8, 0));
    EXPECT_FALSE(Plage_Invalide(0, 0));
    EXPECT_FALSE(Plage_Invalide(h8, h9));
}

TEST(ReglesParamOC, HorlogesEtProgression) {
    const Format_Date_Heure longue = Choisir_Format_Date_Heure("07/03/2027");
    EXPECT_EQ(longue.Format, QStringLiteral("dd/mm/yyyy hh:mm:ss"));
    EXPECT_EQ(longue.Masque, QStringLiteral("99/99/9999 99:99:99"));
    const Format_Date_Heure courte = Choisir_Format_Date_Heure("07/03/27");
    EXPECT_EQ(courte.Format, QStringLiteral("dd/mm/yy hh:mm:ss"));
    EXPECT_EQ(courte.Masque, QStringLiteral("99/99/99 99:99:99"));

    EXPECT_EQ(Texte_Horloge(DateSerial(2027, 3, 7) + TimeSerial(9, 5, 3)), QStringLiteral("07/03/2027 09:05:03"));
    EXPECT_EQ(Texte_Horloge(DateSerial(2027, 3, 8)), QStringLiteral("08/03/2027 00:00:00"));

    const std::vector<Long> attendues{0, 5, 11, 16, 21, 26, 32, 37, 42, 47, 53, 58, 63, 68, 74, 79, 84, 89, 95, 100};
    for (int k = 0; k <= 19; ++k) EXPECT_EQ(Progression_Etape(k), attendues[static_cast<size_t>(k)]) << k;
}
