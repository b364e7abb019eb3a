// Exportation: a recordings file turned into the labelled text, line by line,
// and every way a bad input or a failed save ends.
#include "aide_outils.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "files/enregistrements.h"
#include "platform/dates.h"
#include "tools/exportation.h"
#include "tools/frm_export.h"

using namespace ostrel;
using namespace ostrel::essai;

namespace {

const QString Colonnes = QStringLiteral("Date;Mesure;Etat_Alarme");

// Eight channels: settings of every kind, points with markers and alarms,
// an empty block (2), a block with no point at the end (7) and a channel
// with no block at all (8).
const QStringList Fichier_Huit_Voies = {
    "*", " 1 ", "*", " 8 ", "*",
    "Chambre 1   ", "Chambre 2   ", "Porte quai  ", "Humidité    ", "Pression    ", "\"Four, zone 2\"", "Voie 7      ",
    "Voie 8      ", "*",
    "1", "1", "1", "1", "1", "1", "0", "0", "*",                              // in service
    "0", "0", "2", "1", "1", "0", "0", "0", "*",                              // sensor kinds
    "1", "1", "0", "1", "0", "1", "0", "0", "*",                              // alarms
    "80", "-150", "0", "750", "\"215,5\"", "10000", "0", "0", "*",            // high thresholds, tenths
    "20", "-250", "0", "300", "0", "-50", "0", "0", "*",                      // low thresholds, tenths
    "15", "15", "1", "30", "60", "240", "15", "15", "*",                      // periods
    "5", "5", "0", "10", "0", "30", "0", "0", "*",                            // alarm delays
    "0", "0", "0", "0", "-100", "4", "0", "0", "*",                           // 4 mA scales
    "100", "100", "100", "100", "1000", "\"2,5\"", "100", "100", "*",         // 20 mA scales
    "0", "0", "1", "0", "0", "0", "0", "0", "*",                              // ETOR roles
    "0", "0", "0", "1", "2", "3", "4", "0", "*",                              // units
    "0", "1", "0", "0", "0", "0", "0", "0", "*",                              // recording inhibitions
    "0", "3", "0", "0", "0", "0", "0", "0", "*",                              // inhibiting ETOR
    "0", "0", "0", "1", "0", "0", "0", "0", "*",                              // alarm inhibitions
    "0", "0", "0", "16", "0", "2", "0", "0", "*",                             // plannings
    "0", "0", "1", "0", "0", "0", "0", "0", "*",                              // NF contacts
    "0", "1", "0", "0", "0", "1", "0", "0", "*",                              // relays
    "1", "0", "0", "1", "0", "1", "0", "0", "*",                              // buzzers
    "SALLE BLANCHE                   LABO 2", "*", "9", "*", "12", "*",
    "1", "25120614302150", "0101070000-501", "0201070815327670", "0201070915327660", "*",
    "2", "*",
    "3", "0301071000150001", "311299235910", "*",
    "4", "01010812302150", "*",
    "5", "0101081230-2500", "*",
    "6", "0202081015123451", "*",
    "7", "*",
};

// Index of the first value of a settings section (1 to 18) of the file above.
constexpr int Section(int s) { return 14 + (s - 1) * 9; }
constexpr int Premier_Bloc = 182;

const QStringList Export_Huit_Voies = {
    "Adresse du module", " 1 ",
    "Nombre de voie", " 8 ",
    "Nom des voies",
    "Chambre 1   ", "Chambre 2   ", "Porte quai  ", "Humidité    ", "Pression    ", "Four, zone 2", "Voie 7      ", "Voie 8      ",
    "Déclaration des voies",
    "En service", "En service", "En service", "En service", "En service", "En service", "Hors service", "Hors service",
    "Nature du capteur", "0", "0", "2", "1", "1", "0", "0", "0",
    "Validité des alarmes", "Oui", "Oui", "Non", "Oui", "Non", "Oui", "Non", "Non",
    "Seuils d'alarme bas", "2", "-25", "0", "30", "0", "-5", "0", "0",
    "Seuils d'alarme haut", "8", "-15", "0", "75", "21,55", "1000", "0", "0",
    "Période d'enregistrement", "15", "15", "1", "30", "60", "240", "15", "15",
    "Temporisation d'alarme", "5", "5", "0", "10", "0", "30", "0", "0",
    "Echelle 4mA", "0", "0", "0", "0", "-100", "4", "0", "0",
    "Echelle 20mA", "100", "100", "100", "100", "1000", "2,5", "100", "100",
    "Role ETOR", "Alarme", "Alarme", "Inhibition", "Alarme", "Alarme", "Alarme", "Alarme", "Alarme",
    "Unité de mesure", "°C", "°C", "°C", "%HR", "Pa", "Bar", "", "°C",
    "Inhibition enregistrement", "Non", "Oui", "Non", "Non", "Non", "Non", "Non", "Non",
    "Numéro ETOR Inhibition", "Pas d'ETOR", "3", "Pas d'ETOR", "Pas d'ETOR", "Pas d'ETOR", "Pas d'ETOR", "Pas d'ETOR",
    "Pas d'ETOR",
    "Inhibition de l'alarme", "Non", "Non", "Non", "Oui", "Non", "Non", "Non", "Non",
    "Numéro du planning d'inhibition", "0", "0", "0", "16", "0", "2", "0", "0",
    "Type de contacte de l'ETOR", "NO", "NO", "NF", "NO", "NO", "NO", "NO", "NO",
    "Num STOR", "RELAIS 1", "RELAIS 2", "RELAIS 1", "RELAIS 1", "RELAIS 1", "RELAIS 2", "RELAIS 1", "RELAIS 1",
    "Buzzer valide", "Oui", "Non", "Non", "Oui", "Non", "Oui", "Non", "Non",
    "Entete du ticket", "SALLE BLANCHE                   LABO 2",
    "Nombre de mesure", " 9 ",
    "Nombre d'alarme", " 12 ",
    "Date;Mesure;Etat_Alarme",
    "Voie 1", "Date;Mesure;Etat_Alarme",
    "25/12/2006 14:30:00;21,5;0", "01/01/2007;-5;1", "02/01/2007 08:15:00;3276,7;0", "02/01/2007 09:15:00;3276,6;0", "*",
    "Voie 2", "Date;Mesure;Etat_Alarme", "*",
    "Voie 3", "Date;Mesure;Etat_Alarme", "03/01/2007 10:00:00;1500;1", "31/12/2099 23:59:00;0,1;0", "*",
    "Voie 4", "Date;Mesure;Etat_Alarme", "01/01/2008 12:30:00;21,5;0", "*",
    "Voie 5", "Date;Mesure;Etat_Alarme", "01/01/2008 12:30:00;-25;0", "*",
    "Voie 6", "Date;Mesure;Etat_Alarme", "02/02/2008 10:15:00;1234,5;1", "*",
    "Voie 7", "Date;Mesure;Etat_Alarme", "*",
    "Voie 8", "Date;Mesure;Etat_Alarme", "*",
};

class Exportation : public Essai_Fenetre<Frm_Export> {
protected:
    Exportation() : Essai_Fenetre("_Export") {}
    // Exports the lines given through the window; the export's lines.
    QStringList Exporter(const QStringList& fichier) { return Passer(fichier, "mesures.txt", "export.txt"); }
};

}  // namespace

