#pragma once
// The register map of a simulated module: for each request code, what its
// read, its block write and its command do, one handler each, as the code has
// them. The simulator's thread calls them under its lock, with the faults
// already applied that keep a request from reaching them.
#include <QByteArray>
#include <optional>

#include "simulateur.h"

namespace ostrel::sim {

// A request as the handlers see it.
struct Requete_Module {
    int adresse = 0;
    int fonction = 0;
    int code = 0;        // the register: byte 3
    int compte = 0;      // bytes 4-5: count field, or the command's value
    int sous = 0;        // byte 5: channel, index or filter
    bool suite = false;  // byte 4 is 0xFF: the next page of a download
    QByteArray donnees;  // the data bytes of a block write
};

struct Contexte {
    const Requete_Module& requete;
    Etat_Bus& etat;
    Module_Simule& module;
    Installation* installation;  // none: the state is fixed
    const Defaut& defaut;
};

// What a handler answers: the data bytes of a read reply, or the code of a
// refusal. A write or a command that is not refused is echoed.
struct Resultat {
    Octet refus = 0;
    QByteArray donnees;
    // A page of a download: the records gone out once its reply has.
    std::optional<qsizetype> envoyes;
};

using Gestionnaire = Resultat (*)(Contexte&);

struct Registre {
    Gestionnaire lire = nullptr;       // function 3
    Gestionnaire ecrire = nullptr;     // function 16
    Gestionnaire commander = nullptr;  // function 6
    bool passerelle = false;           // the bridge's, answered by module 1 while there is one
};

// The register of a request code; none when the modules have no such address.
const Registre* Registre_De(int code);

}  // namespace ostrel::sim
