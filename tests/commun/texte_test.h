#pragma once
// Readable strings in the messages of failed tests.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& texte, std::ostream* flux) { *flux << '"' << texte.toStdString() << '"'; }
