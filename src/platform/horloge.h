#pragma once
// Pauses and the monotonic clock of the link. A time scale lets tests run the
// link's waits (time-outs, pauses around a frame) many times faster than real
// time: every duration is multiplied by Echelle_Temps(), taken from the
// environment variable OSTREL_ECHELLE_TEMPS (default 1) or set by a test.
#include <chrono>

namespace ostrel {

using Instant = std::chrono::steady_clock::time_point;

double Echelle_Temps();
void Definir_Echelle_Temps(double echelle);

// Pause of ms milliseconds of program time (ms x scale of real time).
void Pause(int ms);

}  // namespace ostrel
