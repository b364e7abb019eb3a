#include <gtest/gtest.h>

#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/formats.h"

using namespace ostrel;

TEST(Cp1252, ChaqueOctetFaitLAllerRetour) {
    QByteArray tous;
    for (int i = 0; i < 256; ++i) tous.append(char(i));
    const QString texte = Depuis_Cp1252(tous);
    ASSERT_EQ(texte.size(), 256);
    EXPECT_EQ(Vers_Cp1252(texte), tous);
}

TEST(Cp1252, CaracteresFrancaisEtPlage80) {
    EXPECT_EQ(Vers_Cp1252(QStringLiteral("é°€œ")), QByteArray("\xE9\xB0\x80\x9C"));
    EXPECT_EQ(Depuis_Cp1252(QByteArray("Ferm\xE9")), QStringLiteral("Fermé"));
    EXPECT_EQ(Octet_Cp1252(QChar(0x4E2D)), Octet('?'));
    EXPECT_FALSE(Existe_En_Cp1252(QChar(0x4E2D)));
}

TEST(Formats, ArrondiAuPairSurLesMoities) {
    EXPECT_EQ(Arrondi_Pair(2.5), 2);
    EXPECT_EQ(Arrondi_Pair(3.5), 4);
    EXPECT_EQ(Arrondi_Pair(-2.5), -2);
    EXPECT_EQ(Arrondi_Pair(33.333), 33);
    EXPECT_EQ(Arrondi_Pair(66.5), 66);
}

TEST(Formats, FormeGeneraleDunSimple) {
    EXPECT_EQ(Texte_Simple(21.5f), "21,5");
    EXPECT_EQ(Texte_Simple(-5.0f), "-5");
    EXPECT_EQ(Texte_Simple(0.0f), "0");
    EXPECT_EQ(Texte_Simple(-0.1f), "-0,1");
    EXPECT_EQ(Texte_Simple(3276.7f), "3276,7");
    EXPECT_EQ(Texte_Simple(1234567.0f), "1234567");
    EXPECT_EQ(Texte_Simple(12345678.0f), "1,234568E+07");
    EXPECT_EQ(Texte_Simple(0.0001f), "0,0001");
    EXPECT_EQ(Texte_Simple(0.00001f), "1E-05");
    EXPECT_EQ(Texte_Simple(215.0f), "215");
}

TEST(Formats, NombresEcritsDirectement) {
    EXPECT_EQ(Ecrit_Direct(30), " 30 ");
    EXPECT_EQ(Ecrit_Direct(-5), "-5 ");
    EXPECT_EQ(Ecrit_Direct(0), " 0 ");
    EXPECT_EQ(Ecrit_Direct(-2147483633LL), "-2147483633 ");
    EXPECT_EQ(Ecrit_Direct_Simple(-50.0f), "-50 ");
    EXPECT_EQ(Ecrit_Direct_Simple(21.5f), " 21,5 ");
    EXPECT_EQ(Ecrit_Booleen(Vrai), "True");
    EXPECT_EQ(Ecrit_Booleen(1), "True");
    EXPECT_EQ(Ecrit_Booleen(Faux), "False");
}

TEST(Formats, ConversionsDesLignesLues) {
    EXPECT_EQ(Convertir_Octet(" 3 "), Octet(3));
    EXPECT_FALSE(Convertir_Octet(" 300 "));
    EXPECT_FALSE(Convertir_Octet("-1"));
    EXPECT_EQ(Convertir_Octet("2,5"), Octet(2));
    EXPECT_EQ(Convertir_Simple(" 21,5 "), 21.5f);
    EXPECT_EQ(Convertir_Simple("-50"), -50.0f);
    EXPECT_EQ(Convertir_Simple("1,5E-05"), 1.5e-5f);
    EXPECT_FALSE(Convertir_Simple(""));
    EXPECT_FALSE(Convertir_Simple("abc"));
    EXPECT_FALSE(Convertir_Simple("12abc"));
    EXPECT_EQ(Convertir_Long("-2147483633 "), -2147483633);
    EXPECT_FALSE(Convertir_Long("2147483648"));
    EXPECT_EQ(Convertir_Entier("-32768"), Entier(-32768));
    EXPECT_FALSE(Convertir_Entier("32768"));
    EXPECT_EQ(Convertir_Booleen("True"), Vrai);
    EXPECT_EQ(Convertir_Booleen("false"), Faux);
    EXPECT_EQ(Convertir_Booleen(" 1 "), Vrai);
    EXPECT_EQ(Convertir_Booleen("0"), Faux);
    EXPECT_FALSE(Convertir_Booleen("Voie 11"));
    EXPECT_FALSE(Convertir_Booleen("Vrai"));
    EXPECT_FALSE(Convertir_Booleen("faux"));
}

