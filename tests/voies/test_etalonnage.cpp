// The calibration dialog over the channel settings screen: offset read at the
// opening, live measure refreshed by its timer, offset applied and read back,
// failures, and the two windows disabled while it is open.
#include <QTest>

#include "banc_voies.h"
#include "platform/ui/minuterie.h"

using namespace ostrel;
using namespace ostrel_test;

namespace {

const QString Pas_De_Reponse = QStringLiteral("Pas de réponse!");

class Etalonnage : public Banc_Voies {
protected:
    Frm_Param_Voies_Forme* e = nullptr;

    void SetUp() override {
        Banc_Voies::SetUp();
        Bus({1, 5}, 16);
        for (int k = 1; k <= 16; ++k) {
            Parametres_Voie v = Voie_Defaut(k - 1);
            v.Voie_Valide = Vrai;
            Voie_Module(5, k, v);
        }
        Demarrer(vbYes);
        Num_Module = 5;
        e = Ouvrir();
        ASSERT_NE(e, nullptr);
        boites.Effacer();
    }
    // The sensor's measure; the module adds the offset to what it returns.
    void Mesure(int voie, Entier dixiemes) {
        bus.Avec_Etat([&](sim::Etat_Bus& b) { return b.modules[5].voies[static_cast<size_t>(voie - 1)].mesure = dixiemes; });
    }
    void Correction(int voie, Entier dixiemes) {
        bus.Avec_Etat([&](sim::Etat_Bus& b) {
            return b.modules[5].voies[static_cast<size_t>(voie - 1)].correction = dixiemes;
        });
    }
    Entier Correction(int voie) {
        return bus.Avec_Etat([&](sim::Etat_Bus& b) { return b.modules[5].voies[static_cast<size_t>(voie - 1)].correction; });
    }
    Frm_Etalonnage_Forme* Ouvrir_Dialogue(int voie) {
        e->Affiche_Parametres_Voie(static_cast<Entier>(voie - 1));
        Cliquer("Check_Etalonnage");
        return Dialogue();
    }
    Minuterie* Minuteur() { return Dialogue()->Tmr_Mesure_Instant(); }
    QString Texte(const char* nom) { return D<QLabel>(nom)->text(); }
};

}  // namespace

