#include <QGroupBox>
#include <QLabel>

#include "banc_mesures.h"

using namespace ostrel;
using namespace ostrel::test;

namespace {

const QString Refus = QStringLiteral("Indentification non reconnu par le Module !");

class Acquittement : public Banc_Mesures {
protected:
    // Opens the identification box and types the code, character by character.
    void Taper(Frm_Mesures_Forme* e, const QString& code) {
        QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("Cmd_Acquitter")), Qt::LeftButton);
        QTest::keyClicks(e->Txt_Code_Acce(), code);
    }
    std::vector<Entier> Acquittements(int module) {
        return bus.Avec_Etat([module](sim::Etat_Bus& e) { return e.modules[module].acquittements; });
    }
    void Codes(int module, std::array<Entier, 4> codes) {
        bus.Avec_Etat([&](sim::Etat_Bus& e) {
            e.modules[module].codes_acces = codes;
            return 0;
        });
    }
};

}  // namespace

TEST_F(Acquittement, LeCodeReconnuAcquitteChaqueVoieAvecSonNiveau) {
    // Laid over a dashboard window, which takes the focus during the acknowledgement.
    QWidget fond;
    fond.setFocusPolicy(Qt::StrongFocus);
    fond.resize(1280, 1024);
    fond.show();
    registre.Definir_Conteneur(&fond);
    historique.widget = &fond;
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    fond.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fond));
    EXPECT_FALSE(e->Frame_Code_Acce()->isVisible());
    QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("Cmd_Acquitter")), Qt::LeftButton);
    EXPECT_TRUE(e->Frame_Code_Acce()->isVisible());
    EXPECT_EQ(e->Frame_Code_Acce()->title(), QStringLiteral("Identification"));
    EXPECT_EQ(e->Txt_Code_Acce()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(e->Txt_Code_Acce()->maxLength(), 4);

    // Three characters: nothing yet.
    Oublier();
    historique.captions.clear();
    historique.historique_pb_.clear();
    historique.affichages.clear();
    QTest::keyClicks(e->Txt_Code_Acce(), QStringLiteral("300"));
    EXPECT_TRUE(Requetes().empty());
    EXPECT_TRUE(e->Frame_Code_Acce()->isVisible());

    // The fourth starts at once: the code is code 3 of module 2. (The form
    // remembers a button as its last focused control, as when the box's
    // closing passed the focus on.)
    e->findChild<QPushButton*>(QStringLiteral("Cmd_Imprimer"))->setFocus();
    QTest::keyClicks(e->Txt_Code_Acce(), QStringLiteral("2"));
    EXPECT_FALSE(e->Frame_Code_Acce()->isVisible());
    EXPECT_EQ(Mdp_Saisie, QStringLiteral("3002"));
    std::vector<Requete_Vue> attendu;
    for (int tour = 0; tour < 2; ++tour)
        for (int i = 1; i <= 4; ++i) attendu.push_back({0x15, i});
    for (int v = 1; v <= 16; ++v) attendu.push_back({0x0A, 3 * 256 + v});
    EXPECT_EQ(Requetes(), attendu);
    EXPECT_EQ(Acquittements(2)[4], 773);  // channel 5 under level 3
    EXPECT_TRUE(boites.Messages.empty());

    // Progress per channel up to 100, then hidden.
    std::vector<int> pb{0};
    for (int v = 1; v <= 16; ++v) pb.push_back(static_cast<int>(Arrondi_Pair(v * 100.0 / 16)));
    EXPECT_EQ(historique.historique_pb_, pb);
    ASSERT_EQ(historique.captions.size(), 17u);
    EXPECT_EQ(historique.captions[0], QString());
    EXPECT_EQ(historique.captions[5], QStringLiteral("Acquittement de la Voie n°5"));
    EXPECT_EQ(historique.affichages, (std::vector<bool>{true, false}));
    EXPECT_EQ(historique.focus, 1);

    const QStringList trace = Lignes_Trace();
    EXPECT_TRUE(trace[trace.size() - 12].endsWith(QStringLiteral("Acquittement module 2 voie 5 code 3")));
    EXPECT_TRUE(trace.last().endsWith(QStringLiteral("Acquittement module 2 voie 16 code 3")));

    // The screen's keys work again once it is over.
    QWidget* focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == e || e->isAncestorOf(focus)) << (focus ? focus->objectName().toStdString() : "aucun");

    // The sweep then shows the states the module now holds.
    Balayer(16);
    EXPECT_EQ(e->Lbl_Alarme(1)->text(), QStringLiteral("Alarme haute acquittée"));
    EXPECT_EQ(e->Lbl_Alarme(11)->text(), QStringLiteral("Défaut acquitté"));
    EXPECT_TRUE(e->Tmr_Temps_Reel()->Enabled());
    EXPECT_EQ(e->Txt_Code_Acce()->text(), QStringLiteral("3002"));  // kept until the next click
    registre.Decharger(QStringLiteral("Frm_Mesures"));
    ostrel_test::Traiter_Evenements();
    registre.Definir_Conteneur(nullptr);
    historique.widget = nullptr;
}

