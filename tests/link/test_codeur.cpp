#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>

#include "link/codeur.h"
#include "link/decodeur.h"
#include "link/donnees.h"
#include "platform/dates.h"
#include "outils_trames.h"

using namespace ostrel;
using namespace ostrel::essais;

namespace {

class Codeur : public Avec_Donnees_Vierges {
protected:
    // The block as the write procedure creates it, once encoded.
    std::vector<Octet> Coder(Entier code) {
        Code_Requete = code;
        std::vector<Octet> bloc(Capacite_Bloc(code));
        resultat = Codage_Donnees_Ecriture(bloc);
        return bloc;
    }
    // The data bytes the write procedure sends: the first N of the block.
    std::vector<Octet> Envoyes(Entier code) {
        const auto bloc = Coder(code);
        return {bloc.begin(), bloc.begin() + std::min<size_t>(Nb_Octets_Donnees, bloc.size())};
    }
    // Sends the block back as the reply of the read of the same code.
    void Aller_Retour(Entier code) {
        const auto donnees = Envoyes(code);
        ASSERT_TRUE(resultat);
        Recevoir_Lecture(donnees);
        Decodage_Reponse();
        ASSERT_EQ(Code_Erreur, 0) << code;
    }
    bool resultat = false;
    Parametres_Voie& d = Donnees_Reponse;
};

std::vector<Octet> Octets(const char* texte) { return {texte, texte + std::strlen(texte)}; }

void Voie_Complete(Parametres_Voie& v) {
    v.Periode_Enreg = 30;
    v.Seuil_Haut = 150.0f;
    v.Seuil_Bas = -50.0f;
    v.Echelle_4mA = -100.0f;
    v.Echelle_20mA = 100.0f;
    v.Tempo_Alarme = 240;
    v.Voie_Valide = Vrai;
    v.Alarme_Valide = Vrai;
    v.Nature_Capteur = 1;
    v.Relais_2 = Vrai;
    v.Num_ETOR_Inhib = 5;
    v.Unite = 3;
    v.Buzzer = Vrai;
    v.Num_Planning_Inhib = 16;
}

// The channel part that request 0x02 carries, field by field.
void Meme_Voie(const Parametres_Voie& r, const Parametres_Voie& v) {
    EXPECT_EQ(r.Periode_Enreg, v.Periode_Enreg);
    EXPECT_EQ(r.Seuil_Haut, v.Seuil_Haut);
    EXPECT_EQ(r.Seuil_Bas, v.Seuil_Bas);
    EXPECT_EQ(r.Echelle_4mA, v.Echelle_4mA);
    EXPECT_EQ(r.Echelle_20mA, v.Echelle_20mA);
    EXPECT_EQ(r.Tempo_Alarme, v.Tempo_Alarme);
    EXPECT_EQ(r.Voie_Valide, v.Voie_Valide);
    EXPECT_EQ(r.Alarme_Valide, v.Alarme_Valide);
    EXPECT_EQ(r.Role_ETOR_Inhib, v.Role_ETOR_Inhib);
    EXPECT_EQ(r.Nature_Capteur, v.Nature_Capteur);
    EXPECT_EQ(r.Contact_NF, v.Contact_NF);
    EXPECT_EQ(r.Inhib_Alarme_ETOR, v.Inhib_Alarme_ETOR);
    EXPECT_EQ(r.Inhib_Enreg_ETOR, v.Inhib_Enreg_ETOR);
    EXPECT_EQ(r.Relais_2, v.Relais_2);
    EXPECT_EQ(r.Num_ETOR_Inhib, v.Num_ETOR_Inhib);
    EXPECT_EQ(r.Unite, v.Unite);
    EXPECT_EQ(r.Buzzer, v.Buzzer);
    EXPECT_EQ(r.Num_Planning_Inhib, v.Num_Planning_Inhib);
}

}  // namespace

