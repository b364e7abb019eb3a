#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "files/options_logiciel.h"
#include "link/donnees.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dialogues.h"

using namespace ostrel;

namespace {

const QString Manquant = QStringLiteral("Un fichier est manquant, réinstaller l'application !");

// A complete file as the program writes it, line 1 holding bytes of the upper half.
QByteArray Fichier_Complet() {
    QByteArray f;
    f += "R\xE9serv\xE9 \xA9 2006\r\n1\r\n************ Nom de l'installation ******************\r\n";
    f += "Serre n\xB0" "2 \x96 \xE9t\xE9\r\n";
    f += "m\xF4t de passe\r\n";
    f += "********* Sauvegarde du port de communication ************\r\n 3 \r\n";
    f += "********* Sauvegarde des couleurs variables et de la police\r\nLiberation Sans\r\n";
    f += " 16777215 \r\n 16777215 \r\n 8421376 \r\n 0 \r\n 0 \r\n 14540253 \r\n-2147483633 \r\n-2147483633 \r\n 0 \r\n";
    f += "********* Sauvegarde des couleurs variables et de la police\r\n";
    for (int i = 0; i < 16; ++i) f += " " + QByteArray::number(1000 + i * 4099) + " \r\n";
    return f;
}

class Options : public ::testing::Test {
protected:
    QTemporaryDir disque;
    Boites_Scriptees boites;

