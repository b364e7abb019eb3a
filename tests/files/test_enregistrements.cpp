#include "aide_fichiers.h"

#include <algorithm>

#include "files/enregistrements.h"
#include "files/messages_fichiers.h"
#include "link/donnees.h"
#include "platform/dates.h"

using namespace ostrel;
using namespace ostrel::essai;

namespace {

Mesure_Enreg Point(Date quand, Simple valeur, Booleen alarme) {
    Mesure_Enreg m;
    m.Date_Heure = quand;
    m.Valeur = valeur;
    m.Alarme = alarme;
    return m;
}

// Three channels: three points, none, two.
void Preparer_Trois_Voies() {
    auto& v = Tab_Parametres_Voies;
    v[0].Nom_Voie = "Voie 1      ";
    v[0].Voie_Valide = Vrai;
    v[0].Alarme_Valide = Vrai;
    v[0].Seuil_Haut = 150;
    v[0].Seuil_Bas = -5;
    v[0].Periode_Enreg = 30;
    v[0].Tempo_Alarme = 30;
    v[0].Echelle_20mA = 100;
    v[0].Buzzer = Vrai;
    v[1].Nom_Voie = "Porte       ";
    v[1].Voie_Valide = 1;  // as decoded from a reply: only the stored True counts as in service
    v[1].Nature_Capteur = 2;
    v[1].Seuil_Haut = 21.5f;
    v[1].Periode_Enreg = 15;
    v[1].Tempo_Alarme = 5;
    v[1].Echelle_4mA = -10;
    v[1].Echelle_20mA = 2.5f;
    v[1].Role_ETOR_Inhib = Vrai;
    v[1].Unite = 2;
    v[1].Inhib_Enreg_ETOR = Vrai;
    v[1].Num_ETOR_Inhib = 3;
    v[1].Inhib_Alarme_ETOR = 1;
    v[1].Num_Planning_Inhib = 16;
    v[1].Contact_NF = Vrai;
    v[1].Relais_2 = Vrai;
    v[2].Nom_Voie = "Four, zone 2";
    v[2].Voie_Valide = Vrai;
    v[2].Nature_Capteur = 1;
    v[2].Alarme_Valide = Vrai;
    v[2].Seuil_Haut = 1000;
    v[2].Seuil_Bas = 20.5f;
    v[2].Periode_Enreg = 240;
    v[2].Tempo_Alarme = 240;
    v[2].Echelle_4mA = 4;
    v[2].Echelle_20mA = 1200;
    v[2].Unite = 3;
    v[2].Buzzer = Vrai;
    Donnees_Reponse.Entete_Module = "SALLE BLANCHE                   LABO 2";
    Donnees_Reponse.Nb_Evenements = 12;
    Tab_Mesures[0] = Point(DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0), 21.5f, Faux);
    Tab_Mesures[1] = Point(DateSerial(2007, 1, 1), -5.0f, Vrai);  // midnight
    Tab_Mesures[2] = Point(DateSerial(2007, 1, 2) + TimeSerial(8, 15, 0), Valeur_Debut_Coupure, Faux);
    Tab_Mesures[3] = Point(DateSerial(2007, 1, 3) + TimeSerial(10, 0, 0), Valeur_Inhibee, Vrai);
    Tab_Mesures[4] = Point(DateSerial(1999, 12, 31) + TimeSerial(23, 59, 0), 0.1f, Faux);
    Index_Fin_Voie = {3, 3, 5};
}

