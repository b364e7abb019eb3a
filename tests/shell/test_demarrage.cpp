#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "commun/programme_essai.h"
#include "files/options_logiciel.h"
#include "link/donnees.h"
#include "link/liaison.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "platform/ui/registre_formes.h"
#include "shell/demarrage.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_menu1.h"
#include "sim/simulateur.h"
#include "platform/horloge.h"

using namespace ostrel;
using ostrel_test::Traiter_Evenements;

namespace {

const QString Question = ostrel_test::Question_Connexion;
const QString Manquant = QStringLiteral("Un fichier est manquant, réinstaller l'application !");

class Demarrage : public ::testing::Test, protected ostrel_test::Programme_Essai<> {
protected:
    void SetUp() override {
        ostrel_test::Application();
        // No serial port by default: the tests that need the bus start the simulator.
        Installer();
        Ligne_Reservee_Options.clear();
        Definir_Horloge_Murale([] { return DateSerial(2027, 3, 7) + TimeSerial(9, 5, 3); });
    }
    void TearDown() override { Arreter(); }

    Frm_Menu1_Forme* Demarrer(int reponse, QSize taille = {1280, 1024}) { return Demarrer_Tableau(reponse, taille); }

    template <class T = QWidget> T* Controle(const char* nom) const {
        return Tableau() ? Tableau()->findChild<T*>(QString::fromLatin1(nom)) : nullptr;
    }

    void Ecrire(const QString& relatif, const QByteArray& contenu) const { ASSERT_TRUE(disque.Ecrire(relatif, contenu)); }
    QByteArray Lire(const QString& relatif) const { return disque.Lire(relatif); }
    QStringList Trace() const { return disque.Lignes("Windows/setupm.snf"); }
};

}  // namespace

TEST_F(Demarrage, SansFichierDOptionsEtReponseNon) {
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Manquant, Manquant, Question}));
    EXPECT_EQ(boites.Messages[2].Style, vbYesNo);
    EXPECT_EQ(boites.Messages[2].Titre, Titre_Application);

    EXPECT_EQ(Chemin_Fichier_Version, QStringLiteral("c:\\OstrelSoft+\\ver.dva"));
    EXPECT_EQ(t->Lbl_Nom_Logiciel(), QStringLiteral("OstrelSoft+ 1.14VSA"));
    EXPECT_EQ(Nom_Logiciel, QStringLiteral("OstrelSoft+"));
    EXPECT_EQ(Prefixe_Module, QStringLiteral("MD"));
    EXPECT_EQ(Repertoire_Application, QStringLiteral("c:\\OstrelSoft+"));
    EXPECT_EQ(Repertoire_Sauvegardes_Donnees, QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Sauvegardes_Donnees"));
    EXPECT_EQ(Repertoire_Sauvegardes_Alarmes, QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Sauvegardes_Alarmes"));
    EXPECT_EQ(Repertoire_Parametrage_Voies, QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Parametrage_voies"));
    EXPECT_EQ(Repertoire_Parametrage_Modules, QStringLiteral("c:\\OstrelSoft+\\Sauvegardes\\Parametrage_Ostrel"));
    // The backup folders are made, so that each file dialog opens in its own.
    for (const char* dossier : {"Sauvegardes_Donnees", "Sauvegardes_Alarmes", "Parametrage_voies", "Parametrage_Ostrel"})
        EXPECT_TRUE(QDir(disque.filePath(QStringLiteral("OstrelSoft+/Sauvegardes/") + dossier)).exists()) << dossier;
    EXPECT_EQ(Fichier_Mouchard, disque.filePath("Windows/setupm.snf"));
    EXPECT_EQ(Num_Module, 1);
    for (Octet n : Nb_Voies_Module) EXPECT_EQ(n, 16);
    EXPECT_EQ(Police_Options, QStringLiteral("Arial"));  // the default set, no file having given another

    // No: no request, one red button, the home screen, not the link-problem screen.
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(t->Module_Connecte, Faux);
    ASSERT_EQ(t->Nb_Lbl_OC(), 1);
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(0)), Couleur_Rouge);
    EXPECT_TRUE(registre.Est_Chargee("Frm_Accueil"));
    EXPECT_TRUE(registre.Instance("Frm_Accueil")->isVisible());
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Accueil"));
    EXPECT_TRUE(Ecran_Courant.isEmpty());
    // The progress bar of the search stays shown, behind the home screen.
    EXPECT_TRUE(t->Progression_Visible());
    EXPECT_EQ(t->Caption_Pb(), QStringLiteral("Recherche du Module 1"));
    EXPECT_TRUE(t->Tmr_Date()->Enabled());
    EXPECT_EQ(t->Tmr_Date()->Interval(), 3000);

    EXPECT_EQ(Trace(), QStringList{"07/03/2027 09:05:03 OstrelSoft+ 1.14VSA ----> Début"});
}

