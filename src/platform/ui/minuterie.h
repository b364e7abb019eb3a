#pragma once
// A timer as the screens use it: Enabled and Interval (ms), a tick handler,
// objectName = its name on the screen ("Tmr_Date"). A tick that falls while a
// message box or dialog is open, or while the timer's own handler still
// runs, is held back and delivered once that ends (one at most). Tests fire
// a tick with Declencher() instead of waiting.
#include <QObject>
#include <QTimer>
#include <functional>

namespace ostrel {

class Minuterie : public QObject {
    Q_OBJECT
public:
    Minuterie(const QString& nom, QObject* parent, int intervalle_ms = 0);

    bool Enabled() const { return actif_; }
    void Enabled(bool actif);
    int Interval() const { return intervalle_; }
    void Interval(int ms);  // restarts the count when the timer runs; 0 stops the ticks

    std::function<void()> Timer;  // the tick handler

    // Runs one tick now when the timer is enabled; returns whether it ran.
    bool Declencher();
    // While set, timers started from then on never tick by the clock: a test
    // that fires every tick itself is not overtaken by one on a slow run.
    static void Ticks_A_La_Main(bool oui);
    bool Tick_En_Attente() const { return en_attente_; }

private:
    void Echeance();
    void Relancer();
    void Surveiller_Attente();

    QTimer horloge_;
    QTimer attente_;
    bool actif_ = false;
    int intervalle_ = 0;
    bool en_cours_ = false;
    bool en_attente_ = false;
};

}  // namespace ostrel
