#pragma once
// The wait pointer for the time of a long handler, the usual pointer after.
#include <QApplication>
#include <QCursor>

namespace ostrel {

class Pointeur_Attente {
public:
    Pointeur_Attente() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~Pointeur_Attente() { QApplication::restoreOverrideCursor(); }
    Pointeur_Attente(const Pointeur_Attente&) = delete;
    Pointeur_Attente& operator=(const Pointeur_Attente&) = delete;
};

}  // namespace ostrel
