// Conversion: first-version files made by hand turned into recordings files
// that the program's loader reads back, and every way a bad input or a failed
// save ends.
#include "aide_outils.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <set>

#include "files/enregistrements.h"
#include "files/texte_fichier.h"
#include "link/tableau_bord.h"
#include "platform/dates.h"
#include "tools/conversion.h"
#include "tools/exportation.h"
#include "tools/form1.h"

using namespace ostrel;
using namespace ostrel::essai;

namespace {

// Sixteen values: the first ones given, then the rest.
QStringList Valeurs(QStringList premieres, const QString& reste = "0") { return premieres << Repete(reste, 16 - premieres.size()); }

// A data line of the first version: channel on two columns, date, time,
// value in its unit, alarm digit, each followed by a blank.
QString Point(int voie, const QString& date, const QString& heure, const QString& valeur, int alarme) {
    return QStringLiteral("%1 %2 %3 %4 %5 ").arg(voie, 2).arg(date, heure, valeur).arg(alarme);
}

// A first-version file, item by item.
struct Ancien_Fichier {
    QString premier = "* NOMS DES VOIES";
    QStringList noms = QStringList{"Chambre froide", "Entrée", "Four"} << [] {
        QStringList l;
        for (int k = 4; k <= 16; ++k) l << QStringLiteral("Voie %1").arg(k);
        return l;
    }();
    std::vector<std::pair<QString, QStringList>> reglages = {
        {"* VOIE VALIDE", Valeurs({"1", "1", "1", "2"})},
        {"* NATURE CAPTEUR", Valeurs({"0", "2", "1"})},
        {"* VALIDITE ALARME", Valeurs({"1", "0", "1", "2"})},
        {"* SEUIL HAUT", Valeurs({"150", "215", "-50"})},
        {"* SEUIL BAS", Valeurs({"20", "0", "-100"})},
        {"* PERIODE", Valeurs({"15", "1", "240"}, "15")},
        {"* TEMPORISATION", Valeurs({"5", "0", "30"})},
        {"* ECHELLE 4MA", Valeurs({"0", "0", "-10"})},
        {"* ECHELLE 20MA", Valeurs({"100", "100", "1200"}, "100")},
        {"* ROLE ETOR", Valeurs({"0", "1", "0"})},
        {"* UNITE", Valeurs({"0", "0", "3"})},
        {"* INHIBITION ENREGISTREMENT", Valeurs({"0", "1", "0"})},
        {"* NUMERO ETOR", Valeurs({"0", "2", "0"})},
        {"* INHIBITION ALARME", Valeurs({"0", "0", "1"})},
        {"* PLANNING", Valeurs({"0", "0", "16"})},
        {"* CONTACT", Valeurs({"0", "1", "0"})},
        {"* RELAIS", Valeurs({"0", "0", "1"})},
        {"* BUZZER", Valeurs({"1", "0", "1"})},
    };
    QString entete = "ENTREPOT NORD";
    QString points = "5";
    QString evenements = "3";
    // Channels 3, 1, 3, 2, 1 in file order; then the end mark and a line after it.
    QStringList donnees = {
        Point(3, "25/12/2006", "14:30", "21,5", 0), Point(1, "25/12/2006", "14:30", "-5", 1),
        Point(3, "26/12/2006", "00:00", "3276,7", 1), Point(2, "26/12/2006", "08:05", "1500", 0),
        Point(1, "27/12/2006", "23:59", "0,1", 0), "ETX", Point(1, "28/12/2006", "10:00", "99", 0),
    };

