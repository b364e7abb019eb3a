#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/formes.h"
#include "platform/formes_memoire.h"

using namespace ostrel;

namespace {

class Navigateur : public ::testing::Test {
protected:
    Formes_Memoire formes;
    QTemporaryDir dossier;

    void SetUp() override {
        Reinitialiser_Donnees();
        Definir_Formes(&formes);
        Fichier_Mouchard = dossier.filePath("setupm.snf");
        Frm_Menu1().Lbl_Nom_Logiciel("OstrelSoft+ 1.14VSA");
    }
    void TearDown() override {
        Definir_Formes(nullptr);
        Fichier_Mouchard.clear();
    }

    // Messages of the trace, without the date and the software name.
    QStringList Trace() const {
        QFile f(Fichier_Mouchard);
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList messages;
        for (const QString& ligne : Depuis_Cp1252(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            const qsizetype debut = ligne.indexOf(QStringLiteral("1.14VSA "));
            messages << ligne.mid(debut + 8);
        }
        return messages;
    }
    std::vector<QString> Journal() const { return formes.journal; }
    void Oublier() { formes.journal.clear(); }
};

struct Cas_Ligne {
    const char* ecran;
    const char* forme;
    std::vector<const char*> etapes;  // after "Charger <forme>"
    const char* precedent_sans_retour;
    const char* precedent_avec_retour;
};

}  // namespace

TEST_F(Navigateur, ChaqueLigneDeLaTableSesEtapesEtSonEcranPrecedent) {
    const std::vector<Cas_Ligne> cas = {
        {"Ecran_Communication", "Ecran_Communication", {"Afficher", "Focus"}, "Depart", "Depart"},
        {"Accueil", "Frm_Accueil", {"Activer", "Afficher", "Focus"}, "Depart", "Depart"},
        {"Enregistrements", "Frm_Enreg", {"Afficher", "Focus"}, "Depart", "Menu Enregistrements"},
        {"Journal des alarmes", "frm_Journal_Alarme", {"Afficher", "Activer", "Focus"}, "Depart", "Consultation"},
        {"Configuration", "Frm_Menu_Config", {"Afficher", "Focus"}, "Depart", "Depart"},
        {"Consultation", "Frm_Menu_Consultation", {"Afficher", "Focus"}, "Depart", "Depart"},
        {"Menu Enregistrements", "Frm_Menu_Enreg", {"Afficher", "Focus"}, "Depart", "Consultation"},
        {"Menu1", "Frm_Menu1", {"Afficher", "Focus"}, "Depart", "Depart"},
        {"Mesures", "Frm_Mesures", {"Afficher"}, "Consultation", "Consultation"},
        {"Réglages Module", "Frm_Param_OC", {"Afficher", "Focus"}, "Depart", "Configuration"},
        {"Réglages des voies", "Frm_Param_Voies", {"Afficher", "Activer", "Focus"}, "Depart", "Depart"},
        {"Mot de passe", "Frm_Psw", {"Afficher", "Focus"}, "Depart", "Depart"},
        {"Purger", "Frm_Purger", {"Afficher", "Focus"}, "Depart", "Depart"},
        {"Problèmes Liaison", "Frm_Pb_Liaison", {"Afficher", "Focus"}, "Depart", "Accueil"},
        {"Options Logicielles", "Frm_Options_Logicielles", {"Afficher", "Focus"}, "Depart", "Accueil"},
        {"Réglages Netrove", "Frm_Param_Periph", {"Afficher", "Focus"}, "Depart", "Depart"},
    };
    ASSERT_EQ(Table_Ecrans().size(), cas.size());
    for (size_t i = 0; i < cas.size(); ++i) {
        const Cas_Ligne& c = cas[i];
        const QString ecran = QString::fromUtf8(c.ecran), forme = QString::fromUtf8(c.forme);
        SCOPED_TRACE(c.ecran);
        EXPECT_EQ(Table_Ecrans()[i].Ecran, ecran);
        EXPECT_EQ(Forme_Ecran(ecran), forme);
        for (Booleen retour : {Faux, Vrai}) {
            formes.chargees.clear();
            Oublier();
            Liaison_Ecran("Depart", ecran, retour);
            std::vector<QString> attendu{"Charger " + forme};
            for (const char* e : c.etapes) attendu.push_back(QString::fromUtf8(e) + " " + forme);
            EXPECT_EQ(Journal(), attendu);
            EXPECT_EQ(Ecran_Courant, ecran);
            EXPECT_EQ(Ecran_Precedent, QString::fromUtf8(retour ? c.precedent_avec_retour : c.precedent_sans_retour));
        }
    }
    // Names compare exactly: case and accents count.
    EXPECT_EQ(Forme_Ecran("accueil"), QString());
    EXPECT_EQ(Forme_Ecran("Reglages Module"), QString());
    EXPECT_EQ(Ecran_Forme("Frm_Param_OC"), QStringLiteral("Réglages Module"));
}

TEST_F(Navigateur, LeDrapeauNeCompteQueVrai) {
    Liaison_Ecran("Depart", "Options Logicielles", 1);
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Depart"));
    Liaison_Ecran("Depart", "Options Logicielles", Vrai);
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Accueil"));
}

TEST_F(Navigateur, LaSourceEstDechargeeSaufSousLeMotDePasse) {
    for (const Ecran_Connu& e : Table_Ecrans()) {
        if (e.Ecran == QStringLiteral("Purger")) continue;
        SCOPED_TRACE(e.Ecran.toStdString());
        formes.chargees = {e.Forme};
        Liaison_Ecran(e.Ecran, "Nulle part", Faux);
        EXPECT_FALSE(formes.Est_Chargee(e.Forme));
    }
    // The purge screen closes under its two leaving names, not under its own.
    for (const char* nom : {"PurgerOUI", "PurgerNON"}) {
        formes.chargees = {"Frm_Purger"};
        Liaison_Ecran(nom, "Accueil", Faux);
        EXPECT_FALSE(formes.Est_Chargee("Frm_Purger")) << nom;
    }
    formes.chargees = {"Frm_Purger"};
    Liaison_Ecran("Purger", "Problèmes Liaison", Faux);
    EXPECT_TRUE(formes.Est_Chargee("Frm_Purger"));

    formes.chargees = {"Frm_Accueil"};
    Liaison_Ecran("Accueil", "Mot de passe", Faux);
    EXPECT_TRUE(formes.Est_Chargee("Frm_Accueil"));
    EXPECT_TRUE(formes.Est_Chargee("Frm_Psw"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Accueil"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Mot de passe"));
    EXPECT_EQ(Trace().back(), QStringLiteral("Accès écran Mot de passe"));
}

TEST_F(Navigateur, CibleInconnueEtSourceVide) {
    formes.chargees = {"Frm_Menu_Consultation"};
    Liaison_Ecran("Consultation", "Ailleurs", Vrai);
    EXPECT_EQ(Journal(), std::vector<QString>{"Decharger Frm_Menu_Consultation"});
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Ailleurs"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Consultation"));
    EXPECT_EQ(Trace(), QStringList{"Accès écran Ailleurs"});

    Oublier();
    formes.chargees = {"Frm_Accueil"};
    Liaison_Ecran("", "Consultation", Faux);
    EXPECT_TRUE(formes.Est_Chargee("Frm_Accueil"));
    EXPECT_EQ(Journal().front(), QStringLiteral("Charger Frm_Menu_Consultation"));
}