    void SetUp() override {
        Reinitialiser_Donnees();
        Ligne_Reservee_Options.clear();
        qputenv("OSTREL_DISQUE_C", disque.path().toUtf8());
        Definir_Boites(&boites);
        Frm_Menu1().Lbl_Info_Client(QString());
    }
    void TearDown() override {
        Definir_Boites(nullptr);
        qunsetenv("OSTREL_DISQUE_C");
    }
    QString Natif(const QString& relatif) const { return disque.filePath(relatif); }
    void Ecrire(const QString& relatif, const QByteArray& contenu) const {
        QDir().mkpath(QFileInfo(Natif(relatif)).absolutePath());
        QFile f(Natif(relatif));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenu);
    }
    QByteArray Lire(const QString& relatif) const {
        QFile f(Natif(relatif));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

}  // namespace

TEST_F(Options, LectureDesTrenteCinqLignesPuisEcritureOctetPourOctet) {
    Ecrire("OstrelSoft+/ver.dva", Fichier_Complet());
    Chemin_Fichier_Version = "c:\\OstrelSoft+\\ver.dva";
    Chargement_Parametres_Logiciel();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Ligne_Reservee_Options, QStringLiteral("Réservé © 2006"));
    EXPECT_EQ(Nom_Installation, QStringLiteral("Serre n°2 – été"));
    EXPECT_EQ(Mdp_Admin, QStringLiteral("môt de passe"));
    EXPECT_EQ(Port_Com, 3);
    EXPECT_EQ(Police_Options, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(Couleur_Police, 0xFFFFFF);
    EXPECT_EQ(Couleur_Fenetre, 0x808000);
    EXPECT_EQ(Couleur_Cadre, 0xDDDDDD);
    EXPECT_EQ(Couleur_Cadre_Bandeau, Couleur_Face_Bouton);
    EXPECT_EQ(Couleur_Fond_Bandeau, Couleur_Face_Bouton);
    EXPECT_EQ(Couleur_Police_Bandeau, 0);
    EXPECT_EQ(Tab_Couleur_Courbe[0], 1000);
    EXPECT_EQ(Tab_Couleur_Courbe[15], 1000 + 15 * 4099);

    // Line 4 is written from the name the dashboard shows.
    Frm_Menu1().Lbl_Info_Client(Nom_Installation);
    QFile::remove(Natif("OstrelSoft+/ver.dva"));
    ASSERT_TRUE(Sauvegarde_Parametres_Logiciel());
    EXPECT_EQ(Lire("OstrelSoft+/ver.dva"), Fichier_Complet());
    EXPECT_EQ(QDir(Natif("OstrelSoft+")).entryList(QDir::Files | QDir::Hidden), QStringList{"ver.dva"});

    Frm_Menu1().Lbl_Info_Client("Chambre froide");
    ASSERT_TRUE(Sauvegarde_Parametres_Logiciel());
    Reinitialiser_Donnees();
    Ligne_Reservee_Options.clear();
    Chemin_Fichier_Version = "c:\\OstrelSoft+\\ver.dva";
    Chargement_Parametres_Logiciel();
    EXPECT_EQ(Nom_Installation, QStringLiteral("Chambre froide"));
    EXPECT_EQ(Ligne_Reservee_Options, QStringLiteral("Réservé © 2006"));
    EXPECT_EQ(Couleur_Fond_Bandeau, Couleur_Face_Bouton);
}

TEST_F(Options, FichierCourtOuValeursIllisiblesGardentLesReglagesPrecedents) {
    Mdp_Admin = "secret";
    Police_Options = "Arial";
    Port_Com = 2;
    Couleur_Fenetre = 0x123456;
    Ecrire("OstrelSoft+/ver.dva", "premiere\r\n1\r\ntitre\r\nAtelier");  // ends after line 4
    Chemin_Fichier_Version = "c:\\OstrelSoft+\\ver.dva";
    Chargement_Parametres_Logiciel();
    EXPECT_EQ(Ligne_Reservee_Options, QStringLiteral("premiere"));
    EXPECT_EQ(Nom_Installation, QStringLiteral("Atelier"));
    EXPECT_EQ(Mdp_Admin, QStringLiteral("secret"));  // never the name of line 4
    EXPECT_EQ(Police_Options, QStringLiteral("Arial"));
    EXPECT_EQ(Port_Com, 2);
    EXPECT_EQ(Couleur_Fenetre, 0x123456);

    QByteArray f = Fichier_Complet();
    f.replace(" 3 \r\n", "300\r\n");
    f.replace(" 8421376 \r\n", "vert\r\n");
    Ecrire("OstrelSoft+/ver.dva", f);
    Chargement_Parametres_Logiciel();
    EXPECT_EQ(Port_Com, 2);                 // 300 does not fit a byte
    EXPECT_EQ(Couleur_Fenetre, 0x123456);   // not a number
    EXPECT_EQ(Couleur_Cadre, 0xDDDDDD);     // the following lines still read
    EXPECT_EQ(Mdp_Admin, QStringLiteral("môt de passe"));

    // Whole options, in a file larger than an options file can be: passed
    // over. At the bound they read.
    Mdp_Admin = "secret";
    Ecrire("OstrelSoft+/ver.dva", Fichier_Complet().leftJustified(Taille_Max_Options + 1, ' '));
    Chargement_Parametres_Logiciel();
    EXPECT_EQ(Mdp_Admin, QStringLiteral("secret"));
    Ecrire("OstrelSoft+/ver.dva", Fichier_Complet().leftJustified(Taille_Max_Options, ' '));
    Chargement_Parametres_Logiciel();
    EXPECT_EQ(Mdp_Admin, QStringLiteral("môt de passe"));
}

TEST_F(Options, FichierManquantOuCheminVide) {
    Nom_Installation = "Atelier";
    Chemin_Fichier_Version.clear();
    Chargement_Parametres_Logiciel();
    EXPECT_TRUE(boites.Messages.empty());

    Chemin_Fichier_Version = "c:\\OstrelSoft+\\ver.dva";
    Chargement_Parametres_Logiciel();
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_EQ(boites.Messages[0].Texte, Manquant);
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(boites.Messages[0].Titre, Titre_Application);
    EXPECT_EQ(Nom_Installation, QStringLiteral("Atelier"));
}

TEST_F(Options, LesTroisEssaisDeChemin) {
    // Nowhere: a message for each fixed path, the save goes to the second one.
    Recherche_Parametres_Logiciel();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Manquant, Manquant}));
    EXPECT_EQ(Chemin_Fichier_Version, QStringLiteral("c:\\OstrelSoft+\\ver.dva"));
    ASSERT_TRUE(Sauvegarde_Parametres_Logiciel());
    EXPECT_TRUE(Lire("OstrelSoft+/ver.dva").startsWith("\r\n1\r\n"));  // empty line 1

    // Only in the application folder: one message, then read.
    boites.Effacer();
    Chemin_Fichier_Version.clear();
    Ecrire("OstrelSoft+/ver.dva", Fichier_Complet());
    Recherche_Parametres_Logiciel();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Manquant});
    EXPECT_EQ(Port_Com, 3);

    // In the first folder: read there and written back there.
    boites.Effacer();
    Chemin_Fichier_Version.clear();
    Ligne_Reservee_Options.clear();
    QByteArray f = Fichier_Complet();
    f.replace(" 3 \r\n", " 5 \r\n");
    Ecrire("OstrelSoft/ver.dva", f);
    Recherche_Parametres_Logiciel();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Chemin_Fichier_Version, QStringLiteral("c:\\OstrelSoft\\ver.dva"));
    EXPECT_EQ(Port_Com, 5);

    // First folder with an empty line 1: the second path is tried too.
    Chemin_Fichier_Version.clear();
    Ligne_Reservee_Options.clear();
    f.replace("R\xE9serv\xE9 \xA9 2006\r\n", "\r\n");
    Ecrire("OstrelSoft/ver.dva", f);
    QFile::remove(Natif("OstrelSoft+/ver.dva"));
    Recherche_Parametres_Logiciel();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Manquant});
    EXPECT_EQ(Chemin_Fichier_Version, QStringLiteral("c:\\OstrelSoft+\\ver.dva"));
    EXPECT_EQ(Port_Com, 5);
    EXPECT_EQ(Mdp_Admin, QStringLiteral("môt de passe"));  // not emptied by the missing second file
}

TEST_F(Options, UnEchecDeSauvegardeEstSignale) {
    Ecrire("OstrelSoft+", "un fichier, pas un dossier");
    Chemin_Fichier_Version = "c:\\OstrelSoft+\\ver.dva";
    const Resultat_Fichier r = Sauvegarde_Parametres_Logiciel();
    EXPECT_FALSE(r.Reussi);
    EXPECT_FALSE(r.Erreur.isEmpty());
    EXPECT_EQ(Lire("OstrelSoft+"), QByteArray("un fichier, pas un dossier"));
}