    QStringList Lignes() const {
        QStringList l = QStringList{premier} << noms;
        for (const auto& [separateur, valeurs] : reglages) l << separateur << valeurs;
        l << "* ENTETE" << entete << "* NOMBRE D'ENREGISTREMENTS" << points << "* NOMBRE D'EVENEMENTS" << evenements;
        return l << donnees;
    }
};

// The recordings file the file above becomes.
QStringList Nouveau_Fichier() {
    QStringList l = {"*", " 1 ", "*", " 16 ", "*"};
    l << Ancien_Fichier().noms << "*";
    const QStringList sections[18] = {
        Valeurs({"1", "1", "1", "0"}),    Valeurs({"0", "2", "1"}),        Valeurs({"1", "0", "1", "0"}),
        Valeurs({"150", "215", "-50"}),   Valeurs({"20", "0", "-100"}),    Valeurs({"15", "1", "240"}, "15"),
        Valeurs({"5", "0", "30"}),        Valeurs({"0", "0", "-10"}),      Valeurs({"100", "100", "1200"}, "100"),
        Valeurs({"0", "1", "0"}),         Valeurs({"0", "0", "3"}),        Valeurs({"0", "1", "0"}),
        Valeurs({"0", "2", "0"}),         Valeurs({"0", "0", "1"}),        Valeurs({"0", "0", "16"}),
        Valeurs({"0", "1", "0"}),         Valeurs({"0", "0", "1"}),        Valeurs({"1", "0", "1"}),
    };
    for (const QStringList& s : sections) l << s << "*";
    l << "ENTREPOT NORD" << "*" << "5" << "*" << "3" << "*";
    l << "1" << "2512061430-501" << "271206235910" << "*";
    l << "2" << "2612060805150000" << "*";
    l << "3" << "25120614302150" << "2612060000327671" << "*";
    for (int k = 4; k <= 16; ++k) l << QString::number(k) << "*";
    return l;
}

class Conversion : public Essai_Fenetre<Form1> {
protected:
    Conversion() : Essai_Fenetre("_N") {}
    // Converts the lines given through the window; the new file's lines.
    QStringList Convertir(const QStringList& ancien) { return Passer(ancien, "ancien.txt", "nouveau.txt"); }
    // Refused, and the frame says nothing more.
    void Refuse(const QStringList& ancien, const char* cas) {
        Essai_Fenetre::Refuse(ancien, cas);
        EXPECT_EQ(fenetre.Frame1->title(), "...") << cas;
    }
};

}  // namespace

TEST_F(Conversion, NouveauFichierLigneParLigne) {
    const QStringList lignes = Convertir(Ancien_Fichier().Lignes());
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    const QStringList attendu = Nouveau_Fichier();
    ASSERT_EQ(lignes.size(), attendu.size());
    for (qsizetype i = 0; i < lignes.size(); ++i) EXPECT_EQ(lignes[i], attendu[i]) << "ligne " << i + 1;
    // Each channel's points keep their file order; channel 4 on ends where 3 ends.
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{2, 3, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}));
    EXPECT_TRUE(Lire(Chemin("nouveau.txt")).contains("Entr\xe9" "e\r\n"));
}

TEST_F(Conversion, DialoguesEtEtapes) {
    Convertir(Ancien_Fichier().Lignes());
    Dialogues_Du_Passage(QStringLiteral("Ouverture d'un ANCIEN fichier d'enregistrements de température"), "ancien.txt");
    EXPECT_EQ(fenetre.Frame1->title(), QStringLiteral("Ecriture du nouveau fichier en cours ..."));
    // Five points announced: 0, 20, 40, 60, 80 while reading.
    EXPECT_NE(std::find(valeurs.begin(), valeurs.end(), 80), valeurs.end());
    EXPECT_LT(*std::max_element(valeurs.begin(), valeurs.end()), 100);
}

TEST_F(Conversion, LaBarreAvancePendantLEcriture) {
    Ancien_Fichier a;
    a.points = "400";
    a.donnees.clear();
    for (int i = 0; i < 400; ++i) a.donnees << Point(1 + i % 2, "25/12/2006", "14:30", "21,5", 0);
    std::set<int> ecriture;
    const auto lien = QObject::connect(fenetre.ProgressBar1, &QProgressBar::valueChanged, [&](int v) {
        if (fenetre.Frame1->title() == QStringLiteral("Ecriture du nouveau fichier en cours ...")) ecriture.insert(v);
    });
    Convertir(a.Lignes());
    QObject::disconnect(lien);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    // Every percent from 0 to 99 while the 400 points are written.
    EXPECT_EQ(ecriture.size(), 100u);
}

