// The home screen, the two menus and the module list, driven by their
// buttons and keys over the simulated bus.
#include <QImage>
#include <QLabel>
#include <QLineEdit>

#include "link/ecrans/frm_pb_liaison.h"
#include "platform/ui/couleurs_ui.h"
#include "platform/ui/minuterie.h"
#include "programme_test.h"
#include "shell/frm_accueil.h"

using namespace ostrel;
using ostrel_test::Programme;
using ostrel_test::Traiter_Evenements;

namespace {

class Menus : public Programme {};

const QString Image = QStringLiteral("OstrelSoft+/Images/Accueil.bmp");

}  // namespace

TEST_F(Menus, AccueilSesTouchesEtSonImage) {
    Frm_Menu1_Forme* t = Demarrer();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Controle("Frm_Accueil", "Cmd_Menu1")->text(), QStringLiteral("1 - Exploitation"));
    EXPECT_EQ(Controle("Frm_Accueil", "Cmd_Menu2")->text(), QStringLiteral("2 - Paramétrages"));
    EXPECT_EQ(Controle("Frm_Accueil", "Cmd_Menu3")->text(), QStringLiteral("3 - Options"));
    EXPECT_EQ(Controle("Frm_Accueil", "Cmd_Quitter")->text(), QStringLiteral("Quitter"));
    EXPECT_EQ(Controle<QLabel>("Frm_Accueil", "Label_Nom_Logiciel")->text(), QStringLiteral("OstrelSoft+"));
    // The picture shipped with the program was put in the application folder and shown.
    QFile fournie(":/Accueil.bmp");
    ASSERT_TRUE(fournie.open(QIODevice::ReadOnly));
    EXPECT_EQ(Lire(Image), fournie.readAll());
    auto* image = Controle<QLabel>("Frm_Accueil", "Picture_accueil");
    EXPECT_TRUE(image->isVisible());
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_TRUE(boites.Messages.empty());

    // Main keyboard digits are no shortcuts; keypad 2 and 3 go through the password.
    Touche("Frm_Accueil", "Cmd_Menu3", Qt::Key_2);
    EXPECT_FALSE(Charge("Frm_Psw"));
    Touche("Frm_Accueil", "Cmd_Menu3", Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(Ecran_Apres_Mdp, QStringLiteral("Configuration"));
    ASSERT_TRUE(Charge("Frm_Psw"));
    EXPECT_FALSE(Forme("Frm_Accueil")->isEnabled());
    Touche("Frm_Psw", "Txt_PSW", Qt::Key_Escape);
    ASSERT_TRUE(Forme("Frm_Accueil")->isEnabled());
    Touche("Frm_Accueil", "Cmd_Menu1", Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(Ecran_Apres_Mdp, QStringLiteral("Options Logicielles"));
    EXPECT_TRUE(Charge("Frm_Psw"));
    Cliquer("Frm_Psw", "Cmd_Annuler");
    Touche("Frm_Accueil", "Cmd_Quitter", Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
    EXPECT_FALSE(Charge("Frm_Accueil"));
    Cliquer("Frm_Menu_Consultation", "Cmd_Quitter");

    // Esc and q quit at once, without a question.
    Touche("Frm_Accueil", "Cmd_Menu2", Qt::Key_Escape);
    EXPECT_FALSE(Charge("Frm_Menu1"));
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Trace().back(), QStringLiteral("<---- Fin"));
}

TEST_F(Menus, QMinusculeQuitteAussi) {
    ASSERT_NE(Demarrer(), nullptr);
    QTest::keyClick(Controle("Frm_Accueil", "Cmd_Menu1"), 'q');
    Traiter_Evenements();
    EXPECT_FALSE(Charge("Frm_Menu1"));
}

TEST_F(Menus, ImageDuSiteGardeeImageIllisibleOuManquante) {
    // A picture of the site's own is kept as it is.
    QDir().mkpath(disque.filePath("OstrelSoft+/Images"));
    QImage propre(40, 30, QImage::Format_RGB32);
    propre.fill(Qt::darkGreen);
    ASSERT_TRUE(propre.save(disque.filePath(Image), "BMP"));
    const QByteArray avant = Lire(Image);
    ASSERT_NE(Demarrer(), nullptr);
    EXPECT_EQ(Lire(Image), avant);
    EXPECT_TRUE(Controle<QLabel>("Frm_Accueil", "Picture_accueil")->isVisible());

    // An unreadable picture: the error box, and the screen still shows, without it.
    {
        QFile f(disque.filePath(Image));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM pas une image");
    }
    Cliquer("Frm_Accueil", "Cmd_Menu1");
    Cliquer("Frm_Menu_Consultation", "Cmd_Quitter");
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_EQ(boites.Messages[0].Texte, QStringLiteral("Error 481 Image incorrecte"));
    EXPECT_EQ(boites.Messages[0].Style, vbCritical);
    EXPECT_EQ(boites.Messages[0].Titre, QStringLiteral("OstrelSoft+"));
    ASSERT_TRUE(Charge("Frm_Accueil"));
    EXPECT_TRUE(Forme("Frm_Accueil")->isVisible());
    EXPECT_FALSE(Controle<QLabel>("Frm_Accueil", "Picture_accueil")->isVisible());
    EXPECT_EQ(Tableau()->Lbl_Nom_Menu(), QStringLiteral("Accueil"));

    // Missing, and no way to put it back (a file where its folder should be).
    ASSERT_TRUE(QDir(disque.filePath("OstrelSoft+/Images")).removeRecursively());
    {
        QFile f(disque.filePath("OstrelSoft+/Images"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    boites.Effacer();
    Cliquer("Frm_Accueil", "Cmd_Menu1");
    Cliquer("Frm_Menu_Consultation", "Cmd_Quitter");
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Error 53 Fichier introuvable"});
    EXPECT_TRUE(Forme("Frm_Accueil")->isVisible());
}

TEST_F(Menus, ConsultationSansModule) {
    Frm_Menu1_Forme* t = Demarrer();
    ASSERT_NE(t, nullptr);
    Remplacer("Frm_Mesures");
    Cliquer("Frm_Accueil", "Cmd_Menu1");
    ASSERT_TRUE(Charge("Frm_Menu_Consultation"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Consultation"));
    EXPECT_EQ(Forme("Frm_Menu_Consultation")->geometry(), QRect(0, 82, 1280, 1024 - 82 - 102));
    EXPECT_EQ(Controle("Frm_Menu_Consultation", "Cmd_Menu1")->text(), QStringLiteral("Visualisation mesures"));
    EXPECT_EQ(Controle("Frm_Menu_Consultation", "Cmd_Menu2")->text(), QStringLiteral("Journal des alarmes"));
    EXPECT_EQ(Controle("Frm_Menu_Consultation", "Cmd_Menu3")->text(), QStringLiteral("Enregistrements"));
    EXPECT_EQ(Controle("Frm_Menu_Consultation", "Cmd_Quitter")->text(), QStringLiteral("Retour"));

    // V, in either case, from any button: refused, nothing else.
    Touche("Frm_Menu_Consultation", "Cmd_Menu3", Qt::Key_V, Qt::ShiftModifier);
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Action impossible car aucun module n'est connecté"});
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(ostrel_test::Ecran_Essai::chargements, 0);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));

    // J: the journal, E: the recordings menu, and back each time with R, Q, Esc.
    const std::pair<Qt::Key, const char*> cas[] = {
        {Qt::Key_J, "frm_Journal_Alarme"}, {Qt::Key_E, "Frm_Menu_Enreg"}, {Qt::Key_J, "frm_Journal_Alarme"}};
    const Qt::Key retours[] = {Qt::Key_R, Qt::Key_Q, Qt::Key_Escape};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        Touche("Frm_Menu_Consultation", "Cmd_Menu1", cas[i].first);
        EXPECT_TRUE(Charge(cas[i].second));
        EXPECT_FALSE(Charge("Frm_Menu_Consultation"));
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Consultation"), Faux);
        Touche("Frm_Menu_Consultation", "Cmd_Menu2", retours[i]);
        EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
        ASSERT_TRUE(Charge("Frm_Accueil"));
        Cliquer("Frm_Accueil", "Cmd_Menu1");
    }
}

TEST_F(Menus, VisualisationDesMesuresCherchePuisCommenceAuModuleUn) {
    Frm_Menu1_Forme* t = Demarrer({1, 3, 7});
    ASSERT_NE(t, nullptr);
    Remplacer("Frm_Mesures");
    Cliquer("Frm_Accueil", "Cmd_Menu1");
    Num_Module = 7;
    Code_Erreur = 0;
    Cliquer("Frm_Menu_Consultation", "Cmd_Menu1");
    EXPECT_EQ(bus.Nombre_Requetes(0x1B), 1);  // the search first
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 3);
    EXPECT_EQ(Num_Module, 1);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Consultation"));
    EXPECT_EQ(ostrel_test::Ecran_Essai::chargements, 1);
    EXPECT_FALSE(Charge("Frm_Menu_Consultation"));

    // Clicking MD7 on the live screen makes 7 the current module and reloads it.
    QTest::mouseClick(t->Lbl_OC(2), Qt::LeftButton);
    Traiter_Evenements();
    EXPECT_EQ(Num_Module, 7);
    EXPECT_EQ(ostrel_test::Ecran_Essai::chargements, 2);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
}

TEST_F(Menus, ConfigurationEtSesTouches) {
    Frm_Menu1_Forme* t = Demarrer({1, 3, 7});
    ASSERT_NE(t, nullptr);
    Remplacer("Frm_Param_Voies");
    Remplacer("Frm_Param_OC");
    Remplacer("Frm_Param_Periph");
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
    ASSERT_TRUE(Charge("Frm_Menu_Config"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Configuration"));
    EXPECT_EQ(Controle("Frm_Menu_Config", "Cmd_Menu1")->text(), QStringLiteral("Paramétrage Voie"));
    EXPECT_EQ(Controle("Frm_Menu_Config", "Cmd_Menu2")->text(), QStringLiteral("Paramétrage  Module"));
    EXPECT_EQ(Controle("Frm_Menu_Config", "Cmd_Menu3")->text(), QStringLiteral("Paramétrage Netrove"));
    EXPECT_EQ(Controle("Frm_Menu_Config", "Cmd_Quitter")->text(), QStringLiteral("Retour"));
    ASSERT_EQ(t->Nb_Lbl_OC(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(t->Lbl_OC(i)->font().underline());

    struct Cas {
        Qt::Key touche;
        const char* forme;
        const char* ecran;
    };
    for (const Cas& c : {Cas{Qt::Key_V, "Frm_Param_Voies", "Réglages des voies"},
                         Cas{Qt::Key_M, "Frm_Param_OC", "Réglages Module"},
                         Cas{Qt::Key_N, "Frm_Param_Periph", "Réglages Netrove"}}) {
        SCOPED_TRACE(c.forme);
        Num_Module = 3;
        Num_Voie_Affichee = 5;
        Touche("Frm_Menu_Config", "Cmd_Quitter", c.touche, Qt::ShiftModifier);
        EXPECT_TRUE(Charge(c.forme));
        EXPECT_EQ(Ecran_Courant, QString::fromUtf8(c.ecran));
        if (c.touche != Qt::Key_N) {
            EXPECT_EQ(Num_Module, 1);  // always from the first module
        }
        if (c.touche == Qt::Key_V) {
            EXPECT_EQ(Num_Voie_Affichee, 0);
        }
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Configuration"), Faux);
    }
    for (Qt::Key retour : {Qt::Key_R, Qt::Key_Q, Qt::Key_Escape}) {
        Touche("Frm_Menu_Config", "Cmd_Menu1", retour);
        EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
        Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
    }
    EXPECT_TRUE(boites.Messages.empty());
}

TEST_F(Menus, ConfigurationSansModuleOuEnErreur) {
    ASSERT_NE(Demarrer(), nullptr);
    // The settings screens say "no module" through the link error code.
    Remplacer("Frm_Param_Voies", [] { Code_Erreur = Erreur::Ligne; });
    Remplacer("Frm_Param_Periph");
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
    Cliquer("Frm_Menu_Config", "Cmd_Menu3");
    EXPECT_EQ(boites.Textes(), std::vector<QString>{"Module non connecté"});
    EXPECT_FALSE(Charge("Frm_Param_Periph"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));

    Cliquer("Frm_Menu_Config", "Cmd_Menu1");
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Réglages des voies"));
    EXPECT_FALSE(Charge("Frm_Param_Voies"));
    ASSERT_TRUE(Charge("Frm_Pb_Liaison"));
    EXPECT_EQ(Controle<QLabel>("Frm_Pb_Liaison", "Lbl_Type_Erreur")->text(),
              QStringLiteral("Code erreur 15 : Interruption sur la ligne lors de la transmission"));
}

TEST_F(Menus, NetroveEnErreurVaAuxProblemesDeLiaison) {
    ASSERT_NE(Demarrer({1}), nullptr);
    Remplacer("Frm_Param_Periph", [] { Code_Erreur = 2; });
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
    Cliquer("Frm_Menu_Config", "Cmd_Menu3");
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(Charge("Frm_Param_Periph"));
    // The screen that failed opened the link-problem screen itself: one episode only.
    Remplacer("Frm_Param_Periph", [] {
        Code_Erreur = 2;
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
    });
    Cliquer("Frm_Pb_Liaison", "Cmd_OK");
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
    const int avant = static_cast<int>(Trace().count("Accès écran Problèmes Liaison"));
    Cliquer("Frm_Menu_Config", "Cmd_Menu3");
    EXPECT_EQ(Trace().count("Accès écran Problèmes Liaison"), avant + 1);
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Réglages Netrove"));
}

TEST_F(Menus, ListeDesModulesQuandUnModuleSeTait) {
    Frm_Menu1_Forme* t = Demarrer({1, 3, 7});
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Nb_Lbl_OC(), 3);
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("MD1"));
    EXPECT_EQ(t->Caption_Lbl_OC(1), QStringLiteral("MD3"));
    EXPECT_EQ(t->Caption_Lbl_OC(2), QStringLiteral("MD7"));
    EXPECT_TRUE(t->Lbl_Informations().isEmpty());

    // Module 3 stops answering: a new search turns its button red.
    Definir_Echelle_Temps(0.005);
    ostrel_test::Delais_Mixtes();
    std::vector<sim::Defaut> module_3_muet(7, sim::Defaut(sim::Defaut::Silence));
    module_3_muet.front() = sim::Defaut();
    bus.Programmer_Defauts(0x07, module_3_muet);
    t->Init_Tab_Fonctionnement_OC();
    ASSERT_EQ(t->Nb_Lbl_OC(), 3);
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(0)), Couleur_Fenetre);
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(1)), Couleur_Rouge);
    EXPECT_EQ(t->Lbl_OC(1)->toolTip(), QStringLiteral("Module non connecté"));
    EXPECT_EQ(Tab_Parametres_Modules[2].Entete, QStringLiteral("Module non connecté"));
    EXPECT_EQ(t->Lbl_Informations(), QStringLiteral("Certains Modules ne répondent pas !"));
    EXPECT_EQ(t->Lbl_Etat_Memoire(), QStringLiteral("Le système ne fonctionnera pas correctement ..."));
    EXPECT_EQ(Code_Erreur, 0);

    // Modules 3 and 7 answer their status but not their name: red too, and
    // module 1's name does not become theirs; each is polled normally.
    bus.Effacer_Defauts();
    bus.Programmer_Defauts(0x05, {sim::Defaut()}, sim::Defaut(sim::Defaut::Silence));
    bus.Effacer_Trames();
    t->Init_Tab_Fonctionnement_OC();
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 3);  // each status asked, none left unsent by an earlier failure
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(1)), Couleur_Rouge);  // no name either
    EXPECT_EQ(Tab_Parametres_Modules[2].Entete, QStringLiteral("Module non connecté"));
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(2)), Couleur_Rouge);
    EXPECT_EQ(t->Lbl_OC(2)->toolTip(), QStringLiteral("Module non connecté"));
    EXPECT_EQ(Tab_Parametres_Modules[0].Entete.trimmed(), QStringLiteral("Chambres froides site 1"));
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Ecran_Courant, QString());

    // Everyone answers again: both warnings go, a text of someone else stays.
    bus.Effacer_Defauts();
    ostrel_test::Delais_Reels();
    t->Lbl_Etat_Memoire(QStringLiteral("Mémoire pleine à 40 %"));
    t->Init_Tab_Fonctionnement_OC();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Couleur_Fond(t->Lbl_OC(i)), Couleur_Fenetre);
    EXPECT_TRUE(t->Lbl_Informations().isEmpty());
    EXPECT_EQ(t->Lbl_Etat_Memoire(), QStringLiteral("Mémoire pleine à 40 %"));
    EXPECT_EQ(t->Lbl_OC(2)->toolTip().trimmed(), QStringLiteral("Chambres froides site 7"));
}

