#pragma once
// Conversion: a data file of the first version of the software
// (Ancien_Fichier) read into Tab_Parametres_Voies and Tab_Mesures_Lues,
// its points regrouped channel after channel into Tab_Mesures, then written
// as a recordings file of the current format.
//
// Ancien_Fichier: a head of items (one per line, a comma also ends an item):
// a head item, the 16 channel names, the separator "* VOIE VALIDE", then for
// each of 18 channel settings its values for channels 1 to 16 (every setting
// after the first opened by a separator item), then a separator and the
// module header, a separator and the point count, a separator and the event
// count; then one point per line in fixed columns, up to the end of the file
// or a line "ETX":
//   " 1 25/12/2006 14:30 21,5 0 "
//   1-2 channel, 4-13 date (day/month/four-digit year), 15-19 time
//   (hours:minutes), from 21 to the fourth character from the end the value
//   in its unit, the second character from the end the alarm digit.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "files/texte_fichier.h"
#include "link/donnees.h"
#include "platform/fichiers.h"
#include "platform/types.h"

namespace ostrel {

// The points of the first-version file in file order (channels interleaved).
extern Table_Mesures Tab_Mesures_Lues;
// Sensor kind and thresholds of each channel, beside Tab_Parametres_Voies.
extern std::array<Octet, 16> Tab_Nature_Capteur;
extern std::array<Simple, 16> Tab_Seuil_Haut;
extern std::array<Simple, 16> Tab_Seuil_Bas;

inline const QString Separateur_Voie_Valide = QStringLiteral("* VOIE VALIDE");
inline const QString Fin_Donnees_Ancien_Fichier = QStringLiteral("ETX");

// Data lines a first-version file may hold: the whole table.
constexpr Long Nb_Points_Max_Conversion = Table_Mesures::Taille;
// The largest first-version file read. Its data lines are at most about 40
// bytes (the 20 columns of channel, date and time, a single in its general
// form, the alarm's three columns, CR LF): with the whole table, under a head
// of a few kilobytes, 21 MB. A file six times larger is no such file.
constexpr qint64 Taille_Max_Ancien_Fichier = qint64{128} << 20;

// The date of every entry of Tab_Mesures and Tab_Mesures_Lues back to 0.
void Effacer_Dates_Mesures();

// Reads the head into Tab_Parametres_Voies (names, settings; the module-wide
// values in entry 0) and the three arrays beside it, and sizes Index_Fin_Voie.
// False when no names come before the separator, an item does not convert or
// the file ends inside the head; NB_Voie is then 0.
bool Lire_Tete_Ancien_Fichier(Lecteur_Texte& lecteur, Octet& NB_Voie);

// One data line (its Windows-1252 bytes) into a point (Num_Voie, Date_Heure,
// Valeur in whole tenths, Alarme); false when a piece of it does not convert,
// or the value in tenths, as the single it becomes, does not fit 32 bits
// (the point is then left as it was).
bool Lire_Ligne_Ancien_Point(QByteArrayView ligne, Mesure_Enreg& point);

// Reads the data lines into Tab_Mesures_Lues from index 0: the number of
// points read, or nothing at the first bad line or when the lines do not fit.
// sur_point is called before each point with its index.
std::optional<Long> Lire_Points_Ancien_Fichier(Lecteur_Texte& lecteur,
                                               const std::function<void(Long)>& sur_point = {});

// Copies the nb_lus points of Tab_Mesures_Lues into Tab_Mesures channel after
// channel (1 to NB_Voie, file order kept within a channel) and sets the end
// indexes. Points of other channels are left out. sur_voie is called with
// each channel once its points are in place.
void Regrouper_Mesures(Long nb_lus, Octet NB_Voie, const std::function<void(Octet)>& sur_voie = {});

// The whole recordings file of what was converted, or an empty content with
// the reason in erreur when the tables cannot be written.
QByteArray Contenu_Nouveau_Fichier(Octet Adr_OC, Octet NB_Voie, QString* erreur = nullptr);
// The same passed on piece by piece, sur_point called with the count of
// points written after each of them; false, nothing passed on, when the
// tables cannot be written.
bool Ecrire_Nouveau_Fichier(Octet Adr_OC, Octet NB_Voie, const Sortie_Par_Morceaux::Sortie& sortie,
                            QString* erreur = nullptr, const std::function<void(Long)>& sur_point = {});

}  // namespace ostrel
