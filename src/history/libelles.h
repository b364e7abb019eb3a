#pragma once
// Texts laid over the window's colour (labels, group titles, the captions of
// check boxes and option buttons) in a colour of their own, while the boxes
// and the marks they hold keep the colours of the system.
#include <QPalette>
#include <QWidget>

#include "platform/types.h"
#include "platform/ui/couleurs_ui.h"

namespace ostrel {

inline void Couleur_Libelle(QWidget* controle, Couleur couleur) {
    // A disabled control keeps the system's grey.
    QPalette p = controle->palette();
    p.setColor(QPalette::Active, QPalette::WindowText, Vers_QColor(couleur));
    p.setColor(QPalette::Inactive, QPalette::WindowText, Vers_QColor(couleur));
    controle->setPalette(p);
    controle->setProperty("ForeColor", couleur);
}

}  // namespace ostrel