TEST_F(Acquittement, NiveauLePlusHautEtModuleDeHuitVoies) {
    Codes(1, {4711, 1234, 4711, 9});
    Frm_Mesures_Forme* e = Ouvrir(1);
    ASSERT_NE(e, nullptr);
    Oublier();
    Taper(e, QStringLiteral("4711"));
    std::vector<Entier> attendu;
    for (int v = 1; v <= 8; ++v) attendu.push_back(static_cast<Entier>(3 * 256 + v));
    EXPECT_EQ(Acquittements(1), attendu);
    EXPECT_EQ(historique.Valeur_Progression(), 100);

    // A stored code below 1000 is typed with its leading zeros, here on the
    // keypad, whose 9 is also a print key of the screen: not when it ends a code.
    Oublier();
    QTest::mouseClick(e->findChild<QPushButton*>(QStringLiteral("Cmd_Acquitter")), Qt::LeftButton);
    for (Qt::Key k : {Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_9}) QTest::keyClick(e->Txt_Code_Acce(), k, Qt::KeypadModifier);
    EXPECT_EQ(Requetes(0x0A).size(), 8u);
    EXPECT_EQ(Requetes(0x0A).front().valeur, 4 * 256 + 1);
    EXPECT_EQ(e->Demande_Impression, Faux);
    QTest::keyClick(e, Qt::Key_9, Qt::KeypadModifier);  // the next one is
    EXPECT_EQ(e->Demande_Impression, Vrai);
}

TEST_F(Acquittement, CodeInconnuRefuseSansAcquittement) {
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    Oublier();
    historique.affichages.clear();
    Taper(e, QStringLiteral("9999"));
    EXPECT_EQ(boites.Textes(), std::vector<QString>{Refus});
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(Requetes().size(), 4u);  // one lookup, no command
    EXPECT_TRUE(Acquittements(2).empty());
    EXPECT_EQ(historique.affichages, (std::vector<bool>{true, false}));
    EXPECT_FALSE(e->Frame_Code_Acce()->isVisible());
    EXPECT_TRUE(registre.Est_Chargee(QStringLiteral("Frm_Mesures")));
}

TEST_F(Acquittement, UneRechercheCoupeeParLaLiaisonNAcquitteRien) {
    // The module stops answering at its third code, during the first lookup
    // for a code matching the first one, then during the second lookup.
    for (int avant : {2, 6}) {
        SCOPED_TRACE(avant);
        bus.Effacer_Defauts();
        Frm_Mesures_Forme* e = Ouvrir(2);
        ASSERT_NE(e, nullptr);
        Oublier();
        boites.Effacer();
        historique.affichages.clear();
        historique.Lbl_Informations(QStringLiteral("Modules en service"));
        Echec(0x15, avant, 6);
        Taper(e, QStringLiteral("1002"));

        EXPECT_TRUE(Requetes(0x0A).empty());
        EXPECT_TRUE(Acquittements(2).empty());
        // One box from the lookup, no refusal: the code was never judged.
        EXPECT_EQ(boites.Textes(), std::vector<QString>{"Le Module d'adresse 2 est introuvable"});
        EXPECT_EQ(historique.affichages, (std::vector<bool>{true, false}));
        EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
        EXPECT_FALSE(registre.Est_Chargee(QStringLiteral("Frm_Mesures")));
        EXPECT_EQ(historique.Lbl_Informations(), QString());
        EXPECT_NE(Code_Erreur, 0);
        ostrel_test::Traiter_Evenements();
    }
}

TEST_F(Acquittement, UneCommandeRefuseeArreteLesAcquittements) {
    Frm_Mesures_Forme* e = Ouvrir(2);
    ASSERT_NE(e, nullptr);
    Oublier();
    historique.affichages.clear();
    Echec(0x0A, 3, 6);
    Taper(e, QStringLiteral("2002"));
    EXPECT_EQ(Acquittements(2), (std::vector<Entier>{513, 514, 515}));
    EXPECT_EQ(Requetes(0x0A).size(), 3u + 6u);  // the fourth channel and its retries
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    // The bar stays as it stood, on the channel that failed.
    EXPECT_EQ(historique.affichages, std::vector<bool>{true});
    EXPECT_EQ(historique.Caption_Pb(), QStringLiteral("Acquittement de la Voie n°4"));
}
