// Acknowledgement from the journal screen with a module access code, and the
// purge screen in its two uses (journal purge; channel table sent, then the
// recordings purged), with their refusals and link errors.
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <functional>
#include <utility>

#include "essai_journal.h"

using namespace ostrel;
using namespace ostrel::test;
using ostrel_test::Traiter_Evenements;

namespace {

class Acquittement_Purge : public Essai_Journal {
protected:
    // The journal of module 3 loaded with a channel choice, the frames then forgotten.
    void Journal_Charge(int voie = 0) {
        banc.Ouvrir_Ecran_Journal(3);
        C<QComboBox>("Cmb_Choix_Num_Voie")->setCurrentIndex(voie);
        Cliquer("Cmd_OK");
        banc.bus.Effacer_Trames();
        banc.boites.Effacer();
    }
    void Taper(const char* code) {
        QTest::keyClicks(C<QLineEdit>("Txt_Code_Acce"), QString::fromLatin1(code));
        Traiter_Evenements();
    }
    std::vector<Entier> Acquittements() {
        return banc.bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[3].acquittements; });
    }
    void Ouvrir_Purge_Depuis(const char* ecran) {
        Ecran_Courant = QString::fromUtf8(ecran);
        Liaison_Ecran(Ecran_Courant, QStringLiteral("Purger"), Faux);
        Traiter_Evenements();
    }
};

std::vector<int> Repete(int valeur, int n) { return std::vector<int>(static_cast<size_t>(n), valeur); }

template <class T> std::vector<T> Suite(std::vector<T> a, const std::vector<T>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST_F(Acquittement_Purge, AcquittementDeToutesLesVoies) {
    Journal_Charge();
    frm_Journal_Alarme_Forme* j = banc.Journal();
    Cliquer("Cmd_Acquitter");
    EXPECT_TRUE(C("Frame_Code_Acce")->isVisibleTo(j));
    EXPECT_EQ(C<QGroupBox>("Frame_Code_Acce")->title(), QStringLiteral("Identification"));
    EXPECT_EQ(C<QLineEdit>("Txt_Code_Acce")->echoMode(), QLineEdit::Password);

    // Three characters send nothing; the fourth starts the check.
    Taper("200");
    EXPECT_TRUE(banc.bus.Trames_Recues().empty());
    Taper("3");
    EXPECT_EQ(Mdp_Saisie, QStringLiteral("2003"));
    std::vector<int> valeurs;
    for (int c = 1; c <= 16; ++c) valeurs.push_back(2 * 256 + c);
    EXPECT_EQ(banc.Codes(), Suite(Suite(Repete(0x15, 8), Repete(0x0A, 16)), {0x14, 0x10, 0x10, 0x10}));
    EXPECT_EQ(banc.Mots(0x0A), valeurs);
    EXPECT_EQ(Acquittements(), std::vector<Entier>(valeurs.begin(), valeurs.end()));
    EXPECT_TRUE(banc.boites.Messages.empty());

    // The bar before each channel, 100 while the last one is acknowledged.
    const std::vector<int>& pb = banc.Tableau()->historique_pb_;
    const std::vector<int> etapes{6, 12, 19, 25, 31, 38, 44, 50, 56, 62, 69, 75, 81, 88, 94, 100};
    EXPECT_NE(std::search(pb.begin(), pb.end(), etapes.begin(), etapes.end()), pb.end());
    EXPECT_TRUE(banc.Trace().contains("07/03/2027 09:05:03 OstrelSoft+ 1.14VSA Acquittement module 3 voie 16 code 2"));

    // The journal is read again: the acknowledgements, by their operator, come first.
    const QStringList lignes = banc.Lignes_Liste();
    ASSERT_EQ(lignes.size(), 7 + 16);
    EXPECT_TRUE(lignes[0].startsWith("07/03/2027 10:30:00   Voie 16 "));
    EXPECT_TRUE(lignes[15].startsWith("07/03/2027 10:30:00   Voie 1 "));
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(lignes[i].contains("Alarme haute acquittée          Martin")) << i;
    EXPECT_FALSE(banc.Tableau()->Progression_Visible());
    EXPECT_FALSE(C("Frame_Code_Acce")->isVisibleTo(j));
    EXPECT_TRUE(j->isVisible());
    EXPECT_NE(banc.Tableau()->cursor().shape(), Qt::WaitCursor);
}

TEST_F(Acquittement_Purge, AcquittementDUneVoieEtCodesParticuliers) {
    // Two codes alike: the higher index is sent. A code below 1000 needs its zeros.
    banc.bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[3].codes_acces = {42, 2003, 2003, 4003}; });
    Journal_Charge(5);
    Cliquer("Cmd_Acquitter");
    Taper("2003");
    EXPECT_EQ(banc.Mots(0x0A), std::vector<int>{3 * 256 + 5});
    EXPECT_EQ(banc.Codes().back(), 0x10);
    EXPECT_EQ(banc.Mots(0x10).back(), 5);
    EXPECT_TRUE(banc.Lignes_Liste()[0].contains("Alarme haute acquittée          Lefèvre"));

    banc.bus.Effacer_Trames();
    Cliquer("Cmd_Acquitter");
    Taper("42");
    EXPECT_TRUE(banc.bus.Trames_Recues().empty());
    C<QLineEdit>("Txt_Code_Acce")->clear();
    Taper("0042");
    EXPECT_EQ(banc.Mots(0x0A), std::vector<int>{1 * 256 + 5});
}

