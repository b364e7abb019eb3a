#include <gtest/gtest.h>

#include <numeric>

#include "link/trames.h"
#include "outils_trames.h"

using namespace ostrel;
using namespace ostrel::essais;

namespace {

std::vector<Octet> Emise() { return {Trame_Emise.begin(), Trame_Emise.begin() + Nb_Octets_A_Envoyer}; }

std::array<Octet, 2> Crc(std::vector<Octet> octets) {
    return Calcul_CRC16(octets.data(), static_cast<int>(octets.size()));
}

class Trames : public Avec_Donnees_Vierges {};

// A read request as the master sends it, for the reply checks.
class Verification : public Avec_Donnees_Vierges {
protected:
    void Demander_Lecture(Octet esclave = 1, Entier code = 5, std::uint16_t mots = 64) {
        Adresse_Esclave = esclave;
        Code_Requete = code;
        Nb_Mots = mots;
        Construire_Trame_Lecture();
    }
    void Demander_Commande(Entier valeur) {
        Adresse_Esclave = 1;
        Code_Requete = 0x0A;
        Construire_Trame_Ecriture_Simple(valeur);
    }
    void Demander_Bloc() {
        Adresse_Esclave = 1;
        Code_Requete = 0x12;
        Nb_Mots = 3;
        const std::vector<Octet> nom(12, 'A');
        ASSERT_TRUE(Construire_Trame_Ecriture_Multiple(nom.data(), 12));
    }
    // The echo of bytes 0..5 of the request, as a write reply carries it.
    std::vector<Octet> Echo() { return {Trame_Emise.begin(), Trame_Emise.begin() + 6}; }
    Octet Verifier() {
        Verification_Reponse();
        return Code_Erreur;
    }
};

}  // namespace

TEST(Crc16, VecteursModbus) {
    EXPECT_EQ(Crc({0x01, 0x03, 0x00, 0x00, 0x00, 0x01}), (std::array<Octet, 2>{0x84, 0x0A}));
    EXPECT_EQ(Crc({0x11, 0x03, 0x00, 0x6B, 0x00, 0x03}), (std::array<Octet, 2>{0x76, 0x87}));
    EXPECT_EQ(Crc({'1', '2', '3', '4', '5', '6', '7', '8', '9'}), (std::array<Octet, 2>{0x37, 0x4B}));
    EXPECT_EQ(Crc({}), (std::array<Octet, 2>{0xFF, 0xFF}));
}

TEST(Crc16, UneTrameSuivieDeSonCrcDonneZero) {
    std::vector<Octet> trame(40);
    std::iota(trame.begin(), trame.end(), Octet(200));
    const auto crc = Crc(trame);
    trame.push_back(crc[0]);
    trame.push_back(crc[1]);
    EXPECT_EQ(Crc(trame), (std::array<Octet, 2>{0, 0}));
}

TEST_F(Trames, LectureOctetParOctet) {
    Adresse_Esclave = 1;
    Code_Requete = 0;
    Nb_Mots = 1;
    Construire_Trame_Lecture();
    EXPECT_EQ(Code_Fonction, 3);
    EXPECT_EQ(Emise(), (std::vector<Octet>{0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}));

    Adresse_Esclave = 32;
    Code_Requete = 0x0E;
    Nb_Mots = 0xFF00 | 3;
    Construire_Trame_Lecture();
    ASSERT_EQ(Nb_Octets_A_Envoyer, 8);
    EXPECT_EQ(Trame_Emise[0], 32);
    EXPECT_EQ(Trame_Emise[3], 0x0E);
    EXPECT_EQ(Trame_Emise[4], 0xFF);
    EXPECT_EQ(Trame_Emise[5], 0x03);
    EXPECT_EQ(Crc({Trame_Emise.begin(), Trame_Emise.begin() + 8}), (std::array<Octet, 2>{0, 0}));
}

