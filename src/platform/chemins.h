#pragma once
// The one mapping of the site's folders and ports (drive c:, the Windows folder, COM n) onto this machine.
//   drive "c:"          -> $OSTREL_DISQUE_C (default: the user's home folder)
//   the Windows folder  -> $OSTREL_DOSSIER_WINDOWS (default: $OSTREL_DISQUE_C/Windows)
//   serial port n       -> $OSTREL_COM<n> (default: /dev/ttyS<n-1>)
#include <QString>

namespace ostrel {

QString Disque_C();
QString Dossier_Windows();
// "c:\OstrelSoft+\ver.dva" -> "<Disque_C>/OstrelSoft+/ver.dva"; backslashes
// become slashes; a path already native is returned unchanged.
QString Chemin_Natif(const QString& chemin);
QString Peripherique_Port(int numero);

}  // namespace ostrel
