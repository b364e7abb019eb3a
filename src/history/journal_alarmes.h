#pragma once
// The alarm journal apart from its screen: the texts of the alarm states, the
// list line of an entry, the journal text file (writer and reader) and the
// printed journal. The screen frm_Journal_Alarme calls these; they touch no
// widget.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "link/donnees.h"
#include "platform/types.h"

namespace ostrel {

// Texts shown for operator index 0 (no operator) to 4.
using Table_Noms_Operateurs = std::array<QString, 5>;

// Text of an alarm state code 0..12 (codes 0, 5, 7 and 11 share "Plus d'alarme").
// A code the modules do not define reads "Etat inconnu (n)".
QString Etat_Alarme(Octet etat);
// Code of a state text as the journal file holds it; 0 for any text not in the table.
Octet Code_Etat_Alarme(const QString& texte);

// Widths of the list columns (a field shorter than its width is filled with blanks).
constexpr Long Largeur_Date_Journal = 21;
constexpr Long Largeur_Voie_Journal = 9;
constexpr Long Largeur_Nom_Voie_Journal = 14;
constexpr Long Largeur_Etat_Journal = 31;
constexpr Long Largeur_Operateur_Journal = 21;

// The list line of one entry: date, "Voie n", channel name, state text and
// operator name, each filled to its width and joined by one blank. The
// channel name of the entry and the operator's name are filled in place, as
// the file and the printout then take them. An operator index without a name
// (above 4) shows an empty name.
QString Ligne_Journal(Evenement_Journal& evenement, Table_Noms_Operateurs& noms);

// ---------------------------------------------------------------- file

inline const QString Titre_Operateurs_Journal = QStringLiteral("Nom des opérateurs autorisés à acquitter :");
inline const QString Titres_Colonnes_Journal = QStringLiteral("Date/Heure,Num_Voie,Nom_Voie,Etat_Alarme,Opérateur;");
constexpr int Lignes_Entete_Journal = 7;

// The journal file of entries 0..nb-1 of the table, newest first, under the
// module header and the four operator names (indexes 1 to 4 of noms).
QByteArray Contenu_Fichier_Journal(const QString& entete, const Table_Noms_Operateurs& noms,
                                   const std::vector<Evenement_Journal>& journal, Long nb);

// The most entries the screen keeps from a module, six times what the first
// version read (32,768), in about 100 MB of memory with their list lines. An
// entry line of the file is at most 74 bytes (the date and time, the channel,
// its name filled to 15 characters and quoted, the longest state text, the
// operator, CR LF): the largest journal the screen saves is 14.8 MB.
constexpr Long Nb_Max_Entrees_Journal = 200000;
// A longer journal is read whole and only its newest entries are kept. The
// older ones that the journal screen's last download from a module left out
// are lost when the module is erased, which the purge screen says.
struct Journal_Coupe {
    Octet Module = 0;
    std::int64_t Non_Gardees = 0;
};
extern Journal_Coupe Dernier_Journal_Coupe;
// The box of a download that kept `gardees` of the `lues` entries it read.
QString Texte_Journal_Coupe(std::int64_t gardees, std::int64_t lues);
// The line the purge screen adds to its warning.
QString Texte_Purge_Non_Gardees(std::int64_t non_gardees);
// The largest journal file read, over four times the largest saved. A file of
// 64 MB is no journal file.
constexpr qint64 Taille_Max_Fichier_Journal = qint64{64} << 20;

// A journal file as read: its first line, its four operator names and its
// entries, oldest at index 0 (the table holds nb + 1 entries, the last one empty).
struct Journal_Lu {
    QString Titre;
    std::array<QString, 4> Noms;
    std::vector<Evenement_Journal> Entrees;
    Long Nb = 0;
};

// Reads a whole journal file. False when it is not one: fewer than 7 lines,
// an entry line with fewer than five fields, a date that is not a date, a
// channel or operator number that is not a number from 0 to 255.
bool Lire_Contenu_Journal(const QByteArray& contenu, Journal_Lu& lu);

// ---------------------------------------------------------------- printout

// Prints the journal: head, title, column titles and the list lines given,
// then ends the job. Returns whether the job reached the printer.
bool Imprimer_Lignes_Journal(const QString& intitule, const QStringList& lignes);

}  // namespace ostrel