TEST(Dates, ValeursEtRetenues) {
    EXPECT_EQ(DateSerial(1899, 12, 30), 0);
    EXPECT_EQ(DateSerial(1900, 1, 1), 2);
    EXPECT_EQ(DateSerial(2006, 12, 25), 39076);
    EXPECT_EQ(DateSerial(6, 12, 25), 39076);            // two-digit year
    EXPECT_EQ(DateSerial(99, 1, 1), DateSerial(1999, 1, 1));
    EXPECT_EQ(DateSerial(30, 1, 1), DateSerial(1930, 1, 1));
    EXPECT_EQ(DateSerial(2006, 13, 1), DateSerial(2007, 1, 1));  // month 13
    EXPECT_EQ(DateSerial(2006, 3, 0), DateSerial(2006, 2, 28));  // day 0
    EXPECT_EQ(DateSerial(2006, 0, 1), DateSerial(2005, 12, 1));
    EXPECT_DOUBLE_EQ(TimeSerial(24, 0, 0), 1.0);
    EXPECT_DOUBLE_EQ(TimeSerial(13, 60, 0), TimeSerial(14, 0, 0));
}

TEST(Dates, TextesDeLaFormeGenerale) {
    const Date d = DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0);
    EXPECT_EQ(Texte_Date(d), "25/12/2006 14:30:00");
    EXPECT_EQ(Texte_Date(DateSerial(2006, 12, 25)), "25/12/2006");
    EXPECT_EQ(Texte_Date(TimeSerial(8, 0, 0)), "08:00:00");
    EXPECT_EQ(Texte_Date(0), "00:00:00");
    EXPECT_EQ(Texte_Date_Courte(d), "25/12/2006");
    EXPECT_EQ(Texte_Heure(d), "14:30:00");
    // The bytes the writers of long files append: the same text, whatever the date.
    for (const Date v : {d, DateSerial(2006, 12, 25), DateSerial(2006, 12, 25) - 1e-7, TimeSerial(8, 0, 0), Date{0}, Date{-1.5},
                         DateSerial(10000, 1, 2) + TimeSerial(1, 2, 3), DateSerial(1000, 7, 14)}) {
        QByteArray octets("x");
        Ajouter_Texte_Date(octets, v);
        EXPECT_EQ(octets, "x" + Texte_Date(v).toLatin1()) << v;
    }
    EXPECT_EQ(Weekday(DateSerial(2006, 12, 25)), 2);  // a Monday
    EXPECT_EQ(Weekday(DateSerial(2006, 12, 24)), 1);  // Sunday
}

TEST(Dates, ConversionDesTextes) {
    EXPECT_EQ(Convertir_Date("25/12/2006 14:30:00"), DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0));
    EXPECT_EQ(Convertir_Date("25/12/2099 14:30"), DateSerial(2099, 12, 25) + TimeSerial(14, 30, 0));
    EXPECT_EQ(Convertir_Date("25/12/06"), DateSerial(2006, 12, 25));
    EXPECT_EQ(Convertir_Date("08:00:00"), TimeSerial(8, 0, 0));
    EXPECT_EQ(Convertir_Date("00:00:00"), 0.0);
    EXPECT_FALSE(Convertir_Date("32/01/2006"));
    EXPECT_FALSE(Convertir_Date("29/02/2007"));
    EXPECT_FALSE(Convertir_Date("25/13/2006"));
    EXPECT_FALSE(Convertir_Date("24:00:00"));
    EXPECT_FALSE(Convertir_Date("abc"));
    EXPECT_FALSE(Convertir_Date(""));
}

TEST(Dates, HorlogeMuraleFixeePourLesTests) {
    Definir_Horloge_Murale([] { return DateSerial(2027, 3, 7) + TimeSerial(10, 0, 0); });
    EXPECT_EQ(Texte_Date(Maintenant()), "07/03/2027 10:00:00");
    EXPECT_EQ(Aujourdhui(), DateSerial(2027, 3, 7));
    Definir_Horloge_Murale(nullptr);
    EXPECT_GT(Maintenant(), DateSerial(2020, 1, 1));
}