TEST_F(Trames, EcritureMultipleLongueursEtDisposition) {
    Adresse_Esclave = 7;
    Code_Requete = 0x02;
    Nb_Mots = 12;
    std::vector<Octet> donnees(124);
    std::iota(donnees.begin(), donnees.end(), Octet(1));

    ASSERT_TRUE(Construire_Trame_Ecriture_Multiple(donnees.data(), 16));
    EXPECT_EQ(Code_Fonction, 16);
    EXPECT_EQ(Nb_Octets_A_Envoyer, 25);
    EXPECT_EQ((std::vector<Octet>{Trame_Emise.begin(), Trame_Emise.begin() + 7}),
              (std::vector<Octet>{7, 16, 0, 0x02, 0, 12, 16}));
    EXPECT_EQ(Donnees_Emises(), std::vector<Octet>(donnees.begin(), donnees.begin() + 16));
    EXPECT_EQ(Crc(Emise()), (std::array<Octet, 2>{0, 0}));

    ASSERT_TRUE(Construire_Trame_Ecriture_Multiple(donnees.data(), 64));
    EXPECT_EQ(Nb_Octets_A_Envoyer, 73);
    EXPECT_EQ(Crc(Emise()), (std::array<Octet, 2>{0, 0}));

    ASSERT_TRUE(Construire_Trame_Ecriture_Multiple(donnees.data(), 124));
    EXPECT_EQ(Nb_Octets_A_Envoyer, 133);
    EXPECT_EQ(Donnees_Emises(), donnees);
    EXPECT_EQ(Crc(Emise()), (std::array<Octet, 2>{0, 0}));

    ASSERT_TRUE(Construire_Trame_Ecriture_Multiple(nullptr, 0));
    EXPECT_EQ(Nb_Octets_A_Envoyer, 9);
    EXPECT_EQ(Trame_Emise[6], 0);
}

TEST_F(Trames, BlocTropLongRefuseSansRienConstruire) {
    Adresse_Esclave = 1;
    Code_Requete = 0x05;
    Nb_Mots = 64;
    Construire_Trame_Lecture();
    const auto avant = Trame_Emise;
    std::vector<Octet> donnees(255, 0x55);
    EXPECT_FALSE(Construire_Trame_Ecriture_Multiple(donnees.data(), 125));
    EXPECT_FALSE(Construire_Trame_Ecriture_Multiple(donnees.data(), 255));
    EXPECT_EQ(Trame_Emise, avant);
    EXPECT_EQ(Code_Fonction, 3);
    EXPECT_EQ(Nb_Octets_A_Envoyer, 8);
}

TEST_F(Trames, CommandeValeurPoidsFortDAbord) {
    Adresse_Esclave = 1;
    Code_Requete = 0x0A;
    Construire_Trame_Ecriture_Simple(2 * 256 + 7);
    EXPECT_EQ(Code_Fonction, 6);
    ASSERT_EQ(Nb_Octets_A_Envoyer, 8);
    EXPECT_EQ((std::vector<Octet>{Trame_Emise.begin(), Trame_Emise.begin() + 6}),
              (std::vector<Octet>{1, 6, 0, 0x0A, 0x02, 0x07}));
    EXPECT_EQ(Crc(Emise()), (std::array<Octet, 2>{0, 0}));
    Construire_Trame_Ecriture_Simple(255);
    EXPECT_EQ(Trame_Emise[4], 0);
    EXPECT_EQ(Trame_Emise[5], 255);
}

TEST_F(Verification, ReponsesCorrectes) {
    Demander_Lecture();
    Recevoir_Lecture({1, 2, 3, 4});
    EXPECT_EQ(Verifier(), 0);

    Demander_Commande(519);
    Recevoir(Echo());
    EXPECT_EQ(Verifier(), 0);

    Demander_Bloc();
    Recevoir(Echo());
    EXPECT_EQ(Verifier(), 0);
}

TEST_F(Verification, LongueurHorsTampon) {
    Demander_Lecture();
    Recevoir_Lecture({1, 2});
    for (Entier n : {0, 1, -3, 134, 400}) {
        Code_Erreur = 0;
        Nb_Octets_Recus = n;
        EXPECT_EQ(Verifier(), Erreur::Ligne) << n;
    }
}

