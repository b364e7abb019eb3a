#pragma once
// Who has the keyboard, and whether the operator is at the program, asked of
// the window system. Long work (a download, a printout) holds the event loop:
// meanwhile the operator may have gone to type in another program, and the
// program's own view of its windows is only as fresh as the last events it
// handled (on X11, Qt even waits a moment after losing the focus before it
// says so).
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace ostrel {

// Where the keys go now, as the window system says.
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

// Whether the operator is at the program: the one question that the boxes,
// the dialogs and the window helpers ask before they come forward.
enum class Presence {
    Ici,
    // Only the pointer says so: it may be a passing moment; a box waits
    // until it has held a while, and a window stays where it is.
    Sans_Doute_Ici,
    Ailleurs,
};
// The operator is here when nobody touched keyboard or pointer anywhere
// since their last press or release in one of the program's windows: the X
// server's record of the last input of any device (MIT-SCREEN-SAVER) against
// the server times of the program's own input; the release of a key pressed
// here is part of that keystroke wherever X sent it (a box that closes on the
// press leaves the keyboard to the root). Then the answer is Ici however long
// the work took and wherever the pointer rests, unless the focus itself is
// on another program's window: something gave the keyboard away, and the
// next key goes there. When someone used keyboard or pointer since, where
// the keys go now decides (Lire_Clavier). Where the server keeps no such
// record (no extension, Xwayland, which hears nothing of the compositor's
// other clients) or the program does not run on X11, where the keys go now
// decides alone.
Presence Operateur_Present();

// Whether X server time `a` (milliseconds, wrapping) comes before `b`.
inline bool Avant(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

// Handles now every event the window system sent before this call, so that
// input that reached the program while it worked (queued behind a long save)
// is counted before a question is answered; the caller holds the input it
// must not act on. Returns the server's time of that point: every event
// handled after it is later. None off X11.
std::optional<uint32_t> Lire_Entrees_Recues();

// The keys held down now, by their X key codes; none off X11.
std::vector<uint8_t> Touches_Enfoncees();

// Sends the requests made so far (a raise, an activation, a request for
// attention) to the window system now: decided on how things stand now, they
// must not go out once long work is over, when they may no longer hold.
void Envoyer_Au_Serveur();

}  // namespace ostrel