TEST_F(Conversion, ReluParLeProgramme) {
    Convertir(Ancien_Fichier().Lignes());
    // The program's loader, on tables emptied first.
    Reinitialiser_Donnees();
    Num_Module = 5;
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("nouveau.txt")));
    EXPECT_TRUE(boites.Messages.size() == 1 && boites.Messages[0].Texte == Sauvegarde_Terminee);
    EXPECT_EQ(Nom_Module, QStringLiteral("Module n°1"));
    EXPECT_EQ(Nb_Voies_Module[4], 16);
    EXPECT_EQ(Donnees_Reponse.Entete_Module, "ENTREPOT NORD");
    EXPECT_EQ(Donnees_Reponse.Nb_Enregistrements, 5);
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{2, 3, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}));
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[0].Seuil_Haut, 15.0f);
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[1].Seuil_Haut, 21.5f);
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[2].Seuil_Bas, -10.0f);
    EXPECT_EQ(Tab_Parametres_Voies[1].Nature_Capteur, 2);
    EXPECT_EQ(Tab_Parametres_Voies[2].Periode_Enreg, 240);
    EXPECT_EQ(Tab_Parametres_Voies[0].Alarme_Valide, Vrai);
    EXPECT_EQ(Tab_Parametres_Voies[3].Alarme_Valide, Faux);
    struct Attendu {
        Date quand;
        Simple valeur;
        Booleen alarme;
        Octet voie;
    };
    const Attendu points[] = {
        {DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0), -5.0f, Vrai, 1},
        {DateSerial(2006, 12, 27) + TimeSerial(23, 59, 0), 0.1f, Faux, 1},
        {DateSerial(2006, 12, 26) + TimeSerial(8, 5, 0), Valeur_Inhibee, Faux, 2},
        {DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0), 21.5f, Faux, 3},
        {DateSerial(2006, 12, 26), Valeur_Debut_Coupure, Vrai, 3},
    };
    for (Long i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Tab_Mesures[i].Date_Heure, points[i].quand);
        EXPECT_FLOAT_EQ(Tab_Mesures[i].Valeur, points[i].valeur);
        EXPECT_EQ(Tab_Mesures[i].Alarme, points[i].alarme);
        EXPECT_EQ(Tab_Mesures[i].Num_Voie, points[i].voie);
    }
    EXPECT_EQ(Tab_Mesures[0].Nom_Voie, "Chambre froide");
    EXPECT_EQ(Tab_Mesures[3].Nom_Voie, "Four");

    // And the export tool reads it too, every setting with it.
    Lecteur_Texte lecteur(Lire(Chemin("nouveau.txt")));
    Octet n = 0;
    ASSERT_TRUE(Lire_Tete_Export(lecteur, 1, n));
    ASSERT_TRUE(Lire_Points_Export(lecteur, 1, n));
    EXPECT_EQ(n, 16);
    const Module_Export& m = Donnees_Module[0];
    EXPECT_EQ(m.Voies[2].Unite, 3);
    EXPECT_EQ(m.Voies[1].Num_ETOR_Inhib, 2);
    EXPECT_EQ(m.Voies[2].Num_Planning_Inhib, 16);
    EXPECT_EQ(m.Voies[1].Contact_NF, Vrai);
    EXPECT_EQ(m.Voies[2].Relais_2, Vrai);
    EXPECT_FLOAT_EQ(m.Voies[2].Echelle_4mA, -10.0f);
    EXPECT_FLOAT_EQ(m.Voies[2].Echelle_20mA, 1200.0f);
    EXPECT_EQ(m.Nb_Evenements, 3);
}

TEST_F(Conversion, DeuxFoisLeMemeFichier) {
    const QStringList premiere = Convertir(Ancien_Fichier().Lignes());
    // A smaller file in between leaves nothing behind it.
    Ancien_Fichier petit;
    petit.donnees = {Point(16, "01/01/2007", "10:00", "4", 0)};
    boites.Effacer();
    const QStringList entre = Convertir(petit.Lignes());
    EXPECT_EQ(entre.mid(entre.size() - 3), (QStringList{"16", "0101071000400", "*"}));
    boites.Effacer();
    EXPECT_EQ(Convertir(Ancien_Fichier().Lignes()), premiere);
}

TEST_F(Conversion, PointsHorsDesVoiesEtDatesParticulieres) {
    Ancien_Fichier ancien;
    ancien.points = "0";  // a head that announces nothing
    ancien.donnees = {
        Point(0, "01/01/2007", "10:00", "1", 0),      // no channel 0
        Point(1, "30/12/1899", "00:00", "2", 0),      // the date 0 does not end the data
        Point(17, "01/01/2007", "10:00", "3", 0),     // no channel 17
        " 2  5/01/2007  9:05 -12,3 1 ",                // date and time in their short forms
        Point(1, "02/01/2007", "10:00", "4", 1),
    };
    const QStringList lignes = Convertir(ancien.Lignes());
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    EXPECT_EQ(Index_Fin_Voie[0], 2);
    EXPECT_EQ(Index_Fin_Voie[1], 3);
    EXPECT_EQ(Index_Fin_Voie[15], 3);
    const qsizetype debut = lignes.indexOf("ENTREPOT NORD");
    // The count line says the points the file carries.
    EXPECT_EQ(lignes.mid(debut, 16), (QStringList{"ENTREPOT NORD", "*", "3", "*", "3", "*", "1", "3012990000200",
                                                   "0201071000401", "*", "2", "0501070905-1231", "*", "3", "*", "4"}));
    // The program takes it, which it would not with a count of 0.
    Reinitialiser_Donnees();
    Num_Module = 1;
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("nouveau.txt")));
    EXPECT_EQ(Index_Fin_Voie[15], 3);
    EXPECT_FLOAT_EQ(Tab_Mesures[2].Valeur, -12.3f);
}