TEST_F(Acquittement_Purge, CodeRefuse) {
    Journal_Charge();
    const QStringList avant = banc.Lignes_Liste();
    Cliquer("Cmd_Acquitter");
    Taper("9999");
    EXPECT_EQ(banc.Codes(), Repete(0x15, 4));
    ASSERT_EQ(banc.boites.Messages.size(), 1u);
    EXPECT_EQ(banc.boites.Messages[0].Texte, QStringLiteral("Indentification non reconnu par le Module !"));
    EXPECT_EQ(banc.boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(banc.Lignes_Liste(), avant);
    EXPECT_FALSE(banc.Tableau()->Progression_Visible());
    EXPECT_TRUE(banc.Journal()->isVisible());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Journal des alarmes"));

    // Purge mode: a wrong code keeps the operator on the journal.
    Cliquer("Cmd_Purger");
    Taper("1234");
    EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));
    EXPECT_EQ(banc.boites.Textes().back(), QStringLiteral("Indentification non reconnu par le Module !"));

    // A module silent during the check: it is reported, the screen stays and stays usable.
    banc.boites.Effacer();
    banc.bus.Effacer_Trames();
    banc.bus.Programmer_Defauts(0x15, {}, sim::Defaut(sim::Defaut::Exception, 4));
    Cliquer("Cmd_Acquitter");
    Taper("2003");
    EXPECT_EQ(banc.boites.Textes(), (std::vector<QString>{"Le Module d'adresse 3 est introuvable",
                                                          "Indentification non reconnu par le Module !"}));
    EXPECT_EQ(banc.Codes_Envoyes(), Repete(0x15, 6));
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(banc.registre.Est_Chargee("frm_Journal_Alarme"));

    // Leaving the code box hides it and sends nothing.
    banc.bus.Effacer_Defauts();
    banc.bus.Effacer_Trames();
    banc.Tableau()->activateWindow();
    QApplication::setActiveWindow(banc.Tableau());
    Cliquer("Cmd_Acquitter");
    ASSERT_TRUE(C<QLineEdit>("Txt_Code_Acce")->hasFocus());
    C("Cmd_Imprimer")->setFocus();
    EXPECT_FALSE(C("Frame_Code_Acce")->isVisibleTo(banc.Journal()));
    EXPECT_TRUE(banc.bus.Trames_Recues().empty());

    // An Escape that reaches the screen while its refusal box is open (the
    // box's own loop runs the events) takes the operator back; the screen
    // that opened the box stands until its handler has returned.
    struct Boite_Ouverte : Boites_Scriptees {
        std::function<void()> pendant;
        int MsgBox(const QString& texte, int style, const QString& titre) override {
            if (pendant) {
                const Boucle_Modale boucle;
                std::exchange(pendant, {})();
            }
            return Boites_Scriptees::MsgBox(texte, style, titre);
        }
    } boite;
    boite.pendant = [&] {
        QTest::keyClick(banc.Journal(), Qt::Key_Escape);
        Traiter_Evenements();
    };
    Definir_Boites(&boite);
    Cliquer("Cmd_Acquitter");
    Taper("9999");
    Definir_Boites(&banc.boites);
    EXPECT_EQ(boite.Textes(), std::vector<QString>{"Indentification non reconnu par le Module !"});
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Consultation"));
}

TEST_F(Acquittement_Purge, ErreurDeLiaisonPendantLAcquittement) {
    Journal_Charge();
    // Channel 3 of 16 gets no answer.
    banc.bus.Programmer_Defauts(0x0A, {sim::Defaut(), sim::Defaut()}, sim::Defaut(sim::Defaut::Silence));
    ostrel_test::Delais_Mixtes();
    Cliquer("Cmd_Acquitter");
    Taper("2003");
    EXPECT_EQ(Acquittements(), (std::vector<Entier>{0x201, 0x202}));
    EXPECT_EQ(banc.Codes(), Suite(Repete(0x15, 8), Repete(0x0A, 2 + 6)));  // no fourth channel, no reload
    EXPECT_EQ(banc.Mots(0x0A).back(), 0x203);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_TRUE(banc.registre.Est_Chargee("Frm_Pb_Liaison"));
    EXPECT_FALSE(banc.registre.Est_Chargee("frm_Journal_Alarme"));
    EXPECT_TRUE(banc.boites.Messages.empty());
}

