#include <gtest/gtest.h>

#include "link/decodeur.h"
#include "link/donnees.h"
#include "platform/dates.h"
#include "outils_trames.h"

using namespace ostrel;
using namespace ostrel::essais;

namespace {

class Decodeur : public Avec_Donnees_Vierges {
protected:
    void Decoder(Entier code, const std::vector<Octet>& donnees) {
        Code_Requete = code;
        Recevoir_Lecture(donnees);
        Decodage_Reponse();
    }
    // A page of n records whose bytes are all distinguishable.
    static std::vector<Octet> Page(int n) {
        std::vector<Octet> donnees;
        for (int r = 0; r < n; ++r) {
            const std::vector<Octet> record{Octet(1 + r), 6, 24, Octet(r), 15, 0x01, Octet(r), Octet(r % 2)};
            donnees.insert(donnees.end(), record.begin(), record.end());
        }
        return donnees;
    }
    Parametres_Voie& d = Donnees_Reponse;
};

Simple Dixieme(int mot) { return static_cast<Simple>(mot / 10.0); }

}  // namespace

TEST(Conversions, MotSigne) {
    EXPECT_EQ(Mot_Signe(0x00, 0x01), 1);
    EXPECT_EQ(Mot_Signe(0x7F, 0xFF), 32767);
    EXPECT_EQ(Mot_Signe(0x80, 0x00), -32768);
    EXPECT_EQ(Mot_Signe(0xFF, 0xFF), -1);
    EXPECT_EQ(Mot_Signe(0xFE, 0x0C), -500);
}

TEST(Conversions, SupprimeEspacesFin) {
    EXPECT_EQ(Supprime_Espaces_Fin("Salle 1   "), "Salle 1");
    EXPECT_EQ(Supprime_Espaces_Fin("    "), "");
    EXPECT_EQ(Supprime_Espaces_Fin(""), "");
    EXPECT_EQ(Supprime_Espaces_Fin(QStringLiteral("a\t")), QStringLiteral("a\t"));
    EXPECT_EQ(Supprime_Espaces_Fin(QString("a ") + QChar(0) + " "), QString("a ") + QChar(0));
    const QString original = "x  ";
    Supprime_Espaces_Fin(original);
    EXPECT_EQ(original, "x  ");
}