TEST(Capacites, ChaqueEcritureSaTaille) {
    const std::vector<std::pair<int, int>> attendues = {
        {0x02, 17}, {0x03, 2},  {0x04, 2},  {0x05, 64}, {0x06, 32}, {0x09, 6},  {0x0D, 6},  {0x12, 12},
        {0x15, 14}, {0x17, 64}, {0x18, 64}, {0x19, 12}, {0x1A, 81}, {0x1C, 21}, {0x1D, 81}, {0x20, 81}};
    for (auto [code, taille] : attendues) EXPECT_EQ(Capacite_Bloc(code), taille) << code;
    for (int code : {0x00, 0x01, 0x07, 0x0A, 0x0B, 0x0C, 0x0E, 0x13, 0x16, 0x1B, 0x1E, 0x21})
        EXPECT_EQ(Capacite_Bloc(code), 0) << code;
}

TEST_F(Codeur, BlocVoie) {
    Voie_Complete(d);
    const auto bloc = Coder(0x02);
    ASSERT_TRUE(resultat);
    EXPECT_EQ(Nb_Octets_Donnees, 16);
    EXPECT_EQ(bloc, (std::vector<Octet>{0, 30, 0x05, 0xDC, 0xFE, 0x0C, 0xFF, 0x9C, 0x00, 0x64, 0, 240, 0x0B, 0x0B,
                                        0x01, 0x0B, 0}));
}

TEST_F(Codeur, DixiemesArrondisAuPair) {
    d.Seuil_Haut = 0.25f;
    d.Seuil_Bas = 0.35f;
    d.Echelle_4mA = 2.5f;
    d.Echelle_20mA = 3.5f;
    auto bloc = Coder(0x02);
    EXPECT_EQ(bloc[2], 0x00);
    EXPECT_EQ(bloc[3], 0x02);
    EXPECT_EQ(bloc[5], 0x04);
    EXPECT_EQ(bloc[7], 0x02);
    EXPECT_EQ(bloc[9], 0x04);

    d.Offset = -0.1f;
    EXPECT_EQ(Envoyes(0x03), (std::vector<Octet>{0xFF, 0xFF}));
    // Beyond 16 bits only the low word goes, as the module reads it.
    d.Offset = 4000.0f;
    EXPECT_EQ(Envoyes(0x03), (std::vector<Octet>{0x9C, 0x40}));
}

TEST_F(Codeur, EtapesQuiNeTiennentPasDansUnOctetSontSautees) {
    d.Relais_2 = Vrai;
    d.Num_ETOR_Inhib = 130;
    d.Voie_Valide = Vrai;
    d.Contact_NF = Vrai;
    d.Nature_Capteur = 32;
    d.Seuil_Haut = 3.0e9f;
    d.Seuil_Bas = std::numeric_limits<Simple>::infinity();
    const auto bloc = Coder(0x02);
    ASSERT_TRUE(resultat);
    EXPECT_EQ(bloc[12], 0x01);
    EXPECT_EQ(bloc[13], 0x21);
    EXPECT_EQ(bloc[2], 0);
    EXPECT_EQ(bloc[3], 0);
    EXPECT_EQ(bloc[4], 0);
    EXPECT_EQ(bloc[5], 0);
}

TEST_F(Codeur, RelaisEtPeripheriques) {
    d.Config_STOR = 3;
    EXPECT_EQ(Envoyes(0x04), (std::vector<Octet>{0, 3}));
    Type_Acces_Reseau = 2;
    Frequence_Envoi_Email = 1;
    Adresse_IP_Carte = {192, 168, 0, 10};
    Logique_Relais_Carte_1 = 3;
    Logique_Relais_Carte_2 = 1;
    Adresse_IP_Passerelle = {192, 168, 0, 1};
    EXPECT_EQ(Envoyes(0x19), (std::vector<Octet>{2, 1, 192, 168, 0, 10, 3, 1, 192, 168, 0, 1}));
    Masque_Sous_Reseau = {255, 255, 255, 0};
    EXPECT_EQ(Envoyes(0x20), (std::vector<Octet>{255, 255, 255, 0}));
}