const QStringList Fichier_Trois_Voies = {
    "*", " 3 ", "*", " 3 ", "*", "Voie 1      ", "Porte       ", "\"Four, zone 2\"", "*",
    "1", "0", "1", "*",            // in service: the decoded 1 is not the stored True
    "0", "2", "1", "*",            // sensor kinds
    "1", "0", "1", "*",            // alarms
    "1500", "215", "10000", "*",   // high thresholds, tenths
    "-50", "0", "205", "*",        // low thresholds, tenths
    "30", "15", "240", "*",        // periods
    "30", "5", "240", "*",         // alarm delays
    "0", "-10", "4", "*",          // 4 mA scales
    "100", "\"2,5\"", "1200", "*",  // 20 mA scales: the decimal comma is quoted
    "0", "1", "0", "*",            // ETOR roles
    "0", "2", "3", "*",            // units
    "0", "1", "0", "*",            // recording inhibitions
    "0", "3", "0", "*",            // inhibiting ETOR
    "0", "1", "0", "*",            // alarm inhibitions
    "0", "16", "0", "*",           // plannings
    "0", "1", "0", "*",            // NF contacts
    "0", "1", "0", "*",            // relays
    "1", "0", "1", "*",            // buzzers
    "SALLE BLANCHE                   LABO 2", "*", "5", "*", "12", "*",
    "1", "25120614302150", "0101070000-501", "0201070815327670", "*",
    "2", "*",
    "3", "0301071000150001", "311299235910", "*",
};

class FichierEnregistrements : public Essai_Fichiers {};

}  // namespace

TEST_F(FichierEnregistrements, DispositionLigneParLigne) {
    Preparer_Trois_Voies();
    const QString chemin = Chemin("mesures.txt");
    ASSERT_TRUE(Sauvegarde_Fichier_Donnees(chemin, 3, 3));
    const QStringList lignes = Lignes(Lire(chemin));
    ASSERT_EQ(lignes.size(), Fichier_Trois_Voies.size());
    for (qsizetype i = 0; i < lignes.size(); ++i) EXPECT_EQ(lignes[i], Fichier_Trois_Voies[i]) << "ligne " << i + 1;
    EXPECT_TRUE(boites.Messages.empty());
}