TEST_F(Conversion, RienSansFichierTxtExistant) {
    Ecrire(Chemin("ancien.dat"), Contenu(Ancien_Fichier().Lignes()));
    Cliquer(fenetre, {QString()});
    Cliquer(fenetre, {Chemin("ancien.dat")});
    EXPECT_TRUE(boites.Messages.empty());
    Cliquer(fenetre, {Chemin("absent.txt")});
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_EQ(boites.Messages[0].Texte, "Nom de fichier introuvable");
    EXPECT_EQ(boites.Messages[0].Style, vbExclamation);
    EXPECT_EQ(boites.Dialogues.size(), 3u);
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList{"ancien.dat"});
}

TEST_F(Conversion, FichiersIncorrects) {
    auto avec = [](auto&& changer) {
        Ancien_Fichier a;
        changer(a);
        return a.Lignes();
    };
    Refuse(avec([](Ancien_Fichier& a) { a.premier = "* VOIE VALIDE"; a.noms.clear(); }), "aucun nom");
    Refuse(avec([](Ancien_Fichier& a) { a.noms = a.noms.mid(0, 8); }), "huit noms seulement");
    Refuse(avec([](Ancien_Fichier& a) { a.reglages[0].second[0] = "oui"; }), "voie en service illisible");
    Refuse(avec([](Ancien_Fichier& a) { a.reglages[1].second[4] = "256"; }), "nature hors d'un octet");
    Refuse(avec([](Ancien_Fichier& a) { a.reglages[3].second[0] = "haut"; }), "seuil illisible");
    Refuse(avec([](Ancien_Fichier& a) { a.reglages[5].second[2] = "-1"; }), "période hors d'un octet");
    Refuse(avec([](Ancien_Fichier& a) { a.reglages[11].second[0] = "vrai"; }), "drapeau illisible");
    Refuse(avec([](Ancien_Fichier& a) { a.points = "cinq"; }), "compte de points illisible");
    Refuse(avec([](Ancien_Fichier& a) { a.evenements = "trois"; }), "compte d'alarmes illisible");
    Refuse(Ancien_Fichier().Lignes().mid(0, 200), "fin du fichier dans l'en-tête");
    const QString bon = Point(1, "25/12/2006", "14:30", "21,5", 0);
    const std::pair<QString, const char*> lignes_fausses[] = {
        {" 1 25/12/2006 14:30", "ligne trop courte"},
        {"ab 25/12/2006 14:30 21,5 0 ", "voie illisible"},
        {" 1 32/12/2006 14:30 21,5 0 ", "jour 32"},
        {" 1 29/02/2007 14:30 21,5 0 ", "29 février 2007"},
        {" 1 25/12/2006 24:30 21,5 0 ", "24 heures"},
        {" 1 25/12/2006 14:60 21,5 0 ", "60 minutes"},
        {" 1 25-12-2006 14:30 21,5 0 ", "date sans barres"},
        {" 1 14:30:00   14:30 21,5 0 ", "heure à la place de la date"},
        {" 1 25/12/2006 14:30 vingt 0 ", "valeur illisible"},
        {" 1 25/12/2006 14:30 1E+10 0 ", "valeur hors des dixièmes sur 32 bits"},
        {" 1 25/12/2006 14:30 21,5 x ", "alarme illisible"},
        {"", "ligne vide"},
    };
    for (const auto& [ligne, cas] : lignes_fausses)
        Refuse(avec([&, &ligne = ligne](Ancien_Fichier& a) { a.donnees = {bon, ligne, bon}; }), cas);
}

TEST_F(Conversion, EnregistrementAnnuleOuEchoue) {
    Ecrire(Chemin("ancien.txt"), Contenu(Ancien_Fichier().Lignes()));
    Cliquer(fenetre, {Chemin("ancien.txt"), QString()});
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(QDir(dossier.path()).entryList(QDir::Files), QStringList{"ancien.txt"});
    Cliquer(fenetre, {Chemin("ancien.txt"), Chemin("nouveau")});
    EXPECT_EQ(Lignes(Lire(Chemin("nouveau.txt"))), Nouveau_Fichier());

    if (!Sauvegarde_Refusee("ancien.txt")) GTEST_SKIP() << "cannot make a read-only folder here";
}

