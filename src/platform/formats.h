#pragma once
// Number and date texts in the French forms the program has always used,
// whatever the machine's locale: decimal comma, "dd/mm/yyyy hh:mm:ss".
#include <QByteArray>
#include <QString>
#include <vector>
#include <optional>

#include "platform/types.h"

namespace ostrel {

// Rounding to the nearest whole number, an exact half to the even neighbour.
double Arrondi_Pair(double valeur);

// General number form: at most 7 significant digits for a single, 15 for a
// double, no trailing zeros, decimal comma, exponent form for very large or
// small values ("1E+07", "1,5E-05"), no blank.
QString Texte_Simple(Simple valeur);
QString Texte_Double(double valeur);
QString Texte_Entier(long long valeur);
// Ten times a single, in the general form of a single. The product is taken
// in double precision, so that a single read from tenths writes back the same
// tenths: "0,1" for 0,01, where the single product 0,099999994 gives "0,09999999".
QString Texte_Simple_Dixiemes(Simple valeur);

// Texte_Simple of values met again and again (the points of a recording: a
// full memory holds a few thousand distinct values), kept by the value's
// bits: the general form's text, as bytes, at the cost of a look-up.
class Textes_Simples {
public:
    Textes_Simples();
    const QByteArray& Octets(Simple valeur);

private:
    static constexpr int Bits_Index = 12;
    struct Entree {
        quint32 bits = 0;
        bool rempli = false;
        QByteArray texte;
    };
    std::vector<Entree> entrees_;
};

// A number written directly to a file: a blank (or the minus sign), the value
// in the general form, then one blank: " 30 ", "-5 ", " 21,5 ".
QString Ecrit_Direct(long long valeur);
QString Ecrit_Direct_Simple(Simple valeur);
// "True" / "False", whatever the locale.
QString Ecrit_Booleen(Booleen valeur);

// Conversions of a text read from a file or typed by the user. Leading and
// trailing blanks are ignored. An empty result means the text does not convert
// or the value is out of range for the type.
std::optional<double> Convertir_Nombre(const QString& texte);
std::optional<Octet> Convertir_Octet(const QString& texte);
std::optional<Entier> Convertir_Entier(const QString& texte);
std::optional<Long> Convertir_Long(const QString& texte);
std::optional<Simple> Convertir_Simple(const QString& texte);
// "True"/"False", in any case, or a number: non-zero is true. Nothing else,
// whatever the language ("Vrai" is refused).
std::optional<Booleen> Convertir_Booleen(const QString& texte);

// Whole-number conversion of a value, as every file reader and screen casts:
// rounded half to even, empty when it does not fit.
std::optional<Octet> Vers_Octet(double valeur);
std::optional<Entier> Vers_Entier(double valeur);
std::optional<Long> Vers_Long(double valeur);

}  // namespace ostrel
