#pragma once
// The software options file ver.dva: installation name, administrator
// password, serial port, screen font and colours, curve colours. 35 lines,
// read at start-up and written back at exit and when the options are applied,
// at the path held in Chemin_Fichier_Version.
#include <QByteArray>
#include <QString>
#include <array>

#include "platform/fichiers.h"
#include "platform/types.h"

namespace ostrel {

// Line 1 of the file, kept exactly as read and written back unchanged; empty
// when no file was read.
extern QString Ligne_Reservee_Options;

// The largest options file read: 35 lines, the longest a name of 35
// characters or a colour: under 2 KB. A file of a megabyte is no options file,
// and is passed over as a file that cannot be read.
constexpr qint64 Taille_Max_Options = qint64{1} << 20;

// Reads the file at Chemin_Fichier_Version into the options. An empty path
// reads nothing. A missing file shows "Un fichier est manquant, réinstaller
// l'application !"; one that cannot be read shows nothing, as one too large.
// A line that is missing (short file) or does not convert leaves its setting
// as it was.
void Chargement_Parametres_Logiciel();
// The same from a whole content already read.
void Lire_Parametres_Logiciel(const QByteArray& contenu);

// Writes the 35 lines to Chemin_Fichier_Version as one safe save (the old
// file stays whole when the save fails), then re-opens the trace. The result
// says whether the file was written and why not.
Resultat_Fichier Sauvegarde_Parametres_Logiciel();
// The box telling that the options file could not be written, and why.
void Signaler_Echec_Options(const QString& erreur);
// The 35 lines of the options in force, as the file holds them.
QByteArray Contenu_Parametres_Logiciel();

// The three tries of start-up: the path held, then c:\OstrelSoft\ver.dva,
// then c:\OstrelSoft+\ver.dva, each while line 1 is still empty.
// Chemin_Fichier_Version keeps the last path tried.
void Recherche_Parametres_Logiciel();

// The nine colour options in force, in the order of the file.
using Jeu_Couleurs = std::array<Couleur, 9>;
std::array<Couleur*, 9> Couleurs_En_Vigueur();
Jeu_Couleurs Lire_Couleurs_En_Vigueur();
void Mettre_Couleurs_En_Vigueur(const Jeu_Couleurs& couleurs);

// The default font and colours, shown until an options file gives others;
// the banner's frame and background take the button face given.
inline const QString Police_Defaut = QStringLiteral("Arial");
Jeu_Couleurs Couleurs_Defaut(Couleur face_bouton);

}  // namespace ostrel
