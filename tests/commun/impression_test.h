#pragma once
// What a printed line takes across the paper: its width in the font the
// program's printer draws it with, against the printable width of its page.
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <vector>

#include "platform/imprimante.h"
#include "platform/ui/imprimante_qt.h"

namespace ostrel_test {

// Width of a recorded line, in twips.
inline double Largeur_Imprimee(const ostrel::Imprimante_Enregistreuse::Ligne& ligne) {
    QFont police(ostrel::Imprimante_Qt::Police_Installee(ligne.Police));
    police.setStyleHint(QFont::TypeWriter);
    police.setFixedPitch(true);
    police.setPointSizeF(ligne.Taille > 0 ? ligne.Taille : 10);
    police.setBold(ligne.Gras);
    // Measured on a device of 1440 dots an inch: its dots are twips.
    QImage page(1, 1, QImage::Format_RGB32);
    const int points_par_metre = qRound(1440 / 0.0254);
    page.setDotsPerMeterX(points_par_metre);
    page.setDotsPerMeterY(points_par_metre);
    return QFontMetricsF(police, &page).horizontalAdvance(ligne.Texte);
}

// The recorded lines that run past the right margin of an A4 page in their
// orientation.
inline std::vector<QString> Lignes_Hors_Marges(const ostrel::Imprimante_Enregistreuse& imprimante) {
    std::vector<QString> hors;
    for (const auto& ligne : imprimante.Lignes)
        if (Largeur_Imprimee(ligne) > ostrel::Zone_A4(ligne.Orientation).Largeur) hors.push_back(ligne.Texte);
    return hors;
}

}  // namespace ostrel_test
