#pragma once
// Controls shared by the options and bridge screens: a label that answers a
// click, a filled rectangle with a border (colour preview), captioned group
// frames, and the proportional placement of a control inside its parent.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QString>

#include "platform/types.h"

namespace ostrel {

class Etiquette_Cliquable : public QLabel {
    Q_OBJECT
public:
    Etiquette_Cliquable(const QString& nom, const QString& texte, QWidget* parent);
signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* evenement) override;
};

// A filled rectangle: BackColor is its fill, Couleur_Bordure its border.
class Apercu_Couleur : public QFrame {
    Q_OBJECT
public:
    Apercu_Couleur(const QString& nom, QWidget* parent);
    void Remplir(Couleur fond);
    void Bordure(Couleur bordure);
    Couleur Remplissage() const { return fond_; }
    Couleur Couleur_Bordure() const { return bordure_; }

protected:
    void paintEvent(QPaintEvent* evenement) override;

private:
    Couleur fond_ = 0xFFFFFF;
    Couleur bordure_ = 0;
};

// Caption colour of a label, option button or check box, leaving the colours
// of its box (the dot of an option button) as the style draws them.
void Couleur_Legende(QWidget* controle, Couleur couleur);

// A captioned group frame.
QGroupBox* Cadre(const QString& nom, const QString& titre, QWidget* parent);
// Border and caption colours of a group frame and of the frames inside it.
void Style_Cadre(QGroupBox* cadre, Couleur bordure, Couleur texte);

// Names a new control after its place on the screen.
template <class T> T* Nommer(T* controle, const char* nom) {
    controle->setObjectName(QString::fromUtf8(nom));
    return controle;
}

// Places a control at fractions of its parent's inner width and height.
void Placer_Fraction(QWidget* controle, double gauche, double haut, double largeur, double hauteur);
// Same, with the height taken from the control's font (a one-line box or label).
void Placer_Ligne(QWidget* controle, double gauche, double haut, double largeur);
// Height in pixels of one line of text in the control's font, with its margins.
int Hauteur_Ligne(const QWidget* controle);

}  // namespace ostrel
