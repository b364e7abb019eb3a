// The editing rules of the channel settings screen: what each control writes
// into the channel on show, what it shows, hides, enables and forces, and how
// showing a channel puts its record on the controls.
#include <QClipboard>
#include <QTest>

#include "banc_voies.h"

using namespace ostrel;
using namespace ostrel_test;

namespace {

class Regles : public Banc_Voies {
protected:
    Frm_Param_Voies_Forme* e = nullptr;

    void SetUp() override {
        Banc_Voies::SetUp();
        e = Ouvrir_Sans_Module(vbNo);
        ASSERT_NE(e, nullptr);
        // Sixteen AD590 channels in service, alarms off.
        for (int k = 1; k <= 16; ++k) V(k).Voie_Valide = Vrai;
        boites.Effacer();
    }
    void Montrer(int voie) { e->Affiche_Parametres_Voie(static_cast<Entier>(voie - 1)); }
    // Channel k becomes an ETOR inhibition input.
    static void Entree_Inhibition(int k) {
        V(k).Nature_Capteur = 2;
        V(k).Role_ETOR_Inhib = Vrai;
    }
    QLineEdit* Saisie(const char* boite) { return C(boite)->findChild<QLineEdit*>(); }
    // Typed by the operator, then Enter.
    void Taper(const char* boite, const QString& texte) {
        QWidget* b = C(boite);
        Saisie(boite)->selectAll();
        QTest::keyClicks(b, texte);
        QTest::keyClick(b, Qt::Key_Return);
    }
};

}  // namespace

TEST_F(Regles, ListesDesEntreesETOR) {
    Entree_Inhibition(3);
    Montrer(3);
    Cliquer("Opt_Inhib_Enreg_Oui");  // disabled for an ETOR: nothing changes
    EXPECT_TRUE(Coche("Opt_Inhib_Enreg_Non"));
    Cliquer("Opt_Alarm_Oui");
    Cliquer("Opt_Inhib_Alarm_Oui");
    EXPECT_EQ(Entrees("Cmb_Num_ETOR_Inhib_Alarm"), QStringList{"Aucune ETOR"});  // never itself

    Entree_Inhibition(12);
    Montrer(1);
    Cliquer("Opt_Alarm_Oui");
    Cliquer("Opt_Inhib_Alarm_Oui");
    EXPECT_TRUE(Montre("Cmb_Num_ETOR_Inhib_Alarm"));
    EXPECT_EQ(Entrees("Cmb_Num_ETOR_Inhib_Alarm"), (QStringList{"Aucune ETOR", "ETOR Voie n°3", "ETOR Voie n°12"}));
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Vrai);
    Choisir("Cmb_Num_ETOR_Inhib_Alarm", 2);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 12);
    Choisir("Cmb_Num_ETOR_Inhib_Alarm", 0);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 0);
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Vrai);  // the pick does not touch the flag
    // Turning the alarm off takes its inhibition by an ETOR with it, the input kept.
    Choisir("Cmb_Num_ETOR_Inhib_Alarm", 1);
    Cliquer("Opt_Alarm_Non");
    EXPECT_EQ(V(1).Alarme_Valide, Faux);
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Faux);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 3);

    // The recording list is built the same way.
    Montrer(5);
    Cliquer("Opt_Inhib_Enreg_Oui");
    EXPECT_EQ(Entrees("Cmb_Num_ETOR_Inhib_Enreg"), (QStringList{"Aucune ETOR", "ETOR Voie n°3", "ETOR Voie n°12"}));
}