TEST_F(Exportation, HuitVoiesLigneParLigne) {
    const QStringList lignes = Exporter(Fichier_Huit_Voies);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    ASSERT_EQ(lignes.size(), Export_Huit_Voies.size());
    for (qsizetype i = 0; i < lignes.size(); ++i) EXPECT_EQ(lignes[i], Export_Huit_Voies[i]) << "ligne " << i + 1;
    // Windows-1252 on disk, as every file of the system.
    EXPECT_TRUE(Lire(Chemin("export.txt")).contains("Humidit\xe9"));
    EXPECT_TRUE(Lire(Chemin("export.txt")).contains("\xb0" "C\r\n"));
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{4, 4, 6, 7, 8, 9, 9, 9}));
}

TEST_F(Exportation, DialoguesEtProgression) {
    Exporter(Fichier_Huit_Voies);
    Dialogues_Du_Passage(QStringLiteral("Ouverture d'un  fichier d'enregistrements de température"), "mesures.txt");
    // Nine points announced: the bar climbs by ninths while reading, then
    // again while writing, and never shows 100.
    EXPECT_NE(std::find(valeurs.begin(), valeurs.end(), 11), valeurs.end());
    EXPECT_NE(std::find(valeurs.begin(), valeurs.end(), 88), valeurs.end());
    EXPECT_LT(*std::max_element(valeurs.begin(), valeurs.end()), 100);
    EXPECT_EQ(std::count(valeurs.begin(), valeurs.end(), 88), 2);
    EXPECT_EQ(fenetre.Frame1->title(), QStringLiteral("Ecriture du nouveau fichier en cours ..."));
}