TEST_F(Demarrage, UnDossierDeSauvegardeImpossibleEstTraceSansArreterLeDemarrage) {
    Ecrire("OstrelSoft+/Sauvegardes/Sauvegardes_Alarmes", "un fichier à la place du dossier");
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(QDir(disque.filePath("OstrelSoft+/Sauvegardes/Parametrage_Ostrel")).exists());
    EXPECT_EQ(Trace().value(1), "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA Le dossier " +
                                    disque.filePath("OstrelSoft+/Sauvegardes/Sauvegardes_Alarmes") +
                                    " n'a pas pu être créé");
    EXPECT_TRUE(registre.Instance("Frm_Accueil")->isVisible());
}

TEST_F(Demarrage, OuiAvecUnPortIndisponible) {
    Ecrire("OstrelSoft/ver.dva", "version\r\n1\r\ntitre\r\nSerre 4\r\nmdp\r\ntitre\r\n 1 \r\n");
    Frm_Menu1_Forme* t = Demarrer(vbYes);
    ASSERT_NE(t, nullptr);
    // The device on a second line, for whoever has to plug it or set OSTREL_COM1.
    ASSERT_EQ(boites.Textes(), (std::vector<QString>{Question, "Le port de communication est indisponible !\n" +
                                                                  disque.filePath("pas_de_port")}));
    EXPECT_EQ(boites.Messages[1].Style, vbExclamation);
    EXPECT_EQ(Chemin_Fichier_Version, QStringLiteral("c:\\OstrelSoft\\ver.dva"));
    EXPECT_EQ(t->Lbl_Info_Client(), QStringLiteral("Serre 4"));
    EXPECT_EQ(t->Module_Connecte, Vrai);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Accueil"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));
}

TEST_F(Demarrage, SortieEnregistreFermeEtDechargeTout) {
    Ecrire("OstrelSoft+/ver.dva", "r\xE9serv\xE9\r\n1\r\ntitre\r\nSerre\r\nmdp\r\n");
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    t->Lbl_Info_Client("Serre n\u00B02");  // as the options screen would have changed it
    registre.Afficher("Frm_Patientez");
    QPointer<Frm_Menu1_Forme> garde(t);

    QTest::mouseClick(registre.Instance("Frm_Accueil")->findChild<QPushButton*>("Cmd_Quitter"), Qt::LeftButton);

    const QByteArray options = Lire("OstrelSoft+/ver.dva");
    EXPECT_TRUE(options.startsWith("r\xE9serv\xE9\r\n1\r\n************ Nom de l'installation ******************\r\n"
                                   "Serre n\xB0" "2\r\nmdp\r\n"));
    EXPECT_EQ(options.count("\r\n"), 35);
    for (const QString& forme : Ordre_Dechargement()) EXPECT_FALSE(registre.Est_Chargee(forme)) << forme.toStdString();
    // The port never opened: there is nothing to close, and no failure to trace.
    EXPECT_EQ(Trace(), (QStringList{"07/03/2027 09:05:03 OstrelSoft+ 1.14VSA ----> Début",
                                    "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA <---- Fin"}));
    Traiter_Evenements();
    EXPECT_TRUE(garde.isNull());
    // Lines written after the dashboard is gone still carry the software name.
    EXPECT_EQ(Frm_Menu1().Lbl_Nom_Logiciel(), QStringLiteral("OstrelSoft+ 1.14VSA"));
}

TEST_F(Demarrage, UnEchecALaSortieEstAfficheEtLaSortieVaAuBout) {
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(QDir(disque.filePath("OstrelSoft+")).removeRecursively());  // the home picture was put there
    Ecrire("OstrelSoft+", "un fichier à la place du dossier");
    boites.Effacer();
    Fin_Programme();
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Texte.startsWith("Les options logicielles n'ont pas pu être enregistrées"));
    EXPECT_EQ(boites.Messages[0].Style, vbExclamation);
    EXPECT_EQ(Trace().back(), QStringLiteral("07/03/2027 09:05:03 OstrelSoft+ 1.14VSA <---- Fin"));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Menu1"));
    EXPECT_EQ(Lire("OstrelSoft+"), QByteArray("un fichier à la place du dossier"));
}

