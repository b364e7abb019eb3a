#pragma once
// The wait pointer over the whole program while a long handler runs, back to
// the screen's own pointer when it ends, whichever way it ends.
#include <QApplication>
#include <QCursor>

namespace ostrel {

class Curseur_Attente {
public:
    Curseur_Attente() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Curseur_Attente() { Rendre(); }
    void Rendre() {
        if (actif_) QApplication::restoreOverrideCursor();
        actif_ = false;
    }
    Curseur_Attente(const Curseur_Attente&) = delete;
    Curseur_Attente& operator=(const Curseur_Attente&) = delete;

private:
    bool actif_ = true;
};

}  // namespace ostrel
