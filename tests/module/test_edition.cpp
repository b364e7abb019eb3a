// Editing on the module settings screen: header lines, relays, codes and
// names, planning ranges and tabs.
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "banc_module.h"
#include "config/regles_param_oc.h"

using namespace ostrel;
using namespace ostrel::essai_module;

namespace {

class Edition : public Banc_Ecran {
protected:
    Parametres_Module& Fiche() { return Tab_Parametres_Modules[2]; }
    void Montrer(int p) {
        auto* onglets = C<QTabBar>("TabStrip_Num_Planning");
        if (onglets->currentIndex() == p - 1) onglets->setCurrentIndex(p == 1 ? 1 : 0);
        onglets->setCurrentIndex(p - 1);
    }
    bool Rouge(int i) const {
        const int d = i & ~1;
        bool tous = true, aucun = true;
        for (QWidget* w : {static_cast<QWidget*>(e->Lbl_Plage(d)), static_cast<QWidget*>(e->Msk_Plage(d)),
                           static_cast<QWidget*>(e->Lbl_Plage(d + 1)), static_cast<QWidget*>(e->Msk_Plage(d + 1))}) {
            const bool r = w->property("ForeColor").toInt() == Couleur_Rouge;
            tous = tous && r;
            aucun = aucun && !r;
        }
        EXPECT_TRUE(tous || aucun) << "range " << d / 2 << " half red";
        return tous;
    }
    static Date H(int h, int m) { return TimeSerial(h, m, 0); }
};

}  // namespace

