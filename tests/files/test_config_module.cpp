#include "aide_fichiers.h"

#include "files/config_module.h"
#include "files/messages_fichiers.h"
#include "link/donnees.h"
#include "platform/dates.h"

using namespace ostrel;
using namespace ostrel::essai;

namespace {

const QString Entete_12 = QStringLiteral("CHAMBRE FROIDE N°2              ENTREPOT NORD");

void Preparer_Module_12() {
    Parametres_Module& m = Tab_Parametres_Modules[11];
    m.Entete = Entete_12;
    m.Logique_STOR1 = 1;
    m.Logique_STOR2 = 2;
    m.Planning[1][0] = TimeSerial(8, 0, 0);
    m.Planning[1][1] = TimeSerial(12, 0, 0);
    m.Planning[1][2] = TimeSerial(14, 0, 0);
    m.Planning[1][3] = TimeSerial(18, 30, 0);
    m.Planning[1][8] = TimeSerial(9, 15, 30);
    m.Planning[1][9] = TimeSerial(10, 0, 0);
    // Planning 16: its first weekday range ends at 00:00, another range is set.
    m.Planning[16][2] = TimeSerial(6, 0, 0);
    m.Planning[16][3] = TimeSerial(7, 0, 0);
}

const Textes_Codes Codes = {"0042", "1234", "9999", "0000"};
const Textes_Codes Noms = {"DUPONT      ", "Martin", "", "Équipe nuit"};

QStringList Fichier_Module_12() {
    QStringList l = {"Module n°12", "", "***  Entête  ***", Entete_12, "", "***  Configuration STOR 1  ***", " 1 ",
                     "***  Configuration STOR 2  ***", " 2 ", ""};
    for (int p = 1; p <= 16; ++p) {
        l << QStringLiteral("*** Planning n°%1  ***").arg(p) << "";
        for (int r = 0; r < 8; ++r) l << "00:00:00      00:00:00";
        l << "";
    }
    l[12] = "08:00:00      12:00:00";
    l[13] = "14:00:00      18:30:00";
    l[16] = "09:15:30      10:00:00";
    l[10 + 15 * 11 + 3] = "06:00:00      07:00:00";
    l << "*** Psw Acq ***" << "" << Codes[0] << Codes[1] << Codes[2] << Codes[3] << ""
      << QStringLiteral("*** Nom opérateur pour Acq ***") << "" << Noms[0] << Noms[1] << Noms[2] << Noms[3] << "";
    return l;
}

class ConfigModule : public Essai_Fichiers {
protected:
    void SetUp() override {
        Essai_Fichiers::SetUp();
        Num_Module = 12;
        Preparer_Module_12();
    }
    Textes_Codes codes = Codes, noms = Noms;
    QString caption = QStringLiteral("Module 3");
};

}  // namespace

TEST_F(ConfigModule, DeuxCentsLignesLigneParLigne) {
    ASSERT_TRUE(Sauvegarde_Config_Module(Chemin("Config_MD_12.txt"), Codes, Noms));
    const QStringList lignes = Lignes(Lire(Chemin("Config_MD_12.txt")));
    EXPECT_EQ(lignes.size(), 200);
    EXPECT_EQ(lignes, Fichier_Module_12());
    // The end time starts at column 15 of a range line.
    EXPECT_EQ(lignes[12].mid(14, 8), "12:00:00");
    EXPECT_TRUE(boites.Messages.empty());
}

TEST_F(ConfigModule, AllerRetourOctetPourOctet) {
    ASSERT_TRUE(Sauvegarde_Config_Module(Chemin("a.txt"), Codes, Noms));
    Tab_Parametres_Modules[11] = Parametres_Module{};
    codes = {};
    noms = {};
    Num_Module = 3;
    ASSERT_TRUE(Restauration_Config_Module(Chemin("a.txt"), codes, noms, caption));
    ASSERT_TRUE(Sauvegarde_Config_Module(Chemin("b.txt"), codes, noms));
    EXPECT_EQ(Lire(Chemin("a.txt")), Lire(Chemin("b.txt")));
    // Replacing an existing file asks nothing.
    ASSERT_TRUE(Sauvegarde_Config_Module(Chemin("b.txt"), codes, noms));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Restauration_Terminee});
}

