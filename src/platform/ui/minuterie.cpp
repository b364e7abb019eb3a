#include "platform/ui/minuterie.h"

#include "platform/dialogues.h"

namespace ostrel {
namespace {

bool ticks_a_la_main = false;

}  // namespace

Minuterie::Minuterie(const QString& nom, QObject* parent, int intervalle_ms) : QObject(parent) {
    setObjectName(nom);
    intervalle_ = intervalle_ms;
    horloge_.setSingleShot(false);
    connect(&horloge_, &QTimer::timeout, this, &Minuterie::Echeance);
    attente_.setSingleShot(true);
    attente_.setInterval(50);
    connect(&attente_, &QTimer::timeout, this, &Minuterie::Surveiller_Attente);
}

void Minuterie::Ticks_A_La_Main(bool oui) { ticks_a_la_main = oui; }

void Minuterie::Relancer() {
    if (actif_ && intervalle_ > 0 && !ticks_a_la_main)
        horloge_.start(intervalle_);
    else
        horloge_.stop();
}

void Minuterie::Enabled(bool actif) {
    if (actif == actif_) return;  // enabling a running timer does not restart its count
    actif_ = actif;
    if (!actif_) {
        en_attente_ = false;
        attente_.stop();
    }
    Relancer();
}

void Minuterie::Interval(int ms) {
    intervalle_ = ms < 0 ? 0 : ms;
    Relancer();
}

void Minuterie::Echeance() {
    if (!actif_) return;
    if (en_cours_ || Boites().Modal_Ouvert()) {
        en_attente_ = true;
        if (!attente_.isActive()) attente_.start();
        return;
    }
    Declencher();
}

void Minuterie::Surveiller_Attente() {
    if (!en_attente_ || !actif_) return;
    if (en_cours_ || Boites().Modal_Ouvert()) {
        attente_.start();
        return;
    }
    en_attente_ = false;
    Declencher();
}

bool Minuterie::Declencher() {
    if (!actif_ || en_cours_) return false;
    en_cours_ = true;
    en_attente_ = false;
    // The handler may delete the form that owns this timer (deferred) or stop it.
    if (Timer) Timer();
    en_cours_ = false;
    return true;
}

}  // namespace ostrel
