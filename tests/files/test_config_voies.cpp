#include "aide_fichiers.h"

#include "files/config_voies.h"
#include "files/messages_fichiers.h"
#include "link/donnees.h"

using namespace ostrel;
using namespace ostrel::essai;

namespace {

void Preparer_Voies() {
    for (size_t k = 0; k < 16; ++k) {
        Parametres_Voie& v = Tab_Parametres_Voies[k];
        v.Nom_Voie = QStringLiteral("Voie %1").arg(k + 1).leftJustified(12);
        v.Voie_Valide = k % 3 ? Vrai : Faux;
        v.Periode_Enreg = static_cast<Octet>(k + 1);
        v.Unite = static_cast<Octet>(k % 4);
        v.Nature_Capteur = static_cast<Octet>(k % 3);
        v.Echelle_4mA = -static_cast<Simple>(k);
        v.Echelle_20mA = 100.5f;
        v.Contact_NF = k % 2 ? Vrai : Faux;
        v.Role_ETOR_Inhib = Faux;
        v.Alarme_Valide = Vrai;
        v.Tempo_Alarme = 240;
        v.Seuil_Bas = -50;
        v.Seuil_Haut = 21.5f;
        v.Buzzer = Vrai;
        v.Relais_2 = k == 1 ? Vrai : Faux;
        v.Inhib_Enreg_ETOR = Faux;
        v.Inhib_Alarme_ETOR = k == 0 ? Vrai : Faux;
        v.Num_ETOR_Inhib = k == 0 ? 3 : 0;
        v.Num_Planning_Inhib = k == 1 ? 16 : 0;
        v.Offset = k == 0 ? -0.5f : 0;
    }
}

bool Memes_Voies(const Table_Voies& a, const Table_Voies& b) {
    for (size_t k = 0; k < 16; ++k) {
        const Parametres_Voie &x = a[k], &y = b[k];
        if (x.Nom_Voie != y.Nom_Voie || x.Voie_Valide != y.Voie_Valide || x.Periode_Enreg != y.Periode_Enreg ||
            x.Unite != y.Unite || x.Nature_Capteur != y.Nature_Capteur || x.Echelle_4mA != y.Echelle_4mA ||
            x.Echelle_20mA != y.Echelle_20mA || x.Contact_NF != y.Contact_NF || x.Role_ETOR_Inhib != y.Role_ETOR_Inhib ||
            x.Alarme_Valide != y.Alarme_Valide || x.Tempo_Alarme != y.Tempo_Alarme || x.Seuil_Bas != y.Seuil_Bas ||
            x.Seuil_Haut != y.Seuil_Haut || x.Buzzer != y.Buzzer || x.Relais_2 != y.Relais_2 ||
            x.Inhib_Enreg_ETOR != y.Inhib_Enreg_ETOR || x.Inhib_Alarme_ETOR != y.Inhib_Alarme_ETOR ||
            x.Num_ETOR_Inhib != y.Num_ETOR_Inhib || x.Num_Planning_Inhib != y.Num_Planning_Inhib || x.Offset != y.Offset)
            return false;
    }
    return true;
}

// The file of channels 1 and 2 of Preparer_Voies for module 5.
const QStringList Fichier_Deux_Voies = {
    "Configuration du Module n°5", "", "Nom des Voies", "Voie 1      ", "Voie 2      ",
    "", "Validité des voies", "False", "True",
    "", "Périodes d'enregistrements", " 1 ", " 2 ",
    "", "Unité des voies", " 0 ", " 1 ",
    "", "Nature des capteurs", " 0 ", " 1 ",
    "", "Echelles 4mA", " 0 ", "-1 ",
    "", "Echelles 20mA", " 100,5 ", " 100,5 ",
    "", "Type des ETOR", "False", "True",
    "", "Rôle des ETOR", "False", "False",
    "", "Validité des Alarmes", "True", "True",
    "", "Temporisation des alarmes", " 240 ", " 240 ",
    "", "Seuils Bas", "-50 ", "-50 ",
    "", "Seuils Hauts", " 21,5 ", " 21,5 ",
    "", "Activations du buzzer", "True", "True",
    "", "Relais STOR", "False", "True",
    "", "Inhibitions des enregistrements", "False", "False",
    "", "Inhibitions des alarmes", "True", "False",
    "", "ETOR d'inhibition", " 3 ", " 0 ",
    "", "Planning d'inhibition", " 0 ", " 16 ",
    "", "Offsets", "-0,5 ", " 0 ",
};

class ConfigVoies : public Essai_Fichiers {
protected:
    void SetUp() override {
        Essai_Fichiers::SetUp();
        Num_Module = 5;
        Preparer_Voies();
    }
};

}  // namespace

TEST_F(ConfigVoies, DispositionLigneParLigne) {
    ASSERT_TRUE(Sauvegarde_Config_Voies(Chemin("Config_Voies_MD_5.txt"), 2));
    EXPECT_EQ(Lignes(Lire(Chemin("Config_Voies_MD_5.txt"))), Fichier_Deux_Voies);
    EXPECT_TRUE(boites.Messages.empty());  // no question for a new file, and the screen says it is done
}

