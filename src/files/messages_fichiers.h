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

// A string item as the item readers give it back: an item holding a comma or
// a line end, or starting with a blank or a double quote, is written between
// double quotes (a double quote inside it then becomes an apostrophe, which
// the readers could not tell from the closing quote). Any other string is
// written as it stands.
QString Item_Protege(const QString& texte);

}  // namespace ostrel
