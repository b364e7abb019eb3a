// The recordings menu: its opening, the choice of module and source, the
// downloads from the simulated bus and the reading of a file, and every way
// they can fail.
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "banc_enregistrements.h"
#include "platform/ui/minuterie.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

class Menu_Enreg : public Banc_Enregistrements {
protected:
    // Module 1 of 8 channels and module 2 of 16, with a few recorded points.
    void Configurer_Bus() {
        bus.Configurer({1, 2}, 16);
        bus.Avec_Etat([](sim::Etat_Bus& e) {
            e.modules[1].nb_voies = 8;
            auto& v1 = e.modules[1].voies;
            for (int k = 0; k < 5; ++k) v1[0].enregistrements.push_back(Point_Sim(7 + k, 10, 0, static_cast<Entier>(100 + k)));
            v1[1].enregistrements.push_back(Point_Sim(9, 23, 59, -55, true));
            v1[1].enregistrements.push_back(Point_Sim(12, 0, 0, 20));
            auto& v2 = e.modules[2].voies;
            for (int k = 0; k < 20; ++k) v2[0].enregistrements.push_back(Point_Sim(9, k, 0, static_cast<Entier>(200 + k), k == 5));
            for (int k = 0; k < 9; ++k) v2[2].enregistrements.push_back(Point_Sim(9, k, 30, static_cast<Entier>(-10 * k)));
            v2[15].enregistrements = {Point_Sim(9, 1, 0, 32767), Point_Sim(9, 2, 0, 32766), Point_Sim(9, 3, 0, 15000)};
        });
    }
    QStringList Textes() const {
        QStringList t;
        for (const QString& s : boites.Textes()) t << s;
        return t;
    }
};

TEST_F(Menu_Enreg, SansModuleSeulLeFichierEstPropose) {
    ASSERT_NE(Demarrer(false), nullptr);
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Tableau()->Lbl_Nom_Menu(), QStringLiteral("Menu Enregistrements"));
    EXPECT_EQ(menu->Frame_Fenetre->title(), QStringLiteral("Téléchargement"));
    EXPECT_EQ(menu->Cmb_Choix_Ostrelclim->count(), 1);
    EXPECT_EQ(menu->Cmb_Choix_Ostrelclim->currentIndex(), -1);
    EXPECT_FALSE(menu->Opt_All_Enreg->isEnabled());
    EXPECT_FALSE(menu->Opt_Lecture_OC->isEnabled());
    EXPECT_TRUE(menu->Opt_Lecture_Fichier->isEnabled());
    EXPECT_TRUE(menu->Opt_Lecture_Fichier->isChecked());
    EXPECT_TRUE(menu->Msk_Date_Debut->isHidden());
    EXPECT_TRUE(menu->Lbl_Au->isHidden());
    EXPECT_FALSE(menu->Timer1->Enabled());
    EXPECT_EQ(menu->Timer1->Interval(), 1);  // the viewer opens as soon as the load is over
    // This week, from Monday to tomorrow, without time.
    EXPECT_EQ(menu->Msk_Date_Debut->text(), QStringLiteral("08/03/2027"));
    EXPECT_EQ(menu->Msk_Date_Fin->text(), QStringLiteral("11/03/2027"));
    EXPECT_EQ(Donnees_Reponse.Date_Debut, DateSerial(2027, 3, 8));
    EXPECT_EQ(Donnees_Reponse.Date_Fin, DateSerial(2027, 3, 11));
    EXPECT_EQ(Couleur_Fond(menu->Cmb_Choix_Ostrelclim), Couleur_Cadre);
    EXPECT_EQ(menu->geometry(), QRect(0, 82, 1280, 1024 - 82 - 102));

    // The date boxes come and go with their source.
    menu->Opt_Lecture_OC->setEnabled(true);
    menu->Opt_Lecture_OC->setChecked(true);
    EXPECT_FALSE(menu->Msk_Date_Debut->isHidden());
    EXPECT_FALSE(menu->Lbl_Du->isHidden());
    menu->Opt_Lecture_Fichier->setChecked(true);
    EXPECT_TRUE(menu->Msk_Date_Fin->isHidden());
    EXPECT_EQ(menu->Msk_Date_Fin->text(), QStringLiteral("11/03/2027"));

    // Retour, and the keys that leave.
    QTest::keyRelease(menu->Cmb_Choix_Ostrelclim, Qt::Key_Escape);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Menu_Enreg"));
    menu = Ouvrir_Menu();
    QTest::keyRelease(menu->Cmd_OK, Qt::Key_Q);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
    menu = Ouvrir_Menu();
    menu->Cmd_Annuler->click();
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
}

