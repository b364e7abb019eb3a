// The service procedures over the simulated bus: access-code lookup, the
// channel table sent to a module, the dashboard reset after a link loss.
#include <QFile>

#include "liaison/outils_test.h"
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "link/traitement.h"
#include "platform/cp1252.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/formes_memoire.h"

namespace ostrel::test {
namespace {

using sim::Defaut;

class Services : public Banc_Bus {
protected:
    void SetUp() override {
        Banc_Bus::SetUp();
        Definir_Formes(&formes);
        Definir_Boites(&boites);
        bus.Configurer({1, 2, 5}, 16);
    }
    void TearDown() override {
        Definir_Boites(nullptr);
        Definir_Formes(nullptr);
        Banc_Bus::TearDown();
    }
    void Codes(int module, std::array<Entier, 4> codes) {
        bus.Avec_Etat([&](sim::Etat_Bus& e) { e.modules[module].codes_acces = codes; });
    }
    // Request code and count field of every frame received since the last clearing.
    std::vector<std::pair<int, int>> Requetes() const {
        std::vector<std::pair<int, int>> r;
        for (const auto& t : bus.Trames_Recues())
            r.emplace_back(static_cast<Octet>(t.octets[3]),
                           static_cast<Octet>(t.octets[4]) * 256 + static_cast<Octet>(t.octets[5]));
        return r;
    }
    bool Dans_Journal(const QString& ligne) const {
        return std::find(formes.journal.begin(), formes.journal.end(), ligne) != formes.journal.end();
    }
    QStringList Trace_Lignes() const {
        QStringList lignes;
        QFile f(Fichier_Mouchard);
        if (f.open(QIODevice::ReadOnly))
            for (const QString& l : Depuis_Cp1252(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
                lignes << l.mid(l.indexOf(QLatin1Char(' '), 20) + 1);
        return lignes;
    }

    Formes_Memoire formes;
    Boites_Scriptees boites;
};

}  // namespace

TEST_F(Services, CompleteZerosJusquAQuatreChiffres) {
    QString s = QStringLiteral("7");
    EXPECT_EQ(Complete_Zeros(s), QStringLiteral("0007"));
    EXPECT_EQ(s, QStringLiteral("0007"));  // changed in place
    EXPECT_EQ(Complete_Zeros(QString()), QStringLiteral("0000"));
    EXPECT_EQ(Complete_Zeros(QStringLiteral("042")), QStringLiteral("0042"));
    EXPECT_EQ(Complete_Zeros(QStringLiteral("1234")), QStringLiteral("1234"));
    EXPECT_EQ(Complete_Zeros(QStringLiteral("12345")), QStringLiteral("12345"));
}

TEST_F(Services, NiveauDAccesLeDernierCodeQuiCorrespond) {
    Codes(2, {1234, 42, 1234, 9});
    bus.Effacer_Trames();
    EXPECT_EQ(Recherche_Niveau_Acces(2, QStringLiteral("1234")), 3);  // the same code at 1 and 3
    EXPECT_EQ(Requetes(), (std::vector<std::pair<int, int>>{{0x15, 1}, {0x15, 2}, {0x15, 3}, {0x15, 4}}));
    // Codes below 1000 are compared as 4 digits; fewer characters never match.
    EXPECT_EQ(Recherche_Niveau_Acces(2, QStringLiteral("0042")), 2);
    EXPECT_EQ(Recherche_Niveau_Acces(2, QStringLiteral("42")), 0);
    EXPECT_EQ(Recherche_Niveau_Acces(2, QStringLiteral("0009")), 4);
    EXPECT_EQ(Recherche_Niveau_Acces(2, QStringLiteral("4321")), 0);
    Codes(5, {777, 777, 777, 777});
    EXPECT_EQ(Recherche_Niveau_Acces(5, QStringLiteral("0777")), 4);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_TRUE(boites.Messages.empty());

    // An index outside 1..4 reads index 1 and is set to 1 in the caller's variable.
    Octet index = 9;
    EXPECT_EQ(Lecture_Code_Acces_Texte(2, index), QStringLiteral("1234"));
    EXPECT_EQ(index, 1);

    // So is a module outside 1..32, and the box of a failure names the module asked.
    Octet module = 0;
    index = 1;
    bus.Programmer_Defauts(0x15, {}, Defaut(Defaut::Silence));
    ostrel_test::Delais_Courts();
    EXPECT_EQ(Lecture_Code_Acces_Texte(module, index), QString());
    EXPECT_EQ(module, 1);
    ASSERT_FALSE(boites.Messages.empty());
    EXPECT_EQ(boites.Messages.back().Texte, QStringLiteral("Le Module d'adresse 1 est introuvable"));
}

TEST_F(Services, ModuleQuiNeRepondPlusAuTroisiemeCode) {
    Codes(2, {1234, 1234, 1234, 1234});
    Ecran_Courant = QStringLiteral("Mesures");
    formes.Charger(QStringLiteral("Frm_Mesures"));
    formes.journal.clear();
    bus.Effacer_Trames();
    bus.Programmer_Defauts(0x15, {Defaut(), Defaut()}, Defaut(Defaut::Silence));
    ostrel_test::Delais_Mixtes();

    EXPECT_EQ(Recherche_Niveau_Acces(2, QStringLiteral("1234")), 2);  // the level found so far
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    ASSERT_EQ(boites.Messages.size(), 1u);  // one box per search
    EXPECT_EQ(boites.Messages[0].Texte, QStringLiteral("Le Module d'adresse 2 est introuvable"));
    EXPECT_EQ(boites.Messages[0].Style, vbOKOnly);
    EXPECT_EQ(boites.Messages[0].Titre, Titre_Application);
    // Index 3 tried with its retries, index 4 never asked.
    const auto r = Requetes();
    EXPECT_EQ(r.size(), 2u + 6u);
    for (const auto& [code, compte] : r) EXPECT_NE(compte, 4);
    // The screen that asked comes back in front; no other screen is loaded.
    EXPECT_EQ(formes.journal,
              (std::vector<QString>{"Premier_Plan Frm_Mesures", "Rafraichir Frm_Mesures"}));

    // Entered with the error still pending: nothing goes out, the box says so once more.
    bus.Effacer_Trames();
    boites.Effacer();
    formes.journal.clear();
    Ecran_Courant = QStringLiteral("Journal des alarmes");  // its form is not loaded
    EXPECT_EQ(Recherche_Niveau_Acces(2, QStringLiteral("1234")), 0);
    EXPECT_TRUE(bus.Trames_Recues().empty());
    EXPECT_EQ(boites.Messages.size(), 1u);
    EXPECT_TRUE(formes.journal.empty());
}

TEST_F(Services, TableDesVoiesVersUnModuleDeHuitVoies) {
    bus.Configurer({1, 2}, 16);
    bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[2].nb_voies = 8; });
    for (int v = 0; v < 16; ++v) {
        Parametres_Voie& p = Tab_Parametres_Voies[static_cast<size_t>(v)];
        p = Parametres_Voie{};
        p.Periode_Enreg = static_cast<Octet>(10 + v);
        p.Seuil_Bas = -5;
        p.Seuil_Haut = 12.5f;
        p.Tempo_Alarme = 3;
        p.Voie_Valide = Vrai;
        p.Nom_Voie = QStringLiteral("Froid %1").arg(v + 1);
    }
    Tab_Parametres_Voies[0].Seuil_Bas = 80;  // thresholds the wrong way round
    Tab_Parametres_Voies[0].Seuil_Haut = 20;
    Tab_Parametres_Voies[1].Seuil_Bas = 7;   // equal
    Tab_Parametres_Voies[1].Seuil_Haut = 7;
    Tab_Parametres_Voies[4].Nom_Voie.clear();
    Num_Module = 2;
    Nb_Voies_Module[1] = 16;
    tableau.historique_pb_.clear();
    bus.Effacer_Trames();

