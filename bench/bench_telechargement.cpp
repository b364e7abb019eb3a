// Download of 900 recordings (100 full pages and the empty one that ends
// them) from the simulated bus with its wire time emulated at 9600 baud.
// Prints the wall time, the time the bytes need on the line, the simulator's
// turnaround, the fixed pause before each frame, and the master's CPU time.
#include <sys/resource.h>
#include <time.h>

#include <utility>

#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "link/donnees.h"
#include "link/ecran_communication.h"
#include "link/fonctions_es.h"
#include "link/liaison.h"
#include "link/variables.h"
#include "platform/horloge.h"
#include "sim/simulateur.h"

using namespace ostrel;

namespace {

double Cpu_Fil() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// User and system time of the calling thread.
std::pair<double, double> Temps_Fil() {
    rusage r{};
    getrusage(RUSAGE_THREAD, &r);
    return {r.ru_utime.tv_sec + r.ru_utime.tv_usec / 1e6, r.ru_stime.tv_sec + r.ru_stime.tv_usec / 1e6};
}

}  // namespace

int main() {
    constexpr int Points = 900;
    constexpr int Debit = 9600;
    sim::Simulateur bus;
    bus.Configurer({1}, 16);
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        auto& pts = e.modules[1].voies[0].enregistrements;
        for (int k = 0; k < Points; ++k)
            pts.push_back({sim::Horodatage{2024, 1, 1, 0, 0}.Plus_Minutes(15 * k), static_cast<Entier>(k % 300), false});
    });
    bus.Definir_Debit(Debit);
    if (!bus.Demarrer()) {
        std::fprintf(stderr, "pseudo-terminal indisponible\n");
        return 1;
    }
    Reinitialiser_Donnees();
    Definir_Echelle_Temps(1.0);
    qputenv("OSTREL_COM1", bus.Chemin().toLocal8Bit());
    Ecran_Communication().ouverture_port(1);
    if (Code_Erreur != 0) {
        std::fprintf(stderr, "port indisponible\n");
        return 1;
    }

    Nb_Elements_Telecharges = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const double cpu0 = Cpu_Fil();
    const auto [u0, s0] = Temps_Fil();
    Telechargement_Tous_Enregistrements(1, 1);
    const double cpu = Cpu_Fil() - cpu0;
    const auto [u1, s1] = Temps_Fil();
    const double mur = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    Ecran_Communication().fermeture_port();

    if (Code_Erreur != 0 || Nb_Elements_Telecharges != Points) {
        std::fprintf(stderr, "échec : code %d, %d points\n", Code_Erreur, static_cast<int>(Nb_Elements_Telecharges));
        return 1;
    }
    const int echanges = static_cast<int>(bus.Trames_Recues().size());
    const int pages_pleines = Points / 9;
    // 8 bytes per request; 5 + 72 per full reply, 5 for the empty last one.
    const long long octets = 8LL * echanges + 77LL * pages_pleines + 5LL * (echanges - pages_pleines);
    const double ligne = octets * 10.0 / Debit;
    const double retournement = std::chrono::duration<double>(bus.Temps_Reponse_Cumule()).count();
    const double pauses = echanges * 0.020;  // before each frame; the one after overlaps the reply
    const double attendu = ligne + retournement + pauses;
    std::printf("Échanges                         : %d (%d points)\n", echanges, Points);
    std::printf("Octets sur la ligne              : %lld\n", octets);
    std::printf("Temps mural                      : %.3f s\n", mur);
    std::printf("Temps de ligne à %d bauds      : %.3f s\n", Debit, ligne);
    std::printf("Mural / ligne                    : %.3f\n", mur / ligne);
    std::printf("Retournement du simulateur       : %.4f s\n", retournement);
    std::printf("Pauses de 20 ms avant les trames : %.3f s\n", pauses);
    std::printf("Mural / (ligne + retournement + pauses) : %.4f (écart %+.2f %%)\n", mur / attendu,
                100.0 * (mur - attendu) / attendu);
    std::printf("CPU du maître                    : %.4f s (%.3f %% du mural)\n", cpu, 100.0 * cpu / mur);
    std::printf("  dont utilisateur / système     : %.4f s / %.4f s\n", u1 - u0, s1 - s0);
    return 0;
}
