// Paged downloads of recordings and of the alarm journal from the simulated
// bus: page requests, what is stored where, progress, and how a download
// ends on a link error, a bad page or a full table.
#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "outils_test.h"
#include "platform/dates.h"

namespace ostrel::test {
namespace {

using sim::Defaut;

class Telechargement : public Banc_Bus {
protected:
    void SetUp() override {
        Banc_Bus::SetUp();
        bus.Configurer({1, 2}, 16);
    }
    // `n` points on a channel, one a day from 1 March 2024 at 8:15, value
    // k tenths, alarm on odd ones.
    void Points(int module, int voie, int n) {
        bus.Avec_Etat([&](sim::Etat_Bus& e) {
            auto& pts = e.modules[module].voies[static_cast<size_t>(voie - 1)].enregistrements;
            for (int k = 0; k < n; ++k)
                pts.push_back({sim::Horodatage{2024, 3, 1 + k % 28, 8, 15}, static_cast<Entier>(k), k % 2 == 1});
        });
    }
    void Evenements(int module, int n, int voie_paire = 2, int voie_impaire = 3) {
        bus.Avec_Etat([&](sim::Etat_Bus& e) {
            for (int k = 0; k < n; ++k)
                e.modules[module].journal.push_back({sim::Horodatage{2024, 5, 1 + k % 28, 12, 0},
                                                     static_cast<Octet>(k % 13), static_cast<Octet>(k % 5),
                                                     static_cast<Octet>(k % 2 ? voie_impaire : voie_paire)});
        });
    }
    // Count fields of the requests received, in order.
    std::vector<int> Comptes() const {
        std::vector<int> c;
        for (const auto& t : bus.Trames_Recues()) c.push_back(static_cast<Octet>(t.octets[4]) * 256 + static_cast<Octet>(t.octets[5]));
        return c;
    }
};

TEST_F(Telechargement, ZeroDixHuitEtVingtPoints) {
    Points(1, 3, 0);
    Nb_Elements_Telecharges = 0;
    Telechargement_Tous_Enregistrements(1, 3);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Elements_Telecharges, 0);
    EXPECT_EQ(Comptes(), std::vector<int>{3});
    EXPECT_EQ(Temps_Attente, 7500);

    bus.Effacer_Trames();
    Points(1, 4, 18);
    Telechargement_Tous_Enregistrements(1, 4);
    EXPECT_EQ(Nb_Elements_Telecharges, 18);
    EXPECT_EQ(Comptes(), (std::vector<int>{4, 0xFF04, 0xFF04}));

    bus.Effacer_Trames();
    Points(1, 5, 20);
    Telechargement_Tous_Enregistrements(1, 5);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Elements_Telecharges, 38);
    EXPECT_EQ(Comptes(), (std::vector<int>{5, 0xFF05, 0xFF05}));
    // Channel 5 follows channel 4 in the table, in the order received.
    EXPECT_EQ(Tab_Mesures[17].Num_Voie, 4);
    for (int k = 0; k < 20; ++k) {
        const Mesure_Enreg& m = Tab_Mesures[18 + k];
        EXPECT_EQ(m.Num_Voie, 5);
        EXPECT_FLOAT_EQ(m.Valeur, k / 10.0f);
        EXPECT_EQ(m.Alarme != 0, k % 2 == 1);
        EXPECT_DOUBLE_EQ(m.Date_Heure, DateSerial(2024, 3, 1 + k % 28) + TimeSerial(8, 15, 0));
    }
}

TEST_F(Telechargement, FenetreDeDatesPourLesEnregistrementsEtLeJournal) {
    Points(2, 1, 20);  // 1 to 20 March
    Evenements(2, 12);  // 1 to 12 May
    Donnees_Reponse.Date_Debut = DateSerial(2024, 3, 5);
    Donnees_Reponse.Date_Fin = DateSerial(2024, 3, 16);
    Ecriture_Periode_Lecture(2);
    Nb_Elements_Telecharges = 0;
    Telechargement_Enregistrements_Periode(2, 1);
    EXPECT_EQ(Code_Erreur, 0);
    ASSERT_EQ(Nb_Elements_Telecharges, 12);
    EXPECT_DOUBLE_EQ(Tab_Mesures[0].Date_Heure, DateSerial(2024, 3, 5) + TimeSerial(8, 15, 0));
    EXPECT_DOUBLE_EQ(Tab_Mesures[11].Date_Heure, DateSerial(2024, 3, 16) + TimeSerial(8, 15, 0));

    Donnees_Reponse.Date_Debut = DateSerial(2024, 5, 3);
    Donnees_Reponse.Date_Fin = DateSerial(2024, 5, 4);
    Ecriture_Periode_Lecture(2);
    Tab_Journal.resize(13);
    Donnees_Reponse.Nb_Evenements = 12;
    Telechargement_Journal_Periode(2, 0);
    EXPECT_EQ(Code_Erreur, 0);
    ASSERT_EQ(Nb_Elements_Telecharges, 2);
    EXPECT_DOUBLE_EQ(Tab_Journal[0].Date_Heure, DateSerial(2024, 5, 3) + TimeSerial(12, 0, 0));
    EXPECT_EQ(Tab_Journal[1].Num_Voie, 3);
    EXPECT_EQ(Temps_Attente, 1500);
}

