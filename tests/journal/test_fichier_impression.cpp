// The journal file (writer and reader, from the screen and on its own) and the
// printed journal.
#include <QLabel>
#include <QTest>

#include "essai_journal.h"
#include "commun/dialogues_test.h"
#include "files/texte_fichier.h"

using namespace ostrel;
using namespace ostrel::test;
using ostrel_test::Traiter_Evenements;

namespace {

class Fichier_Impression : public Essai_Journal {
protected:
    void Journal_Module_3_Charge() {
        banc.Ouvrir_Ecran_Journal(3);
        Cliquer("Cmd_OK");
        banc.boites.Effacer();
    }
    // The file source on the same screen, with the name the dialog gives.
    void Ouvrir_Fichier(const QString& chemin) {
        QTest::mouseClick(C("Opt_Journal_Fichier"), Qt::LeftButton);
        banc.boites.Fichiers = {chemin};
        Cliquer("Cmd_OK");
    }
};

QByteArray Fichier_Attendu() {
    QString t = Tab_Parametres_Modules[2].Entete + "\r\n"
                "Nom des opérateurs autorisés à acquitter :\r\n"
                "Dupont      \r\n"
                "Martin               \r\n"
                "Lefèvre     \r\n"
                "Garcia               \r\n"
                "Date/Heure,Num_Voie,Nom_Voie,Etat_Alarme,Opérateur;\r\n"
                "06/03/2027 18:40:00,5,Voie 5        ,Alarme haute disparue,0\r\n"
                "06/03/2027 07:05:00,12,Atelier       ,Défaut acquitté,4\r\n"
                "05/03/2027 23:59:00,12,Atelier       ,Défaut non acquitté,0\r\n"
                "03/03/2027 14:30:00,3,Congelateur   ,Plus d'alarme,0\r\n"
                "02/03/2027,3,Congelateur   ,Alarme basse non acquittée,0\r\n"
                "01/03/2027 09:00:00,2,Chambre 2     ,Alarme haute acquittée,2\r\n"
                "01/03/2027 08:15:00,2,Chambre 2     ,Alarme haute non acquittée,0\r\n";
    return Vers_Cp1252(t);
}

std::vector<Date> Dates_Du_Journal() {
    std::vector<Date> d;
    for (const auto& e : Tab_Journal) d.push_back(e.Date_Heure);
    return d;
}

}  // namespace