TEST_F(Decodeur, MesuresEtMotsReserves) {
    Decoder(0x00, {0xFF, 0xFF});
    EXPECT_EQ(d.Mesure, Dixieme(-1));
    Decoder(0x00, {0x80, 0x00});
    EXPECT_EQ(d.Mesure, Dixieme(-32768));
    Decoder(0x00, {0x7F, 0xFF});
    EXPECT_EQ(d.Mesure, Dixieme(32767));
    Decoder(0x00, {0x00, 0xD7});
    EXPECT_EQ(d.Mesure, 21.5f);
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Decodeur, OctetsEtMotsSimples) {
    Decoder(0x01, {9, 4});
    EXPECT_EQ(d.Etat_Voie, 4);
    Decoder(0x03, {0xFF, 0xFE});
    EXPECT_EQ(d.Offset, Dixieme(-2));
    Decoder(0x04, {0x00, 0xFF});
    EXPECT_EQ(d.Config_STOR, 255);
    Decoder(0x07, {0x00, 0x04});
    EXPECT_EQ(d.Etat_Module, 4);
    Decoder(0x13, {0x00, 0x01, 0x00, 0x00});
    EXPECT_EQ(d.Nb_Enregistrements, 65536);
    Decoder(0x13, {0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(d.Nb_Enregistrements, -1);
    Decoder(0x14, {0x00, 0x00, 0x80, 0x00});
    EXPECT_EQ(d.Nb_Evenements, 32768);
    Decoder(0x20, {255, 255, 254, 0});
    EXPECT_EQ(Masque_Sous_Reseau, (std::array<Octet, 4>{255, 255, 254, 0}));
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Decodeur, RelaisHorsOctetRefuse) {
    d.Config_STOR = 3;
    Decoder(0x04, {0x01, 0x00});
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(d.Config_STOR, 3);
    Code_Erreur = 0;
    Decoder(0x04, {0xFF, 0xFF});
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(d.Config_STOR, 3);
}

TEST_F(Decodeur, BlocVoie) {
    Decoder(0x02, {0x00, 30, 0x05, 0xDC, 0xFE, 0x0C, 0xFF, 0x9C, 0x00, 0x64, 0x00, 15, 0x0B, 0xFF, 0x01, 0x0B});
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(d.Periode_Enreg, 30);
    EXPECT_EQ(d.Seuil_Haut, 150.0f);
    EXPECT_EQ(d.Seuil_Bas, -50.0f);
    EXPECT_EQ(d.Echelle_4mA, -100.0f);
    EXPECT_EQ(d.Echelle_20mA, 100.0f);
    EXPECT_EQ(d.Tempo_Alarme, 15);
    EXPECT_EQ(d.Relais_2, Vrai);
    EXPECT_EQ(d.Num_ETOR_Inhib, 5);
    for (Booleen b : {d.Voie_Valide, d.Alarme_Valide, d.Role_ETOR_Inhib, d.Contact_NF, d.Inhib_Alarme_ETOR,
                      d.Inhib_Enreg_ETOR})
        EXPECT_EQ(b, Vrai);
    EXPECT_EQ(d.Nature_Capteur, 3);
    EXPECT_EQ(d.Unite, 3);
    EXPECT_EQ(d.Buzzer, Vrai);
    EXPECT_EQ(d.Num_Planning_Inhib, 16);

    Decoder(0x02, {0xAA, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0xAA, 1, 0xC0, 0x08, 0xFE, 0xF4});
    EXPECT_EQ(d.Relais_2, Faux);
    EXPECT_EQ(d.Num_ETOR_Inhib, 0);
    EXPECT_EQ(d.Voie_Valide, Faux);
    EXPECT_EQ(d.Alarme_Valide, Faux);
    EXPECT_EQ(d.Nature_Capteur, 1);
    EXPECT_EQ(d.Unite, 4);
    EXPECT_EQ(d.Buzzer, Faux);
    EXPECT_EQ(d.Num_Planning_Inhib, 15);
}

TEST_F(Decodeur, BlocVoieCourtSArreteAuPremierChampManquant) {
    d.Tempo_Alarme = 77;
    Decoder(0x02, {0, 30, 0x05, 0xDC, 0xFE, 0x0C, 0, 0, 0, 0x64});
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(d.Seuil_Haut, 150.0f);
    EXPECT_EQ(d.Echelle_20mA, 100.0f);
    EXPECT_EQ(d.Tempo_Alarme, 77);
}

TEST_F(Decodeur, EnteteModule) {
    std::vector<Octet> entete(64, ' ');
    const QByteArray texte("Chambre froide n\xB0" "1");
    std::copy(texte.begin(), texte.end(), entete.begin());
    Decoder(0x05, entete);
    EXPECT_EQ(d.Entete_Module, QStringLiteral("Chambre froide n°1"));

    Decoder(0x05, std::vector<Octet>(64, ' '));
    EXPECT_EQ(d.Entete_Module, "");

    Decoder(0x05, {'A', 0x80, ' ', 0});
    EXPECT_EQ(d.Entete_Module, QStringLiteral("A€ ") + QChar(0));

    Decoder(0x05, {});
    EXPECT_EQ(d.Entete_Module, "");
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Decodeur, TextesGardentLeursEspaces) {
    Decoder(0x12, {'V', 'o', 'i', 'e', ' ', 0xE9, ' ', ' '});
    EXPECT_EQ(d.Nom_Voie, QStringLiteral("Voie é  "));
    Decoder(0x17, {'a', '@', 'b', '.', 'f', 'r'});
    EXPECT_EQ(Adresse_Email_Envoi, "a@b.fr");
    Decoder(0x18, {'M', '1', '.', 't', 'x', 't'});
    EXPECT_EQ(Nom_Fichier_Envoi, "M1.txt");
    Decoder(0x1C, {'a', 'd', 'm', ' '});
    EXPECT_EQ(Login_Password_Carte, "adm ");
    for (Entier code : {0x12, 0x17, 0x18, 0x1C}) Decoder(code, {});
    EXPECT_EQ(d.Nom_Voie, "");
    EXPECT_EQ(Adresse_Email_Envoi, "");
    EXPECT_EQ(Nom_Fichier_Envoi, "");
    EXPECT_EQ(Login_Password_Carte, "");
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Decodeur, CodeAcces) {
    Decoder(0x15, {0x04, 0xD2, 'D', 'u', 'p', 'o', 'n', 't', ' ', ' ', ' ', ' ', ' ', ' '});
    EXPECT_EQ(Code_Acces, 1234);
    EXPECT_EQ(Nom_Operateur, "Dupont      ");
    Decoder(0x15, {0x00, 0x07});
    EXPECT_EQ(Code_Acces, 7);
    EXPECT_EQ(Nom_Operateur, "");
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Decodeur, Planning) {
    std::vector<Octet> donnees;
    for (int i = 0; i < 16; ++i) {
        donnees.push_back(Octet(i));
        donnees.push_back(Octet(i * 3));
    }
    Decoder(0x06, donnees);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(d.Plages_Planning[i], TimeSerial(i, i * 3, 0)) << i;
}

TEST_F(Decodeur, DateHeureModule) {
    Decoder(0x09, {30, 14, 3, 25, 12, 6});
    EXPECT_EQ(d.Date_Heure_Module, DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0));
    Decoder(0x09, {0, 0, 7, 31, 12, 99});
    EXPECT_EQ(d.Date_Heure_Module, DateSerial(2099, 12, 31));
    // Not validated: month 13 is January of the next year, 60 minutes one hour.
    Decoder(0x09, {60, 23, 1, 1, 13, 29});
    EXPECT_EQ(d.Date_Heure_Module, DateSerial(2030, 1, 1) + TimeSerial(24, 0, 0));
}

TEST_F(Decodeur, PagesDEnregistrements) {
    Decoder(0x0E, Page(9));
    EXPECT_EQ(Code_Erreur, 0);
    ASSERT_EQ(Nb_Elements_Reponse, 9);
    for (int r = 0; r < 9; ++r) {
        EXPECT_EQ(d.Dates_Enreg[r], DateSerial(2024, 6, 1 + r) + TimeSerial(r, 15, 0)) << r;
        EXPECT_EQ(d.Valeurs_Enreg[r], Dixieme(256 + r)) << r;
        EXPECT_EQ(d.Alarmes_Enreg[r], r % 2 ? Vrai : Faux) << r;
    }
    // Only bit 0 of byte 7 is the alarm flag.
    Decoder(0x0F, {1, 1, 24, 0, 0, 0xFF, 0xFF, 0xFE});
    EXPECT_EQ(Nb_Elements_Reponse, 1);
    EXPECT_EQ(d.Valeurs_Enreg[0], Dixieme(-1));
    EXPECT_EQ(d.Alarmes_Enreg[0], Faux);
    EXPECT_EQ(d.Dates_Enreg[1], DateSerial(2024, 6, 2) + TimeSerial(1, 15, 0));
}

TEST_F(Decodeur, PageVideLaisseLesTableaux) {
    Decoder(0x0E, Page(3));
    const auto dates = d.Dates_Enreg;
    Decoder(0x0E, {});
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Elements_Reponse, 0);
    EXPECT_EQ(d.Dates_Enreg, dates);
}