// Over the new year of 2030 the dates run on, in the module's order (the
// newest last, which the journal lists first), whole or between two dates.
TEST_F(Telechargement, PassageA2030) {
    const sim::Horodatage depart{2029, 12, 31, 23, 0};
    bus.Avec_Etat([&](sim::Etat_Bus& e) {
        for (int k = 0; k < 13; ++k) {
            e.modules[2].voies[0].enregistrements.push_back({depart.Plus_Minutes(10 * k), static_cast<Entier>(k), false});
            e.modules[2].journal.push_back({depart.Plus_Minutes(10 * k), 2, 0, 1});
        }
    });
    auto continues = [](auto premier, int n) {
        for (int k = 0; k < n; ++k)
            EXPECT_DOUBLE_EQ(premier(k), DateSerial(2029, 12, 31) + TimeSerial(23, 10 * k, 0)) << k;
    };
    Nb_Elements_Telecharges = 0;
    Telechargement_Tous_Enregistrements(2, 1);
    ASSERT_EQ(Nb_Elements_Telecharges, 13);
    continues([](int k) { return Tab_Mesures[static_cast<size_t>(k)].Date_Heure; }, 13);
    Tab_Journal.resize(14);
    Donnees_Reponse.Nb_Evenements = 13;
    Telechargement_Journal_Complet(2, 0);
    ASSERT_EQ(Nb_Elements_Telecharges, 13);
    continues([](int k) { return Tab_Journal[static_cast<size_t>(k)].Date_Heure; }, 13);

    // The window of the new year's day only.
    Donnees_Reponse.Date_Debut = DateSerial(2030, 1, 1);
    Donnees_Reponse.Date_Fin = DateSerial(2030, 1, 1);
    Ecriture_Periode_Lecture(2);
    Nb_Elements_Telecharges = 0;
    Telechargement_Enregistrements_Periode(2, 1);
    ASSERT_EQ(Nb_Elements_Telecharges, 7);
    EXPECT_DOUBLE_EQ(Tab_Mesures[0].Date_Heure, DateSerial(2030, 1, 1));
    Telechargement_Journal_Periode(2, 0);
    ASSERT_EQ(Nb_Elements_Telecharges, 7);
    EXPECT_DOUBLE_EQ(Tab_Journal[6].Date_Heure, DateSerial(2030, 1, 1) + TimeSerial(1, 0, 0));
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Telechargement, ErreurDeLiaisonSurLaDeuxiemePage) {
    Definir_Echelle_Temps(0.02);
    Points(1, 1, 20);
    bus.Programmer_Defauts(0x0E, {Defaut{}}, Defaut{Defaut::Exception, 4});
    Nb_Elements_Telecharges = 0;
    Telechargement_Tous_Enregistrements(1, 1);
    EXPECT_EQ(Code_Erreur, 4);
    EXPECT_EQ(Nb_Elements_Telecharges, 9);
    EXPECT_EQ(bus.Nombre_Requetes(0x0E), 7);  // one page, then one page tried six times
}

TEST_F(Telechargement, PageIndecodableFinitCommeUneErreur) {
    Points(1, 1, 20);
    // Page 2 announces ten records: the page arrays hold nine.
    bus.Programmer_Defauts(0x0E, {Defaut{}, Defaut{Defaut::Donnees, 0, 0, QByteArray(80, '\x01')}});
    Nb_Elements_Telecharges = 0;
    Tab_Mesures[9].Valeur = 42.0f;
    Telechargement_Tous_Enregistrements(1, 1);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Nb_Elements_Telecharges, 9);
    EXPECT_FLOAT_EQ(Tab_Mesures[9].Valeur, 42.0f);  // nothing stored from the bad page
    EXPECT_EQ(bus.Nombre_Requetes(0x0E), 2);

    Code_Erreur = 0;
    Tab_Journal.resize(20);
    Evenements(1, 5);
    bus.Programmer_Defauts(0x10, {Defaut{Defaut::Donnees, 0, 0, QByteArray(80, '\x01')}});
    Telechargement_Journal_Complet(1, 0);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Nb_Elements_Telecharges, 0);
    EXPECT_TRUE(tableau.Progression_Visible());  // left shown, as after a link error
}