TEST_F(Regles, RetraitDUneEntreeDInhibition) {
    Entree_Inhibition(3);
    V(1).Alarme_Valide = Vrai;
    V(1).Inhib_Alarme_ETOR = Vrai;
    V(1).Num_ETOR_Inhib = 3;
    V(1).Num_Planning_Inhib = 2;
    V(5).Inhib_Enreg_ETOR = Vrai;
    V(5).Num_ETOR_Inhib = 3;
    V(7).Num_ETOR_Inhib = 4;  // points elsewhere: untouched
    V(7).Inhib_Enreg_ETOR = Vrai;
    Montrer(3);
    EXPECT_TRUE(Coche("Opt_Role_ETOR_Inhib"));
    Cliquer("Opt_4_20");
    EXPECT_EQ(V(3).Nature_Capteur, 1);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 0);
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Vrai);  // its planning still inhibits it
    EXPECT_EQ(V(5).Num_ETOR_Inhib, 0);
    EXPECT_EQ(V(5).Inhib_Enreg_ETOR, Faux);
    EXPECT_EQ(V(7).Num_ETOR_Inhib, 4);
    EXPECT_EQ(V(7).Inhib_Enreg_ETOR, Vrai);

    // The same through the role, without the planning.
    Entree_Inhibition(3);
    V(1).Num_ETOR_Inhib = 3;
    V(1).Num_Planning_Inhib = 0;
    Montrer(3);
    Cliquer("Opt_Role_ETOR_Alarm");
    EXPECT_EQ(V(3).Role_ETOR_Inhib, Faux);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 0);
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Faux);

    // An alarm-role ETOR becoming an AD590 withdraws too (a file may point to it).
    V(5).Inhib_Enreg_ETOR = Vrai;
    V(5).Num_ETOR_Inhib = 3;
    Montrer(3);
    Cliquer("Opt_AD590");
    EXPECT_EQ(V(5).Num_ETOR_Inhib, 0);
    EXPECT_EQ(V(5).Inhib_Enreg_ETOR, Faux);
    // An AD590 becoming an ETOR withdraws nothing.
    V(5).Inhib_Enreg_ETOR = Vrai;
    V(5).Num_ETOR_Inhib = 3;
    Cliquer("Opt_ETOR");
    EXPECT_EQ(V(3).Nature_Capteur, 2);
    EXPECT_EQ(V(5).Num_ETOR_Inhib, 3);
    EXPECT_EQ(V(5).Inhib_Enreg_ETOR, Vrai);
}

TEST_F(Regles, InhibitionsETORExclusives) {
    V(1).Alarme_Valide = Vrai;
    // No inhibition input anywhere: "Oui" shows the list with nothing to pick.
    Montrer(1);
    Cliquer("Opt_Inhib_Alarm_Oui");
    EXPECT_TRUE(Coche("Opt_Inhib_Alarm_Oui"));
    EXPECT_TRUE(Montre("Cmb_Num_ETOR_Inhib_Alarm"));
    EXPECT_EQ(C<QComboBox>("Cmb_Num_ETOR_Inhib_Alarm")->currentText(), QStringLiteral("Aucune ETOR"));
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Faux);
    Montrer(1);
    EXPECT_TRUE(Coche("Opt_Inhib_Alarm_Non"));
    EXPECT_FALSE(Montre("Cmb_Num_ETOR_Inhib_Alarm"));

    // The recording inhibition: set only by picking an ETOR.
    Entree_Inhibition(3);
    Cliquer("Opt_Inhib_Enreg_Oui");
    EXPECT_EQ(V(1).Inhib_Enreg_ETOR, Faux);
    EXPECT_EQ(C<QComboBox>("Cmb_Num_ETOR_Inhib_Enreg")->currentText(), QStringLiteral("Aucune ETOR"));
    Choisir("Cmb_Num_ETOR_Inhib_Enreg", 1);
    EXPECT_EQ(V(1).Inhib_Enreg_ETOR, Vrai);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 3);
    // With it on, the alarm one goes straight back to "Non".
    Cliquer("Opt_Inhib_Alarm_Oui");
    EXPECT_TRUE(Coche("Opt_Inhib_Alarm_Non"));
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Faux);
    // "Aucune ETOR" clears the flag and keeps the number.
    Choisir("Cmb_Num_ETOR_Inhib_Enreg", 0);
    EXPECT_EQ(V(1).Inhib_Enreg_ETOR, Faux);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 3);

    // The alarm one on, then the recording one: the alarm one is switched off.
    Cliquer("Opt_Inhib_Enreg_Non");
    EXPECT_FALSE(Montre("Cmb_Num_ETOR_Inhib_Enreg"));
    Cliquer("Opt_Inhib_Alarm_Oui");
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Vrai);
    EXPECT_EQ(C<QComboBox>("Cmb_Num_ETOR_Inhib_Alarm")->currentText(), QStringLiteral("ETOR Voie n°3"));
    Cliquer("Opt_Inhib_Enreg_Oui");
    EXPECT_TRUE(Coche("Opt_Inhib_Alarm_Non"));
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Faux);
    EXPECT_FALSE(Montre("Cmb_Num_ETOR_Inhib_Alarm"));
}

