#pragma once
// Who has the keyboard, asked of the window system as it stands now. Long
// work (a download, a printout) holds the event loop: meanwhile the operator
// may have gone to type in another program, and the program's own view of its
// windows is only as fresh as the last events it handled (on X11, Qt even
// waits a moment after losing the focus before it says so).
#include <functional>

namespace ostrel {

// One answer of the window system.
struct Lecture_Clavier {
    // A window of another program has the keyboard.
    bool ailleurs = false;
    // Told by the window under the pointer, not by the focus: the focus was
    // on no window, on the root window, or follows the pointer. That is how
    // X stands with no window manager (the keyboard falls back to the root
    // when a dialog closes), and also a moment that a window manager passes
    // through between two windows, which one answer cannot tell apart.
    bool par_pointeur = false;
};

// On X11 the server is asked which window has the input focus: one of the
// program's (or a window inside one), another program's, or none of them,
// and then the window under the pointer is asked for (one of the program's,
// or the bare root, is no other program's). Where the window system cannot
// be asked, the program's own view stands for it (none of its windows has
// the focus means elsewhere).
Lecture_Clavier Lire_Clavier();
bool Clavier_Ailleurs();

// Tests script the answer (always told by the focus); an empty function
// gives the window system's back.
void Definir_Clavier_Ailleurs(std::function<bool()> source);

// Whether the operator is at the program: the one question that the boxes
// and the window helpers ask before they come forward.
enum class Presence {
    Ici,
    // Only the pointer says so: it may be a passing moment; a box waits
    // until it has held a while.
    Sans_Doute_Ici,
    Ailleurs,
};
// Right after one of the program's boxes or dialogs closed at the keyboard,
// in the same piece of work (the program has not waited for anything
// since), the operator is there whatever the pointer rests on, unless the
// focus itself is on another program's window. Otherwise the window
// system's answer.
Presence Operateur_Present();

// Told by each box and dialog as it closes: whether it had the keyboard.
// What it tells holds until the program next waits for an event.
void Noter_Boite_Fermee(bool au_clavier);

}  // namespace ostrel