TEST_F(ConfigVoies, AllerRetourOctetPourOctet) {
    for (Octet n : {Octet(8), Octet(16)}) {
        const QString a = Chemin("a.txt"), b = Chemin("b.txt");
        QFile::remove(a);
        QFile::remove(b);
        ASSERT_TRUE(Sauvegarde_Config_Voies(a, n));
        const Table_Voies avant = Tab_Parametres_Voies;
        Tab_Parametres_Voies = Table_Voies{};
        ASSERT_TRUE(Restauration_Config_Voies(a, n));
        EXPECT_EQ(boites.Textes().back(), Texte_Restauration_Terminee);
        if (n == 16) {
            EXPECT_TRUE(Memes_Voies(avant, Tab_Parametres_Voies));
        }
        ASSERT_TRUE(Sauvegarde_Config_Voies(b, n));
        EXPECT_EQ(Lire(a), Lire(b));
        Preparer_Voies();
    }
    // A file saved from module 3 restores on module 5; its first line still names module 3.
    Num_Module = 3;
    ASSERT_TRUE(Sauvegarde_Config_Voies(Chemin("trois.txt"), 8));
    Num_Module = 5;
    EXPECT_TRUE(Restauration_Config_Voies(Chemin("trois.txt"), 8));
    EXPECT_EQ(Num_Module, 5);
}

TEST_F(ConfigVoies, RemplacerUnFichierExistantSeulementSurOui) {
    const QString chemin = Chemin("Config_Voies_MD_5.txt");
    Ecrire(chemin, "ancien\r\n");
    boites.Reponses = {vbNo, vbCancel};
    EXPECT_FALSE(Sauvegarde_Config_Voies(chemin, 2));
    EXPECT_FALSE(Sauvegarde_Config_Voies(chemin, 2));
    EXPECT_EQ(Lire(chemin), "ancien\r\n");
    ASSERT_EQ(boites.Messages.size(), 2u);  // the question only: declining is no failure to report
    EXPECT_EQ(boites.Messages[0].Texte, QStringLiteral("Ce fichier existe déjà. Désirez-vous réellement écraser ce fichier ?"));
    EXPECT_EQ(boites.Messages[0].Titre, "Enregistrer");
    EXPECT_EQ(boites.Messages[0].Style & 7, vbYesNoCancel);
    EXPECT_EQ(tableau.focus, 2);  // the dashboard gets the focus back after each answer
    boites.Reponses = {vbYes};
    EXPECT_TRUE(Sauvegarde_Config_Voies(chemin, 2));
    EXPECT_EQ(Lignes(Lire(chemin)), Fichier_Deux_Voies);
}

TEST_F(ConfigVoies, FichierIncorrectLaisseLaTableCommeAvant) {
    Ecrire(Chemin("bon.txt"), Contenu(Fichier_Deux_Voies));
    struct Cas { int ligne; QString texte; };
    const Cas cas[] = {
        {8, "Peut-être"},  // a Boolean
        {12, " 300 "},     // a byte out of range
        {13, "x"},
        {25, "2,5,"},      // a single
        {81, "abc"},       // the very last value: nothing before it is kept either
    };
    const Table_Voies avant = Tab_Parametres_Voies;
    auto refuse = [&](const QString& chemin) {
        boites.Effacer();
        EXPECT_FALSE(Restauration_Config_Voies(chemin, 2));
        EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Fichier_Incorrect});
        EXPECT_TRUE(Memes_Voies(avant, Tab_Parametres_Voies));
    };
    for (const Cas& c : cas) {
        QStringList lignes = Fichier_Deux_Voies;
        lignes[c.ligne - 1] = c.texte;
        Ecrire(Chemin("mauvais.txt"), Contenu(lignes));
        SCOPED_TRACE(c.ligne);
        refuse(Chemin("mauvais.txt"));
    }
    QStringList court = Fichier_Deux_Voies;
    court.removeLast();
    Ecrire(Chemin("court.txt"), Contenu(court));
    refuse(Chemin("court.txt"));
    Ecrire(Chemin("vide.txt"), QByteArray());
    refuse(Chemin("vide.txt"));
    refuse(Chemin("absent.txt"));
    // A 16-channel file read for 8 channels: names 11 to 16 land in the first section.
    ASSERT_TRUE(Sauvegarde_Config_Voies(Chemin("seize.txt"), 16));
    refuse(Chemin("seize.txt"));
}

TEST_F(ConfigVoies, SauvegardeDansUnDossierEnLectureSeule) {
    const QString chemin = Chemin("Config_Voies_MD_5.txt");
    Ecrire(chemin, "ancien\r\n");
    ASSERT_TRUE(Dossier_Lecture_Seule(dossier.path(), true));
    boites.Reponses = {vbYes};
    const Resultat_Fichier r = Sauvegarde_Config_Voies(chemin, 8);
    Dossier_Lecture_Seule(dossier.path(), false);
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.Erreur.isEmpty());
    EXPECT_EQ(Lire(chemin), "ancien\r\n");
    ASSERT_EQ(boites.Messages.size(), 2u);
    EXPECT_TRUE(boites.Messages[1].Style & vbCritical);
    EXPECT_NE(boites.Messages[1].Texte, Texte_Sauvegarde_Terminee);
    // A folder that does not exist fails the same way.
    EXPECT_FALSE(Sauvegarde_Config_Voies(Chemin("absent/Config.txt"), 8));
}