TEST_F(Regles, InhibitionParPlanning) {
    V(1).Alarme_Valide = Vrai;
    Montrer(1);
    EXPECT_FALSE(Montre("Cmb_Num_Planning_Inhib"));
    Cliquer("Opt_Inhib_Alarm_Planning_Oui");
    EXPECT_TRUE(Montre("Cmb_Num_Planning_Inhib"));
    EXPECT_EQ(C<QComboBox>("Cmb_Num_Planning_Inhib")->currentText(), QStringLiteral("Aucun Planning"));
    Choisir("Cmb_Num_Planning_Inhib", 2);
    EXPECT_EQ(V(1).Num_Planning_Inhib, 2);
    Montrer(2);
    Montrer(1);
    EXPECT_TRUE(Coche("Opt_Inhib_Alarm_Planning_Oui"));
    EXPECT_EQ(C<QComboBox>("Cmb_Num_Planning_Inhib")->currentText(), QStringLiteral("Planning n°2"));
    Cliquer("Opt_Inhib_Alarm_Planning_Non");
    EXPECT_EQ(V(1).Num_Planning_Inhib, 0);
    EXPECT_FALSE(Montre("Cmb_Num_Planning_Inhib"));
    Cliquer("Opt_Inhib_Alarm_Planning_Oui");
    EXPECT_EQ(C<QComboBox>("Cmb_Num_Planning_Inhib")->currentText(), QStringLiteral("Aucun Planning"));
    // A planning above 16 shows no entry and stays as it is.
    V(2).Alarme_Valide = Vrai;
    V(2).Num_Planning_Inhib = 20;
    Montrer(2);
    EXPECT_EQ(C<QComboBox>("Cmb_Num_Planning_Inhib")->currentIndex(), -1);
    EXPECT_EQ(V(2).Num_Planning_Inhib, 20);
}

TEST_F(Regles, UniteEtEchelles) {
    V(1).Nature_Capteur = 1;
    V(1).Echelle_4mA = -20;
    V(1).Echelle_20mA = 150;
    Montrer(1);
    auto* e4 = C<Boite_Numerique>("Txt_Echel_4");
    auto* e20 = C<Boite_Numerique>("Txt_Echel_20");
    EXPECT_TRUE(Montre("Txt_Echel_4"));
    EXPECT_TRUE(Actif("Cmb_Unite"));
    Choisir("Cmb_Unite", 1);
    EXPECT_EQ(V(1).Unite, 1);
    EXPECT_DOUBLE_EQ(e4->Minimum(), 0);
    EXPECT_DOUBLE_EQ(e4->Maximum(), 3276.7);
    EXPECT_DOUBLE_EQ(e20->Maximum(), 100);
    EXPECT_DOUBLE_EQ(e20->Minimum(), -3276.8);
    // The values are brought within the humidity range, in the record too.
    EXPECT_FLOAT_EQ(V(1).Echelle_4mA, 0);
    EXPECT_FLOAT_EQ(V(1).Echelle_20mA, 100);
    Choisir("Cmb_Unite", 0);
    EXPECT_DOUBLE_EQ(e4->Minimum(), -3276.8);
    EXPECT_DOUBLE_EQ(e20->Maximum(), 3276.7);

    // 4-20 mA keeps its unit through a stay as an ETOR; an AD590 is always in degrees.
    Choisir("Cmb_Unite", 3);
    Cliquer("Opt_ETOR");
    EXPECT_FALSE(Montre("Cmb_Unite"));
    EXPECT_EQ(V(1).Unite, 3);
    Cliquer("Opt_4_20");
    EXPECT_EQ(V(1).Unite, 3);
    EXPECT_EQ(C<QComboBox>("Cmb_Unite")->currentText(), QStringLiteral("Bar"));
    Cliquer("Opt_AD590");
    EXPECT_EQ(V(1).Unite, 0);
    EXPECT_EQ(C<QComboBox>("Cmb_Unite")->currentText(), QStringLiteral("°C"));
    EXPECT_FALSE(Actif("Cmb_Unite"));
    EXPECT_TRUE(Montre("Cmb_Unite"));
    EXPECT_FALSE(Montre("Txt_Echel_4"));

    // A unit code the list does not hold leaves list and record as they are.
    V(2).Nature_Capteur = 1;
    V(2).Unite = 6;
    Montrer(2);
    EXPECT_EQ(V(2).Unite, 6);
}