    Telechargement_Parametrage_Voies();
    ASSERT_EQ(Code_Erreur, 0);

    std::vector<std::pair<int, int>> attendu{{0x07, 255}, {0x16, 0}};
    for (int v = 1; v <= 8; ++v) {
        attendu.emplace_back(0x02, v);
        attendu.emplace_back(0x12, v);
    }
    attendu.emplace_back(0x16, 255);
    EXPECT_EQ(Requetes(), attendu);
    EXPECT_EQ(Nb_Voies_Module[1], 8);
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        EXPECT_EQ(e.modules[2].modes_recus, (std::vector<Entier>{0, 255}));
        EXPECT_EQ(e.modules[2].voies[4].nom, QByteArray("Voie 5      "));
        EXPECT_EQ(e.modules[2].voies[7].nom, QByteArray("Froid 8     "));
    });
    // The table keeps its thresholds; the module got the smaller one as low.
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[0].Seuil_Bas, 80);
    EXPECT_FLOAT_EQ(Tab_Parametres_Voies[0].Seuil_Haut, 20);
    EXPECT_EQ(Tab_Parametres_Voies[4].Nom_Voie, QStringLiteral("Voie 5"));
    for (Octet v : {1, 2, 3}) {
        Lecture_Parametres_Voie(2, v);
        ASSERT_EQ(Code_Erreur, 0);
        EXPECT_EQ(Donnees_Reponse.Periode_Enreg, 9 + v);
        EXPECT_LT(Donnees_Reponse.Seuil_Bas, Donnees_Reponse.Seuil_Haut + 0.01f) << int(v);
    }
    Lecture_Parametres_Voie(2, 1);
    EXPECT_FLOAT_EQ(Donnees_Reponse.Seuil_Bas, 20);
    EXPECT_FLOAT_EQ(Donnees_Reponse.Seuil_Haut, 80);

    // Progress: each channel in two steps, halves to the even number, then 100 and the last caption.
    EXPECT_EQ(tableau.historique_pb_,
              (std::vector<int>{0, 4, 12, 17, 25, 29, 38, 42, 50, 54, 62, 67, 75, 79, 88, 92, 100}));
    EXPECT_TRUE(tableau.Progression_Visible());
    EXPECT_EQ(tableau.Caption_Pb(), QStringLiteral("Téléchargement terminé, effacement Module (~1min)"));
    EXPECT_EQ(Trace_Lignes(), QStringList{"Téléchargement paramétrage voies module 2"});
    EXPECT_TRUE(formes.journal.empty());  // no screen change
}