TEST_F(Menu_Enreg, UnDimancheLaFenetreEstLeLundiQuiVient) {
    Definir_Horloge_Murale([] { return DateSerial(2027, 3, 14) + TimeSerial(8, 0, 0); });
    ASSERT_NE(Demarrer(false), nullptr);
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    EXPECT_EQ(menu->Msk_Date_Debut->text(), QStringLiteral("15/03/2027"));
    EXPECT_EQ(menu->Msk_Date_Fin->text(), QStringLiteral("15/03/2027"));
}

TEST_F(Menu_Enreg, ChoixDuModuleEtModuleCourantHorsService) {
    Configurer_Bus();
    Frm_Menu1_Forme* t = Demarrer(true);
    ASSERT_NE(t, nullptr);
    Num_Module = 5;  // not in service: the first module of the list becomes the current one
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    ASSERT_EQ(menu->Cmb_Choix_Ostrelclim->count(), 2);
    EXPECT_EQ(menu->Cmb_Choix_Ostrelclim->itemText(1).trimmed(), QStringLiteral("Module 2"));
    EXPECT_EQ(menu->Cmb_Choix_Ostrelclim->currentIndex(), 0);
    EXPECT_EQ(Num_Module, 1);
    EXPECT_TRUE(t->Lbl_OC(0)->font().underline());
    EXPECT_TRUE(menu->Opt_All_Enreg->isEnabled());
    menu->Cmb_Choix_Ostrelclim->setCurrentIndex(1);
    EXPECT_EQ(Num_Module, 2);
    EXPECT_FALSE(t->Lbl_OC(0)->font().underline());
    EXPECT_TRUE(t->Lbl_OC(1)->font().underline());
}

