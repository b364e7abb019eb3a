#pragma once
// Every change of screen goes through Liaison_Ecran: it records the screen
// left and the screen shown, unloads the one left, writes the trace line and
// loads and shows the other. Screens are known by their screen name, forms by
// their form name; the table below links the two.
#include <QString>
#include <vector>

#include "platform/types.h"

namespace ostrel {

struct Ecran_Connu {
    QString Ecran;  // screen name, e.g. "Réglages des voies"
    QString Forme;  // form name, e.g. "Frm_Param_Voies"
};

// The sixteen screens in the order the navigator tries them.
const std::vector<Ecran_Connu>& Table_Ecrans();
// Form of a screen name (exact comparison, first match); empty when unknown.
QString Forme_Ecran(const QString& ecran);
// Screen name of a form; empty when the form has none.
QString Ecran_Forme(const QString& forme);

// source and cible are copied before anything is written: callers pass
// Ecran_Courant and Ecran_Precedent themselves. The flag counts as set only
// when it is Vrai (-1): a move back to the previous screen.
void Liaison_Ecran(const QString& source, const QString& cible, Booleen retour);

}  // namespace ostrel