TEST_F(Services, TableDesVoiesInterrompueParLaLiaison) {
    Num_Module = 5;
    for (Parametres_Voie& p : Tab_Parametres_Voies) p.Periode_Enreg = p.Tempo_Alarme = 30;
    Ecran_Courant = QStringLiteral("Purger");
    bus.Effacer_Trames();
    // The name of channel 3 does not get through.
    bus.Programmer_Defauts(0x12, {Defaut(), Defaut()}, Defaut(Defaut::Exception, 4));
    Telechargement_Parametrage_Voies();
    EXPECT_EQ(Code_Erreur, 4);
    const auto r = Requetes();
    ASSERT_EQ(r.size(), 2u + 4u + 1u + 6u);
    EXPECT_EQ(r.back(), std::make_pair(0x12, 3));
    bus.Avec_Etat([](sim::Etat_Bus& e) { EXPECT_EQ(e.modules[5].modes_recus, std::vector<Entier>{0}); });
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_TRUE(Dans_Journal("Charger Frm_Pb_Liaison"));
    EXPECT_EQ(tableau.Caption_Pb(), QStringLiteral("Nom de la Voie n°3"));

    // A module that does not answer its status: not even the opening command.
    bus.Effacer_Trames();
    bus.Effacer_Defauts();
    bus.Programmer_Defauts(0x07, {}, Defaut(Defaut::Exception, 2));
    Code_Erreur = 0;
    Telechargement_Parametrage_Voies();
    EXPECT_EQ(Code_Erreur, 2);
    for (const auto& [code, compte] : Requetes()) EXPECT_EQ(code, 0x07);
}

TEST_F(Services, RemiseAZeroDuTableauDeBord) {
    Couleur_Police_Modules = 0x00FFFF;
    Couleur_Fond_Bandeau = 0x00C0C0;
    tableau.Lbl_Informations(QStringLiteral("Certains Modules ne répondent pas !"));
    tableau.Lbl_Etat_Memoire(QStringLiteral("Mémoire 40 %"));
    tableau.Fond_Lbl_Alarme(Couleur_Rouge);
    Octet module = 3;
    tableau.Init_Label_OC(module);
    tableau.Caption_Pb(QStringLiteral("Recherche du MD3"));
    Code_Erreur = 15;
    RAZ_Affichage_Modules();
    EXPECT_EQ(tableau.couleur_oc_, 0x00FFFF);
    EXPECT_EQ(tableau.module_souligne_, 0);
    EXPECT_TRUE(tableau.Lbl_Informations().isEmpty());
    EXPECT_TRUE(tableau.Lbl_Etat_Memoire().isEmpty());
    EXPECT_EQ(tableau.Fond_Lbl_Alarme(), 0x00C0C0);
    EXPECT_EQ(tableau.Caption_Pb(), QStringLiteral("Recherche du MD3"));
    EXPECT_EQ(Code_Erreur, 15);
    EXPECT_TRUE(bus.Trames_Recues().empty());
}

TEST_F(Services, UneErreurLaisseeMeneAuxProblemesDeLiaisonUneSeuleFois) {
    Ecran_Courant = QStringLiteral("Configuration");
    EXPECT_FALSE(Erreur_Vers_Problemes_Liaison());
    EXPECT_TRUE(formes.journal.empty());
    Code_Erreur = 15;
    EXPECT_TRUE(Erreur_Vers_Problemes_Liaison());
    EXPECT_EQ(Ecran_Courant, QStringLiteral("Problèmes Liaison"));
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Configuration"));
    formes.journal.clear();
    // The failed screen already went there: the episode under way is kept.
    EXPECT_TRUE(Erreur_Vers_Problemes_Liaison());
    EXPECT_TRUE(formes.journal.empty());
    EXPECT_EQ(Ecran_Precedent, QStringLiteral("Configuration"));
}

}  // namespace ostrel::test