TEST_F(Exportation, SeizeVoiesEtVoiesVides) {
    QStringList fichier = {"*", " 7 ", "*", " 16 ", "*"};
    for (int k = 1; k <= 16; ++k) fichier << QStringLiteral("Sonde %1").arg(k, 2, 10, QLatin1Char('0'));
    fichier << "*";
    const QStringList sections[18] = {
        Repete("1", 15) << "0", Repete("0", 16), Repete("1", 16), Repete("250", 16), Repete("-30", 16),
        Repete("15", 16), Repete("2", 16), Repete("0", 16), Repete("100", 16), Repete("0", 16),
        Repete("0", 16), Repete("0", 16), Repete("0", 16), Repete("0", 16), Repete("0", 16),
        Repete("0", 16), Repete("0", 16), Repete("1", 16),
    };
    for (const QStringList& s : sections) fichier << s << "*";
    fichier << "ENTREPOT" << "*" << "3" << "*" << "0" << "*";
    fichier << "1" << "1503081200-100" << "*";
    for (int k = 2; k <= 15; ++k) fichier << QString::number(k) << "*";
    fichier << "16" << "1503081200327671" << "1503081300327660" << "*";

    const QStringList lignes = Exporter(fichier);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    QStringList attendu = {"Adresse du module", " 1 ", "Nombre de voie", " 16 ", "Nom des voies"};
    for (int k = 1; k <= 16; ++k) attendu << QStringLiteral("Sonde %1").arg(k, 2, 10, QLatin1Char('0'));
    const std::pair<const char*, QStringList> reglages[] = {
        {"Déclaration des voies", Repete("En service", 15) << "Hors service"},
        {"Nature du capteur", Repete("0", 16)},
        {"Validité des alarmes", Repete("Oui", 16)},
        {"Seuils d'alarme bas", Repete("-3", 16)},
        {"Seuils d'alarme haut", Repete("25", 16)},
        {"Période d'enregistrement", Repete("15", 16)},
        {"Temporisation d'alarme", Repete("2", 16)},
        {"Echelle 4mA", Repete("0", 16)},
        {"Echelle 20mA", Repete("100", 16)},
        {"Role ETOR", Repete("Alarme", 16)},
        {"Unité de mesure", Repete("°C", 16)},
        {"Inhibition enregistrement", Repete("Non", 16)},
        {"Numéro ETOR Inhibition", Repete("Pas d'ETOR", 16)},
        {"Inhibition de l'alarme", Repete("Non", 16)},
        {"Numéro du planning d'inhibition", Repete("0", 16)},
        {"Type de contacte de l'ETOR", Repete("NO", 16)},
        {"Num STOR", Repete("RELAIS 1", 16)},
        {"Buzzer valide", Repete("Oui", 16)},
    };
    for (const auto& [titre, valeurs_section] : reglages) attendu << QString::fromUtf8(titre) << valeurs_section;
    attendu << "Entete du ticket" << "ENTREPOT" << "Nombre de mesure" << " 3 " << "Nombre d'alarme" << " 0 " << Colonnes;
    attendu << "Voie 1" << Colonnes << "15/03/2008 12:00:00;-1;0" << "*";
    for (int k = 2; k <= 15; ++k) attendu << QStringLiteral("Voie %1").arg(k) << Colonnes << "*";
    attendu << "Voie 16" << Colonnes << "15/03/2008 12:00:00;3276,7;1" << "15/03/2008 13:00:00;3276,6;0" << "*";
    ASSERT_EQ(lignes.size(), attendu.size());
    for (qsizetype i = 0; i < lignes.size(); ++i) EXPECT_EQ(lignes[i], attendu[i]) << "ligne " << i + 1;

    // The tables are overwritten by the next file, eight channels this time.
    boites.Effacer();
    EXPECT_EQ(Exporter(Fichier_Huit_Voies), Export_Huit_Voies);
}

