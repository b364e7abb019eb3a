#pragma once
// The recordings file Fichier_Enregistrements: the channel settings that
// explain the measures, the module header and every recorded point of every
// channel, one item per line. The companion tools read and write the same
// format through the core below, which knows no dialog and no dashboard.
#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "files/texte_fichier.h"
#include "link/donnees.h"
#include "platform/fichiers.h"
#include "platform/types.h"

namespace ostrel {

constexpr int Nb_Sections_Enregistrements = 18;

// The head of a recordings file, before the channel blocks.
struct Tete_Enregistrements {
    QString Module;  // the module number item, without blanks; a byte is written directly (" 3 ")
    Octet Nb_Voies = 0;
    std::array<QString, 16> Noms;  // channels 1..16; entries past Nb_Voies stay empty
    // Channel settings. Every field of the 18 sections is written; reading
    // fills those the main program loads (Nature_Capteur, Alarme_Valide,
    // Seuil_Haut, Seuil_Bas, Periode_Enreg).
    std::array<Parametres_Voie, 16> Voies;
    // The 18 sections as read, item by item, for readers that want more.
    std::array<std::array<QString, 16>, Nb_Sections_Enregistrements> Sections;
    QString Entete_Module;
    Long Nb_Enregistrements = 0;  // the point count line
    QString Nb_Evenements;        // the journal count line
};

// Empty when the head and the channel end indexes can be written, else why not.
QString Verifier_Tables_Enregistrements(const Tete_Enregistrements& tete, const std::vector<Long>& index_fin_voie);
// Whole content of a file whose tables passed Verifier_Tables_Enregistrements;
// or the same content passed on piece by piece (to a progressive safe save),
// sur_point called after each point line with the count of points written.
QByteArray Ecrire_Fichier_Enregistrements(const Tete_Enregistrements& tete, const std::vector<Long>& index_fin_voie,
                                          const Table_Mesures& mesures);
void Ecrire_Fichier_Enregistrements(const Tete_Enregistrements& tete, const std::vector<Long>& index_fin_voie,
                                    const Table_Mesures& mesures, const Sortie_Par_Morceaux::Sortie& sortie,
                                    const std::function<void(Long)>& sur_point = {});

// Point line: ddmmyyhhmm (digits of the date value), value times ten, alarm digit.
QByteArray Ligne_Point(const Mesure_Enreg& point);
// The value times ten a point line holds as a whole number, with all its
// digits, for a value in whole tenths within 32 bits; nothing for any other
// value, which the line holds in another form that Lire_Ligne_Point may not
// take back (more decimals, or an exponent).
std::optional<Long> Dixiemes_Point(Simple valeur);
// Reads a point line (its Windows-1252 bytes) into the point's date (century
// 20), value and alarm; false when the line is not well formed (the point is
// then unchanged).
bool Lire_Ligne_Point(QByteArrayView ligne, Mesure_Enreg& point);

// Converts every section into tete.Voies as the writer writes them (flags
// "1"/"0", thresholds in tenths); false at the first item that does not convert.
bool Convertir_Sections_Enregistrements(Tete_Enregistrements& tete);

// Reads the head item by item; false at the first separator that is not "*",
// channel count outside 1..16, or value the main program uses that does not
// convert. The reader is then left past the head, on the first channel line.
bool Lire_Tete_Enregistrements(Lecteur_Texte& lecteur, Tete_Enregistrements& tete);

// What the channel blocks gave.
struct Points_Lus {
    bool Correct = false;
    Long Nb_Points = 0;
    Date Premiere_Date = 0;  // of the first point read
    Date Derniere_Date = 0;  // the latest among the points read
};

// Reads the channel blocks line by line straight into mesures from index 0:
// channel numbers ascending within 1..n, each block ended by "*", at most
// limite_points points (never more than the table holds). index_fin_voie is
// sized n and always left ordered and within the points read, also when a bad
// line stops the reading. sur_voie is called with each channel number read,
// sur_point with the count of points read so far.
Points_Lus Lire_Blocs_Enregistrements(Lecteur_Texte& lecteur, Octet n, const std::array<QString, 16>& noms,
                                      Table_Mesures& mesures, std::vector<Long>& index_fin_voie,
                                      Long limite_points = Table_Mesures::Taille,
                                      const std::function<void(Octet)>& sur_voie = {},
                                      const std::function<void(Long)>& sur_point = {});

// The largest recordings file read, by Ostrel and by Exportation. The widest
// the writers make holds 516,098 point lines of at most 26 bytes (the ten
// date digits, a tenfold single in its general form, "-1,234567E-29", the
// alarm digit, CR LF) under a head of a few kilobytes: 13.5 MB. A file five
// times larger is no recordings file (a disk image named .txt), and is
// refused before it is read.
constexpr qint64 Taille_Max_Fichier_Enregistrements = qint64{64} << 20;
inline const QString Nature_Fichier_Enregistrements = QStringLiteral("un fichier d'enregistrements");

// Procedures of the main program, on the shared tables.
// Writes Tab_Parametres_Voies (0..n-1), Donnees_Reponse, Index_Fin_Voie and
// Tab_Mesures by a safe save; a failure is shown and returned, and the file
// that was there stays as it was.
Resultat_Fichier Sauvegarde_Fichier_Donnees(const QString& chemin, Octet module, Octet n);
// Reads a file into the tables, with progress on the dashboard. A file refused
// anywhere, head or points, shows "Fichier incorrect!" and returns false with
// every table as it was; one too large to be a recordings file says so.
bool Chargement_Fichier_Donnees(const QString& chemin);

}  // namespace ostrel
