#pragma once
// The Windows-1252 code page of the data files and module texts. Every
// byte maps to one character and back: the five bytes the code page leaves
// undefined map to the control characters of the same value.
#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

#include "platform/types.h"

namespace ostrel {

QChar Caractere_Cp1252(Octet octet);
// The byte of a character; a character outside the code page gives '?'.
Octet Octet_Cp1252(QChar caractere);
bool Existe_En_Cp1252(QChar caractere);
QString Depuis_Cp1252(QByteArrayView octets);
QByteArray Vers_Cp1252(const QString& texte);

}  // namespace ostrel