TEST_F(FichierEnregistrements, ChargementRemplitLesTables) {
    Num_Module = 4;
    Ecrire(Chemin("mesures.txt"), Contenu(Fichier_Trois_Voies));
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("mesures.txt")));
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Nom_Module, QStringLiteral("Module n°3"));  // the file's module names the caption only
    EXPECT_EQ(Nb_Voies_Module[3], 3);
    EXPECT_EQ(Donnees_Reponse.Etat_Module, 2);  // 3 / 2 rounded to even
    EXPECT_EQ(Donnees_Reponse.Entete_Module, "SALLE BLANCHE                   LABO 2");
    EXPECT_EQ(Donnees_Reponse.Nb_Enregistrements, 5);
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{3, 3, 5}));
    // Thresholds back from tenths, sensor kinds, alarms and periods; nothing else is loaded.
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[0].Seuil_Haut, 150);
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[0].Seuil_Bas, -5);
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[1].Seuil_Haut, 21.5f);
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[2].Seuil_Bas, 20.5f);
    EXPECT_EQ(Tab_Parametres_Voies[1].Nature_Capteur, 2);
    EXPECT_EQ(Tab_Parametres_Voies[0].Alarme_Valide, Vrai);
    EXPECT_EQ(Tab_Parametres_Voies[1].Alarme_Valide, Faux);
    EXPECT_EQ(Tab_Parametres_Voies[2].Periode_Enreg, 240);
    EXPECT_EQ(Tab_Parametres_Voies[2].Unite, 0);
    EXPECT_TRUE(Tab_Parametres_Voies[0].Nom_Voie.isEmpty());
    // Points: midnight, negative values, markers, and the century always 20.
    EXPECT_EQ(Tab_Mesures[0].Date_Heure, DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0));
    EXPECT_FLOAT_EQ(Tab_Mesures[0].Valeur, 21.5f);
    EXPECT_EQ(Tab_Mesures[1].Date_Heure, DateSerial(2007, 1, 1));
    EXPECT_FLOAT_EQ(Tab_Mesures[1].Valeur, -5.0f);
    EXPECT_EQ(Tab_Mesures[1].Alarme, Vrai);
    EXPECT_EQ(Tab_Mesures[2].Valeur, Valeur_Debut_Coupure);
    EXPECT_EQ(Tab_Mesures[3].Valeur, Valeur_Inhibee);
    EXPECT_EQ(Tab_Mesures[4].Date_Heure, DateSerial(2099, 12, 31) + TimeSerial(23, 59, 0));
    for (Long i = 0; i < 5; ++i) {
        EXPECT_EQ(Tab_Mesures[i].Num_Voie, i < 3 ? 1 : 3);
        EXPECT_EQ(Tab_Mesures[i].Nom_Voie, i < 3 ? "Voie 1      " : "Four, zone 2");
    }
    EXPECT_EQ(Donnees_Reponse.Date_Debut, DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0));
    EXPECT_EQ(Donnees_Reponse.Date_Fin, DateSerial(2099, 12, 31) + TimeSerial(23, 59, 0));
    // Progress on the dashboard, left shown for the caller.
    EXPECT_TRUE(tableau.Progression_Visible());
    EXPECT_EQ(tableau.historique_pb_, (std::vector<int>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(tableau.captions.front(), QStringLiteral("Chargement des mesures voie n°1"));
    EXPECT_EQ(tableau.captions.back(), QStringLiteral("Initialisation du graphe"));
    EXPECT_NE(std::find(tableau.captions.begin(), tableau.captions.end(), QStringLiteral("Chargement des mesures voie n°3")),
              tableau.captions.end());
}

TEST_F(FichierEnregistrements, AllerRetourOctetPourOctet) {
    QStringList lignes = Fichier_Trois_Voies;
    lignes[6] = "\" Sonde \"\"A\"\"\"";  // a quoted name that read back holds no quote
    const QByteArray original = Contenu(Fichier_Trois_Voies);
    for (const QByteArray& contenu : {original, Contenu(lignes)}) {
        Lecteur_Texte lecteur(contenu);
        Tete_Enregistrements tete;
        ASSERT_TRUE(Lire_Tete_Enregistrements(lecteur, tete));
        ASSERT_TRUE(Convertir_Sections_Enregistrements(tete));
        const Points_Lus lus = Lire_Blocs_Enregistrements(lecteur, tete.Nb_Voies, tete.Noms, Tab_Mesures, Index_Fin_Voie);
        ASSERT_TRUE(lus.Correct);
        EXPECT_EQ(lus.Nb_Points, 5);
        ASSERT_TRUE(Verifier_Tables_Enregistrements(tete, Index_Fin_Voie).isEmpty());
        const QByteArray reecrit = Ecrire_Fichier_Enregistrements(tete, Index_Fin_Voie, Tab_Mesures);
        if (contenu == original) EXPECT_EQ(reecrit, original);
        else EXPECT_EQ(Lignes(reecrit)[6], "\" Sonde \"");
    }
    // And through the program's own save, from tables filled by hand.
    Reinitialiser_Donnees();
    Preparer_Trois_Voies();
    ASSERT_TRUE(Sauvegarde_Fichier_Donnees(Chemin("a.txt"), 3, 3));
    EXPECT_EQ(Lire(Chemin("a.txt")), original);
}

TEST_F(FichierEnregistrements, NomsEtEnteteProtegesSeulementQuandIlLeFaut) {
    Preparer_Trois_Voies();
    Tab_Parametres_Voies[0].Nom_Voie = "  Salle 1   ";
    Tab_Parametres_Voies[1].Nom_Voie = "Porte \"Est\"";
    Donnees_Reponse.Entete_Module = "\"Labo\", salle 2";
    ASSERT_TRUE(Sauvegarde_Fichier_Donnees(Chemin("m.txt"), 3, 3));
    const QStringList lignes = Lignes(Lire(Chemin("m.txt")));
    EXPECT_EQ(lignes[5], "\"  Salle 1   \"");
    EXPECT_EQ(lignes[6], "Porte \"Est\"");  // a quote inside is harmless unquoted
    EXPECT_EQ(lignes[81], "\"'Labo', salle 2\"");
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("m.txt")));
    EXPECT_EQ(Tab_Mesures[0].Nom_Voie, "  Salle 1   ");
    EXPECT_EQ(Tab_Mesures[3].Nom_Voie, "Four, zone 2");
    EXPECT_EQ(Donnees_Reponse.Entete_Module, "'Labo', salle 2");
}