TEST_F(Navigateur, UnEcranRouvertSurLuiMemeRelanceSonChargement) {
    int chargements = 0;
    formes.chargements["Frm_Param_Voies"] = [&] { ++chargements; };
    formes.chargements["Frm_Mesures"] = [&] { ++chargements; };
    Liaison_Ecran("Configuration", "Réglages des voies", Faux);
    Liaison_Ecran(Ecran_Courant, "Réglages des voies", Faux);
    EXPECT_EQ(chargements, 2);
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Réglages des voies"));

    Liaison_Ecran("Consultation", "Mesures", Faux);
    Liaison_Ecran(Ecran_Courant, "Mesures", Faux);
    EXPECT_EQ(chargements, 4);
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Consultation"));
    EXPECT_TRUE(formes.Est_Chargee("Frm_Mesures"));
}

TEST_F(Navigateur, RetourArriereAvecLesVariablesPartageesEnArguments) {
    Liaison_Ecran("Accueil", "Configuration", Faux);
    Liaison_Ecran(Ecran_Courant, "Réglages Module", Faux);
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Configuration"));
    Oublier();
    Liaison_Ecran(Ecran_Courant, Ecran_Precedent, Vrai);
    EXPECT_EQ(Journal(), (std::vector<QString>{"Decharger Frm_Param_OC", "Charger Frm_Menu_Config",
                                                "Afficher Frm_Menu_Config", "Focus Frm_Menu_Config"}));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Configuration"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Réglages Module"));  // no parent rule on that row
    EXPECT_EQ(Trace(), (QStringList{"Accès écran Configuration", "Accès écran Réglages Module",
                                    "Accès écran Configuration"}));
}

