#pragma once
// Pauses and the monotonic clock of the link. A time scale lets tests run the
// link's waits (time-outs, pauses around a frame) many times faster than real
// time: every duration is multiplied by Echelle_Temps(), taken from the
// environment variable OSTREL_ECHELLE_TEMPS (default 1) or set by a test.
//
// The time-outs of waits for the other end (a module's reply) follow their own
// scale when one is set: a test can keep the pauses short and still leave a
// busy machine ample time to answer, and shorten the time-outs only where
// nothing is to answer.
#include <chrono>

namespace ostrel {

using Instant = std::chrono::steady_clock::time_point;

double Echelle_Temps();
void Definir_Echelle_Temps(double echelle);

// Scale of the reply time-outs: the one set, or Echelle_Temps() when none is
// (or after a set to 0).
double Echelle_Delais();
void Definir_Echelle_Delais(double echelle);

// Pause of ms milliseconds of program time (ms x scale of real time).
void Pause(int ms);

}  // namespace ostrel