TEST_F(FichierEnregistrements, ValeursReluesALIdentique) {
    // A threshold of 0,01 read from "0,1", and a value of 8153276,5 (a
    // converted file): both are written back as they were read.
    QStringList lignes = Fichier_Trois_Voies;
    lignes[lignes.indexOf("205")] = "\"0,1\"";
    lignes[lignes.indexOf("311299235910")] = "3112992359815327650";
    const QByteArray contenu = Contenu(lignes);
    Lecteur_Texte lecteur(contenu);
    Tete_Enregistrements tete;
    ASSERT_TRUE(Lire_Tete_Enregistrements(lecteur, tete));
    ASSERT_TRUE(Convertir_Sections_Enregistrements(tete));
    ASSERT_TRUE(Lire_Blocs_Enregistrements(lecteur, tete.Nb_Voies, tete.Noms, Tab_Mesures, Index_Fin_Voie).Correct);
    EXPECT_EQ(Lignes(Ecrire_Fichier_Enregistrements(tete, Index_Fin_Voie, Tab_Mesures)), lignes);
}

TEST_F(FichierEnregistrements, VoiesVidesEtCompteurDeTeteDifferent) {
    // Empty first and last channels, and a head count that is not the number
    // of points (as in converted files): the slices follow the blocks.
    QStringList lignes = Fichier_Trois_Voies;
    const int bloc1 = lignes.indexOf("25120614302150") - 1;
    lignes = lignes.mid(0, bloc1);
    lignes << "1" << "*" << "2" << "0101070000-501" << "*";
    lignes[lignes.indexOf("12") - 2] = "40";
    Ecrire(Chemin("m.txt"), Contenu(lignes));
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("m.txt")));
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{0, 1, 1}));
    EXPECT_EQ(Tab_Mesures[0].Num_Voie, 2);
    EXPECT_EQ(tableau.historique_pb_.back(), 2);  // 1 point of 40 announced: 2.5 rounded to even

    // More points than announced: the bar stays at 100 without an update per point.
    lignes = Fichier_Trois_Voies;
    lignes[lignes.indexOf("12") - 2] = "1";
    Ecrire(Chemin("plus.txt"), Contenu(lignes));
    tableau.historique_pb_.clear();
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("plus.txt")));
    EXPECT_EQ(tableau.historique_pb_, (std::vector<int>{0, 100}));

    // No point at all: dates stay zero.
    lignes = lignes.mid(0, lignes.indexOf("12") + 2);
    lignes[lignes.indexOf("12") - 2] = "0";
    Ecrire(Chemin("vide.txt"), Contenu(lignes));
    Donnees_Reponse.Date_Debut = 1;
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("vide.txt")));
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{0, 0, 0}));
    EXPECT_EQ(Donnees_Reponse.Date_Debut, 0);
    EXPECT_EQ(Donnees_Reponse.Date_Fin, 0);
}

TEST_F(FichierEnregistrements, TeteIncorrecteLaisseLesTablesCommeAvant) {
    Ecrire(Chemin("bon.txt"), Contenu(Fichier_Trois_Voies));
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("bon.txt")));
    Nom_Module = "avant";
    const std::vector<Long> index_avant = Index_Fin_Voie;
    const Simple seuil_avant = Tab_Parametres_Voies[0].Seuil_Haut;

    struct Cas { int ligne; QString texte; };
    const Cas cas[] = {
        {4, " 0 "}, {4, " 17 "}, {4, "x"},              // channel count
        {5, "#"}, {9, "Voie 4"},                         // separators: a name too many shifts the head
        {14, "AD590"}, {15, "256"}, {22, "abc"}, {30, ""},  // values the program loads
        {84, "-1"}, {84, "beaucoup"}, {85, "6"},         // point count and its separator
    };
    for (const Cas& c : cas) {
        QStringList lignes = Fichier_Trois_Voies;
        lignes[c.ligne - 1] = c.texte;
        Ecrire(Chemin("mauvais.txt"), Contenu(lignes));
        boites.Effacer();
        EXPECT_FALSE(Chargement_Fichier_Donnees(Chemin("mauvais.txt"))) << c.ligne << " " << c.texte.toStdString();
        EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Fichier_Incorrect});
        EXPECT_EQ(Index_Fin_Voie, index_avant);
        EXPECT_EQ(Nom_Module, "avant");
        EXPECT_EQ(Nb_Voies_Module[0], 3);
        EXPECT_EQ(Tab_Parametres_Voies[0].Seuil_Haut, seuil_avant);
        EXPECT_FALSE(tableau.Progression_Visible());
    }
    // Truncated head, empty file, missing file.
    for (const QByteArray& contenu : {Contenu(Fichier_Trois_Voies.mid(0, 50)), QByteArray()}) {
        Ecrire(Chemin("court.txt"), contenu);
        EXPECT_FALSE(Chargement_Fichier_Donnees(Chemin("court.txt")));
    }
    EXPECT_FALSE(Chargement_Fichier_Donnees(Chemin("absent.txt")));
    EXPECT_EQ(Index_Fin_Voie, index_avant);
    EXPECT_GE(tableau.focus, 3);  // the dashboard takes the focus after each refusal
}

