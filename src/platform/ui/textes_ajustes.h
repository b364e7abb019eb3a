#pragma once
// Texts that read whole in a place of fixed size: the screens place their
// controls by fractions of the window and size their fonts from the screen's
// width, so a wide font from the options could leave a caption longer than
// its control. Such a caption narrows its letters, then shrinks.
#include <QFont>
#include <functional>

#include "platform/types.h"

class QWidget;

namespace ostrel {

// Smallest size, in points, a caption is shrunk to.
constexpr Simple Taille_Minimale_Texte = 5;

// The font given, its letters narrowed step by step down to condensed, then
// its size lowered a quarter point at a time down to `minimum`, until `tient`
// accepts it; the last one tried when none is accepted.
QFont Police_Qui_Tient(QFont police, Simple minimum, const std::function<bool(const QFont&)>& tient);

// Whether the control's caption reads whole in its place, in the control's
// font: a label on one line, an option, a check box, a button, a group's
// title, every tab of a tab strip, every entry of a list. Other controls, and
// a control not placed yet, always do.
bool Texte_Tient(const QWidget* controle);

// The control's caption made to read whole in its place, from the font it
// has (see Police_Qui_Tient); its child controls keep their own fonts.
void Ajuster_Texte(QWidget* controle);
// Every control of a screen, once the screen has placed them and given them
// their fonts; not those of a screen laid inside it, which fits its own.
void Ajuster_Textes(QWidget* ecran);

}  // namespace ostrel
