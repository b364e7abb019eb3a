// The password window in its two modes: the check before the configuration
// menu and the software options, and the change of the administrator password.
#include <QLineEdit>
#include <QStyle>

#include "programme_test.h"
#include "shell/frm_psw.h"

using namespace ostrel;
using ostrel_test::Programme;
using ostrel_test::Traiter_Evenements;

namespace {

const QString Saisissez = QStringLiteral("Saisissez le mot de passe :");
const QString Incorrect = QStringLiteral("Mot de passe incorrecte, recommencez !");
const QString Nouveau = QStringLiteral("Saisir le nouveau mot de passe :");
const QString Confirmer = QStringLiteral("Confirmer la saisie du nouveau mot de passe :");
const QString Reprendre = QStringLiteral("Saisie incorrecte, saisir à nouveau l'ancien mot de passe :");

class Mot_De_Passe : public Programme {
protected:
    Frm_Psw_Forme* Psw() const { return registre.Instance_De<Frm_Psw_Forme>("Frm_Psw"); }
    QLineEdit* Txt() const { return Controle<QLineEdit>("Frm_Psw", "Txt_PSW"); }
    // Types a text in the box and releases Enter there.
    void Saisir(const QString& texte) {
        ASSERT_NE(Txt(), nullptr);
        Txt()->setFocus();
        Txt()->clear();
        QTest::keyClicks(Txt(), texte);
        Touche("Frm_Psw", "Txt_PSW", Qt::Key_Return);
    }
    // The options screen opens the window itself for a change.
    void Ouvrir_Changement() {
        Liaison_Ecran(QStringLiteral("Accueil"), QStringLiteral("Options Logicielles"), Faux);
        Changement_Mdp_En_Cours = Vrai;
        Mdp_Saisie = Mdp_Admin;
        registre.Charger("Frm_Psw");
        registre.Afficher("Frm_Psw");
        registre.Focus("Frm_Psw");
    }
};

}  // namespace

TEST_F(Mot_De_Passe, ControleRefusPuisAcceptation) {
    Frm_Menu1_Forme* t = Demarrer();
    ASSERT_NE(t, nullptr);
    Mdp_Admin = QStringLiteral("Froid-18");
    Cliquer("Frm_Accueil", "Cmd_Menu2");
    ASSERT_NE(Psw(), nullptr);
    EXPECT_EQ(Psw()->Caption(), Saisissez);
    EXPECT_EQ(Psw()->Mode_Psw, QStringLiteral("Accueil"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Mot de passe"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mot de passe"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Accueil"));
    EXPECT_TRUE(Txt()->hasFocus());
    EXPECT_EQ(Txt()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Txt()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, Txt()), '*');

    // Comparisons are exact; any number of tries.
    for (const char* faux : {"froid-18", "Froid-18 ", "", "Froid"}) {
        Saisir(QString::fromUtf8(faux));
        EXPECT_EQ(Psw()->Caption(), Incorrect);
        EXPECT_TRUE(Txt()->text().isEmpty());
        EXPECT_TRUE(Charge("Frm_Accueil"));
    }
    Saisir(QStringLiteral("Froid-18"));
    EXPECT_EQ(Mdp_Correct, Vrai);
    EXPECT_FALSE(Charge("Frm_Psw"));
    EXPECT_FALSE(Charge("Frm_Accueil"));
    EXPECT_TRUE(Charge("Frm_Menu_Config"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Accueil"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Configuration"));
    // Nothing typed reaches the trace.
    for (const QString& ligne : Trace()) EXPECT_FALSE(ligne.contains(QStringLiteral("Froid"))) << ligne.toStdString();
}

TEST_F(Mot_De_Passe, MaintenanceVideEtAnnulation) {
    Frm_Menu1_Forme* t = Demarrer();
    ASSERT_NE(t, nullptr);
    Mdp_Admin = QStringLiteral("admin");
    // The maintenance password of the month: a few digits and four letters, fits the box.
    const QString maintenance = Mdp_Maintenance();
    EXPECT_LE(maintenance.size(), 10);
    Definir_Horloge_Murale([] { return DateSerial(2027, 11, 7); });
    EXPECT_NE(Mdp_Maintenance(), maintenance);  // it changes with the month
    Definir_Horloge_Murale([] { return DateSerial(2027, 3, 30) + TimeSerial(23, 59, 0); });
    EXPECT_EQ(Mdp_Maintenance(), maintenance);

    Cliquer("Frm_Accueil", "Cmd_Menu3");
    Saisir(maintenance);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Options Logicielles"));
    EXPECT_TRUE(Charge("Frm_Options_Logicielles"));
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Accueil"), Faux);

    // Esc: back home, enabled again, the password screen as previous one.
    Cliquer("Frm_Accueil", "Cmd_Menu2");
    QTest::keyClicks(Txt(), QStringLiteral("adm"));
    Touche("Frm_Psw", "Txt_PSW", Qt::Key_Escape);
    EXPECT_FALSE(Charge("Frm_Psw"));
    EXPECT_EQ(Mdp_Correct, Faux);
    ASSERT_TRUE(Charge("Frm_Accueil"));
    EXPECT_TRUE(Forme("Frm_Accueil")->isEnabled());
    EXPECT_TRUE(Forme("Frm_Accueil")->isVisible());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Accueil"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Mot de passe"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Accueil"));

    // Annuler likewise; OK is Enter.
    Cliquer("Frm_Accueil", "Cmd_Menu2");
    Cliquer("Frm_Psw", "Cmd_Annuler");
    EXPECT_FALSE(Charge("Frm_Psw"));
    EXPECT_TRUE(Forme("Frm_Accueil")->isEnabled());
    Cliquer("Frm_Accueil", "Cmd_Menu2");
    QTest::keyClicks(Txt(), QStringLiteral("admin"));
    Cliquer("Frm_Psw", "Cmd_OK");
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));

    // An empty administrator password accepts an empty entry.
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Accueil"), Faux);
    Mdp_Admin.clear();
    Cliquer("Frm_Accueil", "Cmd_Menu2");
    Saisir(QString());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));
}

