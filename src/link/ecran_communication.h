#pragma once
// The hidden form that holds the serial port of the link: it sends the frame
// prepared in Trame_Emise with RTS raised, waits for the reply into
// Trame_Recue, and keeps the dashboard's communication lamp up to date. A
// USB adapter unplugged and plugged back comes back as a new device: after a
// send that failed, the next one first closes the port and opens it again.
#include "platform/horloge.h"
#include "platform/port_serie.h"
#include "platform/types.h"

namespace ostrel {

// One unit of Temps_Attente: 1/65535000 of a day.
constexpr double Secondes_Par_Unite_Attente = 86400.0 / 65535000.0;
// The time-out at which the wait also drives the dashboard's progress bar.
constexpr Long Attente_Longue = 65535;

class Forme_Ecran_Communication {
public:
    void Envoi_Trame();
    void Recoit_Trame();
    void ouverture_port(Octet& port);
    void ouverture_port(Octet&& port) { ouverture_port(port); }
    void fermeture_port();

    // The serial control of the form; the options screen drives its
    // CommPort and PortOpen itself to scan the ports.
    Port_Serie Ostrel;

private:
    Entier Calcul_Progression_Attente(Instant echeance);
    void Rouvrir_Port();

    // The last send failed: the port is opened afresh before the next one.
    bool rouvrir_ = false;
};

Forme_Ecran_Communication& Ecran_Communication();

}  // namespace ostrel