TEST_F(Decodeur, JamaisPlusDeNeufEnregistrements) {
    Decoder(0x0E, Page(10));
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Nb_Elements_Reponse, 9);
    EXPECT_EQ(d.Dates_Enreg[8], DateSerial(2024, 6, 9) + TimeSerial(8, 15, 0));

    Code_Erreur = 0;
    Decoder(0x10, Page(16));
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Nb_Elements_Reponse, 9);
}

TEST_F(Decodeur, PageAvecEnregistrementCoupeRefusee) {
    Decoder(0x10, Page(2));
    const auto dates = d.Dates_Journal;
    const auto etats = d.Etats_Journal;
    auto page = Page(3);
    page.resize(20);
    page[0] = 28;
    Decoder(0x10, page);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Nb_Elements_Reponse, 0);
    EXPECT_EQ(d.Dates_Journal, dates);
    EXPECT_EQ(d.Etats_Journal, etats);
}

TEST_F(Decodeur, JournalDesAlarmes) {
    Decoder(0x11, {24, 12, 6, 23, 59, 12, 4, 16, 1, 1, 0, 0, 0, 0, 0, 1});
    EXPECT_EQ(Code_Erreur, 0);
    ASSERT_EQ(Nb_Elements_Reponse, 2);
    EXPECT_EQ(d.Dates_Journal[0], DateSerial(2006, 12, 24) + TimeSerial(23, 59, 0));
    EXPECT_EQ(d.Etats_Journal[0], 12);
    EXPECT_EQ(d.Operateurs_Journal[0], 4);
    EXPECT_EQ(d.Voies_Journal[0], 16);
    EXPECT_EQ(d.Dates_Journal[1], DateSerial(2000, 1, 1));
    EXPECT_EQ(d.Voies_Journal[1], 1);
}

