#pragma once
// One QApplication for the whole test program, created on first use (the
// tests run with QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QEvent>

#include "commun/texte_test.h"

namespace ostrel_test {

inline QApplication& Application() {
    static int argc = 1;
    static char nom[] = "tests";
    static char* argv[] = {nom, nullptr};
    static QApplication* application = [] {
        auto* a = new QApplication(argc, argv);
        QApplication::setStyle(QStringLiteral("Fusion"));
        return a;
    }();
    return *application;
}

// Runs what the event loop would run now, deferred deletions included.
inline void Traiter_Evenements() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Counts the events of one type an object receives (its window raised: ZOrderChange).
class Compteur_Evenements : public QObject {
public:
    Compteur_Evenements(QObject* cible, QEvent::Type type) : type_(type) { cible->installEventFilter(this); }
    int n = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == type_) ++n;
        return false;
    }

private:
    QEvent::Type type_;
};

}  // namespace ostrel_test