TEST_F(Fichier_Impression, SauvegardeEtRelectureALIdentique) {
    Journal_Module_3_Charge();
    const QStringList liste = banc.Lignes_Liste();
    const QString a = banc.Chemin("OstrelSoft+/Sauvegardes/Sauvegardes_Alarmes/Journal_Alarmes.txt");
    // Another module chosen without loading it: the file is still the journal listed, under its own module.
    C<QComboBox>("Cmb_Choix_Ostrelclim")->setCurrentIndex(2);
    ASSERT_EQ(Num_Module, 7);
    ASSERT_EQ(Donnees_Reponse.Nb_Evenements, 12);
    banc.boites.Fichiers = {a};
    Cliquer("Cmd_Exporter");
    ASSERT_EQ(banc.boites.Dialogues.size(), 1u);
    ostrel_test::Dialogue_Txt(banc.boites.Dialogues[0], QStringLiteral("Sauvegarde du journal des alarmes"),
                              QStringLiteral("Journal_Alarmes"),
                              QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Sauvegardes_Alarmes"));
    EXPECT_EQ(banc.Boites_Vues(), std::vector<QString>{"Sauvegarde terminée!"});
    const QByteArray ecrit = banc.Lire("OstrelSoft+/Sauvegardes/Sauvegardes_Alarmes/Journal_Alarmes.txt");
    EXPECT_EQ(ecrit, Fichier_Attendu());

    // Read back: the same list under the file's first line; saving and the module's buttons are off.
    Ouvrir_Fichier(a);
    EXPECT_TRUE(banc.boites.Messages.empty());
    EXPECT_EQ(banc.boites.Dialogues.back().DialogTitle, QStringLiteral("Ouverture du journal des alarmes"));
    EXPECT_EQ(banc.Lignes_Liste(), liste);
    EXPECT_EQ(C<QLabel>("Lbl_Intitule_Fenetre")->text(), Tab_Parametres_Modules[2].Entete);
    EXPECT_EQ(Tab_Journal[3].Etat, 0);  // code 5 shares its text with 0
    EXPECT_EQ(Tab_Journal[5].Etat, 9);
    for (const char* inactif : {"Cmd_Exporter", "Cmd_Purger", "Cmd_Acquitter"}) EXPECT_FALSE(C(inactif)->isEnabled());
    EXPECT_TRUE(C("Cmd_Imprimer")->isEnabled());

    // Written again from what was read: the same bytes.
    frm_Journal_Alarme_Forme* j = banc.Journal();
    j->CommonDialog1.FileName = banc.Chemin("b.txt");
    ASSERT_TRUE(j->Exporter_Journal_Alarme());
    EXPECT_EQ(banc.Lire("b.txt"), ecrit);
}

TEST_F(Fichier_Impression, FichierIncorrectNeChangeRien) {
    Journal_Module_3_Charge();
    const QStringList liste = banc.Lignes_Liste();
    const std::vector<Date> dates = Dates_Du_Journal();
    const QString titre = C<QLabel>("Lbl_Intitule_Fenetre")->text();
    const Table_Noms_Operateurs noms = banc.Journal()->Noms_Operateurs;
    const QByteArray tete = "Autre module\r\nx\r\nA\r\nB\r\nC\r\nD\r\nx\r\n";
    const std::vector<QByteArray> mauvais = {
        "Autre module\r\nx\r\nA\r\nB\r\nC\r\nD\r\n",     // six lines
        tete + "32/01/2027 10:00:00,3,Quai,Plus d'alarme,0\r\n",  // not a date
        tete + "01/01/2027 10:00:00,300,Quai,Plus d'alarme,0\r\n",
        tete + "01/01/2027 10:00:00,x,Quai,Plus d'alarme,0\r\n",
        tete + "01/01/2027 10:00:00,3,Quai,Plus d'alarme\r\n",  // four fields
        tete + "01/01/2027 10:00:00,3,Quai,Plus d'alarme,0\r\n\r\n",  // an empty entry
        tete + "01/01/2027 10:00:00,3,Quai,Plus d'alarme,-1\r\n",
    };
    for (size_t i = 0; i < mauvais.size(); ++i) {
        SCOPED_TRACE(i);
        banc.Ecrire("mauvais.txt", mauvais[i]);
        Ouvrir_Fichier(banc.Chemin("mauvais.txt"));
        EXPECT_EQ(banc.Boites_Vues(), std::vector<QString>{"Fichier incorrect!"});
        EXPECT_EQ(banc.Lignes_Liste(), liste);
        EXPECT_EQ(Dates_Du_Journal(), dates);
        EXPECT_EQ(Donnees_Reponse.Nb_Evenements, 7);
        EXPECT_EQ(C<QLabel>("Lbl_Intitule_Fenetre")->text(), titre);
        EXPECT_EQ(banc.Journal()->Noms_Operateurs, noms);
        EXPECT_TRUE(C("Cmd_Exporter")->isEnabled());  // the screen as it was
    }

    // Missing, cancelled, or not ending in ".txt" exactly.
    Ouvrir_Fichier(banc.Chemin("absent.txt"));
    ASSERT_EQ(banc.boites.Messages.size(), 1u);
    EXPECT_EQ(banc.boites.Messages[0].Texte, QStringLiteral("Nom de fichier introuvable"));
    EXPECT_EQ(banc.boites.Messages[0].Style, vbExclamation);
    banc.boites.Effacer();
    banc.Ecrire("MAJ.TXT", Fichier_Attendu());
    Ouvrir_Fichier(banc.Chemin("MAJ.TXT"));
    Ouvrir_Fichier(QString());
    EXPECT_TRUE(banc.boites.Messages.empty());
    EXPECT_EQ(banc.Lignes_Liste(), liste);
}

TEST_F(Fichier_Impression, SauvegardeRefuseeOuEnEchec) {
    Journal_Module_3_Charge();
    // Cancelled, or another extension: nothing written, nothing said.
    for (const QString& nom : {QString(), banc.Chemin("j.TXT"), banc.Chemin("j.doc")}) {
        banc.boites.Fichiers = {nom};
        Cliquer("Cmd_Exporter");
    }
    EXPECT_TRUE(banc.boites.Messages.empty());
    EXPECT_FALSE(QFile::exists(banc.Chemin("j.TXT")));

    // A file that cannot be written: the failure, never the success text; the old file stays.
    banc.Ecrire("dossier.txt/garde", "garde");
    banc.boites.Fichiers = {banc.Chemin("dossier.txt")};
    Cliquer("Cmd_Exporter");
    ASSERT_EQ(banc.boites.Messages.size(), 1u);
    EXPECT_TRUE(banc.boites.Messages[0].Texte.startsWith("La sauvegarde a échoué"));
    EXPECT_EQ(banc.Lire("dossier.txt/garde"), QByteArray("garde"));
}

TEST_F(Fichier_Impression, ImpressionLigneParLigne) {
    Journal_Module_3_Charge();
    const QStringList liste = banc.Lignes_Liste();
    Cliquer("Cmd_Imprimer");
    EXPECT_EQ(banc.Boites_Vues(), std::vector<QString>{"Impression envoyée à l'imprimante"});
    const QString tirets(150, '-');
    std::vector<QString> attendu = {
        "Velsa SA", QString(91, '*'), "", "Nom de l'installation : " + Nom_Installation, "", "",
        "Journal des évènements du Module : " + Tab_Parametres_Modules[2].Entete + " - Toutes les voies", "", "",
        tirets,
        "Date / Heure          Num voie  Voie            Etat                        Par l'opérateur", tirets};
    for (const QString& l : liste) attendu.push_back(l);
    attendu.insert(attendu.end(), {tirets, "", "", "", "", "OstrelSoft le 07/03/2027 09:05:03"});
    EXPECT_EQ(banc.imprimante.Textes(1), attendu);
    ASSERT_FALSE(banc.imprimante.Lignes.empty());
    EXPECT_EQ(banc.imprimante.Lignes[20].Police, QStringLiteral("Courier New"));
    EXPECT_EQ(banc.imprimante.Lignes[20].Taille, 10);
    EXPECT_EQ(banc.imprimante.Documents_Termines, 1);

    // An empty journal: nothing between the second and third lines of hyphens.
    banc.bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[3].journal.clear(); });
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Lignes_Liste(), QStringList{"Journal vide"});
    Cliquer("Cmd_Imprimer");
    const std::vector<QString> vide = banc.imprimante.Textes(2);
    ASSERT_EQ(vide.size(), 18u);
    EXPECT_EQ(vide[11], tirets);
    EXPECT_EQ(vide[12], tirets);

    // A printer that fails: its text and why, never the success text.
    banc.boites.Effacer();
    banc.imprimante.Echec_Prochain_Document = QStringLiteral("disque plein");
    Cliquer("Cmd_Imprimer");
    ASSERT_EQ(banc.boites.Messages.size(), 1u);
    EXPECT_EQ(banc.boites.Messages[0].Texte, QStringLiteral("L'impression a échoué\n(disque plein)"));
    EXPECT_EQ(banc.boites.Messages[0].Style, vbExclamation);
}