TEST_F(ConfigModule, RestaurationDuModuleNommeDansLeFichier) {
    QStringList lignes = Fichier_Module_12();
    lignes[189] = "42";  // a code written without its zeros
    Ecrire(Chemin("m.txt"), Contenu(lignes));
    Tab_Parametres_Modules[11] = Parametres_Module{};
    Tab_Parametres_Modules[11].Date_Heure = 5;
    Planning_Actif.fill(Vrai);
    Num_Module = 3;
    ASSERT_TRUE(Restauration_Config_Module(Chemin("m.txt"), codes, noms, caption));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Restauration_Terminee});
    EXPECT_EQ(Num_Module, 12);
    EXPECT_EQ(caption, "Module 12");
    const Parametres_Module& m = Tab_Parametres_Modules[11];
    EXPECT_EQ(m.Entete, Entete_12);
    EXPECT_EQ(m.Logique_STOR1, 1);
    EXPECT_EQ(m.Logique_STOR2, 2);
    EXPECT_DOUBLE_EQ(m.Planning[1][3], TimeSerial(18, 30, 0));
    EXPECT_DOUBLE_EQ(m.Planning[1][8], TimeSerial(9, 15, 30));
    EXPECT_EQ(m.Date_Heure, 5);  // not in the file
    EXPECT_EQ(Planning_Actif[0], Vrai);
    EXPECT_EQ(Planning_Actif[1], Faux);
    EXPECT_EQ(Planning_Actif[15], Faux);  // its first weekday range ends at 00:00
    EXPECT_EQ(codes, (Textes_Codes{"0042", "0042", "9999", "0000"}));
    EXPECT_EQ(noms, Noms);
}

TEST_F(ConfigModule, FichierSansCodesRestaureSansMessage) {
    Ecrire(Chemin("m.txt"), Contenu(Fichier_Module_12().mid(0, 186)));
    Textes_Codes codes_ecran = {"1111", "2222", "3333", "4444"};
    Num_Module = 1;
    ASSERT_TRUE(Restauration_Config_Module(Chemin("m.txt"), codes_ecran, noms, caption));
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Num_Module, 12);
    EXPECT_EQ(caption, "Module 12");
    EXPECT_EQ(codes_ecran, (Textes_Codes{"1111", "2222", "3333", "4444"}));
    EXPECT_EQ(Planning_Actif[0], Vrai);
}

TEST_F(ConfigModule, FichierIncorrectNeChangeRien) {
    struct Cas { int ligne; QString texte; };
    const Cas cas[] = {
        {1, "Module n°"}, {1, "Module n°0"}, {1, "Module n°33"}, {1, "Module n°x"},
        {7, "Impulsionnel"}, {9, " 256 "},
        {13, "25:00:00      12:00:00"}, {13, "08:00:00      midi"}, {13, "25/12/06      12:00:00"}, {186 - 2, "--"},
        {190, "12a4"}, {191, "12345"},
    };
    const Parametres_Module avant = Tab_Parametres_Modules[11];
    Planning_Actif.fill(Vrai);
    auto refuse = [&](const QString& chemin) {
        boites.Effacer();
        Num_Module = 3;
        EXPECT_FALSE(Restauration_Config_Module(chemin, codes, noms, caption));
        EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Fichier_Incorrect});
        EXPECT_EQ(Num_Module, 3);
        EXPECT_EQ(caption, "Module 3");
        EXPECT_EQ(Tab_Parametres_Modules[11].Entete, avant.Entete);
        EXPECT_EQ(Tab_Parametres_Modules[11].Planning, avant.Planning);
        EXPECT_EQ(Tab_Parametres_Modules[2].Entete, QString());
        EXPECT_EQ(Planning_Actif[1], Vrai);
        EXPECT_EQ(codes, Codes);
        EXPECT_EQ(noms, Noms);
    };
    for (const Cas& c : cas) {
        QStringList lignes = Fichier_Module_12();
        lignes[c.ligne - 1] = c.texte;
        Ecrire(Chemin("mauvais.txt"), Contenu(lignes));
        SCOPED_TRACE(c.ligne);
        refuse(Chemin("mauvais.txt"));
    }
    // Files that end inside the plannings or inside the codes and names.
    for (int fin : {100, 185, 190, 197}) {
        Ecrire(Chemin("court.txt"), Contenu(Fichier_Module_12().mid(0, fin)));
        SCOPED_TRACE(fin);
        refuse(Chemin("court.txt"));
    }
    refuse(Chemin("absent.txt"));
}

TEST_F(ConfigModule, SauvegardeDansUnDossierEnLectureSeule) {
    const QString chemin = Chemin("Config_MD_12.txt");
    Ecrire(chemin, "ancien\r\n");
    ASSERT_TRUE(Dossier_Lecture_Seule(dossier.path(), true));
    const Resultat_Fichier r = Sauvegarde_Config_Module(chemin, Codes, Noms);
    Dossier_Lecture_Seule(dossier.path(), false);
    EXPECT_FALSE(r);
    EXPECT_EQ(Lire(chemin), "ancien\r\n");
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Style & vbCritical);
}
