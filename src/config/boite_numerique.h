#pragma once
// The numeric edit box of the settings screens: a value kept between a
// minimum and a maximum, shown with a fixed number of decimals ("0." none,
// "0.0" one), up and down arrows moving it by a step, and a notification each
// time the value changes, whether typed, stepped or set by the program.
// A typed text is taken when the operator presses Enter or leaves the box; a
// value outside the limits is brought within them, never refused.
#include <QAbstractSpinBox>
#include <QString>
#include <functional>

namespace ostrel {

class Boite_Numerique : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit Boite_Numerique(const QString& nom, QWidget* parent = nullptr);

    double Value() const { return valeur_; }
    // Brought within the limits; ValueChanged follows when the value moves.
    void Value(double valeur);
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    // A limit that leaves the value outside brings the value to it.
    void Minimum(double minimum);
    void Maximum(double maximum);
    QString FormatString() const { return format_; }
    void FormatString(const QString& format);  // "0." or "0.0"
    double IncValue() const { return pas_; }
    void IncValue(double pas) { pas_ = pas; }

    // The text on show (the value in its format, or what is being typed).
    QString Text() const;
    // Takes the typed text as the value now, as Enter does; false when the
    // text holds no number (the box then shows its value again).
    bool Valider_Saisie();

    // Every key typed, with the code it types (Code_Frappe: 13 for Enter),
    // before the box handles it; setting the code to 0 drops the key.
    std::function<void(int& code)> KeyPress;

    void stepBy(int pas) override;
    QValidator::State validate(QString& texte, int& position) const override;
    void fixup(QString& texte) const override;

    // The value as the format writes it: "12", "12,5", "-0,3".
    static QString Texte_Format(double valeur, int decimales);

signals:
    void ValueChanged(double valeur);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    void Afficher_Valeur();
    double Borner(double valeur) const;

    double valeur_ = 0;
    double minimum_ = -1e9;
    double maximum_ = 1e9;
    double pas_ = 1;
    QString format_ = QStringLiteral("0.");
    int decimales_ = 0;
};

}  // namespace ostrel