// ---------------------------------------------------------------- without the screen

TEST(Journal_Alarmes, TextesDesEtats) {
    for (Octet c : {0, 5, 7, 11}) EXPECT_EQ(Etat_Alarme(c), QStringLiteral("Plus d'alarme"));
    EXPECT_EQ(Etat_Alarme(10), QStringLiteral("Défaut non acquitté"));
    EXPECT_EQ(Etat_Alarme(13), QStringLiteral("Etat inconnu (13)"));
    for (Octet c : {1, 2, 3, 4, 6, 8, 9, 10, 12}) EXPECT_EQ(Code_Etat_Alarme(Etat_Alarme(c)), c);
    for (const char* autre : {"Plus d'alarme", "   ...   ", "alarme haute acquittée", "Etat inconnu (13)", ""})
        EXPECT_EQ(Code_Etat_Alarme(QString::fromUtf8(autre)), 0) << autre;
}

TEST(Journal_Alarmes, LigneDeLaListe) {
    Table_Noms_Operateurs noms{"...", "Dupont", "", "", ""};
    Evenement_Journal e{DateSerial(2027, 1, 2) + TimeSerial(3, 4, 5), 2, 7, 1, QStringLiteral("Un nom bien trop long")};
    const QString l = Ligne_Journal(e, noms);
    EXPECT_EQ(l, QStringLiteral("02/01/2027 03:04:05   Voie 7    Un nom bien trop long Alarme haute non acquittée      "
                                "Dupont               "));
    EXPECT_EQ(noms[1], QStringLiteral("Dupont               "));  // filled in place
    EXPECT_EQ(noms[0], QStringLiteral("..."));
    Evenement_Journal sans{DateSerial(2027, 1, 2), 13, 3, 9, QStringLiteral("Quai")};
    EXPECT_EQ(Ligne_Journal(sans, noms), QStringLiteral("02/01/2027            Voie 3    Quai           ") +
                                             QStringLiteral("Etat inconnu (13)").leftJustified(31) + QString(22, ' '));
    EXPECT_EQ(sans.Nom_Voie, QStringLiteral("Quai          "));
}

