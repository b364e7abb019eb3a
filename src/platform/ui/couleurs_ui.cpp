#include "platform/ui/couleurs_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace ostrel {
namespace {

// A stored colour with its high bit set names a system colour by this index: the palette colour that plays its part.
QColor Systeme(int index) {
    const QPalette p = QApplication::palette();
    switch (index) {
    case 0: return p.color(QPalette::Base);             // scroll bar
    case 1: return p.color(QPalette::Window);           // desktop
    case 2: case 3: return p.color(QPalette::Highlight);  // caption bars
    case 4: return p.color(QPalette::Window);           // menu
    case 5: return p.color(QPalette::Base);             // window background
    case 6: return p.color(QPalette::Shadow);           // window frame
    case 7: return p.color(QPalette::WindowText);       // menu text
    case 8: return p.color(QPalette::Text);             // window text
    case 9: return p.color(QPalette::HighlightedText);  // caption text
    case 13: return p.color(QPalette::Highlight);
    case 14: return p.color(QPalette::HighlightedText);
    case 15: return QColor(0xF0, 0xF0, 0xF0);           // button face
    case 16: return p.color(QPalette::Dark);            // button shadow
    case 17: return p.color(QPalette::PlaceholderText); // grey text
    case 18: return p.color(QPalette::ButtonText);
    case 20: return p.color(QPalette::Light);           // 3-D highlight
    case 24: return p.color(QPalette::ToolTipBase);
    case 23: return p.color(QPalette::ToolTipText);
    default: return p.color(QPalette::Window);
    }
}

QPalette::ColorRole Role_Fond(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) ? QPalette::Button : QPalette::Window;
}
QPalette::ColorRole Role_Texte(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) ? QPalette::ButtonText : QPalette::WindowText;
}

}  // namespace

bool Couleur_Systeme(Couleur couleur) { return couleur < 0; }

QColor Vers_QColor(Couleur couleur) {
    const auto v = static_cast<std::uint32_t>(couleur);
    if (v & 0x80000000u) return Systeme(static_cast<int>(v & 0xFF));
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

Couleur Depuis_QColor(const QColor& c) {
    return static_cast<Couleur>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

double Contraste(Couleur texte, Couleur fond) {
    auto luminance = [](Couleur c) {
        const QColor q = Vers_QColor(c);
        auto lineaire = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * lineaire(q.redF()) + 0.7152 * lineaire(q.greenF()) + 0.0722 * lineaire(q.blueF());
    };
    const double a = luminance(texte), b = luminance(fond);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Couleur Couleur_Lisible(Couleur couleur, Couleur fond, Couleur remplacement) {
    const double propre = Contraste(couleur, fond);
    return propre >= Contraste_Lisible || propre >= Contraste(remplacement, fond) ? couleur : remplacement;
}

int Arrondi_Pixels(double pixels) { return static_cast<int>(std::lround(pixels)); }
int Twips_Vers_Pixels(double twips) { return Arrondi_Pixels(twips / Twips_Par_Pixel); }
double Pixels_Vers_Twips(int pixels) { return static_cast<double>(pixels) * Twips_Par_Pixel; }

void Couleur_Fond(QWidget* w, Couleur couleur) {
    QPalette p = w->palette();
    p.setColor(Role_Fond(w), Vers_QColor(couleur));
    if (Role_Fond(w) == QPalette::Button) p.setColor(QPalette::Window, Vers_QColor(couleur));
    w->setPalette(p);
    w->setAutoFillBackground(true);
    w->setProperty("BackColor", couleur);
}

Couleur Couleur_Fond(const QWidget* w) {
    const QVariant v = w->property("BackColor");
    return v.isValid() ? v.value<Couleur>() : Depuis_QColor(w->palette().color(Role_Fond(w)));
}

void Couleur_Fond_Pleine(QWidget* w, Couleur couleur) {
    Couleur_Fond(w, couleur);
    const QColor c = Vers_QColor(couleur);
    w->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid %2; }"
                                    "QPushButton:pressed { border: 2px solid %2; }")
                         .arg(c.name(), c.lightness() < 96 ? QStringLiteral("#a0a0a0") : QStringLiteral("#404040")));
}

void Couleur_Texte(QWidget* w, Couleur couleur) {
    QPalette p = w->palette();
    p.setColor(Role_Texte(w), Vers_QColor(couleur));
    p.setColor(QPalette::Text, Vers_QColor(couleur));
    w->setPalette(p);
    w->setProperty("ForeColor", couleur);
}

void Couleur_Texte_Lisible(QWidget* w, Couleur couleur, Couleur fond, Couleur remplacement) {
    const QColor dessinee = Vers_QColor(Couleur_Lisible(couleur, fond, remplacement));
    QPalette p = w->palette();
    // Styles draw every caption in the window text, an option's or a check box's too.
    p.setColor(QPalette::WindowText, dessinee);
    p.setColor(Role_Texte(w), dessinee);
    w->setPalette(p);
    w->setProperty("ForeColor", couleur);
}

void Nom_Police(QWidget* w, const QString& nom) {
    if (nom.isEmpty()) return;
    QFont f = w->font();
    f.setFamily(nom);
    w->setFont(f);
}

Simple Taille_Police(QWidget* w, Simple points) {
    if (points > 0) {
        QFont f = w->font();
        f.setPointSizeF(points);
        w->setFont(f);
    }
    return static_cast<Simple>(QFontInfo(w->font()).pointSizeF());
}

void Police_Grasse(QWidget* w, bool gras) {
    QFont f = w->font();
    f.setBold(gras);
    w->setFont(f);
}

void Police_Soulignee(QWidget* w, bool souligne) {
    QFont f = w->font();
    f.setUnderline(souligne);
    w->setFont(f);
}

}  // namespace ostrel
