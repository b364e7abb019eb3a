#pragma once
// What start-up and exit do around the dashboard: the options in force before
// the options file is read, the text of a run-time error, and the program exit.
#include <QString>
#include <exception>

namespace ostrel {

// The default font and colours, and port 1: what the program shows when no
// options file gives other values.
void Options_Initiales();

// "Error " & number & " " & description, as a start-up error box shows it.
QString Texte_Erreur_Execution(const std::exception& erreur);

// The four backup folders under the application folder, made when missing so
// that each file dialog opens in its own one; a folder that cannot be made is
// traced and start-up goes on.
void Creer_Dossiers_Sauvegardes();

// The box telling that the options file could not be written, and why.
void Signaler_Echec_Options(const QString& erreur);

// The exit of the home screen's "Quitter": options saved (a failure is shown),
// port closed, "<---- Fin" traced, every form unloaded in a fixed order,
// trace closed. Every step runs even when an earlier one failed.
void Fin_Programme();

// The forms in the order the exit unloads them.
const QStringList& Ordre_Dechargement();

}  // namespace ostrel
