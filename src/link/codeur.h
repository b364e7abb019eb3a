#pragma once
// Write encoder: fills the data bytes of a block write (function 16) from
// Donnees_Reponse and the bridge settings, by the layout of Code_Requete.
#include <vector>

#include "platform/types.h"

namespace ostrel {

// Capacity of the data buffer of each block write (0 for codes without one).
int Capacite_Bloc(int code_requete);

// Octets_Donnees is created zero-filled with Capacite_Bloc(Code_Requete)
// entries by the caller; positions beyond it are never written.
//
// On success Nb_Octets_Donnees is the data length N to send, for every layout:
// the fixed length of the block, the number of characters actually encoded
// for the free texts of 0x17, 0x18 and 0x1C (a text longer than the block is
// cut to it, so send N bytes and not the length of the string), or the length
// of the 0x1A and 0x1D blocks. Characters outside Windows-1252 go as '?'.
//
// Returns false when a 0x1A or 0x1D block would not fit its 81 bytes: the
// block is left untouched, Code_Erreur is 3 (value not acceptable) and the
// caller must send nothing.
bool Codage_Donnees_Ecriture(std::vector<Octet>& Octets_Donnees);
bool Codage_Trame_Ostrelclim(std::vector<Octet>& Octets_Donnees);

}  // namespace ostrel
