#pragma once
// Colours and distances as the screens were designed: colours &H00BBGGRR
// (red in the low byte) with the system colours (top bit set) taken from the
// palette, distances in twips (1/1440 inch, 15 per pixel on a 96 dpi screen).
#include <QColor>
#include <QFont>
#include <QString>

#include "platform/types.h"

class QWidget;

namespace ostrel {

constexpr int Twips_Par_Pixel = 15;

QColor Vers_QColor(Couleur couleur);
Couleur Depuis_QColor(const QColor& couleur);  // always a plain RGB value
bool Couleur_Systeme(Couleur couleur);

// Contrast of a text colour on a background colour: the ratio of their
// relative luminances, from 1 (the same colour) to 21 (black on white).
double Contraste(Couleur texte, Couleur fond);
// Least contrast at which a caption reads on its background; the designed
// black on the default teal window has 4.4.
constexpr double Contraste_Lisible = 3;
// The colour a caption of this colour is drawn in on this background: its
// own where it reads there, else the replacement (the text colour of the
// screens) where that reads better.
Couleur Couleur_Lisible(Couleur couleur, Couleur fond, Couleur remplacement);

int Twips_Vers_Pixels(double twips);
double Pixels_Vers_Twips(int pixels);
// A computed layout distance to whole pixels (an exact half away from zero).
int Arrondi_Pixels(double pixels);

// Back colour of a widget (filled), text colour, font; as the BackColor,
// ForeColor, FontName, FontSize, FontBold and FontUnderline of a control.
void Couleur_Fond(QWidget* controle, Couleur couleur);
void Couleur_Texte(QWidget* controle, Couleur couleur);
// The text colour of a caption laid on the background `fond`: its ForeColor
// is `couleur`, what it says of the control's state, while its text is drawn
// in Couleur_Lisible(couleur, fond, remplacement). The colours of the box a
// control holds (its Text) are left alone.
void Couleur_Texte_Lisible(QWidget* controle, Couleur couleur, Couleur fond, Couleur remplacement);
Couleur Couleur_Fond(const QWidget* controle);
// The back colour of a button that stands for a colour: drawn as a plain
// fill, without the shading the style gives buttons, so it shows that colour.
void Couleur_Fond_Pleine(QWidget* bouton, Couleur couleur);
void Nom_Police(QWidget* controle, const QString& nom);
// Sets the size in points and returns the size the font really takes.
Simple Taille_Police(QWidget* controle, Simple points);
void Police_Grasse(QWidget* controle, bool gras);
void Police_Soulignee(QWidget* controle, bool souligne);

}  // namespace ostrel
