#pragma once
// The wait pointer over the dashboard, and so over every screen laid on it,
// while a long handler runs or the print server is awaited; the pointer it
// had comes back when the wait ends, whichever way it ends. Message boxes
// and file dialogs are windows of their own and keep the ordinary pointer.
#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QWidget>

namespace ostrel {

class Curseur_Attente {
public:
    Curseur_Attente() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("Frm_Menu1")) fenetre_ = w;
        if (!fenetre_) return;
        avait_curseur_ = fenetre_->testAttribute(Qt::WA_SetCursor);
        ancien_ = fenetre_->cursor();
        fenetre_->setCursor(Qt::WaitCursor);
    }
    ~Curseur_Attente() { Rendre(); }
    void Rendre() {
        if (!fenetre_) return;
        if (avait_curseur_) fenetre_->setCursor(ancien_);
        else fenetre_->unsetCursor();
        fenetre_ = nullptr;
    }
    Curseur_Attente(const Curseur_Attente&) = delete;
    Curseur_Attente& operator=(const Curseur_Attente&) = delete;

private:
    QPointer<QWidget> fenetre_;
    bool avait_curseur_ = false;
    QCursor ancien_;
};

}  // namespace ostrel
