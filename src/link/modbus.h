#pragma once
// The Modbus words of the bus: the three functions the modules answer, their
// refusals and the codes a refusal carries, and the longest reply the
// receive step takes. Constants only: the simulator, which plays the
// modules, takes them from here and sees nothing else of the link.
#include "platform/types.h"

namespace ostrel::Modbus {

// Functions: read, command (one register), block write.
constexpr Octet Lecture = 3;
constexpr Octet Ecriture_Simple = 6;
constexpr Octet Ecriture_Multiple = 16;

// A refused request comes back under its function with this bit set,
// followed by the refusal's code.
constexpr Octet Refus = 0x80;
constexpr Octet Refus_Lecture = Lecture | Refus;
constexpr Octet Refus_Ecriture_Simple = Ecriture_Simple | Refus;
constexpr Octet Refus_Ecriture_Multiple = Ecriture_Multiple | Refus;

// Codes of a refusal.
constexpr Octet Fonction_Inconnue = 1;
constexpr Octet Adresse_Absente = 2;
constexpr Octet Valeur_Refusee = 3;         // outside what the address accepts
constexpr Octet Fonction_Impossible = 7;    // at that address, such as a write to a read-only one

// A reply of this many bytes or more is refused whole: a read reply carries
// at most 126 data bytes.
constexpr int Limite_Reponse = 132;

}  // namespace ostrel::Modbus