TEST_F(FichierEnregistrements, PointIncorrectLaisseLesTablesCommeAvant) {
    struct Cas { int ligne; QString texte; };
    const int p = Fichier_Trois_Voies.indexOf("25120614302150") + 1;  // first point line, 1-based
    const Cas cas[] = {
        {p - 1, "0"}, {p - 1, "17"}, {p - 1, "4"}, {p - 1, "un"},  // channel lines
        {p + 6, "1"},                                   // channel 3 announced as 1: not ascending
        {p + 6, "2"},                                   // channel 2 twice
        {p, "2512061430"},                              // too short for a value
        {p, "25120614302152"},                          // alarm digit
        {p + 1, "30020714302150"},                      // 30 February
        {p + 1, "25120624002150"},                      // hour 24
        {p + 1, "25120614602150"},                      // minute 60
        {p + 1, "2512A614302150"},                      // letter in the date
        {p + 2, "2512061430abc0"},                      // value
        {p + 2, "25120614302 150"},                     // blank in the value
        {p + 8, ""},                                    // empty line in a block
    };
    QStringList coupe = Fichier_Trois_Voies;  // a file that ends inside a block
    coupe.removeLast();
    QStringList zero = Fichier_Trois_Voies;  // a head announcing no point while points follow
    zero[zero.indexOf("12") - 2] = "0";
    std::vector<std::pair<QString, QStringList>> fichiers{{"coupe", coupe}, {"zero", zero}};
    for (const Cas& c : cas) {
        QStringList lignes = Fichier_Trois_Voies;
        lignes[c.ligne - 1] = c.texte;
        fichiers.emplace_back(QString::number(c.ligne) + " " + c.texte, lignes);
    }
    // A previous, unrelated state.
    Index_Fin_Voie = {7, 2};
    Tab_Mesures[0].Valeur = 12.5f;
    Nom_Module = "avant";
    Num_Module = 1;
    Nb_Voies_Module[0] = 8;
    Donnees_Reponse.Date_Debut = 5;
    Tab_Parametres_Voies[0].Seuil_Haut = 40;
    for (const auto& [nom, lignes] : fichiers) {
        Ecrire(Chemin("mauvais.txt"), Contenu(lignes));
        boites.Effacer();
        const std::string cas_lu = nom.toStdString();
        EXPECT_FALSE(Chargement_Fichier_Donnees(Chemin("mauvais.txt"))) << cas_lu;
        EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Fichier_Incorrect});
        EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{7, 2})) << cas_lu;
        EXPECT_EQ(Tab_Mesures[0].Valeur, 12.5f);
        EXPECT_EQ(Nom_Module, "avant");
        EXPECT_EQ(Nb_Voies_Module[0], 8);
        EXPECT_EQ(Donnees_Reponse.Date_Debut, 5);
        EXPECT_EQ(Tab_Parametres_Voies[0].Seuil_Haut, 40);
    }
}

