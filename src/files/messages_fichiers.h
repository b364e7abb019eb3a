#pragma once
// Texts and boxes shared by the backup and restore files.
#include <QString>

#include "platform/fichiers.h"

namespace ostrel {

inline const QString Texte_Fichier_Incorrect = QStringLiteral("Fichier incorrect!");
inline const QString Texte_Restauration_Terminee = QStringLiteral("Restauration terminée!");
inline const QString Texte_Sauvegarde_Terminee = QStringLiteral("Sauvegarde terminée!");

// The box of a failed save: the file named was left as it was, unless the
// failure came while it was being written over in place.
void Signaler_Echec_Sauvegarde(const QString& chemin, const Resultat_Fichier& resultat);

// The box of a file that could not be read: the screen's own text; when the
// file was refused for its size, why on a line of its own, with what it is
// not (`nature`, "un fichier d'enregistrements"); when the memory lacked, that.
QString Texte_Lecture_Refusee(const QString& texte, const Resultat_Fichier& lecture, const QString& nature);

// A string item as the item readers give it back: an item holding a comma or
// a line end, or starting with a blank or a double quote, is written between
// double quotes (a double quote inside it then becomes an apostrophe, which
// the readers could not tell from the closing quote). Any other string is
// written as it stands.
QString Item_Protege(const QString& texte);

}  // namespace ostrel