TEST(Journal_Alarmes, FichierSansEcran) {
    Table_Noms_Operateurs noms{"...", "A", "B", "C", "D"};
    std::vector<Evenement_Journal> j = {
        {DateSerial(2027, 1, 1), 7, 3, 0, QStringLiteral("Nord, sud")},      // a comma in the name
        {DateSerial(2027, 1, 1) + TimeSerial(0, 0, 1), 2, 4, 2, QStringLiteral(" Quai")},
        {0, 13, 5, 0, QString()},
        {}};
    const QByteArray contenu = Contenu_Fichier_Journal(QStringLiteral("Tête\r\nsur deux lignes"), noms, j, 3);
    const QByteArray attendu = Vers_Cp1252(QStringLiteral(
        "Tête  sur deux lignes\r\nNom des opérateurs autorisés à acquitter :\r\nA\r\nB\r\nC\r\nD\r\n"
        "Date/Heure,Num_Voie,Nom_Voie,Etat_Alarme,Opérateur;\r\n"
        "00:00:00,5,,Etat inconnu (13),0\r\n"
        "01/01/2027 00:00:01,4,\" Quai\",Alarme haute non acquittée,2\r\n"
        "01/01/2027,3,\"Nord, sud\",Plus d'alarme,0\r\n"));
    EXPECT_EQ(contenu, attendu);

    Journal_Lu lu;
    ASSERT_TRUE(Lire_Contenu_Journal(contenu, lu));
    EXPECT_EQ(lu.Titre, QStringLiteral("Tête  sur deux lignes"));
    EXPECT_EQ(lu.Noms, (std::array<QString, 4>{"A", "B", "C", "D"}));
    ASSERT_EQ(lu.Nb, 3);
    ASSERT_EQ(lu.Entrees.size(), 4u);
    EXPECT_EQ(lu.Entrees[0].Nom_Voie, QStringLiteral("Nord, sud"));
    EXPECT_EQ(lu.Entrees[0].Etat, 0);
    EXPECT_EQ(lu.Entrees[0].Date_Heure, DateSerial(2027, 1, 1));
    EXPECT_EQ(lu.Entrees[1].Nom_Voie, QStringLiteral(" Quai"));
    EXPECT_EQ(lu.Entrees[1].Etat, 2);
    EXPECT_EQ(lu.Entrees[1].Num_Operateur, 2);
    EXPECT_EQ(lu.Entrees[2].Etat, 0);  // a code without a text of its own reads 0
    EXPECT_EQ(lu.Entrees[2].Date_Heure, 0);
    // Written again, only the code without a text of its own has changed.
    EXPECT_EQ(Contenu_Fichier_Journal(lu.Titre, noms, lu.Entrees, lu.Nb),
              QByteArray(contenu).replace("Etat inconnu (13)", "Plus d'alarme"));

    // Seven lines are an empty journal; a name written unquoted with a comma by an
    // earlier version reads whole; the last line may lack its end, lines may end in LF.
    ASSERT_TRUE(Lire_Contenu_Journal("t\r\nx\r\na\r\nb\r\nc\r\nd\r\nx", lu));
    EXPECT_EQ(lu.Nb, 0);
    EXPECT_EQ(lu.Entrees.size(), 1u);
    ASSERT_TRUE(Lire_Contenu_Journal("t\nx\na\nb\nc\nd\nx\n02/01/2027 10:00,1,Nord, sud,   ...   ,4", lu));
    ASSERT_EQ(lu.Nb, 1);
    EXPECT_EQ(lu.Entrees[0].Nom_Voie, QStringLiteral("Nord, sud"));
    EXPECT_EQ(lu.Entrees[0].Etat, 0);
    EXPECT_EQ(lu.Entrees[0].Num_Operateur, 4);
    EXPECT_EQ(lu.Entrees[0].Date_Heure, DateSerial(2027, 1, 2) + TimeSerial(10, 0, 0));
    // An operator without a name is kept; it shows an empty name.
    ASSERT_TRUE(Lire_Contenu_Journal(Vers_Cp1252("t\nx\na\nb\nc\nd\nx\n02/01/2027,1,N,Défaut disparu,9\n"), lu));
    EXPECT_EQ(lu.Entrees[0].Etat, 12);
    EXPECT_EQ(lu.Entrees[0].Num_Operateur, 9);
    Table_Noms_Operateurs n5{};
    EXPECT_TRUE(Ligne_Journal(lu.Entrees[0], n5).endsWith(QString(22, ' ')));
}