TEST_F(Menus, BusMuetModuleNonConnecte) {
    ostrel_test::Delais_Courts();
    bus.Programmer_Defauts(0x1B, {}, sim::Defaut(sim::Defaut::Silence));
    Frm_Menu1_Forme* t = Demarrer({1, 2});
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Nb_Lbl_OC(), 1);
    EXPECT_EQ(t->Caption_Lbl_OC(0), QStringLiteral("Module non connecté"));
    EXPECT_EQ(Couleur_Fond(t->Lbl_OC(0)), Couleur_Rouge);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_FALSE(Charge("Frm_Pb_Liaison"));

    // The bus speaks again: clicking the button searches and comes home.
    bus.Effacer_Defauts();
    ostrel_test::Delais_Reels();
    Cliquer("Frm_Accueil", "Cmd_Menu1");
    QTest::mouseClick(t->Lbl_OC(0), Qt::LeftButton);
    Traiter_Evenements();
    ASSERT_EQ(t->Nb_Lbl_OC(), 2);
    EXPECT_EQ(t->Caption_Lbl_OC(1), QStringLiteral("MD2"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
    EXPECT_TRUE(Charge("Frm_Accueil"));
    EXPECT_FALSE(Charge("Frm_Menu_Consultation"));
}

TEST_F(Menus, BoutonDeModuleSurLesReglages) {
    Frm_Menu1_Forme* t = Demarrer({1, 3, 7});
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Nb_Lbl_OC(), 3);
    int chargements_oc = 0;
    Remplacer("Frm_Param_OC", [&chargements_oc] { ++chargements_oc; });
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Configuration"), Faux);
    Cliquer("Frm_Menu_Config", "Cmd_Menu2");
    ASSERT_EQ(chargements_oc, 1);

    // The module settings reopen for module 3, by way of the configuration menu.
    QTest::mouseClick(t->Lbl_OC(1), Qt::LeftButton);
    Traiter_Evenements();
    EXPECT_EQ(Num_Module, 3);
    EXPECT_EQ(chargements_oc, 2);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Réglages Module"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Configuration"));
    EXPECT_FALSE(Charge("Frm_Menu_Config"));
    const QStringList trace = Trace();
    EXPECT_EQ(trace.mid(trace.size() - 2),
              (QStringList{"Accès écran Configuration", "Accès écran Réglages Module"}));

    // A module that fails while the screen loads: on to the link-problem screen.
    Remplacer("Frm_Param_OC", [] { Code_Erreur = Erreur::Ligne; });
    QTest::mouseClick(t->Lbl_OC(2), Qt::LeftButton);
    Traiter_Evenements();
    EXPECT_EQ(Num_Module, 7);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    Cliquer("Frm_Pb_Liaison", "Cmd_OK");

    // Elsewhere a module button changes nothing.
    Num_Module = 1;
    Cliquer("Frm_Accueil", "Cmd_Menu1");
    QTest::mouseClick(t->Lbl_OC(2), Qt::LeftButton);
    Traiter_Evenements();
    EXPECT_EQ(Num_Module, 1);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
    EXPECT_TRUE(Forme("Frm_Menu_Consultation")->isVisible());
}

