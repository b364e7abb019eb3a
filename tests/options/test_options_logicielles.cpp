// The software options screen: the port scan over present, absent and busy
// devices, Apply (port reopened, options in force, file written, dashboard
// restyled), the colour and font choices, the defaults, the name box and the
// administrator password change through the password window.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>

#include "banc_options.h"
#include "options/controles.h"
#include "options/frm_options_logicielles.h"
#include "platform/port_serie.h"
#include "platform/ui/couleurs_ui.h"

using namespace ostrel;
using ostrel_test::Pty_Libre;
using ostrel_test::Traiter_Evenements;

namespace {

const QString Choisir = QStringLiteral("Choisir un port de communication dans la liste");
const char* const Forme_Options = "Frm_Options_Logicielles";

class Options_Logicielles : public ostrel_test::Banc_Options {
protected:
    Frm_Options_Logicielles_Forme* Options() const {
        return registre.Instance_De<Frm_Options_Logicielles_Forme>(Forme_Options);
    }
    QComboBox* Liste_Ports() const { return Controle<QComboBox>(Forme_Options, "Cmb_Choix_Port"); }
    QStringList Entrees() const {
        QStringList e;
        for (int i = 0; i < Liste_Ports()->count(); ++i) e << Liste_Ports()->itemText(i);
        return e;
    }
    // The home screen's way in, once the password was accepted.
    void Ouvrir() { Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Options Logicielles"), Faux); }
    void Clic(const char* nom) { Cliquer(Controle(Forme_Options, nom)); }
    Couleur Apercu(const char* nom) const { return Controle<Apercu_Couleur>(Forme_Options, nom)->Remplissage(); }
    Port_Serie& Port() const { return Ecran_Communication().Ostrel; }
};

}  // namespace

TEST_F(Options_Logicielles, BalayageDesPortsPresentsAbsentsEtOccupes) {
    // COM1 the simulated bus, COM3 and COM5 free lines, COM5 held by another
    // program, COM2 a plain file, the others absent; port 3 configured.
    bus.Etat_Demonstration({1});
    ASSERT_TRUE(bus.Demarrer());
    Port_Vers(1, bus.Chemin());
    Pty_Libre com3, com5;
    Port_Vers(3, com3.Chemin());
    Port_Vers(5, com5.Chemin());
    Ecrire("pas_un_port", "texte");
    Port_Vers(2, disque.filePath("pas_un_port"));
    Port_Serie occupant;
    ASSERT_TRUE(occupant.CommPort(5));
    ASSERT_TRUE(occupant.PortOpen(true));
    Fichier_Options(QStringLiteral("Serre 4"), QStringLiteral("secret"), 3);
    Frm_Menu1_Forme* t = Demarrer_Sans_Bus(vbNo);
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(Port_Com, 3);
    t->historique_pb_.clear();

    QElapsedTimer chrono;
    chrono.start();
    Ouvrir();
    EXPECT_LT(chrono.elapsed(), 15000);  // no device made the scan wait

    ASSERT_NE(Options(), nullptr);
    EXPECT_TRUE(Options()->isVisible());
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Options Logicielles"));
    EXPECT_EQ(Entrees(), (QStringList{"COM 1", "COM 3"}));
    EXPECT_EQ(Liste_Ports()->currentIndex(), 1);
    EXPECT_TRUE(Port().PortOpen());
    EXPECT_EQ(Port().CommPort(), 3);
    EXPECT_TRUE(occupant.PortOpen());  // the other program keeps its port
    EXPECT_EQ(t->historique_pb_,
              (std::vector<int>{0, 6, 12, 19, 25, 31, 38, 44, 50, 56, 62, 69, 75, 81, 88, 94, 100}));
    EXPECT_EQ(t->Caption_Pb(), QStringLiteral("Com 3 trouvé"));
    EXPECT_FALSE(t->Progression_Visible());
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Controle<QLineEdit>(Forme_Options, "Txt_Nom_Install")->text(), QStringLiteral("Serre 4"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Options Logicielles"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Accueil"));

