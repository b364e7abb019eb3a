#pragma once
// State of the one exchange in progress with a module (request side, frames,
// reply side and result). Owned by the serial port and the frame layer.
#include <array>
#include <cstdint>

#include "platform/types.h"

namespace ostrel {

constexpr int Taille_Trame = 133;

extern std::array<Octet, Taille_Trame> Trame_Emise;
extern Octet Nb_Octets_A_Envoyer;
extern std::array<Octet, Taille_Trame> Trame_Recue;
extern Entier Nb_Octets_Recus;
extern Octet Adresse_Esclave;
extern Octet Code_Fonction;
extern Entier Code_Requete;
extern std::uint16_t Nb_Mots;  // high byte 0xFF asks for the next page
extern Octet Type_Produit;
extern Long Temps_Attente;
extern Octet Code_Erreur;
extern Octet Nb_Octets_Donnees;
extern Octet Nb_Elements_Reponse;
extern Long Nb_Elements_Telecharges;
// Records the module sent in the last journal download, with those a table
// too small for them could not keep.
extern std::int64_t Nb_Elements_Lus;

// Link error codes.
namespace Erreur {
constexpr Octet Aucune = 0;
constexpr Octet Crc = 10;
constexpr Octet Esclave = 11;
constexpr Octet Fonction = 12;
constexpr Octet Longueur = 13;
constexpr Octet Echo = 14;
constexpr Octet Ligne = 15;
constexpr Octet Port = 68;
constexpr Octet Police = 100;
}  // namespace Erreur

}  // namespace ostrel
