#pragma once
// Write encoder: fills the data bytes of a block write (function 16) from
// Donnees_Reponse and the bridge settings, by the layout of Code_Requete.
#include <vector>

#include "platform/types.h"

namespace ostrel {

// Capacity of the data buffer of each block write (0 for codes without one).
int Capacite_Bloc(int code_requete);

// Octets_Donnees is created zero-filled with Capacite_Bloc(Code_Requete)
// entries by the caller. Returns false when the values do not fit the block
// (a 0x1A or 0x1D block beyond its 81 bytes): nothing must then be sent, and
// Code_Erreur is set.
bool Codage_Donnees_Ecriture(std::vector<Octet>& Octets_Donnees);
bool Codage_Trame_Ostrelclim(std::vector<Octet>& Octets_Donnees);

}  // namespace ostrel