TEST_F(Codeur, TextesDeLongueurFixe) {
    d.Entete_Module = QString(70, QLatin1Char('h'));
    auto bloc = Coder(0x05);
    EXPECT_EQ(bloc, std::vector<Octet>(64, 'h'));
    EXPECT_EQ(Nb_Octets_Donnees, 64);

    d.Entete_Module = QStringLiteral("Cellule n°2 ✓");
    bloc = Coder(0x05);
    auto attendu = Octets("Cellule n\xB0" "2 ?");
    attendu.resize(64, ' ');
    EXPECT_EQ(bloc, attendu);

    d.Nom_Voie = "Frigo1";
    EXPECT_EQ(Envoyes(0x12), Octets("Frigo1      "));
    d.Nom_Voie.clear();
    EXPECT_EQ(Envoyes(0x12), std::vector<Octet>(12, ' '));
    d.Nom_Voie = "Chambre froide 3";
    EXPECT_EQ(Envoyes(0x12), Octets("Chambre froi"));
}

TEST_F(Codeur, CodeAcces) {
    Code_Acces = 1234;
    Nom_Operateur = QStringLiteral("Hélène");
    auto attendu = std::vector<Octet>{0x04, 0xD2};
    for (Octet o : Octets("H\xE9l\xE8ne      ")) attendu.push_back(o);
    EXPECT_EQ(Envoyes(0x15), attendu);

    // A negative code has no high byte to send: it stays 0.
    Code_Acces = -1;
    Nom_Operateur = "Operateur tres long";
    const auto bloc = Envoyes(0x15);
    EXPECT_EQ(bloc[0], 0);
    EXPECT_EQ(bloc[1], 0xFF);
    EXPECT_EQ(std::vector<Octet>(bloc.begin() + 2, bloc.end()), Octets("Operateur tr"));
}

TEST_F(Codeur, PlanningEtDates) {
    for (int i = 0; i < 16; ++i) d.Plages_Planning[i] = TimeSerial(i, 59 - i, 0);
    const auto planning = Envoyes(0x06);
    ASSERT_EQ(planning.size(), 32u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(planning[2 * i], i);
        EXPECT_EQ(planning[2 * i + 1], 59 - i);
    }

    d.Date_Heure_Module = DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0);
    EXPECT_EQ(Envoyes(0x09), (std::vector<Octet>{30, 14, 2, 25, 12, 6}));

    d.Date_Debut = DateSerial(1999, 12, 31) + TimeSerial(23, 0, 0);
    d.Date_Fin = DateSerial(2024, 2, 29);
    EXPECT_EQ(Envoyes(0x0D), (std::vector<Octet>{31, 12, 255, 29, 2, 24}));
}

TEST_F(Codeur, TextesLibresCoupesALaCapacite) {
    Adresse_Email_Envoi = "alerte@site.fr";
    EXPECT_EQ(Envoyes(0x17), Octets("alerte@site.fr"));
    Adresse_Email_Envoi = QString(70, QLatin1Char('m'));
    EXPECT_EQ(Envoyes(0x17), std::vector<Octet>(64, 'm'));

    Nom_Fichier_Envoi.clear();
    EXPECT_EQ(Envoyes(0x18).size(), 0u);
    Nom_Fichier_Envoi = QString(64, QLatin1Char('f'));
    EXPECT_EQ(Envoyes(0x18).size(), 64u);

    Login_Password_Carte = QString(30, QLatin1Char('p'));
    EXPECT_EQ(Envoyes(0x1C), std::vector<Octet>(21, 'p'));
    Login_Password_Carte = QStringLiteral("mot€");
    EXPECT_EQ(Envoyes(0x1C), Octets("mot\x80"));
}

TEST_F(Codeur, AccesInternet) {
    Adresse_IP_Serveur = {10, 1, 2, 3};
    const auto vide = Envoyes(0x1A);
    ASSERT_TRUE(resultat);
    EXPECT_EQ(vide, (std::vector<Octet>{10, 1, 2, 3, 0, 0, 0}));

    Num_Telephone = "01W2x";
    Longueur_Num_Telephone = 5;
    Login_FAI = "bob";
    Password_FAI = "pw";
    EXPECT_EQ(Envoyes(0x1A), (std::vector<Octet>{10, 1, 2, 3, 5, 48, 49, 87, 50, 0, 3, 'b', 'o', 'b', 2, 'p', 'w'}));
    EXPECT_EQ(Nb_Octets_Donnees, 17);
}

