#pragma once
// A printed or written line as a sequence of items, each followed by no
// separator, a zone separator or the end of the line. A zone separator moves
// the next item to the next print zone: the first multiple of 14 columns
// strictly greater than the current column (columns counted from 0).
#include <QString>
#include <vector>

namespace ostrel {

enum class Separateur { Aucun, Zone, Fin };

struct Item {
    QString Texte;
    Separateur Sep = Separateur::Fin;
};

constexpr int Largeur_Zone = 14;
inline int Prochaine_Zone(int colonne) { return (colonne / Largeur_Zone + 1) * Largeur_Zone; }

// The text of a line (without its end). An empty list is a blank line. A zone
// separator after the last item pads the line up to the next zone.
QString Composer_Ligne(const std::vector<Item>& items);

}  // namespace ostrel