TEST_F(Menus, TrenteDeuxModulesEnPolicePlusPetite) {
    std::vector<int> tous;
    for (int m = 1; m <= 32; ++m) tous.push_back(m);
    Definir_Echelle_Temps(0.1);
    Frm_Menu1_Forme* t = Demarrer(tous);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Nb_Lbl_OC(), 32);
    EXPECT_EQ(t->Caption_Lbl_OC(31), QStringLiteral("MD32"));
    const double largeur = Tableau()->findChild<QWidget*>("Pic_Enum_OC")->width() / 34.0;
    EXPECT_EQ(t->Lbl_OC(31)->width(), qRound(largeur));
    EXPECT_EQ(t->Lbl_OC(31)->x(), qRound(32 * largeur));
    EXPECT_LE(t->Lbl_OC(0)->font().pointSizeF(), Taille_Police_Petite * 0.8 + 0.3);
    // Every caption reads whole in its button, shrunk if it must be.
    for (int i = 0; i < 32; ++i) {
        QPushButton* b = t->Lbl_OC(i);
        EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->text()), b->contentsRect().width() - 2) << i;
        EXPECT_GE(b->font().pointSizeF(), 5);
        EXPECT_EQ(b->font().pointSizeF(), t->Lbl_OC(0)->font().pointSizeF());
    }

    // Any mouse button changes the module on the live screen.
    Remplacer("Frm_Mesures");
    Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Mesures"), Faux);
    QTest::mouseClick(t->Lbl_OC(9), Qt::RightButton);
    Traiter_Evenements();
    EXPECT_EQ(Num_Module, 10);
    QTest::mouseClick(t->Lbl_OC(31), Qt::MiddleButton);
    Traiter_Evenements();
    EXPECT_EQ(Num_Module, 32);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
}