TEST_F(Regles, NatureDuCapteur) {
    V(1).Nature_Capteur = 2;
    V(1).Alarme_Valide = Vrai;
    V(1).Contact_NF = Vrai;
    Montrer(1);
    EXPECT_TRUE(Coche("Opt_ETOR"));
    EXPECT_TRUE(Coche("Opt_Type_Contact_NF"));
    EXPECT_TRUE(Coche("Opt_Role_ETOR_Alarm"));
    EXPECT_TRUE(Montre("Frame_Type_ETOR"));
    EXPECT_FALSE(Montre("Txt_Per_Enreg"));
    EXPECT_FALSE(Montre("Check_Etalonnage"));
    EXPECT_FALSE(Actif("Frame_Inhibtion_Enreg"));
    // An ETOR has no thresholds; its delay, relay, buzzer and inhibitions stay.
    EXPECT_FALSE(Actif("Txt_Seuil_Haut"));
    EXPECT_FALSE(Actif("Lbl_Seuil_Bas"));
    EXPECT_TRUE(Actif("Txt_Tempo_Alarm"));
    EXPECT_TRUE(Actif("Opt_Relais_2"));
    EXPECT_TRUE(Actif("Opt_Buzzer_Non"));
    EXPECT_TRUE(Actif("Opt_Inhib_Alarm_Oui"));
    Cliquer("Opt_Type_Contact_NO");
    EXPECT_EQ(V(1).Contact_NF, Faux);

    Cliquer("Opt_4_20");
    EXPECT_TRUE(Actif("Txt_Seuil_Haut"));
    EXPECT_TRUE(Montre("Txt_Echel_20"));
    EXPECT_TRUE(Montre("Check_Etalonnage"));
    EXPECT_FALSE(Montre("Frame_Role_Etor"));
    EXPECT_TRUE(Actif("Frame_Inhibtion_Enreg"));
    Cliquer("Opt_ETOR");
    EXPECT_FALSE(Actif("Txt_Seuil_Bas"));
    EXPECT_EQ(V(1).Alarme_Valide, Vrai);

    // The inhibition role takes the alarm away and leaves the alarm options as they stand.
    Cliquer("Opt_Role_ETOR_Inhib");
    EXPECT_EQ(V(1).Role_ETOR_Inhib, Vrai);
    EXPECT_EQ(V(1).Alarme_Valide, Faux);
    EXPECT_TRUE(Coche("Opt_Alarm_Oui"));
    Montrer(1);
    EXPECT_TRUE(Coche("Opt_Alarm_Non"));
}

