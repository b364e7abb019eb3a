#include "shell/logo.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ostrel {

QPixmap Logo_Ostrel(QSize taille) {
    QPixmap image(taille);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const double h = taille.height(), w = taille.width();
    const double marge = h * 0.08;
    const double d = h - 2 * marge;  // badge diameter
    const QRectF badge(marge, marge, d, d);

    QLinearGradient degrade(badge.topLeft(), badge.bottomRight());
    degrade.setColorAt(0, QColor(0x00, 0x9A, 0x9A));
    degrade.setColorAt(1, QColor(0x00, 0x5A, 0x6E));
    p.setPen(Qt::NoPen);
    p.setBrush(degrade);
    p.drawEllipse(badge);

    // Thermometer: stem and bulb, with its red column.
    const double cx = badge.center().x() - d * 0.10;
    const double tige = d * 0.16;
    const QRectF colonne(cx - tige / 2, badge.top() + d * 0.16, tige, d * 0.52);
    const double bulbe = d * 0.30;
    const QRectF boule(cx - bulbe / 2, badge.top() + d * 0.58, bulbe, bulbe);
    QPainterPath thermometre;
    thermometre.addRoundedRect(colonne, tige / 2, tige / 2);
    thermometre.addEllipse(boule);
    p.setBrush(Qt::white);
    p.drawPath(thermometre.simplified());
    p.setBrush(QColor(0xD9, 0x30, 0x25));
    p.drawEllipse(boule.adjusted(bulbe * 0.2, bulbe * 0.2, -bulbe * 0.2, -bulbe * 0.2));
    p.drawRoundedRect(QRectF(cx - tige * 0.22, badge.top() + d * 0.36, tige * 0.44, d * 0.30), tige * 0.2, tige * 0.2);

    // The bus signal: three arcs to the right of the thermometer.
    QPen arc(Qt::white);
    arc.setCapStyle(Qt::RoundCap);
    arc.setWidthF(std::max(1.0, d * 0.05));
    p.setPen(arc);
    p.setBrush(Qt::NoBrush);
    const QPointF source(cx + d * 0.12, badge.top() + d * 0.40);
    for (int i = 1; i <= 3; ++i) {
        const double r = d * 0.09 * i;
        p.drawArc(QRectF(source.x() - r, source.y() - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
    }

    // The name, as large as the room left allows.
    const QRectF texte(badge.right() + marge * 1.5, 0, w - badge.right() - marge * 2.5, h);
    if (texte.width() > h * 0.8) {
        QFont police(QStringLiteral("DejaVu Sans"));
        police.setBold(true);
        police.setPixelSize(std::max(6, static_cast<int>(h * 0.52)));
        while (police.pixelSize() > 6 && QFontMetricsF(police).horizontalAdvance(QStringLiteral("Ostrel")) > texte.width())
            police.setPixelSize(police.pixelSize() - 1);
        p.setFont(police);
        p.setPen(QColor(0x00, 0x5A, 0x6E));
        p.drawText(texte, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Ostrel"));
    }
    return image;
}

}  // namespace ostrel
