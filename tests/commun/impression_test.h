#pragma once
// What a printed line takes across the paper: its width in the font the
// program's printer draws it with, against the printable width of its page;
// and the words a PDF document shows where they stand on its pages.
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <vector>

#include "commun/fichiers_test.h"

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

// A word of a PDF page as poppler's pdftotext reads it (characters off the
// sheet are not read): its box on the page, in points from the top-left
// corner, and the size of the page.
struct Mot_Pdf {
    QString Texte;
    QRectF Boite;
    QSizeF Page;
};
inline bool Lecteur_Pdf_Present() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }
inline std::vector<Mot_Pdf> Mots_Pdf(const QByteArray& pdf) {
    QTemporaryDir dossier;
    Ecrire(dossier.filePath(QStringLiteral("d.pdf")), pdf);
    QProcess lecteur;
    lecteur.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), dossier.filePath(QStringLiteral("d.pdf")), QStringLiteral("-")});
    lecteur.waitForFinished(60000);  // the wait only guards against a hang
    std::vector<Mot_Pdf> mots;
    QSizeF page;
    const auto nombre = [](const QXmlStreamReader& x, const char* nom) { return x.attributes().value(QLatin1String(nom)).toDouble(); };
    for (QXmlStreamReader x(lecteur.readAllStandardOutput()); !x.atEnd();) {
        if (x.readNext() != QXmlStreamReader::StartElement) continue;
        if (x.name() == QLatin1String("page")) page = QSizeF(nombre(x, "width"), nombre(x, "height"));
        if (x.name() != QLatin1String("word")) continue;
        const QRectF boite(QPointF(nombre(x, "xMin"), nombre(x, "yMin")), QPointF(nombre(x, "xMax"), nombre(x, "yMax")));
        mots.push_back({x.readElementText(), boite, page});
    }
    return mots;
}

}  // namespace ostrel_test
