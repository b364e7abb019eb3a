#include "options/controles.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "platform/ui/couleurs_ui.h"

namespace ostrel {
namespace {

QString Nom_Css(Couleur c) { return Vers_QColor(c).name(); }

// The inner area of a parent: below the caption of a group frame.
QRect Zone_Interieure(const QWidget* parent) {
    QRect zone = parent->rect();
    if (auto* cadre = qobject_cast<const QGroupBox*>(parent); cadre && !cadre->title().isEmpty()) {
        const int titre = QFontMetrics(cadre->font()).height();
        zone.setTop(titre);
    }
    return zone;
}

}  // namespace

Etiquette_Cliquable::Etiquette_Cliquable(const QString& nom, const QString& texte, QWidget* parent)
    : QLabel(texte, parent) {
    setObjectName(nom);
    setCursor(Qt::PointingHandCursor);
}

void Etiquette_Cliquable::mouseReleaseEvent(QMouseEvent* evenement) {
    QLabel::mouseReleaseEvent(evenement);
    if (evenement->button() == Qt::LeftButton && rect().contains(evenement->position().toPoint())) emit Click();
}

Apercu_Couleur::Apercu_Couleur(const QString& nom, QWidget* parent) : QFrame(parent) { setObjectName(nom); }

void Apercu_Couleur::Remplir(Couleur fond) {
    fond_ = fond;
    setProperty("BackColor", fond);
    update();
}

void Apercu_Couleur::Bordure(Couleur bordure) {
    bordure_ = bordure;
    update();
}

void Apercu_Couleur::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Vers_QColor(fond_));
    QPen crayon(Vers_QColor(bordure_));
    crayon.setWidth(2);
    p.setPen(crayon);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

void Couleur_Legende(QWidget* controle, Couleur couleur) {
    QPalette p = controle->palette();
    p.setColor(QPalette::WindowText, Vers_QColor(couleur));
    p.setColor(QPalette::ButtonText, Vers_QColor(couleur));
    controle->setPalette(p);
    controle->setProperty("ForeColor", couleur);
}

QGroupBox* Cadre(const QString& nom, const QString& titre, QWidget* parent) {
    auto* cadre = new QGroupBox(titre, parent);
    cadre->setObjectName(nom);
    return cadre;
}

void Style_Cadre(QGroupBox* cadre, Couleur bordure, Couleur texte) {
    const QString style = QStringLiteral("QGroupBox { border: 1px solid %1; border-radius: 3px; margin-top: 0.6em; }"
                                        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px;"
                                        " color: %2; }")
                              .arg(Nom_Css(bordure), Nom_Css(texte));
    // The same sheet again would polish the contents again for nothing.
    if (cadre->styleSheet() != style) cadre->setStyleSheet(style);
    cadre->setProperty("ForeColor", texte);
}

void Placer_Fraction(QWidget* controle, double gauche, double haut, double largeur, double hauteur) {
    const QRect z = Zone_Interieure(controle->parentWidget());
    controle->setGeometry(z.left() + Arrondi_Pixels(z.width() * gauche), z.top() + Arrondi_Pixels(z.height() * haut),
                          Arrondi_Pixels(z.width() * largeur), Arrondi_Pixels(z.height() * hauteur));
}

int Hauteur_Ligne(const QWidget* controle) { return QFontMetrics(controle->font()).height() + 10; }

void Placer_Ligne(QWidget* controle, double gauche, double haut, double largeur) {
    const QRect z = Zone_Interieure(controle->parentWidget());
    controle->setGeometry(z.left() + Arrondi_Pixels(z.width() * gauche), z.top() + Arrondi_Pixels(z.height() * haut),
                          Arrondi_Pixels(z.width() * largeur), Hauteur_Ligne(controle));
}

}  // namespace ostrel
