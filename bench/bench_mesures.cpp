// The live measurement screen on a 16-channel module of the simulated bus,
// its wire time emulated at 9600 baud, with its real timers (100 ms sweep,
// 1.5 s blink) and its window drawn (offscreen unless a display is given).
// Prints the time of the load, the time of each full sweep against the line
// time of its frames, and the share of one core the program's thread takes
// while the screen runs.
//   bench_mesures [secondes]   (default 20)
#include <time.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "link/ecran_communication.h"
#include "link/liaison.h"
#include "link/liaison_ecran.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/dialogues.h"
#include "platform/formes.h"
#include "platform/horloge.h"
#include "platform/imprimante.h"
#include "platform/ui/registre_formes.h"
#include "shell/demarrage.h"
#include "shell/ecrans_programme.h"
#include "shell/frm_mesures.h"
#include "sim/simulateur.h"

using namespace ostrel;

namespace {

double Cpu_Fil() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double Secondes(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    constexpr int Debit = 9600;
    constexpr int Voies = 16;
    const double duree = argc > 1 ? std::max(5.0, std::atof(argv[1])) : 20.0;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    sim::Simulateur bus;
    bus.Etat_Demonstration({1}, Voies);
    bus.Definir_Debit(Debit);
    if (!bus.Demarrer()) {
        std::fprintf(stderr, "pseudo-terminal indisponible\n");
        return 1;
    }

    QApplication application(argc, argv);
    Configurer_Application();
    QTemporaryDir dossier;
    Fichier_Mouchard = dossier.filePath(QStringLiteral("setupm.snf"));
    Options_Initiales();
    Police_Options = QStringLiteral("Arial");
    Taille_Police_Moyenne = 14;
    Var_Width_Fille = 1280 * 15;
    Var_Height_Fille = 840 * 15;
    Boites_Scriptees boites;
    Definir_Boites(&boites);
    Registre_Formes registre;
    Enregistrer_Formes(registre);
    Definir_Formes(&registre);
    Definir_Echelle_Temps(1.0);

    qputenv("OSTREL_COM1", bus.Chemin().toLocal8Bit());
    Ecran_Communication().ouverture_port(1);
    if (Code_Erreur != 0) {
        std::fprintf(stderr, "port indisponible\n");
        return 1;
    }

    Num_Module = 1;
    Ecran_Courant = QStringLiteral("Consultation");
    const auto t_ouverture = std::chrono::steady_clock::now();
    Liaison_Ecran(Ecran_Courant, QStringLiteral("Mesures"), Faux);
    const double chargement = Secondes(std::chrono::steady_clock::now() - t_ouverture);
    auto* ecran = registre.Instance_De<Frm_Mesures_Forme>(QStringLiteral("Frm_Mesures"));
    if (!ecran || Code_Erreur != 0 || ecran->Nb_Voies != Voies) {
        std::fprintf(stderr, "l'écran Mesures ne s'est pas ouvert (code %d)\n", Code_Erreur);
        return 1;
    }
    const size_t trames_chargement = bus.Trames_Recues().size();

    // The screen runs on its own timers; the first seconds are left out of the CPU share.
    bool mesure_en_cours = false;
    double cpu0 = 0;
    auto t0 = std::chrono::steady_clock::now();
    QTimer::singleShot(2000, [&] {
        mesure_en_cours = true;
        cpu0 = Cpu_Fil();
        t0 = std::chrono::steady_clock::now();
    });
    QTimer::singleShot(static_cast<int>(2000 + duree * 1000), &application, &QApplication::quit);
    QApplication::exec();
    const double cpu = Cpu_Fil() - cpu0;
    const double mur = Secondes(std::chrono::steady_clock::now() - t0);
    const bool toujours_la = registre.Est_Chargee(QStringLiteral("Frm_Mesures"));
    registre.Decharger(QStringLiteral("Frm_Mesures"));
    Ecran_Communication().fermeture_port();
    if (!mesure_en_cours || !toujours_la || Code_Erreur != 0) {
        std::fprintf(stderr, "le balayage s'est arrêté (code %d)\n", Code_Erreur);
        return 1;
    }

    // Sweeps: from one read of channel 1's measure to the next.
    const auto trames = bus.Trames_Recues();
    std::vector<std::chrono::steady_clock::time_point> debuts;
    size_t lectures = 0;
    for (size_t i = trames_chargement; i < trames.size(); ++i) {
        const QByteArray& o = trames[i].octets;
        if (o.size() < 6) continue;
        ++lectures;
        if (static_cast<unsigned char>(o[3]) == 0x00 && static_cast<unsigned char>(o[5]) == 1) debuts.push_back(trames[i].fin);
    }
    std::vector<double> balayages;
    for (size_t i = 1; i < debuts.size(); ++i) balayages.push_back(Secondes(debuts[i] - debuts[i - 1]));
    std::sort(balayages.begin(), balayages.end());
    const double median = balayages.empty() ? 0 : balayages[balayages.size() / 2];
    // Per channel: a read of 8 bytes and its reply of 7, twice (measure, state).
    const double ligne = Voies * 2 * (8 + 7) * 10.0 / Debit;
    const double pauses = Voies * 2 * 0.020;  // before each frame
    const double minuterie = Voies * 0.100;   // the timer's interval, counted from the end of each step

    std::printf("Chargement de l'écran (%zu trames)       : %.3f s\n", trames_chargement, chargement);
    std::printf("Balayages complets mesurés               : %zu (%zu lectures)\n", balayages.size(), lectures);
    if (!balayages.empty())
        std::printf("Durée d'un balayage de %d voies         : médiane %.3f s (min %.3f, max %.3f)\n", Voies, median,
                    balayages.front(), balayages.back());
    std::printf("  temps de ligne des trames à %d bauds : %.3f s\n", Debit, ligne);
    std::printf("  pauses de 20 ms avant les trames       : %.3f s\n", pauses);
    std::printf("  attente de la minuterie (16 x 100 ms)  : %.3f s\n", minuterie);
    std::printf("  reste (retournement, traitement)       : %.3f s\n", median - ligne - pauses - minuterie);
    std::printf("Rafraîchissement d'une voie              : toutes les %.2f s\n", median);
    std::printf("CPU du fil du programme                  : %.3f s sur %.1f s, soit %.2f %% d'un cœur\n", cpu, mur,
                100.0 * cpu / mur);
    Definir_Formes(nullptr);
    Definir_Boites(nullptr);
    return 0;
}