TEST_F(Telechargement, TableDesMesuresPleineArreteLesPages) {
    bus.Programmer_Defauts(0x0E, {}, Defaut{Defaut::Pages_Sans_Fin});
    const Long capacite = Table_Mesures::size();
    Nb_Elements_Telecharges = capacite - 20;
    Tab_Mesures[capacite - 1].Num_Voie = 0;
    Telechargement_Tous_Enregistrements(1, 2);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Elements_Telecharges, capacite);
    EXPECT_EQ(Tab_Mesures[capacite - 1].Num_Voie, 2);
    EXPECT_EQ(bus.Nombre_Requetes(0x0E), 3);
    // Already full: nothing more is asked.
    Telechargement_Tous_Enregistrements(1, 3);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x0E), 3);
}

TEST_F(Telechargement, JournalFiltrePagesEtProgression) {
    Evenements(2, 20);
    Tab_Journal.resize(21);
    Donnees_Reponse.Nb_Evenements = 20;
    Octet filtre = 0;
    Telechargement_Journal_Complet(2, filtre);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(filtre, 255);
    EXPECT_EQ(Nb_Elements_Telecharges, 20);
    EXPECT_EQ(Comptes(), (std::vector<int>{255, 0xFFFF, 0xFFFF}));
    for (const auto& t : bus.Trames_Recues()) EXPECT_EQ(t.octets[0], 2);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(Tab_Journal[static_cast<size_t>(k)].Etat, k % 13);
        EXPECT_EQ(Tab_Journal[static_cast<size_t>(k)].Num_Operateur, k % 5);
        EXPECT_EQ(Tab_Journal[static_cast<size_t>(k)].Num_Voie, k % 2 ? 3 : 2);
    }
    EXPECT_EQ(tableau.Caption_Pb(), QString::fromUtf8("Chargement des évènements"));
    EXPECT_FALSE(tableau.Progression_Visible());

    // One channel only.
    bus.Effacer_Trames();
    filtre = 3;
    Telechargement_Journal_Complet(2, filtre);
    EXPECT_EQ(filtre, 3);
    EXPECT_EQ(Nb_Elements_Telecharges, 10);
    EXPECT_EQ(Comptes(), (std::vector<int>{3, 0xFF03}));
    EXPECT_EQ(Tab_Journal[9].Num_Voie, 3);
}

TEST_F(Telechargement, ProgressionDuJournal) {
    Evenements(1, 3);
    Tab_Journal.resize(3);
    Donnees_Reponse.Nb_Evenements = 2;
    tableau.historique_pb_.clear();
    Telechargement_Journal_Complet(1, 0);
    EXPECT_EQ(tableau.historique_pb_, (std::vector<int>{0, 0, 33, 67}));
    EXPECT_FALSE(tableau.Progression_Visible());
}

TEST_F(Telechargement, JournalPlusLongQueLaTableGardeLesPlusRecents) {
    // 22 entries for a table of 5: every page read, the newest 5 kept, the oldest of them first.
    Evenements(2, 22);
    Tab_Journal.resize(5);
    Donnees_Reponse.Nb_Evenements = 22;
    Telechargement_Journal_Complet(2, 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x10), 3);
    EXPECT_EQ(Nb_Elements_Lus, 22);
    EXPECT_EQ(Nb_Elements_Telecharges, 5);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Tab_Journal[static_cast<size_t>(k)].Etat, (17 + k) % 13);
    // Pages without end: no more read than announced and one.
    bus.Programmer_Defauts(0x10, {}, Defaut{Defaut::Pages_Sans_Fin});
    Telechargement_Journal_Complet(2, 0);
    EXPECT_EQ(Nb_Elements_Lus, 23);
    EXPECT_FALSE(tableau.Progression_Visible());
}

TEST_F(Telechargement, JournalPleinArreteLesPages) {
    bus.Programmer_Defauts(0x10, {}, Defaut{Defaut::Pages_Sans_Fin});
    Tab_Journal.resize(5);
    Donnees_Reponse.Nb_Evenements = 4;
    Telechargement_Journal_Complet(1, 0);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Elements_Telecharges, 5);
    EXPECT_EQ(Tab_Journal.size(), 5u);
    EXPECT_EQ(bus.Nombre_Requetes(0x10), 1);
    EXPECT_FALSE(tableau.Progression_Visible());

    // A journal sized for nothing asks nothing.
    Tab_Journal.clear();
    Telechargement_Journal_Complet(1, 0);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Elements_Telecharges, 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x10), 1);
}

}  // namespace
}  // namespace ostrel::test
