#include "platform/ui/touches.h"

#include <QKeyEvent>

namespace ostrel {

int Code_Touche(int k, Qt::KeyboardModifiers m) {
    const bool pave = m.testFlag(Qt::KeypadModifier);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return (pave ? Touche::Pave_0 : 48) + (k - Qt::Key_0);
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 65 + (k - Qt::Key_A);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return Touche::F1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return Touche::Retour_Arriere;
    case Qt::Key_Tab: case Qt::Key_Backtab: return Touche::Tabulation;
    case Qt::Key_Return: case Qt::Key_Enter: return Touche::Entree;
    case Qt::Key_Shift: return Touche::Maj;
    case Qt::Key_Control: return Touche::Ctrl;
    case Qt::Key_Alt: return Touche::Alt;
    case Qt::Key_Escape: return Touche::Echap;
    case Qt::Key_Space: return Touche::Espace;
    case Qt::Key_PageUp: return Touche::Page_Haut;
    case Qt::Key_PageDown: return Touche::Page_Bas;
    case Qt::Key_End: return Touche::Fin;
    case Qt::Key_Home: return Touche::Debut;
    case Qt::Key_Left: return Touche::Gauche;
    case Qt::Key_Up: return Touche::Haut;
    case Qt::Key_Right: return Touche::Droite;
    case Qt::Key_Down: return Touche::Bas;
    case Qt::Key_Insert: return Touche::Inserer;
    case Qt::Key_Delete: return Touche::Supprimer;
    case Qt::Key_Asterisk: return pave ? Touche::Pave_Multiplier : 0;
    case Qt::Key_Plus: return pave ? Touche::Pave_Plus : 187;
    case Qt::Key_Minus: return pave ? Touche::Pave_Moins : 189;
    case Qt::Key_Period: return pave ? Touche::Pave_Point : 190;
    case Qt::Key_Comma: return pave ? Touche::Pave_Point : 188;
    case Qt::Key_Slash: return pave ? Touche::Pave_Diviser : 191;
    default: return 0;
    }
}

int Code_Touche(const QKeyEvent* e) { return Code_Touche(e->key(), e->modifiers()); }

int Etat_Maj(Qt::KeyboardModifiers m) {
    return (m.testFlag(Qt::ShiftModifier) ? 1 : 0) | (m.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (m.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace ostrel
