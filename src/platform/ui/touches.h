#pragma once
// Key codes as the screens test them: one number per key, whatever the
// keyboard layout (letters 65-90 whatever the case, main digits 48-57, keypad
// digits 96-105, Enter 13, Esc 27, ...), and the shift state (1 Shift,
// 2 Ctrl, 4 Alt).
#include <Qt>

class QKeyEvent;

namespace ostrel {

namespace Touche {
constexpr int Retour_Arriere = 8, Tabulation = 9, Entree = 13, Maj = 16, Ctrl = 17, Alt = 18, Echap = 27,
              Espace = 32, Page_Haut = 33, Page_Bas = 34, Fin = 35, Debut = 36, Gauche = 37, Haut = 38,
              Droite = 39, Bas = 40, Inserer = 45, Supprimer = 46, Pave_0 = 96, Pave_Multiplier = 106,
              Pave_Plus = 107, Pave_Moins = 109, Pave_Point = 110, Pave_Diviser = 111, F1 = 112;
}  // namespace Touche

// 0 for a key without a code.
int Code_Touche(int cle_qt, Qt::KeyboardModifiers modificateurs);
int Code_Touche(const QKeyEvent* evenement);
int Etat_Maj(Qt::KeyboardModifiers modificateurs);

}  // namespace ostrel