TEST_F(Menu_Enreg, TelechargementDeTousLesEnregistrements) {
    Configurer_Bus();
    Frm_Menu1_Forme* t = Demarrer(true);
    ASSERT_NE(t, nullptr);
    Num_Module = 2;
    Nom_Module = QStringLiteral("Module n°9");
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    menu->Opt_All_Enreg->setChecked(true);
    Espion_Captions captions(t->findChild<QLabel*>("Lbl_Caption_Pb"));
    t->historique_pb_.clear();
    bus.Effacer_Trames();

    menu->Cmd_OK_Click();
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_TRUE(menu->Timer1->Enabled());
    EXPECT_FALSE(menu->Cmd_OK->isEnabled());
    EXPECT_FALSE(menu->Cmb_Choix_Ostrelclim->isEnabled());
    EXPECT_TRUE(menu->Frame_Fenetre->isHidden());
    EXPECT_TRUE(t->Progression_Visible());

    QStringList attendues;
    for (int v = 1; v <= 16; ++v) attendues << QStringLiteral("Téléchargement des mesures voie n°%1").arg(v);
    attendues << QStringLiteral("Initialisation du graphe ...");
    EXPECT_EQ(captions.Captions.mid(captions.Captions.size() - attendues.size()), attendues);
    EXPECT_EQ(t->historique_pb_,
              (std::vector<int>{0, 6, 12, 19, 25, 31, 38, 44, 50, 56, 62, 69, 75, 81, 88, 94, 100}));

    // Slices channel after channel; empty channels end where the one before ends.
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{20, 20, 29, 29, 29, 29, 29, 29, 29, 29, 29, 29, 29, 29, 29, 32}));
    EXPECT_EQ(Nb_Elements_Telecharges, 32);
    EXPECT_EQ(Nb_Voies_Module[1], 16);
    EXPECT_EQ(Tab_Mesures[0].Num_Voie, 1);
    EXPECT_EQ(Tab_Mesures[0].Date_Heure, DateSerial(2027, 3, 9));
    EXPECT_FLOAT_EQ(Tab_Mesures[19].Valeur, 21.9f);
    EXPECT_EQ(Tab_Mesures[5].Alarme, Vrai);
    EXPECT_EQ(Tab_Mesures[6].Alarme, Faux);
    EXPECT_EQ(Tab_Mesures[20].Num_Voie, 3);
    EXPECT_FLOAT_EQ(Tab_Mesures[28].Valeur, -8.0f);
    EXPECT_EQ(Tab_Mesures[29].Num_Voie, 16);
    EXPECT_EQ(Tab_Mesures[29].Valeur, Valeur_Debut_Coupure);
    EXPECT_EQ(Tab_Mesures[30].Valeur, Valeur_Fin_Coupure);
    EXPECT_EQ(Tab_Mesures[31].Valeur, Valeur_Inhibee);
    EXPECT_EQ(Lecture_Tous_Enreg, Vrai);
    EXPECT_EQ(Donnees_Fichier, Faux);
    // The caption names the module downloaded.
    EXPECT_EQ(Nom_Module.trimmed(), QStringLiteral("Module 2"));
    // 20 points: three pages; 9: a full page and an empty one; no point: one request.
    EXPECT_EQ(bus.Nombre_Requetes(0x0E), 3 + 1 + 2 + 12 + 1);
    EXPECT_EQ(bus.Nombre_Requetes(0x0D), 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x0F), 0);

    // While the viewer is about to open, a key does not start a second load.
    QTest::keyRelease(menu->Cmd_OK, Qt::Key_Return);
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 1);

    boites.Reponses = {vbNo};  // no save
    menu->Timer1->Declencher();
    ostrel_test::Traiter_Evenements();
    EXPECT_FALSE(registre.Est_Chargee("Frm_Menu_Enreg"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Enregistrements"));
    ASSERT_NE(Visionneuse(), nullptr);
    EXPECT_TRUE(Visionneuse()->isVisible());
}

TEST_F(Menu_Enreg, TelechargementDeDateADate) {
    Configurer_Bus();
    Frm_Menu1_Forme* t = Demarrer(true);
    ASSERT_NE(t, nullptr);
    Num_Module = 1;
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    menu->Opt_Lecture_OC->setChecked(true);
    menu->Msk_Date_Debut->setText("09/03/2027");
    menu->Msk_Date_Fin->setText("10/03/2027");
    t->historique_pb_.clear();
    bus.Effacer_Trames();
    menu->Cmd_OK_Click();
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(menu->Timer1->Enabled());
    EXPECT_EQ(Donnees_Reponse.Date_Debut, DateSerial(2027, 3, 9));
    EXPECT_EQ(Donnees_Reponse.Date_Fin, DateSerial(2027, 3, 10));
    // The window reaches the module before the channels.
    const auto trames = bus.Trames_Recues();
    ASSERT_GE(trames.size(), 2u);
    EXPECT_EQ(trames[0].octets.left(4), QByteArray::fromHex("01030007"));
    EXPECT_EQ(trames[1].octets.left(13), QByteArray::fromHex("0110000D00FF06" "09031B" "0A031B"));
    EXPECT_EQ(bus.Nombre_Requetes(0x0F), 8);
    // Eight channels: eight end indexes, the progress in eighths.
    EXPECT_EQ(Nb_Voies_Module[0], 8);
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{2, 3, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(t->historique_pb_, (std::vector<int>{0, 12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_FLOAT_EQ(Tab_Mesures[0].Valeur, 10.2f);
    EXPECT_FLOAT_EQ(Tab_Mesures[2].Valeur, -5.5f);
    EXPECT_EQ(Tab_Mesures[2].Alarme, Vrai);
    EXPECT_EQ(Lecture_Tous_Enreg, Faux);
    EXPECT_EQ(Nom_Module.trimmed(), QStringLiteral("Module 1"));
}

TEST_F(Menu_Enreg, DatesRefuseesAvantToutEnvoi) {
    Configurer_Bus();
    ASSERT_NE(Demarrer(true), nullptr);
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    menu->Opt_Lecture_OC->setChecked(true);
    bus.Effacer_Trames();

    menu->Msk_Date_Debut->setText("12/0");
    menu->Cmd_OK_Click();
    menu->Msk_Date_Debut->setText("12/03/2027");
    menu->Msk_Date_Fin->setText("11/03/2027");
    menu->Cmd_OK_Click();
    EXPECT_EQ(Textes(), (QStringList{"Saisie incorrect", "La date de fin est supérieure à la date de début"}));
    EXPECT_EQ(boites.Messages[0].Style, vbExclamation);
    EXPECT_EQ(boites.Messages[1].Style, vbExclamation);
    EXPECT_TRUE(bus.Trames_Recues().empty());
    EXPECT_TRUE(menu->Cmd_OK->isEnabled());
    EXPECT_FALSE(menu->Frame_Fenetre->isHidden());
    EXPECT_FALSE(menu->Timer1->Enabled());
    // The readable box was taken all the same.
    EXPECT_EQ(Donnees_Reponse.Date_Debut, DateSerial(2027, 3, 12));

    // The same day at both ends is a window.
    menu->Msk_Date_Fin->setText("12/03/2027");
    QTest::keyRelease(menu->Msk_Date_Fin, Qt::Key_O);
    EXPECT_EQ(boites.Messages.size(), 2u);
    EXPECT_TRUE(menu->Timer1->Enabled());
    EXPECT_EQ(bus.Nombre_Requetes(0x0D), 1);
}

TEST_F(Menu_Enreg, ErreursDeLiaison) {
    Configurer_Bus();
    Frm_Menu1_Forme* t = Demarrer(true);
    ASSERT_NE(t, nullptr);
    Num_Module = 2;

    // The status request fails: nothing of the shared recordings changes.
    Index_Fin_Voie = {7};
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    menu->Opt_All_Enreg->setChecked(true);
    bus.Programmer_Defauts(0x07, {}, sim::Defaut(sim::Defaut::Exception, 4));
    menu->Cmd_OK_Click();
    EXPECT_NE(Code_Erreur, 0);
    EXPECT_EQ(Index_Fin_Voie, std::vector<Long>{7});
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Menu_Enreg"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Enreg"));
    EXPECT_EQ(bus.Nombre_Requetes(0x0E), 0);

    // Channel 3 fails: channels 1 and 2 are complete, the rest keep end index 0.
    Code_Erreur = 0;
    bus.Effacer_Defauts();
    menu = Ouvrir_Menu();
    menu->Opt_All_Enreg->setChecked(true);
    bus.Programmer_Defauts(0x0E, {sim::Defaut(), sim::Defaut(), sim::Defaut(), sim::Defaut()},
                           sim::Defaut(sim::Defaut::Exception, 4));
    menu->Cmd_OK_Click();
    EXPECT_NE(Code_Erreur, 0);
    EXPECT_EQ(Index_Fin_Voie[0], 20);
    EXPECT_EQ(Index_Fin_Voie[1], 20);
    for (size_t i = 2; i < 16; ++i) EXPECT_EQ(Index_Fin_Voie[i], 0);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_TRUE(t->Progression_Visible());
    EXPECT_FALSE(registre.Est_Chargee("Frm_Enreg"));
}

TEST_F(Menu_Enreg, LectureDUnFichier) {
    Frm_Menu1_Forme* t = Demarrer(false);
    ASSERT_NE(t, nullptr);
    const QString chemin = Fichier_Enregistrements("serre.txt", 4, {{{9, 10, 0, 12.5f}, {9, 11, 0, 13}}, {}, {{10, 8, 0, 3}}});
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();

    // Cancelled, or a name that does not end with ".txt": nothing at all.
    boites.Fichiers = {QString(), Chemin("OstrelSoft+/Sauvegardes/Sauvegardes_Donnees/serre.TXT")};
    menu->Cmd_OK_Click();
    menu->Cmd_OK_Click();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_TRUE(menu->Cmd_OK->isEnabled());
    ASSERT_EQ(boites.Dialogues.size(), 2u);
    const Dialogue_Fichier& d = boites.Dialogues[0];
    EXPECT_EQ(d.DialogTitle, QStringLiteral("Ouverture d'un fichier d'enregistrements de température"));
    EXPECT_EQ(d.Filter, QStringLiteral("(*.txt)|*.txt"));
    EXPECT_EQ(d.DefaultExt, QStringLiteral(".txt"));
    EXPECT_EQ(d.InitDir, QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Sauvegardes_Donnees"));
    EXPECT_TRUE(d.FileName.isEmpty());

    // A name that is not there.
    boites.Fichiers = {Chemin("OstrelSoft+/absent.txt")};
    menu->Cmd_OK_Click();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Nom de fichier introuvable"});
    EXPECT_EQ(boites.Messages[0].Style, vbExclamation);
    EXPECT_TRUE(menu->Cmd_OK->isEnabled());

    // The file: its points, channel count and window, then the viewer.
    boites.Effacer();
    boites.Fichiers = {chemin};
    menu->Cmd_OK_Click();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_TRUE(menu->Timer1->Enabled());
    EXPECT_EQ(Donnees_Fichier, Vrai);
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{2, 2, 3, 3}));
    EXPECT_EQ(Nb_Voies_Module[Num_Module - 1], 4);
    EXPECT_EQ(Donnees_Reponse.Date_Debut, DateSerial(2027, 3, 9) + TimeSerial(10, 0, 0));
    EXPECT_EQ(Donnees_Reponse.Date_Fin, DateSerial(2027, 3, 10) + TimeSerial(8, 0, 0));
    EXPECT_EQ(Nom_Module, QStringLiteral("Module n°1"));
    EXPECT_EQ(t->Caption_Pb(), QStringLiteral("Initialisation du graphe"));
    EXPECT_FALSE(t->Lbl_OC(0)->font().underline());
    menu->Timer1->Declencher();
    ostrel_test::Traiter_Evenements();
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Enregistrements"));
    EXPECT_TRUE(boites.Messages.empty());  // file data: no save question
}

TEST_F(Menu_Enreg, FichierIllisible) {
    ASSERT_NE(Demarrer(false), nullptr);

    // A head that cannot be read: nothing to show, the menu is offered again.
    const QString tete = Chemin("OstrelSoft+/Sauvegardes/Sauvegardes_Donnees/tete.txt");
    Ecrire(tete, "*\r\n 1 \r\n*\r\nquinze\r\n");
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    boites.Fichiers = {tete};
    menu->Cmd_OK_Click();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Fichier incorrect!"});
    EXPECT_FALSE(menu->Timer1->Enabled());
    EXPECT_TRUE(menu->Cmd_OK->isEnabled());
    EXPECT_FALSE(menu->Frame_Fenetre->isHidden());
    EXPECT_FALSE(Tableau()->Progression_Visible());
}

// A named pipe chosen as the file: refused at once as a file that cannot be
// read, nothing waiting for a writer.
TEST_F(Menu_Enreg, UnTubeNommeEstRefuseSansAttendre) {
    ASSERT_NE(Demarrer(false), nullptr);
    const QString tube = Chemin("OstrelSoft+/Sauvegardes/Sauvegardes_Donnees/tube.txt");
    ostrel_test::Tube_Garde garde(tube);
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    boites.Fichiers = {tube};
    menu->Cmd_OK_Click();
    EXPECT_EQ(garde.Lachers(), 0) << "the screen waited for the pipe's writer";
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Fichier incorrect!"});
    EXPECT_FALSE(menu->Timer1->Enabled());
    EXPECT_TRUE(menu->Cmd_OK->isEnabled());
}

// A file refused at its third point: the screen stays as it was, with the
// dashboard's module mark and the recordings already in memory, and the
// viewer does not open.
TEST_F(Menu_Enreg, FichierRefuseAUnPointRienNeChange) {
    Configurer_Bus();
    Frm_Menu1_Forme* t = Demarrer(true);
    ASSERT_NE(t, nullptr);
    const QString chemin = Fichier_Enregistrements("bon.txt", 2, {{{9, 10, 0, 1}, {9, 11, 0, 2}, {9, 12, 0, 3}}, {{9, 10, 0, 4}}});
    QByteArray contenu = Lire(chemin);
    contenu.replace("0903271200", "0903271299");
    Ecrire(chemin, contenu);
    Frm_Menu_Enreg_Forme* menu = Ouvrir_Menu();
    ASSERT_TRUE(t->Lbl_OC(0)->font().underline());
    // What a download of module 1 left.
    Index_Fin_Voie = {1, 1, 2, 2, 2, 2, 2, 2};
    Tab_Mesures[0].Valeur = 21.5f;
    Tab_Mesures[1].Valeur = -3;
    Nom_Module = QStringLiteral("Module 1");
    Nb_Voies_Module[0] = 8;
    Donnees_Reponse.Date_Debut = DateSerial(2027, 3, 1);
    Donnees_Reponse.Date_Fin = DateSerial(2027, 3, 2);
    Donnees_Reponse.Entete_Module = QStringLiteral("Chambre froide");
    Tab_Parametres_Voies[0].Seuil_Haut = 8;

    boites.Fichiers = {chemin};
    menu->Cmd_OK_Click();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Fichier incorrect!"});
    EXPECT_FALSE(menu->Timer1->Enabled());
    EXPECT_TRUE(menu->Cmd_OK->isEnabled());
    EXPECT_FALSE(menu->Frame_Fenetre->isHidden());
    EXPECT_FALSE(t->Progression_Visible());
    EXPECT_TRUE(t->Lbl_OC(0)->font().underline());
    EXPECT_EQ(Index_Fin_Voie, (std::vector<Long>{1, 1, 2, 2, 2, 2, 2, 2}));
    EXPECT_FLOAT_EQ(Tab_Mesures[0].Valeur, 21.5f);
    EXPECT_FLOAT_EQ(Tab_Mesures[1].Valeur, -3);
    EXPECT_EQ(Nom_Module, QStringLiteral("Module 1"));
    EXPECT_EQ(Nb_Voies_Module[0], 8);
    EXPECT_EQ(Donnees_Fichier, Faux);
    EXPECT_EQ(Donnees_Reponse.Date_Debut, DateSerial(2027, 3, 1));
    EXPECT_EQ(Donnees_Reponse.Date_Fin, DateSerial(2027, 3, 2));
    EXPECT_EQ(Donnees_Reponse.Entete_Module, QStringLiteral("Chambre froide"));
    EXPECT_EQ(Tab_Parametres_Voies[0].Seuil_Haut, 8);
    ostrel_test::Traiter_Evenements();
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Menu Enregistrements"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Enreg"));
}

}  // namespace
