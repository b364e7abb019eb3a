#pragma once
// The plant behind the demonstration bus. Each channel follows a slow course
// around a value suited to its name, with a little noise, and moves as a room
// does: a few tenths of its unit in a step at most. Now and then (a few times
// an hour on a module) one is pushed past a threshold (a door left open, a
// defrost) and its module takes it through the alarm states: the alarm begins
// once its delay has run, stays until it is acknowledged or goes, and each
// step is written to the journal, which thus holds every alarm of the hours
// the recordings cover. The first module starts with one such episode under
// way: an alarm past its delay that nobody has acknowledged yet, which ends
// some minutes later. The contact inputs open and close, as inhibition
// inputs without alarms of their own; every channel records the mean of its
// measures at its own period into the module memory; the module clocks run
// from the PC's time.
//
// The course is stepped on a fixed grid counted from its start, with draws
// taken from the seed alone: one seed gives the same course whenever it is
// looked at. The clock it follows is the PC's or the one the caller gives.
#include <QDateTime>
#include <array>
#include <climits>
#include <map>
#include <random>

#include "simulateur.h"

namespace ostrel::sim {

class Installation {
public:
    // The plant starts some hours before the clock's present and runs up to
    // it: the recordings, the journal and the alarm states are that past, and
    // the alarms of that past were acknowledged by the operators on site,
    // but for the episode under way on the first module.
    Installation(Etat_Bus& etat, Cours cours);

    // Brings the plant up to the clock's present.
    void Avancer(Etat_Bus& etat);
    // The module's clock has just been written: it runs on from what it got.
    void Horloge_Ecrite(int adresse, const Module_Simule& m);

    // Names, sensors, thresholds, units, alarm delays and recording periods
    // of the demonstration plant's channels, within a module's ranges; the
    // contact input becomes an inhibition input.
    static void Regler_Demonstration(Module_Simule& m);

    static constexpr int Pas_Secondes = 10;
    static constexpr int Heures_Passees = 8;

private:
    struct Voie_Cours {
        std::mt19937 alea;
        double base = 0, oscillation = 0, periode = 1, phase = 0, derive = 0, agitation = 0;
        double valeur = 0;  // where the room is, tenths
        bool demarree = false;
        // A push past a threshold, from its start until its condition has held
        // `tenue_voulue` seconds or its time is up; `fin` is the step it ended.
        bool poussee = false;
        double ecart = 0;
        int tenue_voulue = 0;
        long long limite = 0, fin = LLONG_MIN;
        int condition = 0;            // 1 above the high threshold, -1 below the low one
        int tenue = 0;                // seconds the condition has held
        long long acquittement = LLONG_MAX;  // step of the operator's acknowledgement, in the past only
        // The episode under way at the start: its push begins at `depart` and
        // holds the room at `cible`, past the threshold whatever the swing,
        // until `limite`; nobody acknowledges it before the start.
        bool temoin = false;
        long long depart = 0;
        double cible = 0;
        bool ouvert = false;
        long long bascule = 0;        // step at which the contact turns
        long long minute_enregistree = LLONG_MIN;
        double somme = 0;  // of the measures since the last point
        int nombre = 0;
    };
    struct Module_Cours {
        std::mt19937 alea;
        long long prochain_incident = 0;
        long long decalage = 0;  // module clock minus the plant's clock, seconds
        std::array<Voie_Cours, 16> voies;
    };

    qint64 Maintenant() const;
    // The value the channel keeps at step k, swing and drift included.
    static double Cours_Lent(const Voie_Cours& c, long long k);
    void Pas(Etat_Bus& etat, long long k);
    void Pas_Voie(Module_Simule& m, Module_Cours& mc, int v, long long k, const QDateTime& heure, long long minute);
    void Etats_Alarme(Module_Simule& m, Voie_Cours& c, int v, long long k, int condition, const QDateTime& heure);
    void Incident(Module_Simule& m, Module_Cours& mc, long long k);
    // Picks the channel of the first module whose episode is under way at the start.
    void Preparer_Temoin(Etat_Bus& etat);

    Cours cours_;
    qint64 debut_ = 0;      // seconds since the epoch at the start of the course
    long long pas_ = 0;     // last step run
    std::map<int, Module_Cours> modules_;
};

}  // namespace ostrel::sim