TEST_F(Regles, VoieHorsService) {
    V(1).Alarme_Valide = Vrai;
    V(1).Inhib_Enreg_ETOR = Vrai;
    V(1).Inhib_Alarme_ETOR = Vrai;
    V(1).Num_ETOR_Inhib = 3;
    V(1).Num_Planning_Inhib = 4;
    Montrer(1);
    Cliquer("Opt_Non");
    EXPECT_EQ(V(1).Voie_Valide, Faux);
    EXPECT_EQ(V(1).Alarme_Valide, Faux);
    EXPECT_EQ(V(1).Inhib_Enreg_ETOR, Faux);
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Faux);
    EXPECT_EQ(V(1).Num_ETOR_Inhib, 3);
    EXPECT_EQ(V(1).Num_Planning_Inhib, 4);
    for (const char* nom : {"Frame_Voie", "Txt_Nom_Voie", "Opt_AD590", "Cmb_Unite", "Check_Etalonnage", "Opt_Alarm_Oui",
                            "Txt_Seuil_Haut", "Frame_Buzzer", "Cmb_Num_Planning_Inhib"})
        EXPECT_FALSE(Actif(nom)) << nom;
    EXPECT_TRUE(Actif("Frame_Service"));
    EXPECT_TRUE(Actif("Opt_Oui"));
    // A disabled kind option changes nothing.
    Cliquer("Opt_ETOR");
    e->Opt_ETOR_Click();
    EXPECT_EQ(V(1).Nature_Capteur, 0);

    // Back in service: the kind rule, then the alarm "Non" rule.
    Cliquer("Opt_Oui");
    EXPECT_EQ(V(1).Voie_Valide, Vrai);
    EXPECT_TRUE(Actif("Opt_AD590"));
    EXPECT_TRUE(Actif("Txt_Nom_Voie"));
    EXPECT_FALSE(Actif("Txt_Seuil_Haut"));
    EXPECT_FALSE(Actif("Cmb_Unite"));
}

TEST_F(Regles, AffichageNormaliseLaVoie) {
    // Both ETOR inhibitions with an input elsewhere: the recording one only.
    Entree_Inhibition(3);
    V(1).Alarme_Valide = Vrai;
    V(1).Inhib_Enreg_ETOR = Vrai;
    V(1).Inhib_Alarme_ETOR = Vrai;
    V(1).Num_ETOR_Inhib = 3;
    Montrer(1);
    EXPECT_EQ(V(1).Inhib_Enreg_ETOR, Vrai);
    EXPECT_EQ(V(1).Inhib_Alarme_ETOR, Faux);
    EXPECT_TRUE(Coche("Opt_Inhib_Enreg_Oui"));
    EXPECT_EQ(C<QComboBox>("Cmb_Num_ETOR_Inhib_Enreg")->currentText(), QStringLiteral("ETOR Voie n°3"));
    // With no input anywhere: neither.
    V(3).Nature_Capteur = 0;
    V(2).Alarme_Valide = Vrai;
    V(2).Inhib_Enreg_ETOR = Vrai;
    V(2).Inhib_Alarme_ETOR = Vrai;
    V(2).Num_ETOR_Inhib = 3;
    Montrer(2);
    EXPECT_EQ(V(2).Inhib_Enreg_ETOR, Faux);
    EXPECT_EQ(V(2).Inhib_Alarme_ETOR, Faux);
    // An alarm inhibition by an ETOR that is no input any more: the record follows the list.
    Entree_Inhibition(5);
    V(4).Alarme_Valide = Vrai;
    V(4).Inhib_Alarme_ETOR = Vrai;
    V(4).Num_ETOR_Inhib = 3;
    Montrer(4);
    EXPECT_EQ(C<QComboBox>("Cmb_Num_ETOR_Inhib_Alarm")->currentText(), QStringLiteral("Aucune ETOR"));
    EXPECT_EQ(V(4).Num_ETOR_Inhib, 0);
    // A non-ETOR loses its inhibition role; an out-of-service channel its alarm flags.
    V(6).Role_ETOR_Inhib = Vrai;
    Montrer(6);
    EXPECT_EQ(V(6).Role_ETOR_Inhib, Faux);
    V(7).Voie_Valide = Faux;
    V(7).Alarme_Valide = Vrai;
    V(7).Inhib_Alarme_ETOR = Vrai;
    V(7).Inhib_Enreg_ETOR = Vrai;
    Montrer(7);
    EXPECT_EQ(V(7).Alarme_Valide, Faux);
    EXPECT_EQ(V(7).Inhib_Alarme_ETOR, Faux);
    EXPECT_EQ(V(7).Inhib_Enreg_ETOR, Faux);
    EXPECT_TRUE(Coche("Opt_Non"));
}

