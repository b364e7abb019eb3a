#include "options/options_logicielles.h"

#include <exception>

#include "platform/port_serie.h"

namespace ostrel {

bool Sonder_Port(Port_Serie& port, int numero) {
    try {
        if (port.PortOpen()) port.PortOpen(false);
        if (numero < 1 || numero > Nb_Ports) return false;
        return port.CommPort(numero) && port.PortOpen(true);
    } catch (const std::exception&) {
        return false;
    }
}

QString Entree_Port(int numero) { return QStringLiteral("COM ") + QString::number(numero); }

Octet Numero_Entree_Port(const QString& entree) {
    if (!entree.startsWith(QStringLiteral("COM "))) return 0;
    bool ok = false;
    const int n = entree.mid(4).toInt(&ok);
    return ok && n >= 1 && n <= Nb_Ports ? static_cast<Octet>(n) : 0;
}

Octet Position_Port(const QStringList& entrees, Octet port) {
    // The list's count taken as a byte, as the search has always done.
    const int n = static_cast<Octet>(entrees.size());
    const QString cherchee = Entree_Port(port);
    for (int k = 1; k <= n; ++k)
        if (entrees[k - 1] == cherchee) return static_cast<Octet>(k);
    return 0;
}

}  // namespace ostrel
