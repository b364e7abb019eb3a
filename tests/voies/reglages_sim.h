#pragma once
// The 16 bytes of a channel's settings as they travel (request 0x02), to put
// a channel record into a simulated module.
#include <array>
#include <cmath>

#include "link/donnees.h"

namespace ostrel_test {

inline std::array<ostrel::Octet, 16> Reglages(const ostrel::Parametres_Voie& v) {
    using ostrel::Octet;
    std::array<Octet, 16> r{};
    auto mot = [&r](int i, long valeur) {
        r[static_cast<size_t>(i)] = static_cast<Octet>((valeur >> 8) & 0xFF);
        r[static_cast<size_t>(i + 1)] = static_cast<Octet>(valeur & 0xFF);
    };
    r[1] = v.Periode_Enreg;
    mot(2, std::lround(v.Seuil_Haut * 10));
    mot(4, std::lround(v.Seuil_Bas * 10));
    mot(6, std::lround(v.Echelle_4mA));
    mot(8, std::lround(v.Echelle_20mA));
    r[11] = v.Tempo_Alarme;
    r[12] = static_cast<Octet>((v.Relais_2 ? 1 : 0) | (v.Num_ETOR_Inhib & 31) << 1);
    r[13] = static_cast<Octet>((v.Voie_Valide ? 1 : 0) | (v.Alarme_Valide ? 2 : 0) | (v.Role_ETOR_Inhib ? 4 : 0) |
                               (v.Nature_Capteur & 3) << 3 | (v.Contact_NF ? 32 : 0) | (v.Inhib_Alarme_ETOR ? 64 : 0) |
                               (v.Inhib_Enreg_ETOR ? 128 : 0));
    r[14] = static_cast<Octet>((v.Num_Planning_Inhib & 16) / 16);
    r[15] = static_cast<Octet>((v.Unite & 7) | (v.Buzzer ? 8 : 0) | (v.Num_Planning_Inhib & 15) << 4);
    return r;
}

}  // namespace ostrel_test