TEST_F(Edition, LignesDEntete) {
    QLineEdit* l1 = Boite("Txt_Premiere_Ligne");
    QLineEdit* l2 = Boite("Txt_Deuxieme_Ligne");
    EXPECT_EQ(l1->maxLength(), 32);
    EXPECT_EQ(l1->toolTip(), QStringLiteral("La première ligne définit le nom du module"));
    EXPECT_EQ(l2->toolTip(), QStringLiteral("Cette ligne n'apparait que sur les tickets d'impression"));

    // A click selects the whole line, so typing replaces it; every keystroke is stored.
    QTest::mouseClick(l1, Qt::LeftButton);
    EXPECT_EQ(l1->selectedText(), l1->text());
    Frapper(l1, QStringLiteral("Congelateur"));
    EXPECT_EQ(Fiche().Entete, QStringLiteral("Congelateur").leftJustified(32) + QStringLiteral("Quai nord"));
    Frapper(l1, QStringLiteral(" 16ch"));
    EXPECT_EQ(Fiche().Entete, QStringLiteral("Congelateur 16ch").leftJustified(32) + QStringLiteral("Quai nord"));

    // Keys outside " ".."z" are dropped; Backspace passes.
    Frapper(l1, QStringLiteral("é{~|"));
    QTest::keyClick(l1, Qt::Key_Return);
    boites.Reponses = {vbCancel};
    QTest::keyClick(l1, Qt::Key_Escape);
    QGuiApplication::clipboard()->setText(QStringLiteral("collé"));
    QTest::keyClick(l1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(l1->text(), QStringLiteral("Congelateur 16ch"));
    QTest::keyClick(l1, Qt::Key_Backspace);
    EXPECT_EQ(l1->text(), QStringLiteral("Congelateur 16c"));
    // Esc reached the screen: its question was asked and cancelled.
    EXPECT_EQ(boites.Textes().size(), 1u);
    EXPECT_TRUE(registre.Est_Chargee("Frm_Param_OC"));

    // Second line; an empty first line stores blanks before it.
    Taper(l2, QStringLiteral("Ticket"));
    EXPECT_EQ(Fiche().Entete, QStringLiteral("Congelateur 16c").leftJustified(32) + QStringLiteral("Ticket").leftJustified(32));
    l1->clear();
    EXPECT_EQ(Fiche().Entete, QString(32, ' ') + QStringLiteral("Ticket").leftJustified(32));

    // A header shorter than a line: the second line comes right after it.
    Fiche().Entete = QStringLiteral("Module non connecté");
    Taper(l2, QStringLiteral("B"));
    EXPECT_EQ(Fiche().Entete, QStringLiteral("Module non connectéB").leftJustified(51));
}

TEST_F(Edition, LogiqueDesRelais) {
    Fiche().Logique_STOR1 = 3;
    Fiche().Logique_STOR2 = 0xF4;
    auto clic = [this](const char* nom) { QTest::mouseClick(C<QRadioButton>(nom), Qt::LeftButton); };
    clic("Opt_Relais1_Maintenu");
    EXPECT_EQ(Fiche().Logique_STOR1, 1);
    clic("Opt_Relais1_NO");
    EXPECT_EQ(Fiche().Logique_STOR1, 0);
    clic("Opt_Relais1_Impulsionnel");
    EXPECT_EQ(Fiche().Logique_STOR1, 2);
    clic("Opt_Relais1_NF");
    EXPECT_EQ(Fiche().Logique_STOR1, 3);
    clic("Opt_Relais1_NF");  // the option already chosen
    EXPECT_EQ(Fiche().Logique_STOR1, 3);
    EXPECT_TRUE(C<QRadioButton>("Opt_Relais1_NF")->isChecked());
    EXPECT_FALSE(C<QRadioButton>("Opt_Relais1_NO")->isChecked());
    // Higher bits read from a module: kept by Impulsionnel and NF, lost by Maintenu and NO.
    clic("Opt_Relais2_Impulsionnel");
    EXPECT_EQ(Fiche().Logique_STOR2, 0xF6);
    clic("Opt_Relais2_NF");
    EXPECT_EQ(Fiche().Logique_STOR2, 0xF7);
    clic("Opt_Relais2_Maintenu");
    EXPECT_EQ(Fiche().Logique_STOR2, 1);
    Fiche().Logique_STOR2 = 0xF7;
    clic("Opt_Relais2_NO");
    EXPECT_EQ(Fiche().Logique_STOR2, 2);
    EXPECT_EQ(Fiche().Logique_STOR1, 3);  // the other relay untouched
}

TEST_F(Edition, CodesEtNoms) {
    QLineEdit* code = e->Msk_Mot_Passe(1);
    QLineEdit* nom = e->Txt_Nom_Passe(1);
    EXPECT_EQ(code->maxLength(), 4);
    EXPECT_EQ(nom->maxLength(), 12);
    EXPECT_EQ(code->property("Index").toInt(), 1);
    QTest::mouseClick(code, Qt::LeftButton);
    EXPECT_EQ(code->selectedText(), QStringLiteral("2222"));
    Frapper(code, QStringLiteral("a 7-"));
    EXPECT_EQ(code->text(), QStringLiteral("7"));
    Quitter(code);
    EXPECT_EQ(code->text(), QStringLiteral("0007"));
    code->clear();
    Quitter(code);
    EXPECT_EQ(code->text(), QStringLiteral("0000"));
    Taper(code, QStringLiteral("12345"));
    EXPECT_EQ(code->text(), QStringLiteral("1234"));  // the box holds four digits
    QTest::keyClick(code, Qt::Key_Backspace);
    EXPECT_EQ(code->text(), QStringLiteral("123"));
    // A pasted text that is not a code does not get in.
    code->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("12a4"));
    code->paste();
    EXPECT_EQ(code->text(), QStringLiteral("123"));

    QTest::mouseClick(nom, Qt::LeftButton);
    EXPECT_EQ(nom->selectedText(), nom->text());
    Frapper(nom, QStringLiteral("Léa {Nuit}"));
    EXPECT_EQ(nom->text(), QStringLiteral("La Nuit"));
    Quitter(nom);
    EXPECT_EQ(nom->text(), QStringLiteral("La Nuit"));  // names are never filled up
    Frapper(nom, QStringLiteral("abcdefghijkl"));
    EXPECT_EQ(nom->text().size(), 12);

    // What the module then receives: the codes as numbers, an empty name as the default one.
    e->Txt_Nom_Passe(3)->clear();
    e->Msk_Mot_Passe(0)->setText(QStringLiteral("0042"));
    e->Configurer_Ostrelclim();
    bus.Avec_Etat([](sim::Etat_Bus& b) {
        const sim::Module_Simule& m = b.modules[3];
        EXPECT_EQ(m.codes_acces[0], 42);
        EXPECT_EQ(m.codes_acces[1], 123);
        EXPECT_EQ(m.operateurs[1], QByteArray("La Nuitabcde"));
        EXPECT_EQ(m.operateurs[3], QByteArray("OPERATEUR 4 "));
    });
}

