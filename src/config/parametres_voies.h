#pragma once
// The channel table of the current module as the channel settings screen
// fills and edits it: the default record, the checks applied to what a module
// or a file gives, the import from the module, the withdrawal of an ETOR
// inhibition input and the entries of the ETOR lists.
#include <QString>
#include <vector>

#include "link/donnees.h"
#include "platform/types.h"

namespace ostrel {

// 0-based channel handed to the calibration dialog.
extern Octet Num_Voie_Etalonnage;

// Limits of the numeric boxes: a byte of minutes, a signed word of tenths.
constexpr double Minutes_Min = 1;
constexpr double Minutes_Max = 240;
constexpr double Dixiemes_Min = -3276.8;
constexpr double Dixiemes_Max = 3276.7;

inline const QString Texte_Aucune_ETOR = QStringLiteral("Aucune ETOR");
inline const QString Prefixe_ETOR = QStringLiteral("ETOR Voie n°");
inline const QString Texte_Aucun_Planning = QStringLiteral("Aucun Planning");

// The record of channel index (0-based) of a module just configured.
Parametres_Voie Voie_Defaut(int index);
// Entries 0..n-1 of Tab_Parametres_Voies to their defaults; the others are kept.
void Creation_Table_Defaut(Octet n);

// The channel part of a record read from a module, copied into cible with the
// values the module cannot mean replaced (period, delay, threshold and scale
// order, codes out of range). Name and offset are not part of it.
void Copier_Voie_Importee(Parametres_Voie& cible, const Parametres_Voie& lue);
// The same checks on a record as it stands (a restored file), plus every
// number brought within what the module can hold.
void Valider_Voie(Parametres_Voie& voie);

// Reads the channel count and every channel of module Num_Module into
// Nb_Voies_Module and Tab_Parametres_Voies, with the progress display.
// Returns false at the first request that failed, Code_Erreur still set;
// the progress display is hidden either way.
bool Importer_Voies_Module(Octet& nb_voies);

// Channel n (1-based) stops being an ETOR inhibition input: every channel of
// 0..nb-1 that pointed to it loses the number, its recording inhibition, and
// its alarm inhibition unless a planning also inhibits it.
void Retrait_Entree_Inhibition(Octet n, Octet nb);

// "Aucune ETOR" then "ETOR Voie n°k" for each other channel (0..nb-1, not
// `affichee`) that is an ETOR with the inhibition role.
std::vector<QString> Entrees_ETOR(int affichee, Octet nb);
// The channel number an entry names, 0 for "Aucune ETOR" or any text without one.
Octet Numero_Entree_ETOR(const QString& entree);
// Position of the entry naming channel n, -1 when there is none (n = 0 never matches).
int Position_Entree_ETOR(const std::vector<QString>& entrees, Octet n);

}  // namespace ostrel