TEST_F(Verification, ChaqueDefautSonCode) {
    Demander_Lecture(1);
    Recevoir_Lecture({1, 2});
    Trame_Recue[Nb_Octets_Recus - 1] ^= 1;
    EXPECT_EQ(Verifier(), Erreur::Crc);

    Code_Erreur = 0;
    Recevoir_Lecture({1, 2}, 2);
    EXPECT_EQ(Verifier(), Erreur::Esclave);

    // A command echo to a read request: only the function is wrong.
    Code_Erreur = 0;
    Recevoir({1, 6, 0, 5, 0, 64});
    EXPECT_EQ(Verifier(), Erreur::Fonction);

    // A byte count that does not match the bytes received.
    Code_Erreur = 0;
    Recevoir({1, 3, 4, 0xAA, 0xBB});
    EXPECT_EQ(Verifier(), Erreur::Longueur);

    Demander_Bloc();
    Code_Erreur = 0;
    auto echo = Echo();
    echo.push_back(0);
    Recevoir(echo);
    EXPECT_EQ(Verifier(), Erreur::Longueur);

    Code_Erreur = 0;
    echo = Echo();
    echo[5] = 4;
    Recevoir(echo);
    EXPECT_EQ(Verifier(), Erreur::Echo);

    Demander_Commande(519);
    Code_Erreur = 0;
    echo = Echo();
    echo[4] = 3;
    Recevoir(echo);
    EXPECT_EQ(Verifier(), Erreur::Echo);
}

TEST_F(Verification, LeDernierDefautDansLOrdreLEmporte) {
    Demander_Lecture(1);
    Recevoir_Lecture({1, 2}, 2);
    Trame_Recue[Nb_Octets_Recus - 2] ^= 0x40;
    EXPECT_EQ(Verifier(), Erreur::Esclave);

    // Wrong slave and wrong function: the function fault is the later one.
    Code_Erreur = 0;
    Recevoir({9, 16, 0, 5, 0, 64});
    EXPECT_EQ(Verifier(), Erreur::Fonction);

    // A command reply that is both too long and a bad echo ends as an echo fault.
    Demander_Commande(100);
    Code_Erreur = 0;
    Recevoir({1, 6, 0, 0x0A, 9, 9, 0});
    EXPECT_EQ(Verifier(), Erreur::Echo);
}

TEST_F(Verification, ExceptionDuModule) {
    Demander_Lecture();
    Recevoir({1, 0x83, 2});
    EXPECT_EQ(Verifier(), 2);

    Demander_Bloc();
    Code_Erreur = 0;
    Recevoir({1, 0x90, 7});
    EXPECT_EQ(Verifier(), 7);

    Demander_Commande(1);
    Code_Erreur = 0;
    Recevoir({1, 0x86, 0x2A});
    EXPECT_EQ(Verifier(), 0x2A);

    // Even a bad checksum is overwritten by the exception code.
    Demander_Lecture();
    Code_Erreur = 0;
    Recevoir({1, 0x83, 3});
    Trame_Recue[3] ^= 0xFF;
    EXPECT_EQ(Verifier(), 3);
}

TEST_F(Verification, ExceptionSansCodeNePassePasPourUnSucces) {
    Demander_Lecture();
    Recevoir({1, 0x83, 0});
    EXPECT_EQ(Verifier(), Erreur::Fonction);

    // Two bytes only: no exception code to take, and the CRC cannot match.
    Code_Erreur = 0;
    Trame_Recue[0] = 1;
    Trame_Recue[1] = 0x83;
    Trame_Recue[2] = 4;
    Nb_Octets_Recus = 2;
    EXPECT_EQ(Verifier(), Erreur::Fonction);
}

TEST_F(Verification, RienNEstLuAuDelaDesOctetsRecus) {
    // Stale bytes of an earlier reply lie past a short command reply; they
    // must not turn a length fault into an echo fault.
    Demander_Commande(519);
    Trame_Recue.fill(0xEE);
    Trame_Recue[0] = 1;
    Trame_Recue[1] = 6;
    Trame_Recue[2] = 0;
    Trame_Recue[3] = 0x0A;
    Nb_Octets_Recus = 4;
    EXPECT_EQ(Verifier(), Erreur::Longueur);

    Demander_Lecture();
    Code_Erreur = 0;
    Trame_Recue[0] = 1;
    Trame_Recue[1] = 3;
    Nb_Octets_Recus = 2;
    EXPECT_EQ(Verifier(), Erreur::Longueur);
}

TEST_F(Verification, UnCodeDejaPresentNEstJamaisEfface) {
    Demander_Lecture();
    Recevoir_Lecture({1, 2});
    Code_Erreur = Erreur::Crc;
    EXPECT_EQ(Verifier(), Erreur::Crc);
}
