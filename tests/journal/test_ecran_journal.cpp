// The journal screen: opening, module and channel choice, downloads of the
// whole journal and between two dates, and what a silent module leads to.
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include "essai_journal.h"

using namespace ostrel;
using namespace ostrel::test;
using ostrel_test::Traiter_Evenements;

namespace {

class Ecran_Journal : public Essai_Journal {
protected:
    bool Actif(const char* nom) const { return C(nom)->isEnabled(); }
    void Dates(const char* debut, const char* fin) {
        C<QLineEdit>("Msk_Date_Debut")->setText(QString::fromLatin1(debut));
        C<QLineEdit>("Msk_Date_Fin")->setText(QString::fromLatin1(fin));
    }
};

QString Entete_3() { return Tab_Parametres_Modules[2].Entete; }

// The list lines of module 3's journal, newest first.
const QStringList Lignes_Module_3 = {
    "06/03/2027 18:40:00   Voie 5    Voie 5         Alarme haute disparue           ...                  ",
    "06/03/2027 07:05:00   Voie 12   Atelier        Défaut acquitté                 Garcia               ",
    "05/03/2027 23:59:00   Voie 12   Atelier        Défaut non acquitté             ...                  ",
    "03/03/2027 14:30:00   Voie 3    Congelateur    Plus d'alarme                   ...                  ",
    "02/03/2027            Voie 3    Congelateur    Alarme basse non acquittée      ...                  ",
    "01/03/2027 09:00:00   Voie 2    Chambre 2      Alarme haute acquittée          Martin               ",
    "01/03/2027 08:15:00   Voie 2    Chambre 2      Alarme haute non acquittée      ...                  ",
};

}  // namespace

