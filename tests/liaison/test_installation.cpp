// The simulated modules as the demonstration needs them: the offset in the
// measure returned, the journal entry of an acknowledgement, a clock that runs
// and can be set, and a plant whose course one seed repeats. The plant follows
// a clock the tests move by hand.
#include <QDateTime>
#include <atomic>
#include <tuple>

#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "outils_test.h"
#include "platform/dates.h"

namespace ostrel::test {
namespace {

class Horloge_Essai {
public:
    sim::Cours Cours(std::uint32_t graine) {
        return {graine, [this] { return QDateTime::fromSecsSinceEpoch(secondes_.load()); }};
    }
    void Avancer(int secondes) { secondes_ += secondes; }
    QDateTime Maintenant() const { return QDateTime::fromSecsSinceEpoch(secondes_.load()); }

private:
    std::atomic<qint64> secondes_{QDateTime(QDate(2027, 3, 7), QTime(9, 0, 20)).toSecsSinceEpoch()};
};

TEST_F(Banc_Bus, LaMesureRendueComprendLaCorrection) {
    bus.Configurer({1}, 16);
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        auto& v = e.modules[1].voies;
        v[0].mesure = 200;
        v[0].correction = 15;
        v[1].mesure = -32767;  // a contact mark stays what it is
        v[1].correction = 15;
        v[2].mesure = -32760;  // and a measure never becomes one
        v[2].correction = -20;
    });
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 1), 21.5f);
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 2), -3276.7f);
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 3), -3276.5f);
    Donnees_Reponse.Offset = -1.5f;
    Ecriture_Correction_Voie(1, 1);
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 1), 18.5f);
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Banc_Bus, UnAcquittementSEcritAuJournalAvecLeNiveau) {
    bus.Configurer({1}, 16);
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        auto& m = e.modules[1];
        m.horloge = {30, 10, 1, 7, 3, 27};  // 07/03/2027 10:30
        m.voies[1].etat = 2;                // high alarm, present
        m.voies[4].etat = 8;                // low alarm, gone
    });
    for (Octet v : {1, 2, 5}) Acquittement_Alarme(1, v, 3);
    EXPECT_EQ(Code_Erreur, 0);
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        const auto& m = e.modules[1];
        ASSERT_EQ(m.journal.size(), 2u);  // channel 1 had nothing to acknowledge
        using Entree = std::tuple<long long, int, int, int>;
        auto entree = [](const sim::Evenement& ev) { return Entree{ev.quand.Cle(), ev.voie, ev.etat, ev.operateur}; };
        const long long a_10h30 = sim::Horodatage{2027, 3, 7, 10, 30}.Cle();
        EXPECT_EQ(entree(m.journal[0]), (Entree{a_10h30, 2, 1, 3}));  // "Alarme haute acquittée"
        EXPECT_EQ(entree(m.journal[1]), (Entree{a_10h30, 5, 7, 3}));  // "Plus d'alarme"
        EXPECT_EQ(m.voies[1].etat, 1);
        EXPECT_EQ(m.voies[4].etat, 0);
    });
}

TEST_F(Banc_Bus, LHorlogeDuModulePartDeLHeureDuPcEtTourne) {
    Horloge_Essai horloge;  // 07/03/2027 09:00:20
    bus.Etat_Installation({1}, 16, horloge.Cours(1));
    Lecture_Date_Heure_Module(1);
    EXPECT_DOUBLE_EQ(Donnees_Reponse.Date_Heure_Module, DateSerial(2027, 3, 7) + TimeSerial(9, 0, 0));
    horloge.Avancer(7 * 60);
    Lecture_Date_Heure_Module(1);
    EXPECT_DOUBLE_EQ(Donnees_Reponse.Date_Heure_Module, DateSerial(2027, 3, 7) + TimeSerial(9, 7, 0));
    // Set, it runs on from what it was given.
    Donnees_Reponse.Date_Heure_Module = DateSerial(2027, 3, 8) + TimeSerial(18, 45, 0);
    Ecriture_Date_Heure_Module(1);
    horloge.Avancer(2 * 60);
    Lecture_Date_Heure_Module(1);
    EXPECT_DOUBLE_EQ(Donnees_Reponse.Date_Heure_Module, DateSerial(2027, 3, 8) + TimeSerial(18, 47, 0));
    EXPECT_EQ(Code_Erreur, 0);
}

// Every channel's returned measure and alarm state.
std::vector<int> Releve(sim::Simulateur& s) {
    std::vector<int> r;
    s.Avec_Etat([&](sim::Etat_Bus& e) {
        for (const auto& [adresse, m] : e.modules)
            for (int v = 0; v < m.nb_voies; ++v) {
                r.push_back(sim::Mesure_Corrigee(m.voies[static_cast<size_t>(v)]));
                r.push_back(m.voies[static_cast<size_t>(v)].etat);
            }
    });
    return r;
}

TEST(Installation, UneGraineRepeteLeCoursQuiBougeEtSonPasse) {
    Horloge_Essai horloge;
    sim::Simulateur a, b, c;
    a.Etat_Installation({1, 2}, 0, horloge.Cours(7));
    b.Etat_Installation({1, 2}, 0, horloge.Cours(7));
    c.Etat_Installation({1, 2}, 0, horloge.Cours(8));

    // The past in the module memory ends now: each channel's last point within
    // its recording period, the journal behind the clock.
    const long long maintenant = sim::Horodatage::De(horloge.Maintenant()).Cle();
    a.Avec_Etat([&](sim::Etat_Bus& e) {
        for (const auto& [adresse, m] : e.modules) {
            EXPECT_GT(m.journal.size(), 10u) << adresse;
            for (const auto& ev : m.journal) EXPECT_LE(ev.quand.Cle(), maintenant);
            for (int v = 0; v < m.nb_voies; ++v) {
                const auto& voie = m.voies[static_cast<size_t>(v)];
                ASSERT_GT(voie.enregistrements.size(), 40u) << v;
                EXPECT_LE(voie.enregistrements.back().quand.Cle(), maintenant);
                EXPECT_GT(voie.enregistrements.back().quand.Cle(), maintenant - voie.reglages[1]);
            }
        }
    });

    // Half an hour, looked at each minute on one bus and every ten on its twin.
    std::vector<int> avant = Releve(a);
    int mesures_changees = 0, etats_changes = 0;
    bool autre_cours = false;
    for (int minute = 1; minute <= 30; ++minute) {
        horloge.Avancer(60);
        const std::vector<int> r = Releve(a);
        if (minute % 10 == 0) {
            EXPECT_EQ(r, Releve(b)) << minute;
        }
        autre_cours |= r != Releve(c);
        for (size_t i = 0; i < r.size(); ++i) (i % 2 ? etats_changes : mesures_changees) += r[i] != avant[i];
        avant = r;
    }
    EXPECT_TRUE(autre_cours);
    EXPECT_GT(mesures_changees, 100);
    EXPECT_GT(etats_changes, 5);
}

}  // namespace
}  // namespace ostrel::test
