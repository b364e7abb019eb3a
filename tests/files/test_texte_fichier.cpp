#include <gtest/gtest.h>

#include "files/texte_fichier.h"
#include "platform/dates.h"

using namespace ostrel;

TEST(EcrivainTexte, LignesNombresBooleensDatesEtZones) {
    Ecrivain_Texte e;
    e.Ligne("Configuration du Module n°3");
    e.Ligne();
    e.Direct(30);
    e.Direct(-5);
    e.Direct_Simple(-50.0f);
    e.Booleen_Ecrit(Vrai);
    e.Date_Ecrite(DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0));
    e.Ligne({{"08:00:00", Separateur::Zone}, {"12:00:00", Separateur::Fin}});
    EXPECT_EQ(e.Contenu(), QByteArray("Configuration du Module n\xB0" "3\r\n\r\n 30 \r\n-5 \r\n-50 \r\nTrue\r\n"
                                      "25/12/2006 14:30:00\r\n08:00:00      12:00:00\r\n"));
}

TEST(LecteurTexte, LignesAvecCrLfCrOuLf) {
    Lecteur_Texte l(QByteArray("un\r\n\r\ndeux\rtrois\nquatre"));
    QString ligne;
    std::vector<QString> lues;
    while (l.Lire_Ligne(ligne)) lues.push_back(ligne);
    EXPECT_EQ(lues, (std::vector<QString>{"un", "", "deux", "trois", "quatre"}));
    EXPECT_TRUE(l.Fin());
    EXPECT_FALSE(l.Lire_Ligne(ligne));
}

TEST(LecteurTexte, ItemsAuxVirgulesGuillemetsEtBlancs) {
    Lecteur_Texte l(QByteArray("*\r\n 3 \r\nSonde, chambre\r\n\"Sonde, four\" \r\n  Voie 2     \r\n\r\nsuite\r\nligne enti\xE8re\r\n"));
    QString item;
    std::vector<QString> lus;
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(l.Lire_Item(item));
        lus.push_back(item);
    }
    EXPECT_EQ(lus, (std::vector<QString>{"*", "3 ", "Sonde", "chambre", "Sonde, four", "Voie 2     ", ""}));
    QString ligne;
    ASSERT_TRUE(l.Lire_Ligne(ligne));  // items and lines mix on one content
    EXPECT_EQ(ligne, "suite");
    ASSERT_TRUE(l.Lire_Ligne(ligne));
    EXPECT_EQ(ligne, QStringLiteral("ligne entière"));
    EXPECT_FALSE(l.Lire_Item(item));
}