TEST_F(Navigateur, LeJournalApresUnePurgeEtApresUneErreur) {
    formes.chargees = {"Frm_Purger"};
    Liaison_Ecran("PurgerOUI", "Journal des alarmes", Vrai);
    EXPECT_EQ(Journal(), (std::vector<QString>{"Decharger Frm_Purger", "Charger frm_Journal_Alarme",
                                                "Afficher frm_Journal_Alarme", "Activer frm_Journal_Alarme",
                                                "Focus frm_Journal_Alarme", "Executer frm_Journal_Alarme.Cmd_OK_Click"}));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("PurgerOUI"));

    formes.chargees = {"Frm_Purger"};
    Oublier();
    Liaison_Ecran("PurgerNON", "Journal des alarmes", Vrai);
    EXPECT_EQ(Journal().back(), QStringLiteral("Focus frm_Journal_Alarme"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Consultation"));

    // A failed load leaves the journal loaded and hidden.
    formes.chargees.clear();
    Oublier();
    formes.chargements["frm_Journal_Alarme"] = [] { Code_Erreur = Erreur::Ligne; };
    Liaison_Ecran("Consultation", "Journal des alarmes", Vrai);
    EXPECT_EQ(Journal(), std::vector<QString>{"Charger frm_Journal_Alarme"});
    EXPECT_TRUE(formes.Est_Chargee("frm_Journal_Alarme"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Consultation"));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Journal des alarmes"));
}

TEST_F(Navigateur, UneNavigationImbriqueeNeRechargePasLaCibleDechargee) {
    // The recordings menu meets a link error while loading and moves on by itself.
    formes.chargements["Frm_Menu_Enreg"] = [] {
        Code_Erreur = Erreur::Ligne;
        Liaison_Ecran(Ecran_Courant, "Problèmes Liaison", Faux);
    };
    formes.chargees = {"Frm_Menu_Consultation"};
    Liaison_Ecran("Consultation", "Menu Enregistrements", Vrai);
    EXPECT_EQ(Journal(), (std::vector<QString>{"Decharger Frm_Menu_Consultation", "Charger Frm_Menu_Enreg",
                                                "Decharger Frm_Menu_Enreg", "Charger Frm_Pb_Liaison",
                                                "Afficher Frm_Pb_Liaison", "Focus Frm_Pb_Liaison"}));
    EXPECT_FALSE(formes.Est_Chargee("Frm_Menu_Enreg"));
    EXPECT_EQ(formes.chargees, (std::set<QString>{"Frm_Pb_Liaison"}));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    // The outer row's parent rule runs after the inner call.
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Consultation"));
    EXPECT_EQ(Trace(), (QStringList{"Accès écran Menu Enregistrements", "Accès écran Problèmes Liaison"}));

    // The same from the journal reloaded after a purge: its reload fails and
    // leaves; nothing is shown again behind the link-problem screen.
    Oublier();
    formes.chargees = {"Frm_Purger"};
    formes.chargements.clear();
    Code_Erreur = 0;
    formes.operations["frm_Journal_Alarme.Cmd_OK_Click"] = [] {
        Liaison_Ecran(Ecran_Courant, "Problèmes Liaison", Faux);
    };
    Liaison_Ecran("PurgerOUI", "Journal des alarmes", Faux);
    EXPECT_EQ(formes.chargees, (std::set<QString>{"Frm_Pb_Liaison"}));
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Journal des alarmes"));
}
