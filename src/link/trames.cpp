#include "link/trames.h"

#include "link/modbus.h"

namespace ostrel {
namespace {

void Poser_CRC(int position) {
    const std::array<Octet, 2> crc = Calcul_CRC16(Trame_Emise.data(), position);
    Trame_Emise[position] = crc[0];
    Trame_Emise[position + 1] = crc[1];
}

void Entete_Requete(Octet fonction) {
    Code_Fonction = fonction;
    Trame_Emise[0] = Adresse_Esclave;
    Trame_Emise[1] = fonction;
    Trame_Emise[2] = 0;
    Trame_Emise[3] = static_cast<Octet>(Code_Requete & 0xFF);
}

}  // namespace

std::array<Octet, 2> Calcul_CRC16(const Octet* octets, int nombre) {
    std::uint16_t crc = 0xFFFF;
    for (int i = 0; i < nombre; ++i) {
        crc ^= octets[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
    }
    return {static_cast<Octet>(crc & 0xFF), static_cast<Octet>(crc >> 8)};
}

void Construire_Trame_Lecture() {
    Entete_Requete(Modbus::Lecture);
    Trame_Emise[4] = static_cast<Octet>(Nb_Mots >> 8);
    Trame_Emise[5] = static_cast<Octet>(Nb_Mots & 0xFF);
    Poser_CRC(6);
    Nb_Octets_A_Envoyer = 8;
}

bool Construire_Trame_Ecriture_Multiple(const Octet* donnees, Octet N) {
    // 124 data bytes + 9 of framing fill the 133-byte buffer exactly.
    if (N > Taille_Trame - 9) return false;
    Entete_Requete(Modbus::Ecriture_Multiple);
    Trame_Emise[4] = 0;
    Trame_Emise[5] = static_cast<Octet>(Nb_Mots & 0xFF);
    Trame_Emise[6] = N;
    for (int i = 0; i < N; ++i) Trame_Emise[7 + i] = donnees[i];
    Poser_CRC(7 + N);
    Nb_Octets_A_Envoyer = static_cast<Octet>(N + 9);
    return true;
}

void Construire_Trame_Ecriture_Simple(Entier valeur) {
    Entete_Requete(Modbus::Ecriture_Simple);
    const auto mot = static_cast<std::uint16_t>(valeur);
    Trame_Emise[4] = static_cast<Octet>(mot >> 8);
    Trame_Emise[5] = static_cast<Octet>(mot & 0xFF);
    Poser_CRC(6);
    Nb_Octets_A_Envoyer = 8;
}

void Verification_Reponse() {
    const int n = Nb_Octets_Recus;
    const auto& R = Trame_Recue;
    // A length beyond the buffer cannot describe a reply taken whole.
    if (n < 2 || n > Taille_Trame) {
        Code_Erreur = Erreur::Ligne;
        return;
    }
    // Every check runs and the last failing one wins, so that an exception
    // reply ends with the module's own code rather than "function".
    const std::array<Octet, 2> crc = Calcul_CRC16(R.data(), n - 2);
    if (crc[0] != R[n - 2] || crc[1] != R[n - 1]) Code_Erreur = Erreur::Crc;
    if (R[0] != Adresse_Esclave) Code_Erreur = Erreur::Esclave;
    if (R[1] != Code_Fonction) Code_Erreur = Erreur::Fonction;
    const bool ecriture = R[1] == Modbus::Ecriture_Multiple || R[1] == Modbus::Ecriture_Simple;
    if (R[1] == Modbus::Lecture && (n < 3 || n != R[2] + 5)) Code_Erreur = Erreur::Longueur;
    if (ecriture && n != 8) Code_Erreur = Erreur::Longueur;
    if (ecriture) {
        // Only bytes actually received are compared: a short reply is already
        // reported as a length fault.
        for (int i = 2; i <= 5 && i < n; ++i)
            if (R[i] != Trame_Emise[i]) Code_Erreur = Erreur::Echo;
    }
    // An exception code of 0 would read as success: keep the earlier fault.
    const bool refus = R[1] == Modbus::Refus_Lecture || R[1] == Modbus::Refus_Ecriture_Simple ||
                       R[1] == Modbus::Refus_Ecriture_Multiple;
    if (refus && n >= 3 && R[2] != 0) Code_Erreur = R[2];
}

}  // namespace ostrel