TEST_F(Ecran_Journal, OuvertureChoisitLeModuleCourant) {
    frm_Journal_Alarme_Forme* j = banc.Ouvrir_Ecran_Journal(3);
    ASSERT_NE(j, nullptr);
    EXPECT_TRUE(j->isVisible());
    EXPECT_EQ(banc.Tableau()->Lbl_Nom_Menu(), QStringLiteral("Journal des alarmes"));
    auto* modules = C<QComboBox>("Cmb_Choix_Ostrelclim");
    ASSERT_EQ(modules->count(), 3);
    EXPECT_EQ(modules->itemText(0), Tab_Parametres_Modules[0].Entete);
    EXPECT_EQ(modules->itemText(1), Entete_3());
    EXPECT_EQ(modules->itemText(2), Tab_Parametres_Modules[6].Entete);
    EXPECT_EQ(modules->currentIndex(), 1);
    EXPECT_EQ(C<QGroupBox>("Frame_Menu")->title(), QStringLiteral("Module connecté, 7 évènements"));
    auto* voies = C<QComboBox>("Cmb_Choix_Num_Voie");
    ASSERT_EQ(voies->count(), 17);
    EXPECT_EQ(voies->itemText(0), QStringLiteral("Toutes les voies"));
    EXPECT_EQ(voies->itemText(2), QStringLiteral("Chambre 2   "));  // the name as received, spaces kept
    EXPECT_EQ(voies->itemText(5), QStringLiteral("Voie 5"));        // a name of 12 blanks
    EXPECT_EQ(voies->currentIndex(), 0);
    EXPECT_EQ(j->Mode_Journal, frm_Journal_Alarme_Forme::Journal_Complet);
    EXPECT_TRUE(C<QRadioButton>("Opt_Journal_Complet")->isChecked());
    EXPECT_FALSE(C("Msk_Date_Debut")->isVisibleTo(j));
    for (const char* cache : {"List_Alarmes", "Cmd_Acquitter", "Cmd_Purger", "Cmd_Quitter", "Cmd_Exporter",
                              "Cmd_Imprimer", "Frame_Code_Acce", "Lbl_Intitule_Fenetre", "Shape_Controle"})
        EXPECT_FALSE(C(cache)->isVisibleTo(j)) << cache;
    EXPECT_TRUE(C("Cmd_OK")->isVisibleTo(j));
    EXPECT_EQ(C<QLineEdit>("Msk_Date_Debut")->inputMask(), QStringLiteral("99/99/9999"));
    EXPECT_EQ(C<QLineEdit>("Msk_Date_Debut")->text(), QStringLiteral("06/03/2027"));
    EXPECT_EQ(C<QLineEdit>("Msk_Date_Fin")->text(), QStringLiteral("08/03/2027"));
    std::vector<int> attendu{0x14, 0x07};
    attendu.insert(attendu.end(), 16, 0x12);
    EXPECT_EQ(banc.Codes(), attendu);
    EXPECT_FALSE(banc.Tableau()->Progression_Visible());
    EXPECT_EQ(banc.Tableau()->module_souligne_, 3);

    // Module 1 has 8 channels.
    modules->setCurrentIndex(0);
    EXPECT_EQ(Num_Module, 1);
    EXPECT_EQ(voies->count(), 9);
    EXPECT_EQ(Nb_Voies_Module[0], 8);
    EXPECT_EQ(C<QGroupBox>("Frame_Menu")->title(), QStringLiteral("Module connecté, 12 évènements"));

    // The sources show and hide the date boxes and the channel list.
    QTest::mouseClick(C("Opt_Journal_Date"), Qt::LeftButton);
    EXPECT_EQ(j->Mode_Journal, frm_Journal_Alarme_Forme::Journal_Date);
    EXPECT_TRUE(C("Msk_Date_Fin")->isVisibleTo(j));
    EXPECT_TRUE(C("Lbl_Du")->isVisibleTo(j));
    QTest::mouseClick(C("Opt_Journal_Fichier"), Qt::LeftButton);
    EXPECT_EQ(j->Mode_Journal, frm_Journal_Alarme_Forme::Journal_Fichier);
    EXPECT_FALSE(C("Msk_Date_Fin")->isVisibleTo(j));
    EXPECT_FALSE(Actif("Cmb_Choix_Num_Voie"));

    // Q leads back to the consultation menu, even from a date box.
    QTest::keyRelease(C<QLineEdit>("Msk_Date_Debut"), Qt::Key_Q);
    EXPECT_FALSE(banc.registre.Est_Chargee("frm_Journal_Alarme"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
}

TEST_F(Ecran_Journal, JournalCompletDuModule) {
    frm_Journal_Alarme_Forme* j = banc.Ouvrir_Ecran_Journal(3);
    banc.bus.Effacer_Trames();
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Lignes_Liste(), Lignes_Module_3);
    EXPECT_EQ(banc.Codes(), (std::vector<int>{0x15, 0x15, 0x15, 0x15, 0x07, 0x14, 0x10}));
    EXPECT_EQ(banc.Mots(0x15), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(banc.Mots(0x10), std::vector<int>{255});
    EXPECT_EQ(C<QLabel>("Lbl_Intitule_Fenetre")->text(), Entete_3() + " - Toutes les voies");
    for (const char* montre : {"List_Alarmes", "Cmd_Acquitter", "Cmd_Purger", "Cmd_Quitter", "Cmd_Exporter",
                               "Cmd_Imprimer", "Lbl_Intitule_Fenetre", "Shape_Controle", "Frame_Menu"}) {
        EXPECT_TRUE(C(montre)->isVisibleTo(j)) << montre;
        EXPECT_TRUE(Actif(montre)) << montre;
    }
    EXPECT_FALSE(C("Frame_Code_Acce")->isVisibleTo(j));
    EXPECT_FALSE(banc.Tableau()->Progression_Visible());
    EXPECT_TRUE(banc.boites.Messages.empty());
    // The table keeps the module's codes; the names listed carry their blanks.
    EXPECT_EQ(Donnees_Reponse.Nb_Evenements, 7);
    ASSERT_EQ(Tab_Journal.size(), 8u);
    EXPECT_EQ(Tab_Journal[3].Etat, 5);
    EXPECT_EQ(Tab_Journal[0].Nom_Voie, QStringLiteral("Chambre 2     "));
    EXPECT_EQ(j->Noms_Operateurs[0], QStringLiteral("...                  "));
    EXPECT_EQ(j->Noms_Operateurs[1], QStringLiteral("Dupont      "));
    EXPECT_EQ(j->Noms_Operateurs[2], QStringLiteral("Martin               "));

    // A journal of more than one page: module 7's twelve entries come in two.
    banc.bus.Effacer_Trames();
    C<QComboBox>("Cmb_Choix_Ostrelclim")->setCurrentIndex(2);
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Lignes_Liste().size(), 12);
    EXPECT_EQ(banc.Mots(0x10), (std::vector<int>{255, 0xFFFF}));
    EXPECT_TRUE(banc.Lignes_Liste()[0].contains(QStringLiteral("Défaut non acquitté")));
    EXPECT_TRUE(banc.Lignes_Liste()[1].contains(QStringLiteral("Alarme haute non acquittée")));
}

TEST_F(Ecran_Journal, FiltreSurUneVoie) {
    banc.Ouvrir_Ecran_Journal(3);
    C<QComboBox>("Cmb_Choix_Num_Voie")->setCurrentIndex(3);
    banc.bus.Effacer_Trames();
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Lignes_Liste(), (QStringList{Lignes_Module_3[3], Lignes_Module_3[4]}));
    EXPECT_EQ(banc.Mots(0x10), std::vector<int>{3});
    EXPECT_EQ(C<QLabel>("Lbl_Intitule_Fenetre")->text(), Entete_3() + " - Congelateur ");
    EXPECT_FALSE(Actif("Cmd_Purger"));  // the purge only with the whole journal of all channels
    EXPECT_TRUE(Actif("Cmd_Acquitter"));
    EXPECT_TRUE(Actif("Cmd_Exporter"));

    // Back to all channels: the whole journal, and "Purger" stays disabled.
    C<QComboBox>("Cmb_Choix_Num_Voie")->setCurrentIndex(0);
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Lignes_Liste(), Lignes_Module_3);
    EXPECT_FALSE(Actif("Cmd_Purger"));

    // A channel without entries.
    C<QComboBox>("Cmb_Choix_Num_Voie")->setCurrentIndex(9);
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Lignes_Liste(), QStringList{"Journal vide"});

    // An entry of the module as a whole (channel 0) is named after all its channels.
    banc.bus.Avec_Etat([](sim::Etat_Bus& e) {
        e.modules[3].journal.push_back({sim::Horodatage{2027, 3, 7, 8, 0}, 2, 0, 0});
        return 0;
    });
    C<QComboBox>("Cmb_Choix_Num_Voie")->setCurrentIndex(0);
    Cliquer("Cmd_OK");
    ASSERT_EQ(Tab_Journal.size(), 9u);
    EXPECT_EQ(Tab_Journal[7].Nom_Voie, QStringLiteral("Toutes les voies"));
    EXPECT_TRUE(banc.Lignes_Liste().value(0).contains(QStringLiteral("Toutes les voies")));
}

