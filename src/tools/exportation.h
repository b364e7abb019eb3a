#pragma once
// Exportation: a recordings file read whole into memory (its settings into
// Donnees_Module, its points into Tab_Mesures and Index_Fin_Voie), then
// written again as Fichier_Export, a labelled text for spreadsheets: every
// setting under a French label with one value per line, then, channel by
// channel, lines of date, value and alarm separated by semicolons.
#include <QByteArray>
#include <QString>
#include <array>
#include <functional>

#include "files/texte_fichier.h"
#include "link/donnees.h"
#include "platform/fichiers.h"
#include "platform/types.h"

namespace ostrel {

// What the export keeps of one module's file.
struct Module_Export {
    std::array<Parametres_Voie, 16> Voies;  // channel 1 first
    std::array<QString, 16> Noms;
    QString Entete_Module;
    Long Nb_Enregistrements = 0;  // the point count of the file's head
    Long Nb_Evenements = 0;
};

// Indexed by module address - 1; the export always uses address 1.
extern std::array<Module_Export, 32> Donnees_Module;

// Points a file may hold for the export: the whole table.
constexpr Long Nb_Points_Max_Export = Table_Mesures::Taille;

// Reads the head of a recordings file into Donnees_Module (Adr_OC - 1) and
// sizes Index_Fin_Voie for its channels. False when the head is not that of a
// recordings file or one of its settings does not convert; NB_Voie then holds
// 0. The reader is left on the first channel line.
bool Lire_Tete_Export(Lecteur_Texte& lecteur, Octet Adr_OC, Octet& NB_Voie);

// Reads the channel blocks into Tab_Mesures and Index_Fin_Voie; sur_point is
// called with the count of points read so far. False at the first bad line
// (the end indexes then stay ordered within the points read).
bool Lire_Points_Export(Lecteur_Texte& lecteur, Octet Adr_OC, Octet NB_Voie,
                        const std::function<void(Long)>& sur_point = {});

// The whole Fichier_Export of what was read. sur_point is called with the
// running index of the points written, after each point and each channel.
QByteArray Texte_Export(Octet Adr_OC, Octet NB_Voie, const std::function<void(Long)>& sur_point = {});
// The same passed on piece by piece.
void Ecrire_Export(Octet Adr_OC, Octet NB_Voie, const Sortie_Par_Morceaux::Sortie& sortie,
                   const std::function<void(Long)>& sur_point = {});

// Text of a unit code in the export; empty for a code it does not know.
QString Texte_Unite_Export(Octet unite);

}  // namespace ostrel
