#pragma once
// The channel configuration file Fichier_Config_Voies: the settings of every
// channel of one module under titled sections, one value per line. The core
// below works on a path and a channel table, without any dialog, so other
// screens and tools can use it.
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

#include "link/donnees.h"
#include "platform/fichiers.h"
#include "platform/types.h"

namespace ostrel {

using Table_Voies = std::array<Parametres_Voie, 16>;

// Whole content of the file for channels 1..n (at most 16) of the table.
QByteArray Ecrire_Config_Voies(Octet module, const Table_Voies& voies, Octet n);
// Reads a whole content into a copy of the table given, entries 0..n-1 (the
// others are kept); empty when any line is missing or does not convert.
std::optional<Table_Voies> Lire_Config_Voies(const QByteArray& contenu, Octet n, const Table_Voies& depart);

// Writes Tab_Parametres_Voies for Num_Module to the path by a safe save. When
// a file of that name exists, asks first whether to replace it; on No or
// Cancel nothing is written and the result is a failure with no reason. A
// failed save is shown and returned; the old file stays as it was. The caller
// shows "Sauvegarde terminée!" on success only.
Resultat_Fichier Sauvegarde_Config_Voies(const QString& chemin, Octet n);
// The largest channel configuration file read: the widest holds 361 lines
// for 16 channels, none longer than its titles or a single written directly
// (" -1,234567E-29 "): under 10 KB. A file of a megabyte is no such file.
constexpr qint64 Taille_Max_Config_Voies = qint64{1} << 20;

// Restores Tab_Parametres_Voies entries 0..n-1 from a whole, valid file and
// shows "Restauration terminée!"; otherwise shows "Fichier incorrect!" (and
// why, for a file too large to be one) and leaves the table as it was.
bool Restauration_Config_Voies(const QString& chemin, Octet n);

}  // namespace ostrel