TEST_F(Conversion, DixiemesEntiers) {
    // More decimals than the tenths the format keeps: the nearest whole tenth,
    // an exact half to the even one, as the program rounds everywhere.
    Ancien_Fichier a;
    a.points = "8";
    a.donnees.clear();
    for (const char* valeur : {"21,25", "21,35", "21,15", "21,251", "-3,45", "21,5", "2,125E1", "7"})
        a.donnees << Point(1, "25/12/2006", "14:30", valeur, 0);
    const QStringList l = Convertir(a.Lignes());
    const qsizetype voie_1 = l.indexOf("1", l.indexOf("ENTREPOT NORD"));
    ASSERT_GT(voie_1, 0);
    EXPECT_EQ(l.mid(voie_1 + 1, 9), (QStringList{"25120614302120", "25120614302140", "25120614302120", "25120614302130",
                                                 "2512061430-340", "25120614302150", "25120614302120", "2512061430700",
                                                 "*"}));
}

TEST_F(Conversion, LesPlusGrandesValeursSontEcritesEnChiffresEtRelues) {
    // A single goes by steps of 16 there: 214748360 stays 214748352, whose
    // tenths fit 32 bits; 214748360,1 would become 214748368, whose tenths do not.
    Ancien_Fichier a;
    a.points = "2";
    a.donnees = {Point(1, "25/12/2006", "14:30", "214748360", 0), Point(1, "25/12/2006", "14:45", "-214748360", 1)};
    const QStringList l = Convertir(a.Lignes());
    const qsizetype voie_1 = l.indexOf("1", l.indexOf("ENTREPOT NORD"));
    ASSERT_GT(voie_1, 0);
    EXPECT_EQ(l.mid(voie_1 + 1, 3), (QStringList{"251206143021474835200", "2512061445-21474835201", "*"}));
    Reinitialiser_Donnees();
    Num_Module = 1;
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("nouveau.txt")));
    EXPECT_EQ(Index_Fin_Voie[0], 2);
    EXPECT_EQ(Tab_Mesures[1].Valeur, -214748352.0f);
    Lecteur_Texte lecteur(Lire(Chemin("nouveau.txt")));
    Octet n = 0;
    ASSERT_TRUE(Lire_Tete_Export(lecteur, 1, n));
    ASSERT_TRUE(Lire_Points_Export(lecteur, 1, n));
    EXPECT_EQ(Tab_Mesures[0].Valeur, 214748352.0f);

    for (const char* valeur : {"214748360,1", "-214748361", "214748364,7"}) {
        a.donnees = {Point(1, "25/12/2006", "14:30", valeur, 0)};
        a.points = "1";
        Refuse(a.Lignes(), valeur);
    }
}

TEST_F(Conversion, FichierLePlusGrand) {
    // Channels 2 and 1 in turn, a line for every entry of the table (a full module memory), then one more.
    auto fichier = [](Long points) {
        Ancien_Fichier a;
        a.donnees.clear();
        a.points = QString::number(points);
        QByteArray c = Contenu(a.Lignes());
        c.reserve(c.size() + static_cast<qsizetype>(points) * 30);
        for (Long i = 0; i < points; ++i)
            c += i % 2 ? " 1 01/01/2008 12:30 21,5 0 \r\n" : " 2 31/12/2007 23:45 -0,5 1 \r\n";
        return c;
    };
    Ecrire(Chemin("grand.txt"), fichier(Table_Mesures::Taille));
    Cliquer(fenetre, {Chemin("grand.txt"), Chemin("grand_N.txt")});
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Sauvegarde_Terminee});
    EXPECT_EQ(Index_Fin_Voie[0], Table_Mesures::Taille / 2);
    EXPECT_EQ(Index_Fin_Voie[15], Table_Mesures::Taille);
    const QByteArray nouveau = Lire(Chemin("grand_N.txt"));
    EXPECT_TRUE(nouveau.contains("*\r\n1\r\n01010812302150\r\n"));
    EXPECT_TRUE(nouveau.contains("01010812302150\r\n*\r\n2\r\n3112072345-51\r\n"));
    EXPECT_GE(valeurs.size(), 99u);
    // The program takes the whole of it.
    Reinitialiser_Donnees();
    Num_Module = 1;
    ASSERT_TRUE(Chargement_Fichier_Donnees(Chemin("grand_N.txt")));
    EXPECT_EQ(Index_Fin_Voie[15], Table_Mesures::Taille);

    Essai_Fenetre::Refuse(fichier(Table_Mesures::Taille + 1), "un point de trop");
}