TEST_F(Ecran_Journal, JournalDeDateADate) {
    frm_Journal_Alarme_Forme* j = banc.Ouvrir_Ecran_Journal(3);
    QTest::mouseClick(C("Opt_Journal_Date"), Qt::LeftButton);

    // Boxes that hold no date, then a start after the end: nothing is asked of the module.
    for (const char* faux : {"31/02/2027", "12/0"}) {
        Dates("02/03/2027", faux);
        banc.bus.Effacer_Trames();
        Cliquer("Cmd_OK");
        EXPECT_EQ(banc.Boites_Vues(), std::vector<QString>{"Saisie incorrect"}) << faux;
        EXPECT_EQ(banc.Codes(), (std::vector<int>{0x15, 0x15, 0x15, 0x15}));
        EXPECT_FALSE(C("List_Alarmes")->isVisibleTo(j));
    }
    EXPECT_EQ(banc.boites.Messages.size(), 0u);
    Dates("05/03/2027", "02/03/2027");
    Cliquer("Cmd_OK");
    ASSERT_EQ(banc.boites.Messages.size(), 1u);
    EXPECT_EQ(banc.boites.Messages[0].Texte, QStringLiteral("La date de fin est supérieure à la date de début"));
    EXPECT_EQ(banc.boites.Messages[0].Style, vbExclamation);
    banc.boites.Effacer();

    Dates("02/03/2027", "05/03/2027");
    banc.bus.Effacer_Trames();
    Cliquer("Cmd_OK");
    EXPECT_TRUE(banc.boites.Messages.empty());
    EXPECT_EQ(banc.Codes(), (std::vector<int>{0x15, 0x15, 0x15, 0x15, 0x07, 0x0D, 0x14, 0x11}));
    const QByteArray fenetre = banc.Requetes()[5];
    EXPECT_EQ(fenetre.mid(fenetre.size() - 8, 6), QByteArray("\x02\x03\x1B\x05\x03\x1B"));
    EXPECT_EQ(banc.Lignes_Liste(), (QStringList{Lignes_Module_3[2], Lignes_Module_3[3], Lignes_Module_3[4]}));
    EXPECT_FALSE(Actif("Cmd_Acquitter"));
    EXPECT_FALSE(Actif("Cmd_Purger"));
    EXPECT_TRUE(Actif("Cmd_Exporter"));
    EXPECT_TRUE(Actif("Cmd_Imprimer"));

    // The same day at both ends.
    Dates("06/03/2027", "06/03/2027");
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Lignes_Liste(), (QStringList{Lignes_Module_3[0], Lignes_Module_3[1]}));
}

