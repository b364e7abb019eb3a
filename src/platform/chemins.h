#pragma once
// The one mapping of the site's folders and ports (drive c:, the Windows folder, COM n) onto this machine.
//   drive "c:"          -> $OSTREL_DISQUE_C (default: the user's home folder)
//   the Windows folder  -> $OSTREL_DOSSIER_WINDOWS (default: $OSTREL_DISQUE_C/Windows)
//   serial port n       -> $OSTREL_COM<n> (default: /dev/ttyS<n-1>)
// and the session's runtime folder the window system's libraries expect.
#include <QString>

namespace ostrel {

QString Disque_C();
QString Dossier_Windows();
// "c:\OstrelSoft+\ver.dva" -> "<Disque_C>/OstrelSoft+/ver.dva"; backslashes
// become slashes; a path already native is returned unchanged.
QString Chemin_Natif(const QString& chemin);
QString Peripherique_Port(int numero);

// Called once at the start of each program, before its application object.
// A session started without XDG_RUNTIME_DIR (su, a bare X server, a service)
// gets the folder Qt would fall back to, /tmp/runtime-<user> (under TMPDIR
// when set), made and kept private to the user (mode 0700), so that nothing
// is said about it on the console. A folder of that name the user does not
// own, or that is not a folder, is left alone, and Qt says so.
void Preparer_Dossier_Execution();

}  // namespace ostrel