TEST_F(Regles, BoitesNumeriquesEtNom) {
    V(1).Nature_Capteur = 1;
    V(1).Alarme_Valide = Vrai;
    Montrer(1);
    Taper("Txt_Echel_4", "12,5");
    EXPECT_FLOAT_EQ(V(1).Echelle_4mA, 12);
    Taper("Txt_Echel_20", "13.5");
    EXPECT_FLOAT_EQ(V(1).Echelle_20mA, 14);
    Taper("Txt_Seuil_Haut", "12,5");
    EXPECT_FLOAT_EQ(V(1).Seuil_Haut, 12.5f);
    Taper("Txt_Seuil_Bas", "-4000");
    EXPECT_FLOAT_EQ(V(1).Seuil_Bas, -3276.8f);
    Taper("Txt_Per_Enreg", "300");
    EXPECT_EQ(V(1).Periode_Enreg, 240);
    Taper("Txt_Per_Enreg", "2,5");
    EXPECT_EQ(V(1).Periode_Enreg, 2);
    Taper("Txt_Tempo_Alarm", "0");
    EXPECT_EQ(V(1).Tempo_Alarme, 1);
    EXPECT_EQ(C<Boite_Numerique>("Txt_Per_Enreg")->toolTip(), QStringLiteral("(1 à 240 minutes)"));
    // A period out of the box's range comes back within it when shown.
    V(2).Periode_Enreg = 0;
    Montrer(2);
    EXPECT_EQ(V(2).Periode_Enreg, 1);

    // The name: every change lands at once; keys outside space..z are dropped.
    Montrer(1);
    auto* nom = C<QLineEdit>("Txt_Nom_Voie");
    QTest::mouseClick(nom, Qt::LeftButton);
    EXPECT_EQ(nom->selectedText(), QStringLiteral("Voie 1"));
    QTest::keyClicks(nom, QStringLiteral("Cuve z{"));
    EXPECT_EQ(V(1).Nom_Voie, QStringLiteral("Cuve z"));
    QTest::keyClick(nom, Qt::Key_Backspace);
    EXPECT_EQ(V(1).Nom_Voie, QStringLiteral("Cuve "));
    QTest::sendKeyEvent(QTest::Click, nom, Qt::Key_Eacute, QStringLiteral("é"), Qt::NoModifier);
    QTest::keyClicks(nom, QStringLiteral("~ABCDEFGHIJKL"));
    EXPECT_EQ(V(1).Nom_Voie, QStringLiteral("Cuve ABCDEFG"));  // 12 characters at most
    EXPECT_EQ(nom->toolTip(), QStringLiteral("12 caractères maxi"));
    // Nothing gets in by a paste or a drop either.
    EXPECT_FALSE(nom->acceptDrops());
    QApplication::clipboard()->setText(QStringLiteral("Été"));
    QTest::keySequence(nom, QKeySequence::Paste);
    EXPECT_EQ(V(1).Nom_Voie, QStringLiteral("Cuve ABCDEFG"));
    nom->clear();
    QTest::keySequence(nom, QKeySequence::Paste);
    EXPECT_EQ(V(1).Nom_Voie, QString());
    int code = 233;
    e->Txt_Nom_Voie_KeyPress(code);
    EXPECT_EQ(code, 0);
    code = 122;
    e->Txt_Nom_Voie_KeyPress(code);
    EXPECT_EQ(code, 122);
    code = 8;
    e->Txt_Nom_Voie_KeyPress(code);
    EXPECT_EQ(code, 8);
}