TEST_F(Ecran_Journal, ModuleQuiNeRepondPasAuChoix) {
    // Module 7 does not give its event count: the file source only, no message.
    banc.Ouvrir_Ecran_Journal(3);
    banc.bus.Programmer_Defauts(0x14, {}, sim::Defaut(sim::Defaut::Exception, 4));
    C<QComboBox>("Cmb_Choix_Ostrelclim")->setCurrentIndex(2);
    frm_Journal_Alarme_Forme* j = banc.Journal();
    ASSERT_NE(j, nullptr);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(banc.boites.Messages.empty());
    EXPECT_EQ(C<QGroupBox>("Frame_Menu")->title(), QStringLiteral("Module non connecté"));
    EXPECT_TRUE(C<QRadioButton>("Opt_Journal_Fichier")->isChecked());
    EXPECT_EQ(j->Mode_Journal, frm_Journal_Alarme_Forme::Journal_Fichier);
    for (const char* inactif : {"Opt_Journal_Complet", "Opt_Journal_Date", "Cmb_Choix_Num_Voie"})
        EXPECT_FALSE(Actif(inactif)) << inactif;
    EXPECT_FALSE(banc.Tableau()->Progression_Visible());

}

TEST_F(Ecran_Journal, ModuleMuetALOuvertureLaisseLeFichier) {
    banc.bus.Programmer_Defauts(0x14, {}, sim::Defaut(sim::Defaut::Exception, 4));
    frm_Journal_Alarme_Forme* j = banc.Ouvrir_Ecran_Journal(3);
    ASSERT_NE(j, nullptr);
    EXPECT_TRUE(j->isVisible());
    EXPECT_EQ(j->Mode_Journal, frm_Journal_Alarme_Forme::Journal_Fichier);
    EXPECT_TRUE(C<QRadioButton>("Opt_Journal_Fichier")->isChecked());
    EXPECT_FALSE(C<QRadioButton>("Opt_Journal_Complet")->isChecked());
    EXPECT_FALSE(Actif("Cmb_Choix_Num_Voie"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Journal des alarmes"));
}

TEST_F(Ecran_Journal, ModuleQuiNeRepondPasALOuverture) {
    // Its status not read at the opening: the link-problem screen, and no journal screen left behind.
    banc.bus.Programmer_Defauts(0x07, {}, sim::Defaut(sim::Defaut::Exception, 4));
    banc.Ouvrir_Ecran_Journal(3);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(banc.registre.Est_Chargee("frm_Journal_Alarme"));
    EXPECT_TRUE(banc.registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_EQ(banc.Codes().back(), 0x07);
    EXPECT_TRUE(banc.boites.Messages.empty());
}

TEST_F(Ecran_Journal, ErreurDeLiaisonAuChargement) {
    // The download fails: "Problèmes Liaison", and nothing more is sent.
    banc.Ouvrir_Ecran_Journal(3);
    banc.bus.Programmer_Defauts(0x10, {}, sim::Defaut(sim::Defaut::Exception, 4));
    banc.bus.Effacer_Trames();
    Cliquer("Cmd_OK");
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(banc.registre.Est_Chargee("frm_Journal_Alarme"));
    EXPECT_EQ(banc.Codes().back(), 0x10);
    EXPECT_EQ(std::ranges::count(banc.Codes_Envoyes(), 0x10), 6);  // the first attempt and its five retries
    EXPECT_TRUE(banc.boites.Messages.empty());
    banc.bus.Effacer_Defauts();

    // An operator name not read: its message, then the link-problem screen; no other request.
    Code_Erreur = 0;
    banc.Ouvrir_Ecran_Journal(3);
    banc.bus.Programmer_Defauts(0x15, {sim::Defaut()}, sim::Defaut(sim::Defaut::Exception, 4));
    banc.bus.Effacer_Trames();
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Boites_Vues(), std::vector<QString>{"Le Module d'adresse 3 est introuvable"});
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    for (int code : banc.Codes()) EXPECT_EQ(code, 0x15);
}

class Ecran_Journal_Sans_Module : public Ecran_Journal {
protected:
    int Reponse_Question() const override { return vbNo; }
};

TEST_F(Ecran_Journal_Sans_Module, SourceFichierSeulement) {
    ASSERT_EQ(banc.Tableau()->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    frm_Journal_Alarme_Forme* j = banc.Ouvrir_Ecran_Journal(1);
    ASSERT_NE(j, nullptr);
    EXPECT_TRUE(j->isVisible());
    EXPECT_TRUE(banc.bus.Trames_Recues().empty());
    EXPECT_EQ(C<QGroupBox>("Frame_Menu")->title(), QStringLiteral("Module non connecté"));
    EXPECT_EQ(j->Mode_Journal, frm_Journal_Alarme_Forme::Journal_Fichier);
    EXPECT_TRUE(C<QRadioButton>("Opt_Journal_Fichier")->isChecked());
    EXPECT_FALSE(Actif("Opt_Journal_Complet"));
    EXPECT_FALSE(Actif("Opt_Journal_Date"));
    EXPECT_FALSE(Actif("Cmb_Choix_Num_Voie"));

    // A journal file still reads; with no module read, operator 0 has no name.
    banc.Ecrire("a.txt", Vers_Cp1252("Serre\r\nx\r\nA\r\nB\r\nC\r\nD\r\nx\r\n"
                                     "02/03/2027 10:00:00,4,Quai,Défaut disparu,0\r\n"));
    banc.boites.Fichiers = {banc.Chemin("a.txt")};
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Lignes_Liste(), QStringList{QStringLiteral("02/03/2027 10:00:00   Voie 4    Quai           ") +
                                               QStringLiteral("Défaut disparu").leftJustified(31) + QString(22, ' ')});
    EXPECT_EQ(C<QLabel>("Lbl_Intitule_Fenetre")->text(), QStringLiteral("Serre"));
    EXPECT_FALSE(Actif("Cmd_Exporter"));
    EXPECT_FALSE(Actif("Cmd_Acquitter"));
    EXPECT_FALSE(Actif("Cmd_Purger"));
    EXPECT_TRUE(Actif("Cmd_Imprimer"));
}

TEST_F(Ecran_Journal, JournalPlusLongQueLaListeGardeLesPlusRecents) {
    // Nine entries more than the list keeps: nine of 2020 the oldest, module 3's seven the newest.
    banc.bus.Avec_Etat([](sim::Etat_Bus& e) {
        std::vector<sim::Evenement> tout(9, {sim::Horodatage{2020, 1, 1, 0, 0}, 1, 0, 1});
        tout.resize(Nb_Max_Entrees_Journal + 2, {sim::Horodatage{2026, 1, 1, 0, 0}, 3, 0, 2});
        e.modules[3].journal.insert(e.modules[3].journal.begin(), tout.begin(), tout.end());
    });
    banc.Ouvrir_Ecran_Journal(3);
    EXPECT_EQ(C<QGroupBox>("Frame_Menu")->title(), QStringLiteral("Module connecté, 200009 évènements"));
    // 22,224 pages: the link's pauses scaled to nothing, its waits for a
    // reply's bytes at the port's fastest rate, its time-outs the program's own.
    Definir_Echelle_Temps(1e-4);
    ostrel_test::Delais_Reels();
    ASSERT_TRUE(Ecran_Communication().Ostrel.Settings(QStringLiteral("115200,n,8,1")));
    Cliquer("Cmd_OK");
    EXPECT_EQ(banc.Boites_Vues(), std::vector<QString>{"La mémoire du journal est pleine : seuls les 200000 évènements "
                                                       "les plus récents sur les 200009 envoyés par le module sont "
                                                       "gardés, les plus anciens ne seront pas affichés."});
    const QStringList lignes = banc.Lignes_Liste();
    ASSERT_EQ(lignes.size(), Nb_Max_Entrees_Journal);
    EXPECT_EQ(lignes.mid(0, 7), Lignes_Module_3);
    EXPECT_TRUE(lignes.back().startsWith(QStringLiteral("01/01/2026")));

    // Erasing the module loses the nine: the warning says so; Return, and Space on the focused button, do not erase.
    Cliquer("Cmd_Purger");
    QTest::keyClicks(C<QLineEdit>("Txt_Code_Acce"), QStringLiteral("4003"));
    ASSERT_NE(banc.Purger(), nullptr);
    EXPECT_EQ(C<QLabel>("Lbl_Texte")->text(),
              "Attention ! Le journal des alarmes va être effacé de la mémoire du Module : " + Entete_3() +
                  "\nLes 9 évènements les plus anciens du Module ne sont pas dans la liste : ils seront perdus.");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(banc.registre.Est_Chargee("Frm_Purger"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    Traiter_Evenements();
    EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));
    EXPECT_EQ(banc.bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[3].purges_journal; }), 0);
}