TEST_F(Exportation, PointLuDeLaLigneDuFichier) {
    // Ten date digits, the value in tenths, the alarm digit.
    QStringList fichier = Fichier_Huit_Voies;
    fichier[Premier_Bloc + 1] = "01010812302150";
    fichier[Premier_Bloc + 2] = "010108123032767" "1";
    Exporter(fichier);
    EXPECT_EQ(Tab_Mesures[0].Date_Heure, DateSerial(2008, 1, 1) + TimeSerial(12, 30, 0));
    EXPECT_FLOAT_EQ(Tab_Mesures[0].Valeur, 21.5f);
    EXPECT_EQ(Tab_Mesures[0].Alarme, Faux);
    EXPECT_EQ(Tab_Mesures[1].Valeur, Valeur_Debut_Coupure);
    EXPECT_EQ(Tab_Mesures[1].Alarme, Vrai);
    EXPECT_EQ(Tab_Mesures[1].Num_Voie, 1);
}

TEST_F(Exportation, ReglagesQueLeProgrammeEcritSontToujoursLus) {
    // Scales outside a byte or with decimals, as the program writes them, and
    // in-service flags in any Boolean form.
    QStringList fichier = Fichier_Huit_Voies;
    fichier[Section(8)] = "-1";
    fichier[Section(8) + 1] = "\"-20,5\"";
    fichier[Section(9)] = "256";
    fichier[Section(9) + 1] = "3000";
    fichier[Section(1) + 6] = "True";
    fichier[Section(1) + 7] = "-1";
    const QStringList lignes = Exporter(fichier);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    const qsizetype echelle_4 = lignes.indexOf("Echelle 4mA"), echelle_20 = lignes.indexOf("Echelle 20mA");
    EXPECT_EQ(lignes.mid(echelle_4 + 1, 2), (QStringList{"-1", "-20,5"}));
    EXPECT_EQ(lignes.mid(echelle_20 + 1, 2), (QStringList{"256", "3000"}));
    EXPECT_EQ(lignes.mid(lignes.indexOf("Déclaration des voies") + 1, 8), Repete("En service", 8));
}

TEST_F(Exportation, CompteDePointsNulOuFaux) {
    // A head that announces no point still exports every point.
    QStringList fichier = Fichier_Huit_Voies;
    fichier[178] = "0";
    const QStringList lignes = Exporter(fichier);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    EXPECT_EQ(lignes[lignes.indexOf("Nombre de mesure") + 1], " 0 ");
    EXPECT_EQ(lignes.mid(lignes.indexOf("Nombre d'alarme") + 2), Export_Huit_Voies.mid(Export_Huit_Voies.indexOf("Nombre d'alarme") + 2));
    EXPECT_LT(*std::max_element(valeurs.begin(), valeurs.end()), 100);
    // One that announces fewer than there are.
    boites.Effacer();
    fichier[178] = "2";
    Exporter(fichier);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
}

