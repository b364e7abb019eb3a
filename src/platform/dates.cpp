#include "platform/dates.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

namespace ostrel {
namespace {

constexpr long long Decalage_1970 = 25569;  // 01/01/1970 as a date value

// Days from 01/01/1970 of a proleptic Gregorian date (months 1..12).
long long Jours_Depuis_1970(long long a, int m, int j) {
    a -= m <= 2;
    const long long ere = (a >= 0 ? a : a - 399) / 400;
    const long long annee_ere = a - ere * 400;
    const long long jour_annee = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + j - 1;
    const long long jour_ere = annee_ere * 365 + annee_ere / 4 - annee_ere / 100 + jour_annee;
    return ere * 146097 + jour_ere - 719468;
}

void Civil_Depuis_Jours(long long z, int& a, int& m, int& j) {
    z += 719468;
    const long long ere = (z >= 0 ? z : z - 146096) / 146097;
    const long long jour_ere = z - ere * 146097;
    const long long annee_ere = (jour_ere - jour_ere / 1460 + jour_ere / 36524 - jour_ere / 146096) / 365;
    const long long y = annee_ere + ere * 400;
    const long long jour_annee = jour_ere - (365 * annee_ere + annee_ere / 4 - annee_ere / 100);
    const long long mp = (5 * jour_annee + 2) / 153;
    j = static_cast<int>(jour_annee - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    a = static_cast<int>(y + (m <= 2));
}

int Jours_Du_Mois(int a, int m) {
    static const int jours[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((a % 4 == 0 && a % 100 != 0) || a % 400 == 0)) return 29;
    return jours[m - 1];
}

std::function<Date()>& Horloge_Murale() {
    static std::function<Date()> horloge;
    return horloge;
}

QString Deux(int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); }

}  // namespace

Date DateSerial(int annee, int mois, int jour) {
    long long a = annee;
    if (a >= 0 && a <= 29) a += 2000;
    else if (a >= 30 && a <= 99) a += 1900;
    long long m0 = static_cast<long long>(mois) - 1;
    a += (m0 >= 0 ? m0 / 12 : (m0 - 11) / 12);
    m0 = ((m0 % 12) + 12) % 12;
    return static_cast<Date>(Jours_Depuis_1970(a, static_cast<int>(m0) + 1, 1) + Decalage_1970 + (jour - 1));
}

Date TimeSerial(int heure, int minute, int seconde) {
    const long long secondes = static_cast<long long>(heure) * 3600 + static_cast<long long>(minute) * 60 + seconde;
    return static_cast<Date>(secondes) / 86400.0;
}

double Partie_Jour(Date valeur) { return std::floor(valeur); }

Composantes_Date Decomposer(Date valeur) {
    long long jours = static_cast<long long>(std::floor(valeur));
    long long secondes = std::llround((valeur - static_cast<double>(jours)) * 86400.0);
    if (secondes >= 86400) {
        ++jours;
        secondes -= 86400;
    }
    Composantes_Date c;
    Civil_Depuis_Jours(jours - Decalage_1970, c.Annee, c.Mois, c.Jour);
    c.Heure = static_cast<int>(secondes / 3600);
    c.Minute = static_cast<int>((secondes / 60) % 60);
    c.Seconde = static_cast<int>(secondes % 60);
    return c;
}

int Weekday(Date valeur) {
    const long long jours = static_cast<long long>(std::floor(valeur));
    return static_cast<int>(((jours + 6) % 7 + 7) % 7) + 1;
}

Date Maintenant() {
    if (Horloge_Murale()) return Horloge_Murale()();
    const QDateTime t = QDateTime::currentDateTime();
    const QDate d = t.date();
    const QTime h = t.time();
    return DateSerial(d.year(), d.month(), d.day()) + TimeSerial(h.hour(), h.minute(), h.second());
}

Date Aujourdhui() { return std::floor(Maintenant()); }

void Definir_Horloge_Murale(std::function<Date()> horloge) { Horloge_Murale() = std::move(horloge); }

QString Texte_Date_Courte(Date valeur) {
    const Composantes_Date c = Decomposer(valeur);
    return Deux(c.Jour) + QLatin1Char('/') + Deux(c.Mois) + QLatin1Char('/') +
           QString::number(c.Annee).rightJustified(4, QLatin1Char('0'));
}

QString Texte_Heure(Date valeur) {
    const Composantes_Date c = Decomposer(valeur);
    return Deux(c.Heure) + QLatin1Char(':') + Deux(c.Minute) + QLatin1Char(':') + Deux(c.Seconde);
}

QString Texte_Date(Date valeur) {
    const Composantes_Date c = Decomposer(valeur);
    const bool sans_heure = c.Heure == 0 && c.Minute == 0 && c.Seconde == 0;
    const bool sans_jour = c.Annee == 1899 && c.Mois == 12 && c.Jour == 30;
    if (sans_jour) return Texte_Heure(valeur);
    if (sans_heure) return Texte_Date_Courte(valeur);
    return Texte_Date_Courte(valeur) + QLatin1Char(' ') + Texte_Heure(valeur);
}

void Ajouter_Texte_Date(QByteArray& sortie, Date valeur) {
    const Composantes_Date c = Decomposer(valeur);
    const bool sans_jour = c.Annee == 1899 && c.Mois == 12 && c.Jour == 30;
    // A year of other than four digits keeps the general form's padding.
    if (!sans_jour && (c.Annee < 0 || c.Annee > 9999)) {
        sortie += Texte_Date(valeur).toLatin1();
        return;
    }
    char texte[20];
    char* p = texte;
    auto deux = [&p](int v) {
        *p++ = static_cast<char>('0' + v / 10);
        *p++ = static_cast<char>('0' + v % 10);
    };
    if (!sans_jour) {
        deux(c.Jour);
        *p++ = '/';
        deux(c.Mois);
        *p++ = '/';
        deux(c.Annee / 100);
        deux(c.Annee % 100);
    }
    if (sans_jour || c.Heure != 0 || c.Minute != 0 || c.Seconde != 0) {
        if (!sans_jour) *p++ = ' ';
        deux(c.Heure);
        *p++ = ':';
        deux(c.Minute);
        *p++ = ':';
        deux(c.Seconde);
    }
    sortie.append(texte, p - texte);
}

std::optional<Date> Convertir_Date(const QString& texte) {
    static const QRegularExpression forme(QStringLiteral(
        "^\\s*(?:(\\d{1,2})/(\\d{1,2})/(\\d{1,4}))?\\s*(?:(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch r = forme.match(texte);
    if (!r.hasMatch()) return std::nullopt;
    const bool a_date = r.capturedLength(1) > 0;
    const bool a_heure = r.capturedLength(4) > 0;
    if (!a_date && !a_heure) return std::nullopt;
    Date valeur = 0;
    if (a_date) {
        const int j = r.captured(1).toInt(), m = r.captured(2).toInt();
        int a = r.captured(3).toInt();
        if (r.capturedLength(3) <= 2) a += a <= 29 ? 2000 : 1900;
        if (m < 1 || m > 12 || j < 1 || j > Jours_Du_Mois(a, m) || a < 100) return std::nullopt;
        valeur = DateSerial(a, m, j);
    }
    if (a_heure) {
        const int h = r.captured(4).toInt(), mi = r.captured(5).toInt();
        const int s = r.capturedLength(6) > 0 ? r.captured(6).toInt() : 0;
        if (h > 23 || mi > 59 || s > 59) return std::nullopt;
        valeur += TimeSerial(h, mi, s);
    }
    return valeur;
}

}  // namespace ostrel
