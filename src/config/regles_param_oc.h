#pragma once
// The rules of the module settings screen that do not depend on its
// controls: header lines, relay bits, planning times and their ranges, clock
// texts, default codes and names, progress steps. The screen (frm_param_oc.h)
// applies them to its boxes and to the module's record.
#include <QString>
#include <array>
#include <optional>

#include "platform/types.h"

namespace ostrel {

// ------------------------------------------------------------ codes and names

// Default access code of operator k (1..4): four digits, a fixed prefix then k.
QString Code_Defaut(int k);
// "OPERATEUR " & k.
QString Nom_Operateur_Defaut(int k);
// The code of a box as the module receives it: an empty box, or a text that
// is not a number of at most four digits, sends 0.
Entier Valeur_Code(const QString& texte);

// ------------------------------------------------------------ header

constexpr int Longueur_Ligne_Entete = 32;
// Every character from " " (32) to "z" (122): the only header a module keeps.
bool Entete_Acceptee(const QString& entete);
// The line followed by blanks up to 32 characters; a longer one unchanged.
QString Remplir_Ligne(const QString& ligne);
// The header after an edit of its first line, or of its second line.
QString Entete_Avec_Premiere_Ligne(const QString& entete, const QString& ligne);
QString Entete_Avec_Deuxieme_Ligne(const QString& entete, const QString& ligne);
// Lines 1 and 2 of a header as the boxes show them.
QString Premiere_Ligne(const QString& entete);
QString Deuxieme_Ligne(const QString& entete);

// ------------------------------------------------------------ relays

// Bit 0 (1): contact NF, clear NO; bit 1 (2): trip Impulsionnel, clear Maintenu.
inline Octet Logique_Impulsionnel(Octet l) { return static_cast<Octet>(l | 2); }
inline Octet Logique_Maintenu(Octet l) { return static_cast<Octet>(l & 1); }
inline Octet Logique_NF(Octet l) { return static_cast<Octet>(l | 1); }
inline Octet Logique_NO(Octet l) { return static_cast<Octet>(l & 2); }

// ------------------------------------------------------------ key filters

// Characters a header line or an operator name accepts from the keyboard.
inline bool Touche_Texte_Admise(int code) { return code == 8 || (code >= 32 && code <= 122); }
// Characters an access code accepts from the keyboard.
inline bool Touche_Chiffre_Admise(int code) { return code == 8 || (code >= 48 && code <= 57); }

// ------------------------------------------------------------ plannings

using Plages = std::array<Date, 16>;

// A time read from the module: a value carried past a whole day keeps only
// its time of day, to the minute (25:30 becomes 01:30); other values stay.
Date Heure_Planning_Lue(Date valeur);
// Stores the 16 times read for one planning and returns whether it is in use:
// not when its first weekday range starts where it ends, and then every time
// becomes 00:00.
bool Classer_Planning(Plages& plages);

// A time box's text: exactly "hh:mm", hours 00..23, minutes 00..59.
std::optional<Date> Convertir_Plage(const QString& texte);
// The text a time box shows for a stored time: the first five characters of
// its general date text ("08:30", "00:00" for 0).
QString Texte_Plage(Date valeur);

// What a rule does to a range (begin B, end E) after a keystroke or when its
// box is left. The colour change comes first, then the stored times.
enum class Couleur_Plage { Inchangee, Rouge, Normale };
struct Effet_Plage {
    Couleur_Plage Couleur = Couleur_Plage::Inchangee;
    std::optional<Date> Debut;  // new B, when it changes
    std::optional<Date> Fin;    // new E, when it changes
    bool Texte_Zero = false;    // the box now reads "00:00"
    bool Stockee = false;       // the end was stored (marks weekday range 1 in use)
};
// t is the box's text converted, empty when it does not convert. A begin is
// judged against the range's end E, an end against its begin B.
Effet_Plage Regle_Debut_Change(std::optional<Date> t, Date E);
Effet_Plage Regle_Debut_Sortie(std::optional<Date> t, Date E, bool rouge);
Effet_Plage Regle_Fin_Change(std::optional<Date> t, Date B);
Effet_Plage Regle_Fin_Sortie(std::optional<Date> t, Date B);
// How a range stored as (B, E) is shown: red when its end is set and not after its begin.
bool Plage_Invalide(Date B, Date E);

// ------------------------------------------------------------ clocks

struct Format_Date_Heure {
    QString Format;  // display format of the two clock boxes
    QString Masque;  // their input mask
};
// By the length of the system's short date (10 characters: four-digit years).
Format_Date_Heure Choisir_Format_Date_Heure(const QString& date_courte);
// A clock value as the boxes show it: the general date text, with
// " 00:00:00" after a date alone (midnight).
QString Texte_Horloge(Date valeur);

// ------------------------------------------------------------ progress

// Step k (0..19) of the transfers: k / 19 x 100 rounded, halves to even.
Long Progression_Etape(int k);

}  // namespace ostrel