TEST_F(Edition, OngletsDesPlannings) {
    Fiche().Planning[5][0] = H(6, 15);
    Fiche().Planning[5][15] = H(23, 0);
    Fiche().Planning[5][2] = H(10, 0);  // an end before its begin, as a file may hold it
    Fiche().Planning[5][3] = H(9, 0);
    QTest::mouseClick(C<QTabBar>("TabStrip_Num_Planning"),
                      Qt::LeftButton, {}, C<QTabBar>("TabStrip_Num_Planning")->tabRect(4).center());
    EXPECT_EQ(Num_Planning, 5);
    EXPECT_EQ(Boite("Msk_Semaine_Plage1_Deb")->displayText(), QStringLiteral("06:15"));
    EXPECT_EQ(Boite("Msk_Weekend_Plage4_Fin")->displayText(), QStringLiteral("23:00"));
    EXPECT_EQ(Boite("Msk_Semaine_Plage2_Deb")->displayText(), QStringLiteral("10:00"));
    EXPECT_TRUE(Rouge(2));
    EXPECT_FALSE(Rouge(0));
    // Showing a planning stores nothing.
    EXPECT_DOUBLE_EQ(Fiche().Planning[5][2], H(10, 0));
    EXPECT_DOUBLE_EQ(Fiche().Planning[5][3], H(9, 0));
    EXPECT_EQ(Planning_Actif[4], Faux);
    // Back to planning 1: its own times, its own colours.
    Montrer(1);
    EXPECT_EQ(Boite("Msk_Semaine_Plage1_Deb")->displayText(), QStringLiteral("08:00"));
    EXPECT_FALSE(Rouge(2));
    // 24:00 as decoded shows the start of its date text.
    Montrer(3);
    EXPECT_EQ(Boite("Msk_Weekend_Plage1_Fin")->displayText().left(2), QStringLiteral("31"));
}

TEST_F(Edition, PlagesDebutEtFin) {
    Montrer(4);
    auto& p = Fiche().Planning[4];
    QLineEdit* deb2 = Boite("Msk_Semaine_Plage2_Deb");
    QLineEdit* fin2 = Boite("Msk_Semaine_Plage2_Fin");

    // An end of 00:00 is not compared: any begin is stored at once.
    Taper(deb2, QStringLiteral("2"));
    EXPECT_EQ(p[2], 0);  // partial times never reach the record
    Taper(deb2, QStringLiteral("1000"));
    EXPECT_DOUBLE_EQ(p[2], H(10, 0));
    EXPECT_FALSE(Rouge(2));

    // An end not after its begin: red, not stored; leaving the box clears the range.
    Taper(fin2, QStringLiteral("1000"));
    EXPECT_TRUE(Rouge(2));
    EXPECT_EQ(p[3], 0);
    Quitter(fin2);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 0);
    EXPECT_TRUE(Rouge(2));
    EXPECT_EQ(deb2->displayText(), QStringLiteral("10:00"));
    EXPECT_EQ(fin2->displayText(), QStringLiteral("10:00"));
    // Against the stored begin of 00:00, an end typed next is accepted.
    Taper(fin2, QStringLiteral("0930"));
    EXPECT_DOUBLE_EQ(p[3], H(9, 30));
    EXPECT_FALSE(Rouge(2));
    EXPECT_EQ(Planning_Actif[3], Faux);  // only the first weekday range marks a planning

    // A begin after the stored end turns red at its last keystroke and is not stored.
    Taper(deb2, QStringLiteral("08"));
    EXPECT_DOUBLE_EQ(p[2], 0);
    Frapper(deb2, QStringLiteral("00"));
    EXPECT_DOUBLE_EQ(p[2], H(8, 0));
    Taper(deb2, QStringLiteral("1100"));
    EXPECT_TRUE(Rouge(2));
    EXPECT_DOUBLE_EQ(p[2], H(8, 0));
    // Corrected, it is stored at once but stays red until the box is left.
    Taper(deb2, QStringLiteral("0900"));
    EXPECT_DOUBLE_EQ(p[2], H(9, 0));
    EXPECT_TRUE(Rouge(2));
    Quitter(deb2);
    EXPECT_FALSE(Rouge(2));
    EXPECT_DOUBLE_EQ(p[2], H(9, 0));

    // A begin left red and still after the end stays red and is not stored.
    Taper(deb2, QStringLiteral("1200"));
    EXPECT_TRUE(Rouge(2));
    Quitter(deb2);
    EXPECT_TRUE(Rouge(2));
    EXPECT_DOUBLE_EQ(p[2], H(9, 0));

    // An incomplete begin becomes 00:00 and clears the begin only.
    Taper(deb2, QStringLiteral("1"));
    EXPECT_EQ(deb2->displayText(), QStringLiteral("1_:__"));
    Quitter(deb2);
    EXPECT_EQ(deb2->displayText(), QStringLiteral("00:00"));
    EXPECT_EQ(p[2], 0);
    EXPECT_DOUBLE_EQ(p[3], H(9, 30));
    EXPECT_TRUE(Rouge(2));  // colours are not touched by the repair

    // An incomplete end clears both; the begin box keeps its text.
    QLineEdit* deb3 = Boite("Msk_Weekend_Plage3_Deb");
    QLineEdit* fin3 = Boite("Msk_Weekend_Plage3_Fin");
    Taper(deb3, QStringLiteral("0700"));
    Taper(fin3, QStringLiteral("0800"));
    EXPECT_DOUBLE_EQ(p[12], H(7, 0));
    EXPECT_DOUBLE_EQ(p[13], H(8, 0));
    Taper(fin3, QStringLiteral("1"));
    Quitter(fin3);
    EXPECT_EQ(fin3->displayText(), QStringLiteral("00:00"));
    EXPECT_EQ(deb3->displayText(), QStringLiteral("07:00"));
    EXPECT_EQ(p[12], 0);
    EXPECT_EQ(p[13], 0);
}

