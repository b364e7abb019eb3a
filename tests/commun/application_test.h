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

}  // namespace ostrel_test
