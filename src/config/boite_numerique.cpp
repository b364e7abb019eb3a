#include "config/boite_numerique.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <cmath>

#include "platform/formats.h"
#include "platform/ui/saisie.h"

namespace ostrel {
namespace {

double Puissance_Dix(int decimales) { return std::pow(10.0, decimales); }

// Sign, digits and one decimal separator: what a number can be while typed.
bool Saisie_Possible(const QString& texte) {
    bool separateur = false;
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte[i];
        if (c.isDigit() && c.unicode() < 128) continue;
        if (c == QLatin1Char('-') && i == 0) continue;
        if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !separateur) {
            separateur = true;
            continue;
        }
        return false;
    }
    return true;
}

}  // namespace

Boite_Numerique::Boite_Numerique(const QString& nom, QWidget* parent) : QAbstractSpinBox(parent) {
    setObjectName(nom);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setKeyboardTracking(false);
    setAccelerated(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] { Valider_Saisie(); });
    Afficher_Valeur();
}

QString Boite_Numerique::Texte_Format(double valeur, int decimales) {
    const double echelle = Puissance_Dix(decimales);
    double arrondi = Arrondi_Pair(valeur * echelle) / echelle;
    if (arrondi == 0) arrondi = 0;  // no "-0"
    QString texte = QString::number(arrondi, 'f', decimales);
    texte.replace(QLatin1Char('.'), QLatin1Char(','));
    return texte;
}

double Boite_Numerique::Borner(double valeur) const {
    if (valeur < minimum_) return minimum_;
    if (valeur > maximum_) return maximum_;
    return valeur;
}

void Boite_Numerique::Afficher_Valeur() { lineEdit()->setText(Texte_Format(valeur_, decimales_)); }

void Boite_Numerique::Value(double valeur) {
    if (std::isnan(valeur)) return;
    const double bornee = Borner(valeur);
    const bool change = bornee != valeur_;
    valeur_ = bornee;
    Afficher_Valeur();
    if (change) emit ValueChanged(valeur_);
}

void Boite_Numerique::Minimum(double minimum) {
    minimum_ = minimum;
    if (maximum_ < minimum_) maximum_ = minimum_;
    Value(valeur_);
}

void Boite_Numerique::Maximum(double maximum) {
    maximum_ = maximum;
    if (minimum_ > maximum_) minimum_ = maximum_;
    Value(valeur_);
}

void Boite_Numerique::FormatString(const QString& format) {
    format_ = format;
    const qsizetype point = format.indexOf(QLatin1Char('.'));
    decimales_ = point < 0 ? 0 : static_cast<int>(format.size() - point - 1);
    Afficher_Valeur();
}

QString Boite_Numerique::Text() const { return lineEdit()->text(); }

bool Boite_Numerique::Valider_Saisie() {
    const auto valeur = Convertir_Nombre(lineEdit()->text());
    if (!valeur || !std::isfinite(*valeur)) {
        Afficher_Valeur();
        return false;
    }
    Value(*valeur);
    return true;
}

void Boite_Numerique::stepBy(int pas) {
    Valider_Saisie();
    const double echelle = Puissance_Dix(decimales_);
    Value(Arrondi_Pair((valeur_ + pas * pas_) * echelle) / echelle);
}

QValidator::State Boite_Numerique::validate(QString& texte, int&) const {
    if (!Saisie_Possible(texte)) return QValidator::Invalid;
    return Convertir_Nombre(texte) ? QValidator::Acceptable : QValidator::Intermediate;
}

void Boite_Numerique::fixup(QString& texte) const { texte = Texte_Format(valeur_, decimales_); }

QAbstractSpinBox::StepEnabled Boite_Numerique::stepEnabled() const {
    if (isReadOnly() || !isEnabled()) return StepNone;
    StepEnabled etapes = StepNone;
    if (valeur_ < maximum_) etapes |= StepUpEnabled;
    if (valeur_ > minimum_) etapes |= StepDownEnabled;
    return etapes;
}

void Boite_Numerique::keyPressEvent(QKeyEvent* evenement) {
    const bool entree = evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter;
    int code = Code_Frappe(evenement);
    if (entree) Valider_Saisie();
    if (code >= 0 && KeyPress) {
        KeyPress(code);
        if (code == 0) {
            evenement->accept();
            return;
        }
    }
    if (entree) {
        evenement->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(evenement);
}

}  // namespace ostrel