TEST_F(Etalonnage, OuvertureMesuresEtApplication) {
    Correction(3, 15);
    Mesure(3, 200);
    Frm_Etalonnage_Forme* d = Ouvrir_Dialogue(3);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Num_Voie_Etalonnage, 2);
    EXPECT_TRUE(d->isWindow());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Etalonnage voie n°3"));
    EXPECT_FLOAT_EQ(V(3).Offset, 1.5f);
    EXPECT_DOUBLE_EQ(D<Boite_Numerique>("Txt_Offset")->Value(), 1.5);
    EXPECT_DOUBLE_EQ(D<Boite_Numerique>("Txt_Offset")->Minimum(), -3276.8);
    EXPECT_DOUBLE_EQ(D<Boite_Numerique>("Txt_Offset")->Maximum(), 3276.7);
    EXPECT_EQ(Texte("Lbl_Mes_Inst"), QStringLiteral("XX.X +"));
    EXPECT_EQ(Texte("Lbl_Val_Final"), QStringLiteral("= XX.X"));
    // The screen and the dashboard are out of use; the dialog alone takes input.
    EXPECT_FALSE(e->isEnabled());
    EXPECT_FALSE(Tableau()->isEnabled());
    EXPECT_TRUE(d->isEnabled());
    EXPECT_TRUE(D("Cmd_Appliquer")->isEnabled());

    // A tick: the corrected measure as the module gives it, the raw one without the offset.
    EXPECT_TRUE(Minuteur()->Enabled());
    EXPECT_EQ(Minuteur()->Interval(), 1000);
    ASSERT_TRUE(Minuteur()->Declencher());
    EXPECT_EQ(Texte("Lbl_Val_Final"), QStringLiteral("21,5"));
    EXPECT_EQ(Texte("Lbl_Mes_Inst"), QStringLiteral("20"));
    EXPECT_TRUE(Minuteur()->Enabled());
    Mesure(3, -32767);  // a contact mark is shown as a number
    ASSERT_TRUE(Minuteur()->Declencher());
    EXPECT_EQ(Texte("Lbl_Val_Final"), QStringLiteral("-3276,7"));

    // Apply: written in tenths, read back, traced; the refresh goes on.
    auto* boite = D<Boite_Numerique>("Txt_Offset");
    boite->Value(-2.3);
    bus.Effacer_Trames();
    D<QAbstractButton>("Cmd_Appliquer")->click();
    EXPECT_TRUE(boites.Messages.empty());
    EXPECT_EQ(Correction(3), -23);
    EXPECT_FLOAT_EQ(V(3).Offset, -2.3f);
    EXPECT_EQ(bus.Nombre_Requetes(0x03), 2);  // the write, then the read back
    const auto trames = bus.Trames_Recues();
    ASSERT_EQ(trames.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(trames[0].octets[1]), 16);
    EXPECT_EQ(static_cast<unsigned char>(trames[1].octets[1]), 3);
    EXPECT_TRUE(Trace().back().endsWith(QStringLiteral("Modification offset du module 5 voie 3")));
    EXPECT_TRUE(Minuteur()->Enabled());
    EXPECT_FALSE(D("Label_Patientez")->isVisible());
    EXPECT_TRUE(d->isEnabled());

    // Enter in the box applies at once and keeps the dialog open.
    QLineEdit* saisie = boite->findChild<QLineEdit*>();
    saisie->selectAll();
    QTest::keyClicks(boite, "4,2");
    QTest::keyClick(boite, Qt::Key_Return);
    EXPECT_EQ(Correction(3), 42);
    EXPECT_TRUE(registre.Est_Chargee("Frm_Etalonnage"));
    // A value out of the word's range goes within it.
    saisie->selectAll();
    QTest::keyClicks(boite, "9999");
    QTest::keyClick(boite, Qt::Key_Return);
    EXPECT_EQ(Correction(3), 32767);

    // OK applies and closes; both windows come back.
    boite->Value(0.5);
    D<QAbstractButton>("Cmd_OK")->click();
    Traiter_Evenements();
    EXPECT_EQ(Correction(3), 5);
    EXPECT_FALSE(registre.Est_Chargee("Frm_Etalonnage"));
    EXPECT_TRUE(e->isEnabled());
    EXPECT_TRUE(Tableau()->isEnabled());
    EXPECT_FLOAT_EQ(V(3).Offset, 0.5f);
}

TEST_F(Etalonnage, VoieDeclareeNonValide) {
    Mesure(16, -32768);
    Frm_Etalonnage_Forme* d = Ouvrir_Dialogue(16);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Etalonnage voie n°16"));
    ASSERT_TRUE(Minuteur()->Declencher());
    EXPECT_EQ(Texte("Lbl_Mes_Inst"), Frm_Etalonnage_Forme::Texte_Voie_Invalide);
    EXPECT_TRUE(D("Lbl_Mes_Inst")->isVisible());
    EXPECT_FALSE(D("Txt_Offset")->isVisible());
    EXPECT_FALSE(D("Lbl_Val_Final")->isVisible());
    EXPECT_FALSE(Minuteur()->Enabled());
    // Apply still sends what the box holds, and starts the refresh again.
    Mesure(16, 100);
    D<QAbstractButton>("Cmd_Appliquer")->click();
    EXPECT_EQ(Correction(16), 0);
    EXPECT_TRUE(Minuteur()->Enabled());
    ASSERT_TRUE(Minuteur()->Declencher());
    EXPECT_EQ(Texte("Lbl_Val_Final"), QStringLiteral("10"));
    EXPECT_EQ(Texte("Lbl_Mes_Inst"), QStringLiteral("10"));
    EXPECT_TRUE(D("Lbl_Val_Final")->isVisible());
    EXPECT_TRUE(D("Txt_Offset")->isVisible());
}

