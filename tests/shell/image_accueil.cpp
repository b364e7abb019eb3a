// Draws the home screen's picture (a cold room watched by a module, with its
// thermometer) and writes it as a BMP:
//   image_accueil <Accueil.bmp>
// The picture is committed in ressources/ and shipped inside the program,
// which puts it in <application folder>\Images when it is missing.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>

namespace {

const QColor Sarcelle(0x00, 0x80, 0x80);
const QColor Sarcelle_Fonce(0x00, 0x5A, 0x6E);
const QColor Glace(0xDD, 0xEF, 0xF6);
const QColor Bleu_Froid(0x2F, 0x7F, 0xC8);
const QColor Acier(0x9A, 0xA9, 0xB4);

void Flocon(QPainter& p, QPointF c, double r, QColor couleur, double epaisseur) {
    QPen pen(couleur, epaisseur, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3 + M_PI / 2;
        const QPointF bout(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
        p.drawLine(c, bout);
        for (double f : {0.45, 0.72}) {
            const QPointF m(c.x() + r * f * std::cos(a), c.y() - r * f * std::sin(a));
            const double l = r * (f < 0.5 ? 0.30 : 0.22);
            for (double s : {-1.0, 1.0}) {
                const double b = a + s * M_PI / 4;
                p.drawLine(m, QPointF(m.x() + l * std::cos(b), m.y() - l * std::sin(b)));
            }
        }
    }
}

void Boitier(QPainter& p, const QRectF& r, const QString& affichage, bool grand) {
    QLinearGradient corps(r.topLeft(), r.bottomLeft());
    corps.setColorAt(0, QColor(0x4A, 0x55, 0x5E));
    corps.setColorAt(1, QColor(0x2B, 0x33, 0x3A));
    p.setPen(QPen(QColor(0x1C, 0x22, 0x27), 1.5));
    p.setBrush(corps);
    p.drawRoundedRect(r, r.height() * 0.10, r.height() * 0.10);
    // Display.
    const QRectF ecran(r.left() + r.width() * 0.10, r.top() + r.height() * 0.14, r.width() * 0.80, r.height() * 0.42);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9C, 0xD8, 0x8E));
    p.drawRoundedRect(ecran, 3, 3);
    if (!affichage.isEmpty()) {
        QFont police(QStringLiteral("DejaVu Sans Mono"));
        police.setBold(true);
        police.setPixelSize(static_cast<int>(ecran.height() * 0.62));
        p.setFont(police);
        p.setPen(QColor(0x1D, 0x3B, 0x1A));
        p.drawText(ecran, Qt::AlignCenter, affichage);
    }
    // Lamps.
    const double d = r.height() * (grand ? 0.12 : 0.14);
    const double y = r.top() + r.height() * 0.70;
    p.setBrush(QColor(0x3C, 0xD0, 0x5A));
    p.drawEllipse(QRectF(r.left() + r.width() * 0.14, y, d, d));
    p.setBrush(QColor(0x66, 0x44, 0x44));
    p.drawEllipse(QRectF(r.left() + r.width() * 0.14 + d * 1.8, y, d, d));
    if (grand) {
        p.setBrush(QColor(0x77, 0x84, 0x8E));
        for (int i = 0; i < 3; ++i)
            p.drawRoundedRect(QRectF(r.left() + r.width() * (0.52 + 0.12 * i), y, r.width() * 0.09, d), 2, 2);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage : image_accueil Accueil.bmp\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const int W = 640, H = 520;
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(QColor(0x00, 0x80, 0x80));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // The card: a cold winter light over the site.
    const QRectF carte(10, 10, W - 20, H - 20);
    QLinearGradient ciel(carte.topLeft(), carte.bottomLeft());
    ciel.setColorAt(0, QColor(0xF4, 0xFA, 0xFD));
    ciel.setColorAt(0.62, Glace);
    ciel.setColorAt(1, QColor(0xC4, 0xDC, 0xE6));
    p.setPen(QPen(Sarcelle_Fonce, 3));
    p.setBrush(ciel);
    p.drawRoundedRect(carte, 22, 22);
    p.setClipPath([&] {
        QPainterPath c;
        c.addRoundedRect(carte.adjusted(1.5, 1.5, -1.5, -1.5), 21, 21);
        return c;
    }());

    // Flakes in the air.
    const struct { double x, y, r; } air[] = {{70, 60, 14}, {170, 40, 9}, {300, 70, 11}, {520, 48, 13},
                                               {604, 196, 8}, {430, 36, 7}, {250, 112, 7}};
    for (const auto& f : air) Flocon(p, QPointF(f.x, f.y), f.r, QColor(0x9C, 0xC6, 0xDE), 2.0);

    // Floor.
    const double sol = 430;
    QLinearGradient dalle(QPointF(0, sol), QPointF(0, H));
    dalle.setColorAt(0, QColor(0xB7, 0xC3, 0xCB));
    dalle.setColorAt(1, QColor(0x8E, 0x9C, 0xA6));
    p.setPen(Qt::NoPen);
    p.setBrush(dalle);
    p.drawRect(QRectF(0, sol, W, H - sol));

    // The cold room: insulated panels, roof slab, a wide door.
    const QRectF chambre(48, 150, 372, sol - 150);
    QLinearGradient panneaux(chambre.topLeft(), chambre.topRight());
    panneaux.setColorAt(0, QColor(0xF7, 0xF9, 0xFA));
    panneaux.setColorAt(1, QColor(0xDD, 0xE4, 0xE9));
    p.setBrush(panneaux);
    p.setPen(QPen(Acier, 2));
    p.drawRect(chambre);
    p.setPen(QPen(QColor(0xC9, 0xD3, 0xDA), 1.2));
    for (double x = chambre.left() + 31; x < chambre.right() - 5; x += 31) p.drawLine(QPointF(x, chambre.top() + 2), QPointF(x, chambre.bottom() - 1));
    p.setPen(Qt::NoPen);
    p.setBrush(Sarcelle_Fonce);
    p.drawRect(QRectF(chambre.left() - 14, chambre.top() - 22, chambre.width() + 28, 22));
    p.setBrush(Sarcelle);
    p.drawRect(QRectF(chambre.left() - 14, chambre.top() - 6, chambre.width() + 28, 6));

    const QRectF porte(118, 222, 190, sol - 222);
    p.setBrush(QColor(0xE0, 0x6A, 0x2C));
    p.drawRect(porte.adjusted(-8, -8, 8, 0));
    QLinearGradient battant(porte.topLeft(), porte.topRight());
    battant.setColorAt(0, QColor(0xEE, 0xF3, 0xF6));
    battant.setColorAt(1, QColor(0xCF, 0xDA, 0xE1));
    p.setBrush(battant);
    p.drawRect(porte);
    p.setPen(QPen(QColor(0xB4, 0xC2, 0xCC), 1.5));
    for (double y = porte.top() + 26; y < porte.bottom(); y += 26) p.drawLine(QPointF(porte.left(), y), QPointF(porte.right(), y));
    p.setPen(QPen(QColor(0x55, 0x60, 0x68), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(porte.right() - 22, porte.top() + 86), QPointF(porte.right() - 22, porte.top() + 128));
    // Its porthole, frosted.
    const QRectF hublot(porte.center().x() - 30, porte.top() + 24, 60, 44);
    p.setPen(QPen(QColor(0x55, 0x60, 0x68), 3));
    QLinearGradient givre(hublot.topLeft(), hublot.bottomRight());
    givre.setColorAt(0, QColor(0xB9, 0xE1, 0xF5));
    givre.setColorAt(1, QColor(0x6F, 0xAE, 0xD6));
    p.setBrush(givre);
    p.drawRoundedRect(hublot, 8, 8);
    Flocon(p, hublot.center(), 14, Qt::white, 2.2);
    // The snowflake badge of the room.
    p.setPen(Qt::NoPen);
    p.setBrush(Bleu_Froid);
    p.drawEllipse(QPointF(porte.center().x(), porte.top() + 150), 34, 34);
    Flocon(p, QPointF(porte.center().x(), porte.top() + 150), 24, Qt::white, 3.2);

    // The module on the wall, showing its channel.
    const QRectF module(330, 198, 76, 60);
    Boitier(p, module, QStringLiteral("-18,0"), true);

    // The bus: from the module along the floor to two more modules.
    QPen bus(Sarcelle, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(bus);
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(module.center().x(), module.bottom());
    cable.lineTo(module.center().x(), sol + 30);
    cable.lineTo(588, sol + 30);
    p.drawPath(cable);
    for (double x : {462.0, 552.0}) {
        p.drawLine(QPointF(x + 20, sol + 30), QPointF(x + 20, sol + 6));
        Boitier(p, QRectF(x, sol - 28, 40, 34), QString(), false);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(Sarcelle_Fonce);
    for (double x : {module.center().x(), 482.0, 572.0}) p.drawEllipse(QPointF(x, sol + 30), 5, 5);

    // The thermometer, low and blue.
    const double tx = 548, haut = 92, bas = 318;
    QPainterPath verre;
    verre.addRoundedRect(QRectF(tx - 17, haut, 34, bas - haut), 17, 17);
    verre.addEllipse(QPointF(tx, bas + 10), 32, 32);
    p.setPen(QPen(QColor(0x56, 0x68, 0x75), 3));
    p.setBrush(Qt::white);
    p.drawPath(verre.simplified());
    QRadialGradient boule(QPointF(tx - 8, bas + 2), 30);
    boule.setColorAt(0, QColor(0x7F, 0xC0, 0xF0));
    boule.setColorAt(1, Bleu_Froid.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(boule);
    p.drawEllipse(QPointF(tx, bas + 10), 23, 23);
    p.setBrush(Bleu_Froid);
    p.drawRoundedRect(QRectF(tx - 7, 226, 14, bas - 216), 7, 7);
    p.setPen(QPen(QColor(0x56, 0x68, 0x75), 2));
    for (int i = 0; i <= 10; ++i) {
        const double y = haut + 20 + i * 19;
        p.drawLine(QPointF(tx + 17, y), QPointF(tx + (i % 5 == 0 ? 34 : 26), y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRoundedRect(QRectF(tx - 11, haut + 10, 5, 120), 2.5, 2.5);

    p.end();
    // The format follows the suffix (a PNG to look at it, the BMP to ship).
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
