#pragma once
// The type words every part of the program shares. Their widths are those of the
// module words and file values, so that byte, word and date arithmetic wraps and rounds as they do.
#include <cstdint>

namespace ostrel {

using Octet = std::uint8_t;    // byte: 0..255
using Entier = std::int16_t;   // integer: signed 16-bit
using Long = std::int32_t;     // long: signed 32-bit
using Simple = float;          // single
using Date = double;           // days since 30/12/1899, fraction = time of day
using Booleen = std::int16_t;  // 0 False, any other value True; the program stores -1
using Couleur = std::int32_t;  // &H00BBGGRR, top bit set = system colour

constexpr Booleen Vrai = -1;
constexpr Booleen Faux = 0;

constexpr Couleur Couleur_Rouge = 255;
constexpr Couleur Couleur_Verte = 0xFF00;
constexpr Couleur Couleur_Grise = 0x7F7F7F;
constexpr Couleur Couleur_Blanche = 0xFFFFFF;
constexpr Couleur Couleur_Face_Bouton = static_cast<Couleur>(0x8000000F);
// The system's window text: the colour of a caption given none of its own.
constexpr Couleur Couleur_Texte_Fenetre = static_cast<Couleur>(0x80000008);

}  // namespace ostrel
