#pragma once
// Modbus RTU frames of the link: CRC-16/MODBUS, the layouts of the three
// request frames (function 3 read, 16 block write, 6 command) and the checks
// of a reply against its request.
#include <array>

#include "link/liaison.h"

namespace ostrel {

// CRC of a frame without its CRC: low byte first, then high byte.
std::array<Octet, 2> Calcul_CRC16(const Octet* octets, int nombre);

// Frame layouts: fill Trame_Emise with the CRC, set Code_Fonction and
// Nb_Octets_A_Envoyer; they send nothing (the transaction does).
void Construire_Trame_Lecture();
// false, with nothing built, when N exceeds the 124 bytes a frame can carry.
bool Construire_Trame_Ecriture_Multiple(const Octet* donnees, Octet N);
void Construire_Trame_Ecriture_Simple(Entier valeur);

// Checks Trame_Recue / Nb_Octets_Recus against the request; sets Code_Erreur
// (15, 10, 11, 12, 13, 14 or the exception code), never clears it. Every
// check runs and the last failing one wins. Nothing past Nb_Octets_Recus is
// read: a length outside 2..133 is 15, a short write reply is only a length
// fault, and an exception reply without a code (or with code 0) keeps the
// function fault instead of reading as success.
void Verification_Reponse();

}  // namespace ostrel