TEST_F(Exportation, RienSansFichierTxtExistant) {
    Ecrire(Chemin("mesures.csv"), Contenu(Fichier_Huit_Voies));
    // Cancelled, or not a ".txt" name: nothing at all.
    Cliquer(fenetre, {QString()});
    Cliquer(fenetre, {Chemin("mesures.csv")});
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(boites.Dialogues.size(), 2u);
    // A ".txt" name that does not exist.
    Cliquer(fenetre, {Chemin("absent.txt")});
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_EQ(boites.Messages[0].Texte, "Nom de fichier introuvable");
    EXPECT_EQ(boites.Messages[0].Style, vbExclamation);
    EXPECT_EQ(boites.Dialogues.size(), 3u);
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList{"mesures.csv"});
    // A name in capitals is a ".txt" name all the same.
    Ecrire(Chemin("MESURES.TXT"), Contenu(Fichier_Huit_Voies));
    Cliquer(fenetre, {Chemin("MESURES.TXT"), QString()});
    ASSERT_EQ(boites.Dialogues.size(), 5u);
    EXPECT_EQ(boites.Dialogues[4].FileName, Chemin("MESURES_Export"));
    EXPECT_EQ(boites.Messages.size(), 1u);
}

TEST_F(Exportation, FichiersIncorrects) {
    auto avec = [](std::initializer_list<std::pair<int, QString>> changements) {
        QStringList f = Fichier_Huit_Voies;
        for (const auto& [i, texte] : changements) f[i] = texte;
        return f;
    };
    // Head.
    Refuse(avec({{3, " 0 "}}), "aucune voie");
    Refuse(avec({{3, " 17 "}}), "17 voies");
    Refuse(avec({{3, "huit"}}), "nombre de voies illisible");
    Refuse(avec({{5, "Four, zone 2"}}), "nom avec une virgule, non protégé");
    Refuse(avec({{13, "Voie 9"}}), "un nom de trop");
    Refuse(avec({{Section(1), "oui"}}), "voie en service illisible");
    Refuse(avec({{Section(2), "256"}}), "nature hors d'un octet");
    Refuse(avec({{Section(4), "haut"}}), "seuil illisible");
    Refuse(avec({{Section(8), "abc"}}), "échelle illisible");
    Refuse(avec({{Section(10), "-1"}}), "drapeau hors d'un octet");
    Refuse(avec({{Section(13), "1,5E+3"}}), "numéro d'ETOR hors d'un octet");
    Refuse(avec({{178, "neuf"}}), "compte de points illisible");
    Refuse(avec({{180, "douze"}}), "compte d'alarmes illisible");
    Refuse(Fichier_Huit_Voies.mid(0, 100), "fin du fichier dans l'en-tête");
    // Channel blocks.
    Refuse(avec({{Premier_Bloc, "0"}}), "voie 0");
    Refuse(avec({{Premier_Bloc, "un"}}), "voie illisible");
    Refuse(avec({{Premier_Bloc + 9, "9"}}), "voie au-delà du nombre de voies");
    Refuse(avec({{Premier_Bloc + 13, "2"}}), "voies dans le désordre");
    Refuse(avec({{Premier_Bloc + 1, "25120614300"}}), "ligne de point trop courte");
    Refuse(avec({{Premier_Bloc + 1, "25130614302150"}}), "mois 13");
    Refuse(avec({{Premier_Bloc + 1, "3102061430215" "0"}}), "31 février");
    Refuse(avec({{Premier_Bloc + 1, "25120624302150"}}), "24 heures");
    Refuse(avec({{Premier_Bloc + 1, "2512061430abc0"}}), "valeur illisible");
    Refuse(avec({{Premier_Bloc + 1, "25120614302152"}}), "chiffre d'alarme");
    Refuse(Fichier_Huit_Voies.mid(0, Fichier_Huit_Voies.size() - 1), "fin du fichier dans un bloc");
    Refuse(Fichier_Huit_Voies + QStringList{""}, "ligne vide après les blocs");
    // A folder in place of the file.
    boites.Effacer();
    ASSERT_TRUE(QDir(dossier.path()).mkdir("dossier.txt"));
    Cliquer(fenetre, {Chemin("dossier.txt")});
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Fichier_Incorrect});
}

