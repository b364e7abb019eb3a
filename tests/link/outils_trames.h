#pragma once
// Helpers of the link tests: replies laid out as a module sends them.
#include <gtest/gtest.h>

#include <vector>

#include "link/liaison.h"
#include "link/trames.h"
#include "link/variables.h"

namespace ostrel::essais {

// Every test starts from the empty store of program start.
class Avec_Donnees_Vierges : public ::testing::Test {
protected:
    void SetUp() override { Reinitialiser_Donnees(); }
};

// Puts a whole frame in Trame_Recue, the CRC appended, and sets its length.
inline void Recevoir(std::vector<Octet> trame) {
    const auto crc = Calcul_CRC16(trame.data(), static_cast<int>(trame.size()));
    trame.push_back(crc[0]);
    trame.push_back(crc[1]);
    for (size_t i = 0; i < trame.size() && i < Trame_Recue.size(); ++i) Trame_Recue[i] = trame[i];
    Nb_Octets_Recus = static_cast<Entier>(trame.size());
}

// A function-3 reply carrying these data bytes.
inline void Recevoir_Lecture(const std::vector<Octet>& donnees, Octet adresse = 1) {
    std::vector<Octet> trame{adresse, 3, static_cast<Octet>(donnees.size())};
    trame.insert(trame.end(), donnees.begin(), donnees.end());
    Recevoir(trame);
}

// The data bytes of frame positions 7.. of Trame_Emise, as a block write sends them.
inline std::vector<Octet> Donnees_Emises() {
    return {Trame_Emise.begin() + 7, Trame_Emise.begin() + 7 + Trame_Emise[6]};
}

}  // namespace ostrel::essais
