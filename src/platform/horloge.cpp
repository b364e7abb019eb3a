#include "platform/horloge.h"

#include <QString>
#include <QtGlobal>
#include <thread>

namespace ostrel {
namespace {

double& Echelle() {
    static double echelle = [] {
        bool ok = false;
        const double v = qEnvironmentVariable("OSTREL_ECHELLE_TEMPS").toDouble(&ok);
        return ok && v > 0 ? v : 1.0;
    }();
    return echelle;
}

double delais = 0;  // 0: the time-outs follow Echelle()

}  // namespace

double Echelle_Temps() { return Echelle(); }
void Definir_Echelle_Temps(double echelle) { Echelle() = echelle > 0 ? echelle : 1.0; }

double Echelle_Delais() { return delais > 0 ? delais : Echelle(); }
void Definir_Echelle_Delais(double echelle) { delais = echelle > 0 ? echelle : 0; }

void Pause(int ms) {
    if (ms <= 0) return;
    std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms * Echelle()));
}

}  // namespace ostrel