TEST_F(Mot_De_Passe, DixCaracteresAuPlus) {
    ASSERT_NE(Demarrer(), nullptr);
    Cliquer("Frm_Accueil", "Cmd_Menu2");
    QTest::keyClicks(Txt(), QStringLiteral("abcdefghijk"));
    EXPECT_EQ(Txt()->text(), QStringLiteral("abcdefghij"));
    EXPECT_EQ(Txt()->displayText(), QStringLiteral("**********"));
}

TEST_F(Mot_De_Passe, ChangementEnTroisEtapes) {
    Frm_Menu1_Forme* t = Demarrer();
    ASSERT_NE(t, nullptr);
    Mdp_Admin = QStringLiteral("ancien");
    Ouvrir_Changement();
    ASSERT_NE(Psw(), nullptr);
    EXPECT_EQ(Psw()->Mode_Psw, QStringLiteral("Options Logicielles"));
    EXPECT_TRUE(Charge("Frm_Options_Logicielles"));

    Saisir(QStringLiteral("faux"));
    EXPECT_EQ(Psw()->Caption(), Incorrect);
    Saisir(QStringLiteral("ancien"));
    EXPECT_EQ(Psw()->Caption(), Nouveau);
    Saisir(QStringLiteral("neuf"));
    EXPECT_EQ(Psw()->Caption(), Confirmer);
    Saisir(QStringLiteral("nEuf"));  // differs: back to the old password
    EXPECT_EQ(Psw()->Caption(), Reprendre);
    Saisir(QStringLiteral("neuf"));  // not the old one
    EXPECT_EQ(Psw()->Caption(), Incorrect);
    Saisir(QStringLiteral("ancien"));
    Saisir(QStringLiteral("neuf"));
    EXPECT_EQ(Mdp_Admin, QStringLiteral("ancien"));  // nothing stored before the confirmation
    Saisir(QStringLiteral("neuf"));

    EXPECT_FALSE(Charge("Frm_Psw"));
    EXPECT_EQ(Mdp_Admin, QStringLiteral("neuf"));
    EXPECT_EQ(Changement_Mdp_En_Cours, Faux);
    EXPECT_EQ(Mdp_Correct, Faux);
    EXPECT_TRUE(Charge("Frm_Options_Logicielles"));
    EXPECT_TRUE(Forme("Frm_Options_Logicielles")->isVisible());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Options Logicielles"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Accueil"));
    EXPECT_EQ(t->Lbl_Nom_Menu(), QStringLiteral("Options Logicielles"));
    for (const QString& ligne : Trace()) {
        EXPECT_FALSE(ligne.contains(QStringLiteral("neuf"))) << ligne.toStdString();
        EXPECT_FALSE(ligne.contains(QStringLiteral("ancien"))) << ligne.toStdString();
    }
}

TEST_F(Mot_De_Passe, ChangementAnnuleMaintenanceEtMotDePasseVide) {
    ASSERT_NE(Demarrer(), nullptr);
    Mdp_Admin = QStringLiteral("ancien");
    // Cancelled after the new password, before the confirmation: nothing changes.
    Ouvrir_Changement();
    Saisir(QStringLiteral("ancien"));
    Saisir(QStringLiteral("neuf"));
    Touche("Frm_Psw", "Txt_PSW", Qt::Key_Escape);
    EXPECT_FALSE(Charge("Frm_Psw"));
    EXPECT_EQ(Mdp_Admin, QStringLiteral("ancien"));
    EXPECT_EQ(Changement_Mdp_En_Cours, Faux);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Options Logicielles"));

    // The maintenance password opens a change too, and an empty password can be stored.
    Ouvrir_Changement();
    EXPECT_EQ(Psw()->Caption(), Saisissez);  // a fresh window
    Saisir(Mdp_Maintenance());
    EXPECT_EQ(Psw()->Caption(), Nouveau);
    Saisir(QString());
    EXPECT_EQ(Psw()->Caption(), Confirmer);
    Saisir(QString());
    EXPECT_FALSE(Charge("Frm_Psw"));
    EXPECT_TRUE(Mdp_Admin.isEmpty());
}