TEST_F(Acquittement_Purge, PurgeDuJournal) {
    Journal_Charge();
    Cliquer("Cmd_Purger");
    Taper("4003");
    EXPECT_EQ(banc.Codes(), Repete(0x15, 4));  // the purge screen asks for itself
    ASSERT_TRUE(banc.registre.Est_Chargee("Frm_Purger"));
    EXPECT_FALSE(banc.registre.Est_Chargee("frm_Journal_Alarme"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Journal des alarmes"));
    EXPECT_EQ(banc.Tableau()->Lbl_Nom_Menu(), QStringLiteral("Purger"));
    EXPECT_EQ(C<QLabel>("Lbl_Texte")->text(),
              "Attention ! Le journal des alarmes va être effacé de la mémoire du Module : " +
                  Tab_Parametres_Modules[2].Entete);
    EXPECT_TRUE(banc.Purger()->isVisible());
    EXPECT_FALSE(banc.Tableau()->Progression_Visible());

    banc.bus.Effacer_Trames();
    Cliquer("Cmd_Oui");
    EXPECT_EQ(banc.Mots(0x0C), std::vector<int>{255});
    EXPECT_EQ(banc.bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[3].purges_journal; }), 1);
    EXPECT_TRUE(banc.Trace().contains(
        "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA Purge du journal des alarmes du module 3"));
    // The journal comes back and lists the journal read again, now empty.
    EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));
    ASSERT_NE(banc.Journal(), nullptr);
    EXPECT_TRUE(banc.Journal()->isVisible());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Journal des alarmes"));
    EXPECT_EQ(banc.Lignes_Liste(), QStringList{"Journal vide"});
    EXPECT_EQ(C<QGroupBox>("Frame_Menu")->title(), QStringLiteral("Module connecté, 0 évènements"));
    EXPECT_EQ(banc.Codes().back(), 0x10);
}

TEST_F(Acquittement_Purge, TouchesDeLEcranDePurge) {
    Journal_Charge();
    auto ouvrir = [&] {
        Cliquer("Cmd_Purger");
        Taper("1003");
        banc.bus.Effacer_Trames();
        return banc.Purger();
    };
    // Digits, the keypad and other letters do nothing; N, Shift+N and Esc refuse.
    for (auto [touche, modif] : std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
             {Qt::Key_N, Qt::NoModifier}, {Qt::Key_N, Qt::ShiftModifier}, {Qt::Key_Escape, Qt::NoModifier}}) {
        Frm_Purger_Forme* p = ouvrir();
        ASSERT_NE(p, nullptr);
        QTest::keyRelease(C("Cmd_Oui"), Qt::Key_1);
        QTest::keyRelease(C("Cmd_Oui"), Qt::Key_1, Qt::KeypadModifier);
        QTest::keyRelease(C("Cmd_Oui"), Qt::Key_A);
        EXPECT_TRUE(banc.registre.Est_Chargee("Frm_Purger"));
        QTest::keyRelease(C("Cmd_Oui"), touche, modif);
        Traiter_Evenements();
        EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));
        EXPECT_EQ(banc.Requetes().size(), 18u);  // the reopening only
        EXPECT_EQ(banc.Codes()[0], 0x14);
        // The journal comes back in its choice state.
        ASSERT_NE(banc.Journal(), nullptr);
        EXPECT_FALSE(C("List_Alarmes")->isVisibleTo(banc.Journal()));
        Cliquer("Cmd_OK");
    }
    EXPECT_EQ(banc.bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[3].purges_journal; }), 0);

    // O with Shift purges.
    ouvrir();
    QTest::keyRelease(C("Cmd_Oui"), Qt::Key_O, Qt::ShiftModifier);
    Traiter_Evenements();
    EXPECT_EQ(banc.Mots(0x0C), std::vector<int>{255});
    EXPECT_EQ(banc.Lignes_Liste(), QStringList{"Journal vide"});
}

TEST_F(Acquittement_Purge, PurgeDuJournalEnErreur) {
    Journal_Charge();
    Cliquer("Cmd_Purger");
    Taper("1003");
    banc.bus.Programmer_Defauts(0x0C, {}, sim::Defaut(sim::Defaut::Exception, 4));
    Cliquer("Cmd_Oui");
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));
    EXPECT_FALSE(banc.registre.Est_Chargee("frm_Journal_Alarme"));
    EXPECT_TRUE(banc.registre.Est_Chargee("Frm_Pb_Liaison"));

    // Opened again, it asks again.
    Code_Erreur = 0;
    Ouvrir_Purge_Depuis("Journal des alarmes");
    ASSERT_NE(banc.Purger(), nullptr);
    EXPECT_TRUE(C<QLabel>("Lbl_Texte")->text().startsWith("Attention ! Le journal des alarmes"));
    EXPECT_TRUE(C("Cmd_Oui")->isVisibleTo(banc.Purger()));
    EXPECT_TRUE(C("Cmd_Non")->isVisibleTo(banc.Purger()));
}