TEST_F(Edition, PremierePlageDeLaSemaineMarqueLePlanning) {
    Montrer(4);
    auto& p = Fiche().Planning[4];
    QLineEdit* deb1 = Boite("Msk_Semaine_Plage1_Deb");
    QLineEdit* fin1 = Boite("Msk_Semaine_Plage1_Fin");

    // Begin 09:00, end left at 08:30: red, both cleared, not in use.
    Taper(deb1, QStringLiteral("0900"));
    Taper(fin1, QStringLiteral("0830"));
    EXPECT_TRUE(Rouge(0));
    Quitter(fin1);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(Planning_Actif[3], Faux);

    // Leaving it with 00:00 over a begin of 00:00 stores 00:00 and marks the planning.
    Taper(fin1, QStringLiteral("0000"));
    Quitter(fin1);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(Planning_Actif[3], Vrai);

    // Leaving it with a storable time marks the shown planning only.
    Planning_Actif[3] = Faux;
    Taper(fin1, QStringLiteral("1700"));
    Quitter(fin1);
    EXPECT_DOUBLE_EQ(p[1], H(17, 0));
    EXPECT_EQ(Planning_Actif[3], Vrai);
    EXPECT_EQ(Planning_Actif[4], Faux);

    // The end of another range marks nothing.
    Montrer(6);
    Taper(Boite("Msk_Semaine_Plage2_Fin"), QStringLiteral("1700"));
    Quitter(Boite("Msk_Semaine_Plage2_Fin"));
    EXPECT_DOUBLE_EQ(Fiche().Planning[6][3], H(17, 0));
    EXPECT_EQ(Planning_Actif[5], Faux);
}

TEST_F(Edition, EchapEtRetour) {
    boites.Reponses = {vbCancel};
    QTest::keyRelease(Boite("Msk_Semaine_Plage1_Deb"), Qt::Key_Escape);
    ASSERT_EQ(boites.Messages.size(), 1u);
    EXPECT_EQ(boites.Messages[0].Texte, QStringLiteral("Voulez vous quitter l'écran de paramétrage du module ?"));
    EXPECT_EQ(boites.Messages[0].Style, vbOKCancel);
    EXPECT_EQ(boites.Messages[0].Titre, Titre_Application);
    EXPECT_TRUE(registre.Est_Chargee("Frm_Param_OC"));

    boites.Reponses = {vbOK};
    QTest::mouseClick(C<QPushButton>("Cmd_Quitter"), Qt::LeftButton);
    EXPECT_EQ(boites.Messages.size(), 2u);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Param_OC"));
    EXPECT_TRUE(registre.Est_Chargee("Frm_Menu_Config"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));
    // Nothing was sent on the way out.
    EXPECT_EQ(bus.Nombre_Requetes(0x16), 0);
}

TEST_F(Edition, UneBoiteQuitteeParUnClicSurUnBouton) {
    // The real way out of a box: another control takes the focus, the box's
    // rule runs before the button's command.
    QApplication::setActiveWindow(&hote);
    QLineEdit* code = e->Msk_Mot_Passe(0);
    code->setFocus();
    ASSERT_TRUE(code->hasFocus());
    Taper(code, QStringLiteral("7"));
    QTest::mouseClick(C<QPushButton>("Cmd_Telecharger"), Qt::LeftButton);
    EXPECT_EQ(code->text(), QStringLiteral("0007"));
    bus.Avec_Etat([](sim::Etat_Bus& b) { EXPECT_EQ(b.modules[3].codes_acces[0], 7); });

    // A time box left for a planning tab: the rule runs on the planning shown before.
    QLineEdit* fin = Boite("Msk_Semaine_Plage1_Fin");
    fin->setFocus();
    ASSERT_TRUE(fin->hasFocus());
    Taper(fin, QStringLiteral("1"));
    auto* onglets = C<QTabBar>("TabStrip_Num_Planning");
    QTest::mouseClick(onglets, Qt::LeftButton, {}, onglets->tabRect(6).center());
    EXPECT_EQ(Num_Planning, 7);
    EXPECT_EQ(Fiche().Planning[1][0], 0);  // planning 1's first range cleared by the incomplete end
    EXPECT_EQ(Fiche().Planning[1][1], 0);
    EXPECT_EQ(Fiche().Planning[7][1], 0);
    EXPECT_EQ(fin->displayText(), QStringLiteral("00:00"));
}
