#include "platform/cp1252.h"

#include <array>

namespace ostrel {
namespace {

// Bytes 0x80..0x9F; the others are the Latin-1 characters of the same value.
constexpr std::array<char16_t, 32> Plage_80_9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool Chercher(char16_t code, Octet& octet) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        octet = static_cast<Octet>(code);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (Plage_80_9F[i] == code) {
            octet = static_cast<Octet>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace

QChar Caractere_Cp1252(Octet octet) {
    if (octet >= 0x80 && octet <= 0x9F) return QChar(Plage_80_9F[octet - 0x80]);
    return QChar(static_cast<char16_t>(octet));
}

Octet Octet_Cp1252(QChar caractere) {
    Octet octet = 0;
    return Chercher(caractere.unicode(), octet) ? octet : Octet('?');
}

bool Existe_En_Cp1252(QChar caractere) {
    Octet octet = 0;
    return Chercher(caractere.unicode(), octet);
}

QString Depuis_Cp1252(QByteArrayView octets) {
    // Only 0x80..0x9F differ from Latin-1, whose conversion is the fast one.
    bool latin1 = true;
    for (const char c : octets) latin1 = latin1 && (static_cast<Octet>(c) < 0x80 || static_cast<Octet>(c) > 0x9F);
    if (latin1) return QString::fromLatin1(octets.data(), octets.size());
    QString texte(octets.size(), Qt::Uninitialized);
    QChar* sortie = texte.data();
    for (qsizetype i = 0; i < octets.size(); ++i)
        sortie[i] = Caractere_Cp1252(static_cast<Octet>(octets[i]));
    return texte;
}

QByteArray Vers_Cp1252(const QString& texte) {
    bool latin1 = true;
    for (const QChar c : texte) latin1 = latin1 && (c.unicode() < 0x80 || (c.unicode() >= 0xA0 && c.unicode() <= 0xFF));
    if (latin1) return texte.toLatin1();
    QByteArray octets(texte.size(), Qt::Uninitialized);
    char* sortie = octets.data();
    for (qsizetype i = 0; i < texte.size(); ++i)
        sortie[i] = static_cast<char>(Octet_Cp1252(texte[i]));
    return octets;
}

}  // namespace ostrel