    // Ports 2, 3 and 7 present, port 7 configured: the third entry.
    registre.Decharger(Forme_Options);
    Pty_Libre com2, com7;
    Port_Vers(2, com2.Chemin());
    Port_Vers(7, com7.Chemin());
    occupant.PortOpen(false);
    Port_Absent(1);
    Port_Absent(5);
    Port_Com = 7;
    Ouvrir();
    EXPECT_EQ(Entrees(), (QStringList{"COM 2", "COM 3", "COM 7"}));
    EXPECT_EQ(Liste_Ports()->currentText(), QStringLiteral("COM 7"));
    EXPECT_EQ(Liste_Ports()->currentIndex(), 2);
    EXPECT_EQ(Port().CommPort(), 7);
    EXPECT_TRUE(Port().PortOpen());
}

TEST_F(Options_Logicielles, PortConfigureAbsentPuisAppliquerSansChoix) {
    // Only COM16 exists; port 3 is configured.
    Pty_Libre com16;
    Port_Vers(16, com16.Chemin());
    Fichier_Options(QStringLiteral("Serre 4"), QStringLiteral("secret"), 3);
    Frm_Menu1_Forme* t = Demarrer_Sans_Bus(vbNo);
    ASSERT_NE(t, nullptr);
    Ouvrir();
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Choisir});
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(Entrees(), QStringList{"COM 16"});
    EXPECT_EQ(Liste_Ports()->currentIndex(), -1);
    // The port the scan left open is not the configured one: the link does not keep it.
    EXPECT_FALSE(Port().PortOpen());

    // Apply without an entry chosen: port 1, which does not open, and no word of it.
    boites.Effacer();
    Code_Erreur = 0;
    Clic("Cmd_Appliquer");
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Port_Com, 1);
    const QStringList lignes = Lignes_Options();
    ASSERT_EQ(lignes.size(), 35);
    EXPECT_EQ(lignes[6], QStringLiteral(" 1 "));
    EXPECT_EQ(lignes[3], QStringLiteral("Serre 4"));
    EXPECT_EQ(lignes[4], QStringLiteral("secret"));
    // The port was closed already: closing it again is no failure to trace.
    EXPECT_TRUE(Trace().back().endsWith(QStringLiteral("Modification des options logicielles")));
    EXPECT_TRUE(Options()->isVisible());  // Apply keeps the screen open
}

TEST_F(Options_Logicielles, AppliquerUnPortChoisiLeRouvreEtLEcrit) {
    Pty_Libre com3, com12;
    Port_Vers(3, com3.Chemin());
    Port_Vers(12, com12.Chemin());
    Fichier_Options(QStringLiteral("Serre 4"), QStringLiteral("secret"), 3);
    ASSERT_NE(Demarrer_Sans_Bus(vbNo), nullptr);
    Ouvrir();
    ASSERT_EQ(Entrees(), (QStringList{"COM 3", "COM 12"}));
    Liste_Ports()->setCurrentIndex(1);
    Clic("Cmd_Appliquer");
    EXPECT_EQ(Port_Com, 12);
    EXPECT_EQ(Lignes_Options()[6], QStringLiteral(" 12 "));
    EXPECT_TRUE(Port().PortOpen());
    EXPECT_EQ(Port().CommPort(), 12);

    // Text typed over the entry is not a choice: port 1.
    Liste_Ports()->setEditText(QStringLiteral("COM 3"));
    Liste_Ports()->setCurrentIndex(1);
    Liste_Ports()->setEditText(QStringLiteral("COM 3 "));
    Clic("Cmd_Appliquer");
    EXPECT_EQ(Port_Com, 1);

    // A chosen port that no longer opens: applied and written all the same, nothing said.
    Liste_Ports()->setCurrentIndex(0);
    Port_Absent(3);
    boites.Effacer();
    Clic("Cmd_Appliquer");
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Port_Com, 3);
    EXPECT_EQ(Lignes_Options()[6], QStringLiteral(" 3 "));
    EXPECT_FALSE(Port().PortOpen());
}

