// The simulated modules as the demonstration needs them: the offset in the
// measure returned, the journal entry of an acknowledgement, a clock that runs
// and can be set, and a plant whose course one seed repeats. The plant follows
// a clock the tests move by hand.
#include <QDateTime>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
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

    // Three hours, looked at each minute on one bus and every ten on its twin.
    std::vector<int> avant = Releve(a);
    int mesures_changees = 0, etats_changes = 0;
    bool autre_cours = false;
    for (int minute = 1; minute <= 180; ++minute) {
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

TEST(Installation, ElleBougeCommeDesPiecesEtAlarmePeu) {
    // The default plant over four hours of its clock, looked at every step.
    Horloge_Essai horloge;
    sim::Simulateur bus;
    bus.Etat_Installation({1, 2, 3}, 0, horloge.Cours(3));
    std::map<std::pair<int, int>, int> avant;
    int plus_grand_pas = 0;
    for (int pas = 0; pas <= 4 * 360; ++pas) {
        bus.Avec_Etat([&](sim::Etat_Bus& e) {
            for (const auto& [adresse, m] : e.modules)
                for (int v = 0; v < m.nb_voies; ++v) {
                    const sim::Voie_Simulee& voie = m.voies[static_cast<size_t>(v)];
                    if (((voie.reglages[13] >> 3) & 3) == 2) continue;  // a contact input jumps
                    const int mesure = sim::Mesure_Corrigee(voie);
                    if (avant.count({adresse, v}))
                        plus_grand_pas = std::max(plus_grand_pas, std::abs(mesure - avant[{adresse, v}]));
                    avant[{adresse, v}] = mesure;
                }
        });
        horloge.Avancer(10);  // the plant's step
    }
    // Half a degree (or %Hr) in ten seconds at most.
    EXPECT_GT(plus_grand_pas, 0);
    EXPECT_LE(plus_grand_pas, 5);
    // A few alarms an hour on a module over the twelve hours (eight before the
    // start), and a journal that holds them all since the recordings began.
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        for (const auto& [adresse, m] : e.modules) {
            const auto alarmes = std::count_if(m.journal.begin(), m.journal.end(),
                                               [](const sim::Evenement& ev) { return ev.etat == 2 || ev.etat == 4; });
            EXPECT_GE(alarmes, 2) << adresse;
            EXPECT_LE(alarmes, 4 * 12) << adresse;
            EXPECT_LT(m.journal.size(), 400u) << adresse;
        }
    });
}

TEST(Installation, ElleCommenceAvecUneAlarmeEnCoursSurLeModule1) {
    // Whatever the seed, a channel of module 1 is in alarm past its delay and
    // not acknowledged from the start; its alarm ends within a quarter of an
    // hour, the operator still to acknowledge it.
    for (std::uint32_t graine = 1; graine <= 6; ++graine) {
        Horloge_Essai horloge;
        sim::Simulateur bus;
        bus.Etat_Installation({1, 2, 3}, 0, horloge.Cours(graine));
        auto etats = [&] {
            return bus.Avec_Etat([](sim::Etat_Bus& e) {
                std::vector<int> r;
                for (const auto& v : e.modules[1].voies) r.push_back(v.etat);
                return r;
            });
        };
        const std::vector<int> depart = etats();
        bool en_cours = false, finie = false;
        for (int v = 0; v < 16; ++v) en_cours |= depart[static_cast<size_t>(v)] == 2 || depart[static_cast<size_t>(v)] == 4;
        for (int minute = 1; minute <= 15 && en_cours && !finie; ++minute) {
            horloge.Avancer(60);
            const std::vector<int> r = etats();
            for (size_t v = 0; v < r.size(); ++v) finie |= (depart[v] == 2 && r[v] == 6) || (depart[v] == 4 && r[v] == 8);
        }
        EXPECT_TRUE(en_cours) << graine;
        EXPECT_TRUE(finie) << graine;
    }
}

TEST_F(Banc_Bus, LaPlanteEstRegleeCommeUnModule) {
    Horloge_Essai horloge;
    bus.Etat_Installation({1, 2}, 0, horloge.Cours(1));
    int humidites = 0;
    bus.Avec_Etat([&](sim::Etat_Bus& e) {
        for (const auto& [adresse, m] : e.modules)
            for (int v = 0; v < m.nb_voies; ++v) {
                const auto& r = m.voies[static_cast<size_t>(v)].reglages;
                const int nature = (r[13] >> 3) & 3, unite = r[15] & 7;
                EXPECT_TRUE(r[1] >= 1 && r[1] <= 240 && r[11] >= 1 && r[11] <= 240) << adresse << " " << v;
                // %Hr from a 4-20 mA transmitter; an AD590 in degrees.
                EXPECT_TRUE(unite != 1 || nature == 1) << adresse << " " << v;
                EXPECT_TRUE(nature != 0 || unite == 0) << adresse << " " << v;
                humidites += unite == 1;
                // The contact input is an inhibition input: no alarm of its own to raise.
                EXPECT_TRUE(nature != 2 || (r[13] & 0x06) == 0x04) << adresse << " " << v;
            }
    });
    EXPECT_EQ(humidites, 2);
    // The module takes every block back as it gave it.
    for (Octet v = 1; v <= 16 && Code_Erreur == 0; ++v) {
        Lecture_Parametres_Voie(2, v);
        Ecriture_Parametres_Voie(2, v);
    }
    EXPECT_EQ(Code_Erreur, 0);
}

}  // namespace
}  // namespace ostrel::test