TEST_F(Acquittement_Purge, EnvoiDesReglagesPuisPurgeDesEnregistrements) {
    Num_Module = 3;
    for (size_t v = 0; v < 16; ++v) {
        Tab_Parametres_Voies[v] = Parametres_Voie{};
        Tab_Parametres_Voies[v].Nom_Voie = QStringLiteral("Salle %1").arg(v + 1);
        Tab_Parametres_Voies[v].Periode_Enreg = 5;
        Tab_Parametres_Voies[v].Tempo_Alarme = 30;
    }
    Tab_Parametres_Voies[1].Nom_Voie.clear();

    // "Non" sends nothing at all.
    Ouvrir_Purge_Depuis("Réglages des voies");
    EXPECT_EQ(C<QLabel>("Lbl_Texte")->text(),
              "Attention ! Les enregistrements et le journal des alarmes vont être effacés de la mémoire du Module : " +
                  Tab_Parametres_Modules[2].Entete);
    Cliquer("Cmd_Non");
    EXPECT_TRUE(banc.bus.Trames_Recues().empty());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Réglages des voies"));
    EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));

    banc.bus.Effacer_Trames();
    Ouvrir_Purge_Depuis("Réglages des voies");
    Cliquer("Cmd_Oui");
    std::vector<int> attendu{0x07, 0x16};
    for (int v = 0; v < 16; ++v) attendu.insert(attendu.end(), {0x02, 0x12});
    attendu.insert(attendu.end(), {0x16, 0x0B});
    const std::vector<int> codes = banc.Codes();
    ASSERT_GE(codes.size(), attendu.size());
    EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + static_cast<long>(attendu.size())), attendu);
    EXPECT_EQ(banc.Mots(0x0B), std::vector<int>{255});
    banc.bus.Avec_Etat([](sim::Etat_Bus& e) {
        const sim::Module_Simule& m = e.modules[3];
        EXPECT_EQ(m.purges_enregistrements, 1);
        EXPECT_EQ(m.modes_recus, (std::vector<Entier>{0, 255}));
        EXPECT_EQ(m.voies[0].nom, QByteArray("Salle 1     "));
        EXPECT_EQ(m.voies[1].nom, QByteArray("Voie 2      "));
        EXPECT_TRUE(m.voies[0].enregistrements.empty());
    });
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Réglages des voies"));
    EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));
    EXPECT_NE(banc.Tableau()->cursor().shape(), Qt::WaitCursor);
    EXPECT_TRUE(banc.Trace().contains("07/03/2027 09:05:03 OstrelSoft+ 1.14VSA Purge enregistrements module 3"));
}

TEST_F(Acquittement_Purge, EnvoiDesReglagesEnErreur) {
    Num_Module = 3;
    for (Parametres_Voie& p : Tab_Parametres_Voies) p.Periode_Enreg = p.Tempo_Alarme = 30;
    // The third channel name is refused: no purge, the link-problem screen once.
    banc.bus.Programmer_Defauts(0x12, {sim::Defaut(), sim::Defaut()}, sim::Defaut(sim::Defaut::Exception, 4));
    Ouvrir_Purge_Depuis("Réglages des voies");
    Cliquer("Cmd_Oui");
    EXPECT_EQ(banc.Mots(0x0B).size(), 0u);
    EXPECT_EQ(banc.Codes().back(), 0x12);
    EXPECT_EQ(banc.bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[3].purges_enregistrements; }), 0);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_EQ(banc.Trace().filter("Accès écran Problèmes Liaison").size(), 1);
    EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));
    EXPECT_NE(banc.Tableau()->cursor().shape(), Qt::WaitCursor);

    // The recordings purge itself fails: the link-problem screen, the settings screen not reopened.
    banc.bus.Effacer_Defauts();
    Code_Erreur = 0;
    banc.bus.Programmer_Defauts(0x0B, {}, sim::Defaut(sim::Defaut::Exception, 4));
    Ouvrir_Purge_Depuis("Réglages des voies");
    Cliquer("Cmd_Oui");
    EXPECT_EQ(std::ranges::count(banc.Codes_Envoyes(), 0x0B), 6);
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_FALSE(banc.registre.Est_Chargee("Frm_Purger"));
    EXPECT_NE(banc.Tableau()->cursor().shape(), Qt::WaitCursor);
}