TEST_F(Etalonnage, PasDeReponse) {
    // The opening read fails: the message, the box at 0, no refresh.
    Correction(2, 30);
    bus.Programmer_Defauts(0x03, {}, sim::Defaut(sim::Defaut::Silence));
    Delais_Courts();
    Frm_Etalonnage_Forme* d = Ouvrir_Dialogue(2);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Pas_De_Reponse}));
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_DOUBLE_EQ(D<Boite_Numerique>("Txt_Offset")->Value(), 0);
    EXPECT_FALSE(Minuteur()->Enabled());
    EXPECT_FALSE(registre.Est_Chargee("Frm_Pb_Liaison"));

    // A successful apply starts the refresh; a refresh that fails stops it.
    bus.Effacer_Defauts();
    Delais_Reels();
    D<Boite_Numerique>("Txt_Offset")->Value(1);
    D<QAbstractButton>("Cmd_Appliquer")->click();
    EXPECT_EQ(Correction(2), 10);
    EXPECT_TRUE(Minuteur()->Enabled());
    Mesure(2, 45);
    ASSERT_TRUE(Minuteur()->Declencher());
    EXPECT_EQ(Texte("Lbl_Mes_Inst"), QStringLiteral("4,5"));
    boites.Effacer();
    bus.Programmer_Defauts(0x00, {}, sim::Defaut(sim::Defaut::Silence));
    Delais_Courts();
    ASSERT_TRUE(Minuteur()->Declencher());
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Pas_De_Reponse}));
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_FALSE(Minuteur()->Enabled());
    EXPECT_EQ(Texte("Lbl_Mes_Inst"), QStringLiteral("4,5"));  // the last values stay

    // A write that fails: the message, the typed offset kept on the PC, no refresh.
    bus.Effacer_Defauts();
    bus.Programmer_Defauts(0x03, {}, sim::Defaut(sim::Defaut::Silence));
    boites.Effacer();
    D<Boite_Numerique>("Txt_Offset")->Value(7);
    D<QAbstractButton>("Cmd_Appliquer")->click();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Pas_De_Reponse}));
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Correction(2), 10);
    EXPECT_FLOAT_EQ(V(2).Offset, 7.0f);
    EXPECT_FALSE(Minuteur()->Enabled());
    EXPECT_TRUE(d->isEnabled());
    EXPECT_FALSE(D("Label_Patientez")->isVisible());

    // OK with a module that does not answer: the message, then the dialog closes.
    boites.Effacer();
    D<QAbstractButton>("Cmd_OK")->click();
    Traiter_Evenements();
    EXPECT_EQ(boites.Textes(), (std::vector<QString>{Pas_De_Reponse}));
    EXPECT_FALSE(registre.Est_Chargee("Frm_Etalonnage"));
    EXPECT_TRUE(e->isEnabled());
    EXPECT_TRUE(Tableau()->isEnabled());
}

TEST_F(Etalonnage, AnnulerNEnvoieRien) {
    Correction(1, -12);
    Frm_Etalonnage_Forme* d = Ouvrir_Dialogue(1);
    ASSERT_NE(d, nullptr);
    D<Boite_Numerique>("Txt_Offset")->Value(9);
    bus.Effacer_Trames();
    int esc = 27;
    d->Form_KeyUp(esc, 0);
    Traiter_Evenements();
    EXPECT_TRUE(bus.Trames_Recues().empty());
    EXPECT_FALSE(registre.Est_Chargee("Frm_Etalonnage"));
    EXPECT_FLOAT_EQ(V(1).Offset, -1.2f);  // what the dialog read
    EXPECT_TRUE(e->isEnabled());
    EXPECT_TRUE(Tableau()->isEnabled());
    // Closed by its frame: the same.
    Ouvrir_Dialogue(1);
    ASSERT_NE(Dialogue(), nullptr);
    Dialogue()->close();
    Traiter_Evenements();
    EXPECT_FALSE(registre.Est_Chargee("Frm_Etalonnage"));
    EXPECT_TRUE(Tableau()->isEnabled());
}
