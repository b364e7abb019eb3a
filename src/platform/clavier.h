#pragma once
// Who has the keyboard, asked of the window system as it stands now. Long
// work (a download, a printout) holds the event loop: meanwhile the operator
// may have gone to type in another program, and the program's own view of its
// windows is only as fresh as the last events it handled (on X11, Qt even
// waits a moment after losing the focus before it says so).
#include <functional>

namespace ostrel {

// True while a window of another program has the keyboard. On X11 the server
// is asked which window has the input focus; where the focus is the root
// window or follows the pointer (no window manager), the keys go to the
// window under the pointer, which is then asked for: one of the program's,
// or the bare root, is no other program's. No focus at all is no other
// program's either. Where the window system cannot be asked, the program's
// own view stands for it (none of its windows has the focus).
bool Clavier_Ailleurs();

// Tests script the answer; an empty function gives the window system's back.
void Definir_Clavier_Ailleurs(std::function<bool()> source);

}  // namespace ostrel