// The operator's keyboard alone, each key going where the focus is, as on a
// real display: every screen shown by a key must take the keyboard.
TEST_F(Menus, ParcoursAuClavierSeul) {
    Definir_Echelle_Temps(0.05);
    Frm_Menu1_Forme* t = Demarrer({1, 2});
    ASSERT_NE(t, nullptr);
    QApplication::setActiveWindow(t);
    auto taper = [](Qt::Key touche, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QWidget* cible = QApplication::focusWidget();
        if (!cible) cible = QApplication::activeWindow();
        ASSERT_NE(cible, nullptr);
        QTest::keyClick(cible, touche, m);
        Traiter_Evenements();
    };
    taper(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
    taper(Qt::Key_V);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    taper(Qt::Key_Escape);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
    taper(Qt::Key_Escape);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
    taper(Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mot de passe"));
    taper(Qt::Key_Return);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));
    taper(Qt::Key_R);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
    taper(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));

    // Handed back by the link-problem screen, either way, the screen shown
    // takes the keys at once.
    auto panne = [&] {
        Code_Erreur = Erreur::Ligne;
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Problèmes Liaison"), Faux);
        Traiter_Evenements();
    };
    taper(Qt::Key_V);
    panne();
    for (int tic = 1; tic <= 11; ++tic) {
        auto* pb = registre.Instance_De<Frm_Pb_Liaison_Forme>(QStringLiteral("Frm_Pb_Liaison"));
        ASSERT_NE(pb, nullptr);
        pb->Timer_Alarme()->Declencher();
        Traiter_Evenements();
    }
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mesures"));
    taper(Qt::Key_Escape);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
    taper(Qt::Key_V);
    panne();
    taper(Qt::Key_Return);  // OK
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
    taper(Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mot de passe"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
    EXPECT_EQ(Controle<QLineEdit>("Frm_Psw", "Txt_PSW")->text(), QStringLiteral("abc"));
}

// A click anywhere on the dashboard leaves the keyboard with the screen
// shown: a module button on the home screen, which changes nothing there,
// then the keypad's 1; a click on the title, then Escape.
TEST_F(Menus, ClicSurLeTableauDeBordLeClavierResteALEcran) {
    Frm_Menu1_Forme* t = Demarrer({1, 2});
    ASSERT_NE(t, nullptr);
    QApplication::setActiveWindow(t);
    auto taper = [](Qt::Key touche, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QWidget* cible = QApplication::focusWidget();
        ASSERT_NE(cible, nullptr);
        QTest::keyClick(cible, touche, m);
        Traiter_Evenements();
    };
    QTest::mouseClick(t->Lbl_OC(1), Qt::LeftButton);
    Traiter_Evenements();
    EXPECT_TRUE(Charge("Frm_Accueil"));
    taper(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
    QTest::mouseClick(t->findChild<QLabel*>(QStringLiteral("Lbl_Nom_Menu")), Qt::LeftButton);
    Traiter_Evenements();
    taper(Qt::Key_Escape);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
}
