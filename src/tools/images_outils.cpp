#include "tools/images_outils.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace ostrel {
namespace {

constexpr int Largeur = 371;
constexpr int Hauteur = 164;

const QColor Sarcelle(0, 128, 128);
const QColor Sarcelle_Claire(210, 236, 236);
const QColor Encre(40, 52, 60);

void Fond(QPainter& p) {
    QLinearGradient degrade(0, 0, 0, Hauteur);
    degrade.setColorAt(0, QColor(238, 248, 248));
    degrade.setColorAt(1, Sarcelle_Claire);
    p.fillRect(QRect(0, 0, Largeur, Hauteur), degrade);
    p.setPen(QPen(Sarcelle, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, Largeur - 2, Hauteur - 2), 8, 8);
}

// A sheet with a folded corner, and lines of text in a fixed font.
void Feuille(QPainter& p, const QRectF& r, const QColor& papier, const QStringList& lignes, const QString& marque) {
    const qreal pli = 16;
    QPainterPath contour;
    contour.moveTo(r.topLeft());
    contour.lineTo(r.right() - pli, r.top());
    contour.lineTo(r.right(), r.top() + pli);
    contour.lineTo(r.bottomRight());
    contour.lineTo(r.bottomLeft());
    contour.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawPath(contour.translated(3, 3));
    p.setBrush(papier);
    p.setPen(QPen(Encre, 1.2));
    p.drawPath(contour);
    QPainterPath coin;
    coin.moveTo(r.right() - pli, r.top());
    coin.lineTo(r.right() - pli, r.top() + pli);
    coin.lineTo(r.right(), r.top() + pli);
    p.setBrush(papier.darker(115));
    p.drawPath(coin);

    QFont fixe(QStringLiteral("Monospace"));
    fixe.setStyleHint(QFont::TypeWriter);
    fixe.setPixelSize(9);
    p.setFont(fixe);
    p.setPen(Encre);
    // The lines stop above the mark, when there is one.
    const qreal bas = marque.isEmpty() ? r.bottom() - 4 : r.bottom() - 28;
    qreal y = r.top() + 16;
    for (const QString& l : lignes) {
        if (y > bas) break;
        p.drawText(QPointF(r.left() + 7, y), l);
        y += 11;
    }
    if (!marque.isEmpty()) {
        QFont gras(QStringLiteral("Sans Serif"));
        gras.setPixelSize(12);
        gras.setBold(true);
        p.setFont(gras);
        const QRectF pastille(r.left() + 6, r.bottom() - 24, 30, 18);
        p.setPen(Qt::NoPen);
        p.setBrush(Sarcelle);
        p.drawRoundedRect(pastille, 4, 4);
        p.setPen(Qt::white);
        p.drawText(pastille, Qt::AlignCenter, marque);
    }
}

void Fleche(QPainter& p, qreal x, qreal y) {
    QPainterPath f;
    f.moveTo(x, y - 7);
    f.lineTo(x + 26, y - 7);
    f.lineTo(x + 26, y - 17);
    f.lineTo(x + 48, y);
    f.lineTo(x + 26, y + 17);
    f.lineTo(x + 26, y + 7);
    f.lineTo(x, y + 7);
    f.closeSubpath();
    p.setPen(QPen(Sarcelle.darker(130), 1.2));
    p.setBrush(Sarcelle);
    p.drawPath(f);
}

QPixmap Nouvelle_Image() {
    QPixmap image(Largeur, Hauteur);
    image.fill(Qt::transparent);
    return image;
}

// The first lines of a recordings file of n channels.
QStringList Lignes_Enregistrements(int n) {
    return {QStringLiteral("*"), QStringLiteral(" 1 "), QStringLiteral("*"), QStringLiteral(" %1 ").arg(n),
            QStringLiteral("*"), QStringLiteral("1"), QStringLiteral("25120614302150"), QStringLiteral("25120614452170"),
            QStringLiteral("25120615002231"), QStringLiteral("*")};
}

}  // namespace

QPixmap Image_Exportation() {
    QPixmap image = Nouvelle_Image();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Fond(p);
    Feuille(p, QRectF(22, 14, 112, 134), Qt::white, Lignes_Enregistrements(8), {});
    Fleche(p, 144, 82);

    // The spreadsheet: a header row and a few rows of date, value and alarm.
    const QRectF grille(202, 20, 152, 124);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRect(grille.translated(3, 3));
    p.setBrush(Qt::white);
    p.setPen(QPen(Encre, 1.2));
    p.drawRect(grille);
    const qreal colonnes[] = {grille.left(), grille.left() + 66, grille.left() + 108, grille.right()};
    const qreal h = grille.height() / 7;
    p.setBrush(Sarcelle);
    p.drawRect(QRectF(grille.left(), grille.top(), grille.width(), h));
    QFont petite(QStringLiteral("Sans Serif"));
    petite.setPixelSize(9);
    p.setFont(petite);
    const QStringList entetes = {QStringLiteral("Date"), QStringLiteral("Mesure"), QStringLiteral("Alarme")};
    const QStringList valeurs[] = {
        {QStringLiteral("25/12 14:30"), QStringLiteral("21,5"), QStringLiteral("0")},
        {QStringLiteral("25/12 14:45"), QStringLiteral("21,7"), QStringLiteral("0")},
        {QStringLiteral("25/12 15:00"), QStringLiteral("22,3"), QStringLiteral("1")},
        {QStringLiteral("25/12 15:15"), QStringLiteral("22,0"), QStringLiteral("1")},
        {QStringLiteral("25/12 15:30"), QStringLiteral("21,2"), QStringLiteral("0")},
        {QStringLiteral("25/12 15:45"), QStringLiteral("20,9"), QStringLiteral("0")},
    };
    for (int c = 0; c < 3; ++c) {
        p.setPen(Qt::white);
        p.drawText(QRectF(colonnes[c], grille.top(), colonnes[c + 1] - colonnes[c], h), Qt::AlignCenter, entetes[c]);
        for (int l = 0; l < 6; ++l) {
            const QRectF cellule(colonnes[c], grille.top() + h * (l + 1), colonnes[c + 1] - colonnes[c], h);
            p.setPen(valeurs[l][2] == QLatin1String("1") && c == 2 ? QColor(190, 30, 30) : Encre);
            p.drawText(cellule, Qt::AlignCenter, valeurs[l][c]);
        }
    }
    p.setPen(QPen(QColor(150, 170, 175), 0.8));
    for (int l = 1; l < 7; ++l) p.drawLine(QPointF(grille.left(), grille.top() + h * l), QPointF(grille.right(), grille.top() + h * l));
    for (int c = 1; c < 3; ++c) p.drawLine(QPointF(colonnes[c], grille.top()), QPointF(colonnes[c], grille.bottom()));
    return image;
}

QPixmap Image_Conversion() {
    QPixmap image = Nouvelle_Image();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Fond(p);
    const QStringList anciennes = {
        QStringLiteral("* VOIE VALIDE"), QStringLiteral("1"), QStringLiteral("1"),
        QStringLiteral(" 1 25/12/2006 14:30"), QStringLiteral(" 2 25/12/2006 14:30"),
        QStringLiteral(" 1 25/12/2006 14:45"), QStringLiteral("ETX"),
    };
    Feuille(p, QRectF(22, 14, 128, 134), QColor(250, 240, 205), anciennes, QStringLiteral("V1"));
    Fleche(p, 160, 82);
    Feuille(p, QRectF(222, 14, 128, 134), Qt::white, Lignes_Enregistrements(16), QStringLiteral("V2"));
    return image;
}

}  // namespace ostrel
