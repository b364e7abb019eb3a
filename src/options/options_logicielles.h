#pragma once
// What the software options screen works with apart from its controls: the
// positions of the nine colours (the colours in force and the default set of
// "Defaut" are the options file's), the probe of one serial port and the port
// entries of its list.
#include <QString>
#include <QStringList>

#include "files/options_logiciel.h"
#include "platform/types.h"

namespace ostrel {

class Port_Serie;

// Positions of the nine colours, in the order of the options file.
enum Rang_Couleur : int {
    Rang_Police = 0,
    Rang_Police_Modules,
    Rang_Fenetre,
    Rang_Fenetre_2,
    Rang_Fenetre_3,
    Rang_Cadre,
    Rang_Cadre_Bandeau,
    Rang_Fond_Bandeau,
    Rang_Police_Bandeau,
};

constexpr int Nb_Ports = 16;

// Probes one port on the serial control: closes the control's port when it is
// open, then opens port 1..16. A port that opens stays open. Never fails: a
// missing, busy or refusing device, or a number outside 1..16, is absent.
bool Sonder_Port(Port_Serie& port, int numero);

// "COM 3" for port 3, and back: the number of an entry, 0 when it names none of 1..16.
QString Entree_Port(int numero);
Octet Numero_Entree_Port(const QString& entree);
// 1-based position of the port's entry in the list (exact comparison), 0 when absent.
Octet Position_Port(const QStringList& entrees, Octet port);

}  // namespace ostrel