TEST_F(Decodeur, ParametresPeripheriques) {
    Decoder(0x19, {2, 3, 192, 168, 1, 10, 1, 3, 192, 168, 1, 254});
    EXPECT_EQ(Type_Acces_Reseau, 2);
    EXPECT_EQ(Frequence_Envoi_Email, 3);
    EXPECT_EQ(Adresse_IP_Carte, (std::array<Octet, 4>{192, 168, 1, 10}));
    EXPECT_EQ(Logique_Relais_Carte_1, 1);
    EXPECT_EQ(Logique_Relais_Carte_2, 3);
    EXPECT_EQ(Adresse_IP_Passerelle, (std::array<Octet, 4>{192, 168, 1, 254}));
}

TEST_F(Decodeur, AccesInternet) {
    Login_FAI = "ancien";
    Password_FAI = "ancien";
    Decoder(0x1A, {10, 0, 0, 1, 0, 0, 0});
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Adresse_IP_Serveur, (std::array<Octet, 4>{10, 0, 0, 1}));
    EXPECT_EQ(Longueur_Num_Telephone, 0);
    EXPECT_EQ(Num_Telephone, "");
    EXPECT_EQ(Login_FAI, "");
    EXPECT_EQ(Password_FAI, "");

    Decoder(0x1A, {1, 2, 3, 4, 5, 48, 49, 87, 50, 51, 3, 'b', 'o', 'b', 2, 'p', 'w'});
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Longueur_Num_Telephone, 5);
    EXPECT_EQ(Num_Telephone, "01W23");
    EXPECT_EQ(Login_FAI, "bob");
    EXPECT_EQ(Password_FAI, "pw");

    Decoder(0x1A, {1, 2, 3, 4, 1, 44, 0, 0});
    EXPECT_EQ(Num_Telephone, "-4");
}

TEST_F(Decodeur, Messagerie) {
    Decoder(0x1D, {4, 's', 'm', 't', 'p', 3, 'a', '@', 'b'});
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Adresse_SMTP, "smtp");
    EXPECT_EQ(Adresse_Email_Emetteur, "a@b");
    Decoder(0x1D, {0, 0});
    EXPECT_EQ(Adresse_SMTP, "");
    EXPECT_EQ(Adresse_Email_Emetteur, "");
}