TEST_F(Demarrage, ToucheDeLAccueilEtEcransAVenir) {
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    Forme* accueil = registre.Instance("Frm_Accueil");
    auto* menu1 = accueil->findChild<QPushButton*>("Cmd_Menu1");
    QTest::keyRelease(menu1, Qt::Key_1);  // the main keyboard's 1 is no shortcut
    EXPECT_TRUE(registre.Est_Chargee("Frm_Accueil"));
    QTest::keyRelease(menu1, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Accueil"));
    Forme* consultation = registre.Instance("Frm_Menu_Consultation");
    ASSERT_NE(consultation, nullptr);
    EXPECT_TRUE(consultation->isVisible());
    EXPECT_EQ(consultation->findChild<QPushButton*>("Cmd_Menu1")->text(), QStringLiteral("Visualisation mesures"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Consultation"));
    EXPECT_EQ(consultation->geometry(), QRect(0, 82, 1280, 1024 - 82 - 102));

    QTest::mouseClick(consultation->findChild<QPushButton*>("Cmd_Quitter"), Qt::LeftButton);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Menu_Consultation"));
    ASSERT_TRUE(registre.Est_Chargee("Frm_Accueil"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Accueil"));

    // The options go through the password screen, over the home screen.
    Mdp_Admin = "secret";
    QTest::mouseClick(registre.Instance("Frm_Accueil")->findChild<QPushButton*>("Cmd_Menu3"), Qt::LeftButton);
    EXPECT_EQ(Ecran_Apres_Mdp, QStringLiteral("Options Logicielles"));
    EXPECT_EQ(Mdp_Saisie, QStringLiteral("secret"));
    ASSERT_TRUE(registre.Est_Chargee("Frm_Accueil"));
    EXPECT_FALSE(registre.Instance("Frm_Accueil")->isEnabled());
    ASSERT_TRUE(registre.Est_Chargee("Frm_Psw"));
    QTest::keyRelease(registre.Instance("Frm_Psw")->findChild<QWidget*>("Txt_PSW"), Qt::Key_Escape);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Psw"));
    EXPECT_TRUE(registre.Instance("Frm_Accueil")->isEnabled());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));

    // Q quits at once, in either case.
    QTest::keyRelease(registre.Instance("Frm_Accueil")->findChild<QPushButton*>("Cmd_Menu2"), Qt::Key_Q,
                      Qt::ShiftModifier);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Menu1"));
    EXPECT_EQ(Trace().back(), QStringLiteral("07/03/2027 09:05:03 OstrelSoft+ 1.14VSA <---- Fin"));
}

TEST_F(Demarrage, LesRedimensionnementsSuivantsNeFontQueDisposer) {
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    EXPECT_NEAR(Taille_Police_Grande, 22, 0.5);
    EXPECT_NEAR(Taille_Police_Moyenne, 14, 0.5);
    EXPECT_NEAR(Taille_Police_Petite, 12, 0.5);
    boites.Effacer();
    t->resize(1920, 1080);
    Traiter_Evenements();
    EXPECT_TRUE(boites.Messages.empty());  // no second question, no second search
    EXPECT_NEAR(Taille_Police_Grande, 33, 0.5);
    EXPECT_NEAR(Taille_Police_Petite, 18, 0.5);
    EXPECT_EQ(Var_Top_Fille, 2 * 43 * 15);
    EXPECT_EQ(Var_Width_Fille, 28800);
    EXPECT_EQ(Var_Height_Fille, (1080 - 86 - 108) * 15);
    EXPECT_EQ(registre.Instance("Frm_Accueil")->geometry(), QRect(0, 86, 1920, 1080 - 86 - 108));
    EXPECT_EQ(Controle("Pic_Barre_Etat")->geometry(), QRect(0, 1080 - 108, 1920, 108));
    EXPECT_EQ(Controle("Pb_Progress_Bar")->mapTo(t, QPoint(0, 0)), QPoint(384, 486));
    EXPECT_EQ(Controle("Pb_Progress_Bar")->size(), QSize(1152, 32));
    // One button: one slot wide, with an empty slot on each side.
    QWidget* barre = Controle("Pic_Enum_OC");
    EXPECT_EQ(t->Lbl_OC(0)->x(), qRound(barre->width() / 3.0));
    EXPECT_EQ(t->Lbl_OC(0)->width(), qRound(barre->width() / 3.0));
}

TEST_F(Demarrage, ServicesDuTableauDeBord) {
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    auto* pb = Controle<QProgressBar>("Pb_Progress_Bar");
    Long valeur = 150;
    t->Progess_Bar_Value(valeur);
    EXPECT_EQ(valeur, 100);
    EXPECT_EQ(pb->value(), 100);
    valeur = -5;
    t->Progess_Bar_Value(valeur);
    EXPECT_EQ(valeur, -5);
    EXPECT_EQ(pb->value(), 100);  // refused, the previous value stays
    valeur = 42;
    t->Progess_Bar_Value(valeur);
    EXPECT_EQ(t->Valeur_Progression(), 42);

    // A notice holds the status line for a while, then the text it covered comes back.
    t->Lbl_Informations(QStringLiteral("Certains Modules ne répondent pas !"));
    Definir_Echelle_Temps(0.01);
    t->Annonce(QStringLiteral("Impression enregistrée dans /tmp/a.pdf"));
    EXPECT_EQ(t->Lbl_Informations(), QStringLiteral("Impression enregistrée dans /tmp/a.pdf"));
    QElapsedTimer attente;
    attente.start();
    while (t->Lbl_Informations() != QStringLiteral("Certains Modules ne répondent pas !") && attente.elapsed() < 20000)
        QTest::qWait(10);
    EXPECT_EQ(t->Lbl_Informations(), QStringLiteral("Certains Modules ne répondent pas !"));

    // Shown: the middle of the dashboard comes over the screen; hidden: behind it.
    QWidget* zone = Controle("Zone_Centrale");
    QWidget* accueil = registre.Instance("Frm_Accueil");
    auto au_dessus = [&](QWidget* a, QWidget* b) {
        const QObjectList& enfants = t->children();
        return enfants.indexOf(a) > enfants.indexOf(b);
    };
    t->Affiche_Progress_Bar(true);
    t->Caption_Pb("Téléchargement des mesures voie n°3");
    EXPECT_TRUE(pb->isVisibleTo(t));
    EXPECT_TRUE(Controle("Lbl_Caption_Pb")->isVisibleTo(t));
    EXPECT_EQ(Controle<QLabel>("Lbl_Caption_Pb")->text(), QStringLiteral("Téléchargement des mesures voie n°3"));
    EXPECT_TRUE(au_dessus(zone, accueil));
    t->Affiche_Progress_Bar(false);
    EXPECT_FALSE(pb->isVisibleTo(t));
    EXPECT_FALSE(Controle("Lbl_Caption_Pb")->isVisibleTo(t));
    EXPECT_TRUE(au_dessus(accueil, zone));

    t->Lampe_Comm(Couleur_Fenetre);
    EXPECT_EQ(Couleur_Fond(Controle("Lbl_Comm")), Couleur_Fenetre);
    EXPECT_EQ(t->Lampe_Comm(), Couleur_Fenetre);
    t->Fond_Lbl_Alarme(Couleur_Rouge);
    EXPECT_EQ(Controle("Lbl_Alarme")->palette().color(QPalette::Window), QColor(255, 0, 0));

    // Colours of the options: the banner's text in its own background colour.
    Couleur_Fond_Bandeau = 0x00C0C0;
    Couleur_Cadre_Bandeau = 0x404040;
    Couleur_Police_Bandeau = 0x0000FF;
    Couleur_Fenetre = 0x400000;
    t->MAJ_Couleur_Menu1();
    EXPECT_EQ(Couleur_Fond(Controle("Lbl_Alarme")), 0x00C0C0);
    EXPECT_EQ(Controle("Lbl_Alarme")->palette().color(QPalette::WindowText), Vers_QColor(0x00C0C0));
    EXPECT_EQ(Couleur_Fond(Controle("Pic_Info")), 0x404040);
    EXPECT_EQ(Couleur_Fond(Controle("Pic_Enum_OC")), 0x00C0C0);
    EXPECT_EQ(Couleur_Fond(Controle("Pic_Pub")), Couleur_Blanche);
    EXPECT_EQ(Controle("Lbl_Nom_Menu")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(Couleur_Fond(t), 0x400000);

    // Underline of the current module: 0 none, an address not in service the first button.
    Octet module = 5;
    t->Init_Label_OC(module);
    EXPECT_TRUE(t->Lbl_OC(0)->font().underline());
    module = 0;
    t->Init_Label_OC(module);
    EXPECT_FALSE(t->Lbl_OC(0)->font().underline());

    // The clock.
    Definir_Horloge_Murale([] { return DateSerial(2027, 3, 8) + TimeSerial(17, 45, 59); });
    t->Tmr_Date()->Declencher();
    EXPECT_EQ(Controle<QLabel>("Lbl_Date")->text(), QStringLiteral("08/03/2027"));
    EXPECT_EQ(Controle<QLabel>("Lbl_Heure")->text(), QStringLiteral("17:45"));
}

TEST_F(Demarrage, ActivationRendLeFocusALEcranCourant) {
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    Forme* accueil = registre.Instance("Frm_Accueil");
    accueil->findChild<QPushButton*>("Cmd_Menu3")->setFocus();
    t->setFocus();
    t->Form_Activate();
    EXPECT_EQ(t->focusWidget(), accueil->findChild<QPushButton*>("Cmd_Menu3"));

    // While a download shows its progress, the recordings menu keeps away from the focus.
    t->Lbl_Nom_Menu("Menu Enregistrements");
    t->setFocus();
    t->Affiche_Progress_Bar(true);
    t->Form_Activate();
    EXPECT_EQ(t->focusWidget(), t);
}

TEST_F(Demarrage, FenetrePatientezEtEcransAVenir) {
    Frm_Menu1_Forme* t = Demarrer(vbNo);
    ASSERT_NE(t, nullptr);
    registre.Afficher("Frm_Patientez");
    Forme* patientez = registre.Instance("Frm_Patientez");
    ASSERT_NE(patientez, nullptr);
    EXPECT_EQ(patientez->windowTitle(), QStringLiteral("OstrelSoft+ 1.14VSA"));
    EXPECT_EQ(patientez->findChild<QLabel*>("Lbl_Patientez")->text(), QStringLiteral("Patientez SVP . . ."));
    EXPECT_EQ(patientez->geometry().center(), t->rect().center());
    registre.Decharger("Frm_Patientez");

    // Every screen not built yet says so and leads back.
    for (const char* forme : {"frm_Journal_Alarme", "Frm_Param_Voies", "Frm_Options_Logicielles", "Frm_Param_Periph"}) {
        SCOPED_TRACE(forme);
        registre.Afficher(forme);
        Forme* f = registre.Instance(forme);
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->findChild<QLabel*>("Lbl_Message")->text().contains("prochaine version"));
        EXPECT_EQ(t->Lbl_Nom_Menu(), f->findChild<QLabel*>("Lbl_Titre")->text());
        registre.Decharger(forme);
    }
}

TEST_F(Demarrage, OuiSurLeBusSimule) {
    bus.Etat_Demonstration({1, 3, 7});
    ASSERT_TRUE(Demarrer_Bus());
    Frm_Menu1_Forme* t = Demarrer(vbYes);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Manquant, Manquant, Question}));
    ASSERT_EQ(t->Nb_Lbl_OC(), 3);
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("MD1"));
    EXPECT_EQ(t->Caption_Lbl_OC(1), QStringLiteral("MD3"));
    EXPECT_EQ(t->Caption_Lbl_OC(2), QStringLiteral("MD7"));
    EXPECT_EQ(t->Lbl_OC(2)->toolTip().trimmed(), QStringLiteral("Chambres froides site 7"));
    EXPECT_EQ(Tab_Parametres_Modules[2].Entete.trimmed(), QStringLiteral("Chambres froides site 3"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Couleur_Fond(t->Lbl_OC(i)), Couleur_Fenetre);
    EXPECT_EQ(Nb_Voies_Module[0], 8);
    EXPECT_EQ(Nb_Voies_Module[6], 16);
    EXPECT_EQ(Tab_Fonctionnement_OC[2], En_Service);
    EXPECT_EQ(Tab_Fonctionnement_OC[1], Hors_Service);
    // Buttons of one fifth of the bar, from one fifth on.
    const double largeur = Controle("Pic_Enum_OC")->width() / 5.0;
    EXPECT_EQ(t->Lbl_OC(1)->x(), qRound(2 * largeur));
    EXPECT_EQ(t->Lbl_OC(1)->width(), qRound(largeur));
    EXPECT_FALSE(t->Progression_Visible());  // hidden at the end of the first search
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(registre.Instance("Frm_Accueil")->isVisible());
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 1);
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 3);
    EXPECT_EQ(bus.Nombre_Requetes(0x05), 3);

    // The exit closes the port it opened: no failure line this time.
    Fin_Programme();
    EXPECT_EQ(Trace().size(), 2);
    EXPECT_TRUE(Trace().back().endsWith("<---- Fin"));
}

