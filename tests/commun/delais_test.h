#pragma once
// Reply time-outs in tests. The link's pauses run at whatever time scale a
// test picks, but the time-outs of its waits for the simulator's thread do not
// follow: a thread held up by a busy machine must still be on time.
//   Delais_Reels: the program's own time-outs (2 s for most requests), where
//     every exchange is answered;
//   Delais_Mixtes: where a module falls silent among exchanges that are
//     answered: half a second for the answered ones (of the given time-out,
//     in units of Temps_Attente), still ample, while a silent request of
//     that time-out costs three seconds rather than twelve;
//   Delais_Courts: where every exchange is to end by its time-out whatever
//     the other thread does (a silent module, a reply cut short): it ends the
//     same way, only sooner.
#include "link/ecran_communication.h"
#include "platform/horloge.h"

namespace ostrel_test {

inline void Delais_Reels() { ostrel::Definir_Echelle_Delais(1.0); }
inline void Delais_Mixtes(ostrel::Long attente = 1500) {
    ostrel::Definir_Echelle_Delais(0.5 / (attente * ostrel::Secondes_Par_Unite_Attente));
}
inline void Delais_Courts() { ostrel::Definir_Echelle_Delais(0.005); }
// Back to the time scale alone, as the program runs.
inline void Delais_Par_Defaut() { ostrel::Definir_Echelle_Delais(0); }

}  // namespace ostrel_test