TEST_F(Codeur, Messagerie) {
    Adresse_SMTP = "smtp.ab.fr";
    Adresse_Email_Emetteur = "ostrel@ab.fr";
    const auto bloc = Envoyes(0x1D);
    ASSERT_EQ(bloc.size(), 24u);
    EXPECT_EQ(bloc[0], 10);
    EXPECT_EQ(bloc[11], 12);
    EXPECT_EQ(std::vector<Octet>(bloc.begin() + 12, bloc.end()), Octets("ostrel@ab.fr"));

    Adresse_SMTP.clear();
    Adresse_Email_Emetteur.clear();
    EXPECT_EQ(Envoyes(0x1D), (std::vector<Octet>{0, 0}));
}

TEST_F(Codeur, BlocsVariablesTropLongsRefuses) {
    // 81 bytes fit exactly.
    Adresse_SMTP = QString(40, QLatin1Char('s'));
    Adresse_Email_Emetteur = QString(39, QLatin1Char('e'));
    Coder(0x1D);
    EXPECT_TRUE(resultat);
    EXPECT_EQ(Nb_Octets_Donnees, 81);

    Nb_Octets_Donnees = 0;
    Adresse_Email_Emetteur += "e";
    auto bloc = Coder(0x1D);
    EXPECT_FALSE(resultat);
    EXPECT_EQ(Code_Erreur, 3);
    EXPECT_EQ(bloc, std::vector<Octet>(81, 0));

    Code_Erreur = 0;
    Num_Telephone = QString(20, QLatin1Char('1'));
    Longueur_Num_Telephone = 20;
    Login_FAI = QString(30, QLatin1Char('l'));
    Password_FAI = QString(25, QLatin1Char('p'));
    bloc = Coder(0x1A);
    EXPECT_FALSE(resultat);
    EXPECT_EQ(Code_Erreur, 3);
    EXPECT_EQ(bloc, std::vector<Octet>(81, 0));

    Code_Erreur = 0;
    Password_FAI.chop(1);
    Coder(0x1A);
    EXPECT_TRUE(resultat);
    EXPECT_EQ(Nb_Octets_Donnees, 81);
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Codeur, RienPourUnAutreProduitNiUnCodeSansDisposition) {
    Voie_Complete(d);
    Type_Produit = 1;
    EXPECT_EQ(Coder(0x02), std::vector<Octet>(17, 0));
    EXPECT_TRUE(resultat);
    Type_Produit = 0;
    Code_Requete = 0x0B;
    std::vector<Octet> bloc(8, 0xAA);
    EXPECT_TRUE(Codage_Donnees_Ecriture(bloc));
    EXPECT_EQ(bloc, std::vector<Octet>(8, 0xAA));
}

TEST_F(Codeur, UnBlocPlusPetitNEstJamaisDepasse) {
    Voie_Complete(d);
    Code_Requete = 0x02;
    std::vector<Octet> bloc(4);
    EXPECT_TRUE(Codage_Donnees_Ecriture(bloc));
    EXPECT_EQ(bloc, (std::vector<Octet>{0, 30, 0x05, 0xDC}));
}

// Every value a write carries, in the staging record and the bridge settings.
void Preparer_Ecritures() {
    Parametres_Voie& d = Donnees_Reponse;
    d = Parametres_Voie{};
    Voie_Complete(d);
    d.Role_ETOR_Inhib = Vrai;
    d.Inhib_Enreg_ETOR = Vrai;
    d.Offset = -1.3f;
    d.Config_STOR = 2;
    d.Entete_Module = QStringLiteral("Laboratoire été                 Bâtiment B  ");
    for (int i = 0; i < 16; ++i) d.Plages_Planning[i] = TimeSerial(23 - i, i * 3, 0);
    d.Date_Heure_Module = DateSerial(2029, 2, 28) + TimeSerial(23, 59, 0);
    d.Nom_Voie = QStringLiteral("Congélateur ");
    Code_Acces = 9876;
    Nom_Operateur = "Martin      ";
    Adresse_Email_Envoi = "alarmes@exemple.fr";
    Nom_Fichier_Envoi = "Module_3.txt";
    Type_Acces_Reseau = 1;
    Frequence_Envoi_Email = 3;
    Adresse_IP_Carte = {10, 0, 0, 2};
    Adresse_IP_Passerelle = {10, 0, 0, 1};
    Logique_Relais_Carte_1 = 2;
    Logique_Relais_Carte_2 = 3;
    Adresse_IP_Serveur = {80, 10, 20, 30};
    Num_Telephone = "0W0123456789";
    Longueur_Num_Telephone = 12;
    Login_FAI = "client";
    Password_FAI = "secret";
    Adresse_SMTP = "smtp.exemple.fr";
    Adresse_Email_Emetteur = "ostrel@exemple.fr";
    Login_Password_Carte = "admin";
    Masque_Sous_Reseau = {255, 255, 0, 0};
}