// While the modules are searched one by one, the bar already shows every
// button found in its place: none is drawn piled on another.
TEST_F(Demarrage, BoutonsModulesEnPlacePendantLaRecherche) {
    bus.Etat_Demonstration({1, 3, 7});
    ASSERT_TRUE(Demarrer_Bus());
    boites.reponse_connexion = vbYes;
    registre.Charger(QStringLiteral("Frm_Menu1"));
    Frm_Menu1_Forme* t = Tableau();
    ASSERT_NE(t, nullptr);
    t->resize(1280, 1024);
    t->show();
    std::vector<std::vector<int>> vus;  // x of the visible module buttons at each step of the search
    QObject::connect(Controle<QProgressBar>("Pb_Progress_Bar"), &QProgressBar::valueChanged, t, [&] {
        std::vector<int> x;
        for (auto* b : t->findChildren<QPushButton*>(QStringLiteral("Lbl_OC")))
            if (b->isVisibleTo(t)) x.push_back(b->x());
        vus.push_back(x);
    });
    t->Fin_Demarrage();
    ASSERT_EQ(t->Nb_Lbl_OC(), 3);
    ASSERT_FALSE(vus.empty());
    for (std::vector<int> x : vus) {
        if (x.size() < 3) continue;  // before the buttons are made
        std::sort(x.begin(), x.end());
        EXPECT_TRUE(std::adjacent_find(x.begin(), x.end()) == x.end()) << x[0] << " " << x[1] << " " << x[2];
    }
    EXPECT_TRUE(std::any_of(vus.begin(), vus.end(), [](const std::vector<int>& x) { return x.size() == 3; }));
}