TEST_F(Decodeur, LongueurAuDelaDesOctetsRecusRefusee) {
    // Bytes of an earlier, longer reply still lie in the buffer past N.
    Trame_Recue.fill('x');
    Adresse_Email_Emetteur = "ancien";
    Code_Requete = 0x1D;
    std::vector<Octet> trame{1, 3, 4, 3, 'a', 'b', 'c'};
    Recevoir(trame);
    Decodage_Reponse();
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Adresse_SMTP, "abc");
    EXPECT_EQ(Adresse_Email_Emetteur, "ancien");

    Code_Erreur = 0;
    Login_FAI = Password_FAI = "ancien";
    Decoder(0x1A, {1, 2, 3, 4, 0, 5, 'l', 'o'});
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Adresse_IP_Serveur, (std::array<Octet, 4>{1, 2, 3, 4}));
    EXPECT_EQ(Login_FAI, "ancien");
    EXPECT_EQ(Password_FAI, "ancien");

    Code_Erreur = 0;
    Longueur_Num_Telephone = 0;
    Num_Telephone = "0123";
    Decoder(0x1A, {1, 2, 3, 4, 20, '1'});
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Longueur_Num_Telephone, 20);
    EXPECT_EQ(Num_Telephone, "0123");
}

TEST_F(Decodeur, DispositionsFixesTropCourtes) {
    d.Nb_Enregistrements = 5;
    Decoder(0x13, {0, 1});
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(d.Nb_Enregistrements, 5);

    for (Entier code : {0x00, 0x01, 0x03, 0x04, 0x06, 0x07, 0x09, 0x14, 0x15, 0x19, 0x1A, 0x20}) {
        Code_Erreur = 0;
        Decoder(code, {});
        EXPECT_EQ(Code_Erreur, Erreur::Ligne) << code;
    }
}

TEST_F(Decodeur, CompteDOctetsAuDelaDuTampon) {
    // A count of 200 cannot have been received in a 133-byte buffer.
    Trame_Recue.fill('z');
    Trame_Recue[0] = 1;
    Trame_Recue[1] = 3;
    Trame_Recue[2] = 200;
    Code_Requete = 0x12;
    d.Nom_Voie = "Voie 1";
    Decodage_Reponse();
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(d.Nom_Voie, "Voie 1");

    Code_Erreur = 0;
    Code_Requete = 0x0E;
    Trame_Recue[2] = 200;
    Decodage_Reponse();
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Nb_Elements_Reponse, 9);
}

TEST_F(Decodeur, ModulesEnService) {
    Decoder(0x1B, {2, 5, 40, 32, 0});
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    for (int i : {0, 1, 4, 31}) EXPECT_EQ(Tab_Fonctionnement_OC[i], En_Service) << i;
    for (int i : {2, 3, 5, 30}) EXPECT_EQ(Tab_Fonctionnement_OC[i], "") << i;

    Code_Erreur = 0;
    Tab_Fonctionnement_OC.fill(Hors_Service);
    Decoder(0x1B, {});
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Tab_Fonctionnement_OC[0], En_Service);
    EXPECT_EQ(Tab_Fonctionnement_OC[1], Hors_Service);
}

TEST_F(Decodeur, RienPourUnAutreProduitNiUnCodeSansDisposition) {
    Type_Produit = 1;
    Decoder(0x00, {0x00, 0x10});
    EXPECT_EQ(d.Mesure, 0.0f);
    Type_Produit = 0;
    const auto avant = Nb_Octets_Donnees;
    for (Entier code : {0x0A, 0x0B, 0x0C, 0x0D, 0x16, 0x1E, 0x1F, 0x21, 0xFF}) Decoder(code, {0x00, 0x10});
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(d.Mesure, 0.0f);
    EXPECT_EQ(Nb_Octets_Donnees, avant);
}
