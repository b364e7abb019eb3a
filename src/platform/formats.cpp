#include "platform/formats.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace ostrel {
namespace {

QString Forme_Generale(double valeur, int chiffres) {
    if (valeur == 0) return QStringLiteral("0");
    if (std::isnan(valeur)) return QStringLiteral("NaN");
    if (std::isinf(valeur)) return valeur > 0 ? QStringLiteral("+Inf") : QStringLiteral("-Inf");
    char tampon[64];
    std::snprintf(tampon, sizeof tampon, "%.*G", chiffres, valeur);
    QString texte = QString::fromLatin1(tampon);
    texte.replace(QLatin1Char('.'), QLatin1Char(','));
    return texte;
}

bool Est_Blanc(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

}  // namespace

double Arrondi_Pair(double valeur) {
    // nearbyint follows the current rounding mode, which the program never
    // changes from round-to-nearest-even.
    return std::nearbyint(valeur);
}

QString Texte_Simple(Simple valeur) { return Forme_Generale(static_cast<double>(valeur), 7); }
QString Texte_Double(double valeur) { return Forme_Generale(valeur, 15); }
QString Texte_Entier(long long valeur) { return QString::number(valeur); }
QString Texte_Simple_Dixiemes(Simple valeur) { return Forme_Generale(static_cast<double>(valeur) * 10.0, 7); }

Textes_Simples::Textes_Simples() : entrees_(size_t{1} << Bits_Index) {}

const QByteArray& Textes_Simples::Octets(Simple valeur) {
    quint32 bits = 0;
    std::memcpy(&bits, &valeur, sizeof bits);
    Entree& e = entrees_[(bits * 2654435761u) >> (32 - Bits_Index)];
    if (!e.rempli || e.bits != bits) {
        e.bits = bits;
        e.rempli = true;
        e.texte = Texte_Simple(valeur).toLatin1();
    }
    return e.texte;
}

QString Ecrit_Direct(long long valeur) {
    QString texte = Texte_Entier(valeur);
    if (valeur >= 0) texte.prepend(QLatin1Char(' '));
    return texte + QLatin1Char(' ');
}

QString Ecrit_Direct_Simple(Simple valeur) {
    QString texte = Texte_Simple(valeur);
    if (!texte.startsWith(QLatin1Char('-'))) texte.prepend(QLatin1Char(' '));
    return texte + QLatin1Char(' ');
}

QString Ecrit_Booleen(Booleen valeur) {
    return valeur != 0 ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<double> Convertir_Nombre(const QString& brut) {
    qsizetype debut = 0, fin = brut.size();
    while (debut < fin && Est_Blanc(brut[debut])) ++debut;
    while (fin > debut && Est_Blanc(brut[fin - 1])) --fin;
    if (debut == fin) return std::nullopt;

    // Sign, digits, one decimal separator (comma, or point from other
    // machines), optional exponent; nothing else.
    QByteArray ascii;
    ascii.reserve(fin - debut);
    qsizetype i = debut;
    if (brut[i] == QLatin1Char('+') || brut[i] == QLatin1Char('-')) ascii.append(char(brut[i++].unicode()));
    int chiffres = 0;
    bool separateur = false;
    for (; i < fin; ++i) {
        QChar c = brut[i];
        if (c.unicode() >= '0' && c.unicode() <= '9') {
            ascii.append(char(c.unicode()));
            ++chiffres;
        } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !separateur) {
            ascii.append('.');
            separateur = true;
        } else {
            break;
        }
    }
    if (chiffres == 0) return std::nullopt;
    if (i < fin && (brut[i] == QLatin1Char('E') || brut[i] == QLatin1Char('e'))) {
        ascii.append('E');
        ++i;
        if (i < fin && (brut[i] == QLatin1Char('+') || brut[i] == QLatin1Char('-'))) ascii.append(char(brut[i++].unicode()));
        int chiffres_exposant = 0;
        for (; i < fin && brut[i].unicode() >= '0' && brut[i].unicode() <= '9'; ++i) {
            ascii.append(char(brut[i].unicode()));
            ++chiffres_exposant;
        }
        if (chiffres_exposant == 0) return std::nullopt;
    }
    if (i != fin) return std::nullopt;
    char* reste = nullptr;
    double valeur = std::strtod(ascii.constData(), &reste);
    if (reste == nullptr || *reste != '\0' || std::isinf(valeur) || std::isnan(valeur)) return std::nullopt;
    return valeur;
}

std::optional<Octet> Vers_Octet(double valeur) {
    double r = Arrondi_Pair(valeur);
    if (!(r >= 0 && r <= 255)) return std::nullopt;
    return static_cast<Octet>(r);
}

std::optional<Entier> Vers_Entier(double valeur) {
    double r = Arrondi_Pair(valeur);
    if (!(r >= -32768 && r <= 32767)) return std::nullopt;
    return static_cast<Entier>(r);
}

std::optional<Long> Vers_Long(double valeur) {
    double r = Arrondi_Pair(valeur);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
    return static_cast<Long>(r);
}

std::optional<Octet> Convertir_Octet(const QString& texte) {
    auto v = Convertir_Nombre(texte);
    return v ? Vers_Octet(*v) : std::nullopt;
}

std::optional<Entier> Convertir_Entier(const QString& texte) {
    auto v = Convertir_Nombre(texte);
    return v ? Vers_Entier(*v) : std::nullopt;
}

std::optional<Long> Convertir_Long(const QString& texte) {
    auto v = Convertir_Nombre(texte);
    return v ? Vers_Long(*v) : std::nullopt;
}

std::optional<Simple> Convertir_Simple(const QString& texte) {
    auto v = Convertir_Nombre(texte);
    if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<Simple>(*v);
}

std::optional<Booleen> Convertir_Booleen(const QString& texte) {
    const QString t = texte.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return Vrai;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return Faux;
    auto v = Convertir_Nombre(t);
    if (!v) return std::nullopt;
    return *v != 0 ? Vrai : Faux;
}

}  // namespace ostrel