TEST_F(Demarrage, ModulesQuiNeRepondentPas) {
    Definir_Echelle_Temps(0.005);
    ostrel_test::Delais_Mixtes();
    bus.Etat_Demonstration({1, 3, 7});
    // Module 3 does not answer its status; module 7 answers it but not its name.
    bus.Programmer_Defauts(0x07, {sim::Defaut(), sim::Defaut(sim::Defaut::Silence), sim::Defaut(sim::Defaut::Silence),
                                  sim::Defaut(sim::Defaut::Silence), sim::Defaut(sim::Defaut::Silence),
                                  sim::Defaut(sim::Defaut::Silence), sim::Defaut(sim::Defaut::Silence)});
    bus.Programmer_Defauts(0x05, {sim::Defaut(), sim::Defaut(sim::Defaut::Silence), sim::Defaut(sim::Defaut::Silence),
                                  sim::Defaut(sim::Defaut::Silence), sim::Defaut(sim::Defaut::Silence),
                                  sim::Defaut(sim::Defaut::Silence), sim::Defaut(sim::Defaut::Silence)});
    ASSERT_TRUE(Demarrer_Bus());
    Frm_Menu1_Forme* t = Demarrer(vbYes);
    ostrel_test::Delais_Reels();
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Nb_Lbl_OC(), 3);
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(0)), Couleur_Fenetre);
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(1)), Couleur_Rouge);
    EXPECT_EQ(t->Lbl_OC(1)->toolTip(), QStringLiteral("Module non connecté"));
    EXPECT_EQ(t->Lbl_Informations(), QStringLiteral("Certains Modules ne répondent pas !"));
    EXPECT_EQ(t->Lbl_Etat_Memoire(), QStringLiteral("Le système ne fonctionnera pas correctement ..."));
    // Module 7 answered its status but not its name: it is marked as not
    // answering too, and start-up ends on the home screen.
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(2)), Couleur_Rouge);
    EXPECT_EQ(t->Lbl_OC(2)->toolTip(), QStringLiteral("Module non connecté"));
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_TRUE(registre.Instance("Frm_Accueil")->isVisible());
}