// Every block that the module can send back decodes to what was written.
TEST_F(Codeur, AllerRetourDeChaqueBloc) {
    Preparer_Ecritures();
    const Parametres_Voie a = Donnees_Reponse;
    const Parametres_Voie& v = Donnees_Reponse;
    for (Entier code : {0x02, 0x03, 0x04, 0x05, 0x06, 0x09, 0x12, 0x15, 0x17, 0x18, 0x19, 0x1A, 0x1C, 0x1D, 0x20}) {
        SCOPED_TRACE(code);
        Preparer_Ecritures();
        const auto donnees = Envoyes(code);
        ASSERT_TRUE(resultat);
        // Wipe what the decoder must fill again.
        Reinitialiser_Donnees();
        Recevoir_Lecture(donnees);
        Code_Requete = code;
        Decodage_Reponse();
        ASSERT_EQ(Code_Erreur, 0);
        switch (code) {
        case 0x02: Meme_Voie(v, a); break;
        case 0x03: EXPECT_EQ(v.Offset, a.Offset); break;
        case 0x04: EXPECT_EQ(v.Config_STOR, a.Config_STOR); break;
        case 0x05:
            EXPECT_EQ(v.Entete_Module, QStringLiteral("Laboratoire été                 Bâtiment B"));
            break;
        case 0x06: EXPECT_EQ(v.Plages_Planning, a.Plages_Planning); break;
        case 0x09: EXPECT_EQ(v.Date_Heure_Module, a.Date_Heure_Module); break;
        case 0x12: EXPECT_EQ(v.Nom_Voie, a.Nom_Voie); break;
        case 0x15:
            EXPECT_EQ(Code_Acces, 9876);
            EXPECT_EQ(Nom_Operateur, "Martin      ");
            break;
        case 0x17: EXPECT_EQ(Adresse_Email_Envoi, "alarmes@exemple.fr"); break;
        case 0x18: EXPECT_EQ(Nom_Fichier_Envoi, "Module_3.txt"); break;
        case 0x19:
            EXPECT_EQ(Type_Acces_Reseau, 1);
            EXPECT_EQ(Frequence_Envoi_Email, 3);
            EXPECT_EQ(Adresse_IP_Carte, (std::array<Octet, 4>{10, 0, 0, 2}));
            EXPECT_EQ(Logique_Relais_Carte_1, 2);
            EXPECT_EQ(Logique_Relais_Carte_2, 3);
            EXPECT_EQ(Adresse_IP_Passerelle, (std::array<Octet, 4>{10, 0, 0, 1}));
            break;
        case 0x1A:
            EXPECT_EQ(Adresse_IP_Serveur, (std::array<Octet, 4>{80, 10, 20, 30}));
            EXPECT_EQ(Longueur_Num_Telephone, 12);
            EXPECT_EQ(Num_Telephone, "0W0123456789");
            EXPECT_EQ(Login_FAI, "client");
            EXPECT_EQ(Password_FAI, "secret");
            break;
        case 0x1C: EXPECT_EQ(Login_Password_Carte, "admin"); break;
        case 0x1D:
            EXPECT_EQ(Adresse_SMTP, "smtp.exemple.fr");
            EXPECT_EQ(Adresse_Email_Emetteur, "ostrel@exemple.fr");
            break;
        case 0x20: EXPECT_EQ(Masque_Sous_Reseau, (std::array<Octet, 4>{255, 255, 0, 0})); break;
        }
    }
}