TEST_F(Options_Logicielles, CouleursEtPoliceAppliqueesAuTableauDeBord) {
    Frm_Menu1_Forme* t = Demarrer({1, 3});
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->Nb_Lbl_OC(), 2);
    Ouvrir();
    ASSERT_NE(Options(), nullptr);
    EXPECT_EQ(Couleur_Police, 0xFFFFFF);

    // Window colour: the two others follow it.
    boites.Couleurs = {0x203040};
    Clic("Lbl_Choix_Couleur_Fenetre");
    EXPECT_EQ(Apercu("Pic_Couleur_Fenetre"), 0x203040);
    EXPECT_EQ(Couleur_Fenetre, 0x808000);  // pending only
    // Text colour red, banner text blue, banner back green, banner frame grey, font.
    boites.Couleurs = {0x0000FF, 0xFF0000, 0x00FF00, 0x808080};
    Clic("Lbl_Choix_Couleur_Police");
    Clic("Lbl_Choix_Couleur_Police_Bandeau");
    Clic("Lbl_Choix_Couleur_Fond_Bandeau");
    Clic("Lbl_Choix_Couleur_Cadre_Bandeau");
    boites.Polices = {Choix_Police{QStringLiteral("DejaVu Serif"), 20, true, false}};
    Clic("Lbl_Police");
    EXPECT_EQ(Controle<QLabel>(Forme_Options, "Lbl_Police")->text(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Controle<QLabel>(Forme_Options, "Lbl_Police")->font().family(), QStringLiteral("DejaVu Serif"));
    Controle<QLineEdit>(Forme_Options, "Txt_Nom_Install")->setText(QStringLiteral("Serre n°2"));

    Clic("Cmd_Appliquer");
    EXPECT_EQ(Couleur_Fenetre, 0x203040);
    EXPECT_EQ(Couleur_Fenetre_2, 0x203040);
    EXPECT_EQ(Couleur_Fenetre_3, 0x203040);
    EXPECT_EQ(Couleur_Police, 0x0000FF);
    EXPECT_EQ(Couleur_Police_Modules, 0xFFFFFF);  // the text colour before this choice
    EXPECT_EQ(Couleur_Police_Bandeau, 0xFF0000);
    EXPECT_EQ(Couleur_Fond_Bandeau, 0x00FF00);
    EXPECT_EQ(Couleur_Cadre_Bandeau, 0x808080);
    EXPECT_EQ(Police_Options, QStringLiteral("DejaVu Serif"));
    // The file, in its order.
    const QStringList l = Lignes_Options();
    ASSERT_EQ(l.size(), 35);
    EXPECT_EQ(l[3], QStringLiteral("Serre n°2"));
    EXPECT_EQ(l[8], QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(l.mid(9, 9), (QStringList{" 255 ", " 16777215 ", " 2109504 ", " 2109504 ", " 2109504 ", " 14540253 ",
                                        " 8421504 ", " 65280 ", " 16711680 "}));
    // The dashboard and this screen in the new style.
    EXPECT_EQ(t->Lbl_Info_Client(), QStringLiteral("Serre n°2"));
    EXPECT_EQ(Nom_Installation, QStringLiteral(""));  // the start-up name is left alone
    EXPECT_EQ(Couleur_Fond(t), 0x203040);
    EXPECT_EQ(t->Lbl_OC(0)->property("ForeColor").value<Couleur>(), 0xFFFFFF);
    EXPECT_EQ(Couleur_Fond(t->findChild<QWidget*>("Pic_Info")), 0x808080);
    EXPECT_EQ(Couleur_Fond(t->findChild<QWidget*>("Pic_Enum_OC")), 0x00FF00);
    EXPECT_EQ(t->findChild<QLabel*>("Lbl_Nom_Menu")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(t->findChild<QLabel*>("Lbl_Info_Client")->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Couleur_Fond(Options()), 0x203040);
    EXPECT_EQ(Controle<QLabel>(Forme_Options, "Lbl_Choix_Police")->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Controle<QLineEdit>(Forme_Options, "Txt_Nom_Install")->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(Controle<QLabel>(Forme_Options, "Lbl_Choix_Police")->palette().color(QPalette::WindowText),
              QColor(255, 0, 0));

    // Green next: green text, red module labels.
    boites.Couleurs = {0x00FF00};
    Clic("Lbl_Choix_Couleur_Police");
    Clic("Cmd_Appliquer");
    EXPECT_EQ(Couleur_Police, 0x00FF00);
    EXPECT_EQ(Couleur_Police_Modules, 0x0000FF);
    EXPECT_EQ(t->Lbl_OC(1)->property("ForeColor").value<Couleur>(), 0x0000FF);

    // OK applies and leaves for the home screen.
    boites.Couleurs = {0x111111};
    Clic("Lbl_Choix_Couleur_Cadre");
    Clic("Cmd_OK");
    EXPECT_EQ(Couleur_Cadre, 0x111111);
    EXPECT_EQ(Lignes_Options()[14], QStringLiteral(" 1118481 "));
    EXPECT_FALSE(registre.Est_Chargee(Forme_Options));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Accueil"));
}

TEST_F(Options_Logicielles, ApercusEtPresetsDesDialogues) {
    ASSERT_NE(Demarrer_Sans_Bus(vbNo), nullptr);
    Couleur_Cadre = 0x123456;
    Couleur_Fond_Bandeau = 0x0A0B0C;
    Ouvrir();
    const char* const apercus[] = {"Pic_Couleur_Police", "Pic_Couleur_Fenetre", "Pic_Couleur_Cadre",
                                   "Pic_Couleur_Police_Bandeau", "Pic_Couleur_Cadre_Bandeau",
                                   "Pic_Couleur_Fond_Bandeau"};
    for (const char* a : apercus)
        EXPECT_EQ(Controle<Apercu_Couleur>(Forme_Options, a)->Couleur_Bordure(), 0x123456) << a;
    EXPECT_EQ(Apercu("Pic_Couleur_Fond_Bandeau"), 0x0A0B0C);

    // Each banner choice repaints its own preview and no other.
    const std::pair<const char*, const char*> bandeau[] = {
        {"Lbl_Choix_Couleur_Police_Bandeau", "Pic_Couleur_Police_Bandeau"},
        {"Lbl_Choix_Couleur_Cadre_Bandeau", "Pic_Couleur_Cadre_Bandeau"},
        {"Lbl_Choix_Couleur_Fond_Bandeau", "Pic_Couleur_Fond_Bandeau"},
    };
    Couleur valeur = 0x010101;
    for (const auto& [etiquette, apercu] : bandeau) {
        std::map<std::string, Couleur> avant;
        for (const char* a : apercus) avant[a] = Apercu(a);
        boites.Couleurs = {valeur};
        Clic(etiquette);
        for (const char* a : apercus)
            EXPECT_EQ(Apercu(a), std::string(a) == apercu ? valeur : avant[a]) << etiquette << " " << a;
        valeur *= 2;
    }

    // Defaut: the previews at once, nothing in force yet.
    boites.presets_couleur.clear();
    Clic("Cmd_Defaut");
    EXPECT_EQ(Apercu("Pic_Couleur_Police"), 0xFFFFFF);
    EXPECT_EQ(Apercu("Pic_Couleur_Fenetre"), 0x808000);
    EXPECT_EQ(Apercu("Pic_Couleur_Cadre"), 0xDDDDDD);
    EXPECT_EQ(Apercu("Pic_Couleur_Police_Bandeau"), 0);
    EXPECT_EQ(Apercu("Pic_Couleur_Cadre_Bandeau"), Couleur_Face_Bouton);
    EXPECT_EQ(Apercu("Pic_Couleur_Fond_Bandeau"), Couleur_Face_Bouton);
    EXPECT_EQ(Controle<Apercu_Couleur>(Forme_Options, "Pic_Couleur_Fenetre")->Couleur_Bordure(), 0xDDDDDD);
    EXPECT_EQ(Couleur_Cadre, 0x123456);
    // The frame colour dialog starts from the colour in force, and gives it back when closed.
    Clic("Lbl_Choix_Couleur_Cadre");
    ASSERT_EQ(boites.presets_couleur.size(), 1u);
    EXPECT_EQ(boites.presets_couleur[0], 0x123456);
    EXPECT_EQ(Options()->Couleurs_En_Attente[Rang_Cadre], 0x123456);
    EXPECT_EQ(Apercu("Pic_Couleur_Cadre"), 0x123456);
    // The others start from the pending colour: here the default.
    Clic("Lbl_Choix_Couleur_Police_Bandeau");
    EXPECT_EQ(boites.presets_couleur[1], 0);

    // Apply: "Arial" and the defaults in force; port, name and password untouched.
    Police_Options = QStringLiteral("Courier");
    Port_Com = 1;
    Mdp_Admin = QStringLiteral("mdp");
    const QString nom = Frm_Menu1().Lbl_Info_Client();
    Clic("Cmd_Appliquer");
    EXPECT_EQ(Police_Options, QStringLiteral("Arial"));
    EXPECT_EQ(Couleur_Police, 0xFFFFFF);
    EXPECT_EQ(Couleur_Police_Modules, 0xFFFFFF);
    EXPECT_EQ(Couleur_Fenetre, 0x808000);
    EXPECT_EQ(Couleur_Fenetre_2, 0);
    EXPECT_EQ(Couleur_Fenetre_3, 0);
    EXPECT_EQ(Couleur_Cadre, 0x123456);
    EXPECT_EQ(Couleur_Cadre_Bandeau, Couleur_Face_Bouton);
    EXPECT_EQ(Couleur_Fond_Bandeau, Couleur_Face_Bouton);
    EXPECT_EQ(Couleur_Police_Bandeau, 0);
    EXPECT_EQ(Mdp_Admin, QStringLiteral("mdp"));
    EXPECT_EQ(Frm_Menu1().Lbl_Info_Client(), nom);
    EXPECT_EQ(Lignes_Options()[16], QStringLiteral("-2147483633 "));
}

TEST_F(Options_Logicielles, ChoixDePolice) {
    ASSERT_NE(Demarrer_Sans_Bus(vbNo), nullptr);
    Police_Options = QStringLiteral("DejaVu Sans Mono");
    Ouvrir();
    boites.Effacer();
    auto* lbl_police = Controle<QLabel>(Forme_Options, "Lbl_Police");
    // The font in force, named and drawn.
    EXPECT_EQ(lbl_police->text(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(lbl_police->font().family(), QStringLiteral("DejaVu Sans Mono"));

    // Closed without a choice: the pending name, nothing else.
    Clic("Lbl_Choix_Police");
    ASSERT_EQ(boites.presets_police.size(), 1u);
    EXPECT_EQ(boites.presets_police[0], QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(lbl_police->text(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(Options()->Police_En_Attente, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(Code_Erreur, 0);

    // A dialog that finds no font: error 100, nothing changes, no word.
    boites.police_en_echec = true;
    Clic("Lbl_Police");
    EXPECT_EQ(Code_Erreur, Erreur::Police);
    EXPECT_EQ(lbl_police->text(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(Options()->Police_En_Attente, QStringLiteral("DejaVu Sans Mono"));
    EXPECT_TRUE(boites.Messages.empty());
    // Apply clears it.
    boites.police_en_echec = false;
    Clic("Cmd_Appliquer");
    EXPECT_EQ(Code_Erreur, 0);

    // "Defaut" names the font it sets, at once.
    Clic("Cmd_Defaut");
    EXPECT_EQ(lbl_police->text(), QStringLiteral("Arial"));
    EXPECT_EQ(Options()->Police_En_Attente, QStringLiteral("Arial"));
}

TEST_F(Options_Logicielles, NomDeLInstallationEtEchap) {
    Fichier_Options(QStringLiteral("Serre"), QStringLiteral("secret"), 1);
    ASSERT_NE(Demarrer_Sans_Bus(vbNo), nullptr);
    const QByteArray fichier = Lire("OstrelSoft+/ver.dva");
    Ouvrir();
    auto* nom = Controle<QLineEdit>(Forme_Options, "Txt_Nom_Install");
    EXPECT_EQ(nom->maxLength(), 35);
    nom->setText(QStringLiteral("Serre"));
    nom->setCursorPosition(5);
    Taper(nom, QStringLiteral(" é~{|}Az09@._-\b!"));
    EXPECT_EQ(nom->text(), QStringLiteral("Serre Az09@._!"));
    nom->setText(QString(34, QLatin1Char('x')));
    nom->setCursorPosition(34);
    Taper(nom, QStringLiteral("yz"));
    EXPECT_EQ(nom->text(), QString(34, QLatin1Char('x')) + QLatin1Char('y'));
    // Pasting would pass by the filter: a paste is a key like the others.
    QTest::keyClick(nom, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(nom->text().size(), 35);

    // Esc typed in the box: out, nothing applied, nothing written.
    boites.Couleurs = {0x0000FF};
    Clic("Lbl_Choix_Couleur_Police");
    QTest::keyClick(nom, Qt::Key_Escape);
    EXPECT_FALSE(registre.Est_Chargee(Forme_Options));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
    EXPECT_EQ(Couleur_Police, 0xFFFFFF);
    EXPECT_EQ(Frm_Menu1().Lbl_Info_Client(), QStringLiteral("Serre"));
    EXPECT_EQ(Lire("OstrelSoft+/ver.dva"), fichier);
}

TEST_F(Options_Logicielles, UnEchecDEnregistrementEstDit) {
    Fichier_Options(QStringLiteral("Serre"), QStringLiteral("secret"), 1);
    ASSERT_NE(Demarrer_Sans_Bus(vbNo), nullptr);
    Ouvrir();
    boites.Effacer();
    // The save lands on a folder that took the file's place.
    QFile::remove(disque.filePath("OstrelSoft+/ver.dva"));
    Ecrire("OstrelSoft+/ver.dva/garde", "x");
    boites.Couleurs = {0x0000FF};
    Clic("Lbl_Choix_Couleur_Police");
    Clic("Cmd_Appliquer");
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(boites.Messages[0].Texte.startsWith(QStringLiteral("Les options logicielles n'ont pas pu être enregistrées dans ")))
        << boites.Messages[0].Texte.toStdString();
    EXPECT_TRUE(boites.Messages[0].Texte.contains(disque.filePath("OstrelSoft+/ver.dva")));
    EXPECT_EQ(boites.Messages[0].Style, vbExclamation);
    EXPECT_EQ(Lire("OstrelSoft+/ver.dva/garde"), QByteArray("x"));
    // In force all the same, and on the dashboard.
    EXPECT_EQ(Couleur_Police, 0x0000FF);
    EXPECT_EQ(Tableau()->findChild<QWidget*>("Lbl_Caption_Pb")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(Options_Logicielles, ChangementDuMotDePasseParLaFenetre) {
    Fichier_Options(QStringLiteral("Serre"), QStringLiteral("ancien"), 1);
    ASSERT_NE(Demarrer_Sans_Bus(vbNo), nullptr);
    Ouvrir();
    boites.Couleurs = {0x0000FF};
    Clic("Lbl_Choix_Couleur_Police");
    Clic("Cmd_Psw_Admin");
    EXPECT_EQ(Changement_Mdp_En_Cours, Vrai);
    EXPECT_EQ(Mdp_Saisie, QStringLiteral("ancien"));
    ASSERT_TRUE(registre.Est_Chargee("Frm_Psw"));
    EXPECT_TRUE(Ecran("Frm_Psw")->isVisible());
    EXPECT_TRUE(registre.Est_Chargee(Forme_Options));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Options Logicielles"));
    auto* txt = Controle<QLineEdit>("Frm_Psw", "Txt_PSW");
    ASSERT_NE(txt, nullptr);

    auto saisir = [&](const QString& texte) {
        txt->setFocus();
        txt->clear();
        QTest::keyClicks(txt, texte);
        QTest::keyClick(txt, Qt::Key_Return);
    };
    EXPECT_EQ(Frm_Menu1().Lbl_Nom_Menu(), QStringLiteral("Mot de passe"));
    saisir(QStringLiteral("faux"));
    saisir(QStringLiteral("ancien"));
    saisir(QStringLiteral("nouveau"));
    saisir(QStringLiteral("nouveau"));
    Traiter_Evenements();
    EXPECT_FALSE(registre.Est_Chargee("Frm_Psw"));
    EXPECT_EQ(Mdp_Admin, QStringLiteral("nouveau"));
    EXPECT_EQ(Changement_Mdp_En_Cours, Faux);
    // Back on this screen, still loaded with its pending choices.
    ASSERT_NE(Options(), nullptr);
    EXPECT_TRUE(Options()->isVisible());
    EXPECT_EQ(Options()->Couleurs_En_Attente[Rang_Police], 0x0000FF);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Options Logicielles"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Accueil"));
    EXPECT_EQ(Frm_Menu1().Lbl_Nom_Menu(), QStringLiteral("Options Logicielles"));
    EXPECT_EQ(Lignes_Options()[4], QStringLiteral("ancien"));  // not written yet

    // Abandoned change: the password stays.
    Clic("Cmd_Psw_Admin");
    txt = Controle<QLineEdit>("Frm_Psw", "Txt_PSW");
    ASSERT_NE(txt, nullptr);
    saisir(QStringLiteral("nouveau"));
    saisir(QStringLiteral("autre"));
    QTest::keyClick(txt, Qt::Key_Escape);
    Traiter_Evenements();
    EXPECT_FALSE(registre.Est_Chargee("Frm_Psw"));
    EXPECT_EQ(Mdp_Admin, QStringLiteral("nouveau"));

    // Cancel leaves without writing; the exit writes the new password.
    Clic("Cmd_Annuler");
    EXPECT_EQ(Lignes_Options()[4], QStringLiteral("ancien"));
    Fin_Programme();
    EXPECT_EQ(Lignes_Options()[4], QStringLiteral("nouveau"));
}