TEST_F(Exportation, EnregistrementAnnuleOuEchoue) {
    Ecrire(Chemin("mesures.txt"), Contenu(Fichier_Huit_Voies));
    // Cancelled: nothing written, nothing said.
    Cliquer(fenetre, {Chemin("mesures.txt"), QString()});
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList{"mesures.txt"});
    // A name without ".txt" gets it.
    Cliquer(fenetre, {Chemin("mesures.txt"), Chemin("tableur")});
    EXPECT_EQ(Lignes(Lire(Chemin("tableur.txt"))), Export_Huit_Voies);
    // A folder that cannot be written.
    if (!Sauvegarde_Refusee("mesures.txt")) GTEST_SKIP() << "cannot make a read-only folder here";
}

TEST_F(Exportation, FichierLePlusGrand) {
    // One channel filling every entry of the table (a full module memory), then one more.
    auto fichier = [](Long points) {
        QByteArray c = Contenu({"*", " 1 ", "*", " 1 ", "*", "Voie 1", "*"});
        for (int s = 0; s < 18; ++s) c += "0\r\n*\r\n";
        c += "GRAND\r\n*\r\n" + QByteArray::number(points) + "\r\n*\r\n0\r\n*\r\n1\r\n";
        c.reserve(c.size() + static_cast<qsizetype>(points) * 18);
        for (Long i = 0; i < points; ++i) c += i == points - 1 ? "3112071245-51\r\n" : "01010812302150\r\n";
        c += "*\r\n";
        return c;
    };
    Ecrire(Chemin("grand.txt"), fichier(Table_Mesures::Taille));
    Cliquer(fenetre, {Chemin("grand.txt"), Chemin("grand_Export.txt")});
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    const QByteArray export_grand = Lire(Chemin("grand_Export.txt"));
    EXPECT_TRUE(export_grand.endsWith("01/01/2008 12:30:00;21,5;0\r\n31/12/2007 12:45:00;-0,5;1\r\n*\r\n"));
    EXPECT_EQ(export_grand.count('\n'), 6 + 18 * 2 + 7 + 3 + Table_Mesures::Taille);
    // The bar went through every percent on the way.
    EXPECT_GE(valeurs.size(), 2u * 99u);

    Refuse(fichier(Table_Mesures::Taille + 1), "un point de trop");
}

TEST_F(Exportation, FenetreGardeeOuverteTantQueLeTravailDure) {
    Ecrire(Chemin("mesures.txt"), Contenu(Fichier_Huit_Voies));
    std::vector<bool> fermetures;
    const auto lien = QObject::connect(fenetre.ProgressBar1, &QProgressBar::valueChanged, [&](int v) {
        if (v > 0) fermetures.push_back(fenetre.close());
    });
    Cliquer(fenetre, {Chemin("mesures.txt"), Chemin("export.txt")});
    QObject::disconnect(lien);
    ASSERT_FALSE(fermetures.empty());
    EXPECT_EQ(std::count(fermetures.begin(), fermetures.end(), true), 0) << "closed in the middle of a file";
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    EXPECT_EQ(Lignes(Lire(Chemin("export.txt"))), Export_Huit_Voies);
    EXPECT_TRUE(fenetre.close());
}