// The date sent goes back without its seconds, which the module does not keep.
TEST_F(Codeur, AllerRetourDateSansSecondes) {
    d.Date_Heure_Module = DateSerial(2012, 7, 14) + TimeSerial(8, 5, 42);
    Aller_Retour(0x09);
    EXPECT_EQ(d.Date_Heure_Module, DateSerial(2012, 7, 14) + TimeSerial(8, 5, 0));
}

// A module's year byte is the years since 2000, both ways: the new year of
// 2030 does not fall back to 1930, nor 2100 to 2000.
TEST_F(Codeur, AnneeDuModuleDepuis2000) {
    const std::pair<Date, Octet> dates[] = {
        {DateSerial(2029, 12, 31) + TimeSerial(23, 55, 0), 29}, {DateSerial(2030, 1, 1) + TimeSerial(0, 5, 0), 30},
        {DateSerial(2099, 12, 31) + TimeSerial(23, 59, 0), 99}, {DateSerial(2100, 1, 1) + TimeSerial(0, 0, 0), 100},
        {DateSerial(2255, 12, 31) + TimeSerial(12, 0, 0), 255}};
    for (const auto& [date, octet] : dates) {
        SCOPED_TRACE(Texte_Date(date).toStdString());
        d.Date_Heure_Module = date;
        EXPECT_EQ(Envoyes(0x09)[5], octet);
        Aller_Retour(0x09);
        EXPECT_EQ(d.Date_Heure_Module, date);
        d.Date_Debut = d.Date_Fin = date;
        const auto fenetre = Envoyes(0x0D);
        EXPECT_EQ(fenetre[2], octet);
        EXPECT_EQ(fenetre[5], octet);
        // A recorded point and a journal entry of that minute.
        const Composantes_Date c = Decomposer(date);
        const std::vector<Octet> enregistrement{Octet(c.Jour), Octet(c.Mois), octet, Octet(c.Heure), Octet(c.Minute), 0, 0, 1};
        for (Entier code : {0x0F, 0x11}) {
            Code_Requete = code;
            Recevoir_Lecture(enregistrement);
            Decodage_Reponse();
            ASSERT_EQ(Nb_Elements_Reponse, 1);
        }
        EXPECT_EQ(d.Dates_Enreg[0], date);
        EXPECT_EQ(d.Dates_Journal[0], date);
    }
}

TEST_F(Codeur, AllerRetourAleatoireDuBlocVoie) {
    std::mt19937 alea(20061225);
    auto entre = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(alea); };
    auto booleen = [&] { return entre(0, 1) ? Vrai : Faux; };
    for (int essai = 0; essai < 500; ++essai) {
        Parametres_Voie v;
        v.Periode_Enreg = static_cast<Octet>(entre(1, 240));
        v.Seuil_Haut = static_cast<Simple>(entre(-32768, 32767) / 10.0);
        v.Seuil_Bas = static_cast<Simple>(entre(-32768, 32767) / 10.0);
        v.Echelle_4mA = static_cast<Simple>(entre(-32768, 32767));
        v.Echelle_20mA = static_cast<Simple>(entre(-32768, 32767));
        v.Tempo_Alarme = static_cast<Octet>(entre(1, 240));
        v.Voie_Valide = booleen();
        v.Alarme_Valide = booleen();
        v.Role_ETOR_Inhib = booleen();
        v.Nature_Capteur = static_cast<Octet>(entre(0, 3));
        v.Contact_NF = booleen();
        v.Inhib_Alarme_ETOR = booleen();
        v.Inhib_Enreg_ETOR = booleen();
        v.Relais_2 = booleen();
        v.Num_ETOR_Inhib = static_cast<Octet>(entre(0, 31));
        v.Unite = static_cast<Octet>(entre(0, 7));
        v.Buzzer = booleen();
        v.Num_Planning_Inhib = static_cast<Octet>(entre(0, 31));
        Donnees_Reponse = v;
        const auto donnees = Envoyes(0x02);
        Donnees_Reponse = Parametres_Voie{};
        Recevoir_Lecture(donnees);
        Decodage_Reponse();
        ASSERT_EQ(Code_Erreur, 0);
        Meme_Voie(Donnees_Reponse, v);
        ASSERT_FALSE(HasFailure()) << "essai " << essai;
    }
}