TEST_F(FichierEnregistrements, JamaisPlusDePointsQueLaTable) {
    auto fichier = [](Long points) {
        QByteArray c = "*\r\n 1 \r\n*\r\n 1 \r\n*\r\nVoie 1\r\n*\r\n";
        for (int s = 0; s < Nb_Sections_Enregistrements; ++s) c += "0\r\n*\r\n";
        c += "Module\r\n*\r\n" + QByteArray::number(points) + "\r\n*\r\n0\r\n*\r\n1\r\n";
        c.reserve(c.size() + points * 16 + 3);
        for (Long i = 0; i < points; ++i) c += "0103270815-2151\r\n";
        return c + "*\r\n";
    };
    Ecrire(Chemin("plein.txt"), fichier(Table_Mesures::Taille));
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("plein.txt")));
    EXPECT_EQ(Index_Fin_Voie, std::vector<Long>{Table_Mesures::Taille});
    EXPECT_FLOAT_EQ(Tab_Mesures[Table_Mesures::Taille - 1].Valeur, -21.5f);
    // One update per percent, never one per point.
    EXPECT_EQ(tableau.historique_pb_.size(), 101u);

    Ecrire(Chemin("trop.txt"), fichier(Table_Mesures::Taille + 1));
    EXPECT_FALSE(Chargement_Fichier_Donnees(Chemin("trop.txt")));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Texte_Fichier_Incorrect});
    EXPECT_EQ(Index_Fin_Voie, std::vector<Long>{Table_Mesures::Taille});
}

TEST_F(FichierEnregistrements, UneSauvegardeRateeSeSignaleEtGardeLAncienFichier) {
    Preparer_Trois_Voies();
    const QString chemin = Chemin("mesures.txt");
    Ecrire(chemin, "ancien\r\n");
    ASSERT_TRUE(Dossier_Lecture_Seule(dossier.path(), true));
    const Resultat_Fichier r = Sauvegarde_Fichier_Donnees(chemin, 3, 3);
    Dossier_Lecture_Seule(dossier.path(), false);
    EXPECT_FALSE(r);
    EXPECT_EQ(Lire(chemin), "ancien\r\n");
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Style & vbCritical);
    EXPECT_TRUE(boites.Messages[0].Texte.contains(chemin));

    // Tables that cannot be written: nothing is written at all.
    boites.Effacer();
    for (const std::vector<Long>& index : {std::vector<Long>{3, 3}, std::vector<Long>{3, 2, 5},
                                           std::vector<Long>{3, 3, Table_Mesures::Taille + 1}}) {
        Index_Fin_Voie = index;
        EXPECT_FALSE(Sauvegarde_Fichier_Donnees(chemin, 3, 3));
    }
    Index_Fin_Voie = {3, 3, 5};
    EXPECT_FALSE(Sauvegarde_Fichier_Donnees(chemin, 3, 0));
    EXPECT_FALSE(Sauvegarde_Fichier_Donnees(chemin, 3, 17));
    EXPECT_EQ(Lire(chemin), "ancien\r\n");
    EXPECT_EQ(boites.Messages.size(), 5u);
}

TEST(LignePoint, ChiffresDeLaDateEtValeur) {
    Mesure_Enreg m = Point(DateSerial(2027, 3, 1) + TimeSerial(0, 0, 0), 0, Faux);
    EXPECT_EQ(Ligne_Point(m), "010327000000");
    m = Point(DateSerial(2010, 11, 9) + TimeSerial(7, 5, 31), 21.53f, Vrai);  // seconds are not kept
    EXPECT_EQ(Ligne_Point(m), "0911100705215,31");
    Mesure_Enreg lu;
    ASSERT_TRUE(Lire_Ligne_Point("0911100705215,31", lu));  // a decimal value is rounded as a whole number
    EXPECT_FLOAT_EQ(lu.Valeur, 21.5f);
    EXPECT_EQ(lu.Date_Heure, DateSerial(2010, 11, 9) + TimeSerial(7, 5, 0));
    ASSERT_TRUE(Lire_Ligne_Point("2902240000327660", lu));  // 29 February 2024
    EXPECT_EQ(lu.Valeur, Valeur_Fin_Coupure);
    EXPECT_FALSE(Lire_Ligne_Point("2902230000327660", lu));
}
