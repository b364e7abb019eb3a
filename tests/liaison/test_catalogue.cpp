// Every request of the catalogue against the simulated bus: the frame that
// reaches the module, the time-out, the arguments written back, and what is
// decoded from the reply or stored by the module.
#include <functional>

#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "outils_test.h"
#include "platform/dates.h"

namespace ostrel::test {
namespace {

class Catalogue : public Banc_Bus {
protected:
    void SetUp() override {
        Banc_Bus::SetUp();
        bus.Configurer({1, 2, 7}, 16);
    }
    // Runs one request that must succeed in one frame; checks the frame and
    // the time-out left in Temps_Attente.
    void Verifier(const std::function<void()>& appel, std::initializer_list<int> trame, Long attente) {
        Verifier(appel, Octets(trame), attente);
    }
    void Verifier(const std::function<void()>& appel, const QByteArray& trame, Long attente) {
        bus.Effacer_Trames();
        Code_Erreur = 0;
        appel();
        EXPECT_EQ(Code_Erreur, 0);
        const auto trames = bus.Trames_Recues();
        ASSERT_EQ(trames.size(), 1u);
        EXPECT_EQ(trames.back().octets, sim::Avec_Crc(trame));
        EXPECT_EQ(Temps_Attente, attente);
    }
    static QByteArray Texte(const char* t, int n) {
        QByteArray b(t);
        while (b.size() < n) b.append(' ');
        return b;
    }
    void Module(int adresse, const std::function<void(sim::Module_Simule&)>& f) {
        bus.Avec_Etat([&](sim::Etat_Bus& e) { f(e.modules[adresse]); });
    }
};

TEST_F(Catalogue, LecturesDesVoies) {
    Module(2, [](sim::Module_Simule& m) {
        m.voies[4].mesure = -32766;
        m.voies[4].etat = 4;
        m.voies[4].correction = -1;
        m.voies[4].nom = "Chambre fro\xE9";
        m.voies[4].reglages = {0, 15, 0x05, 0xDC, 0xFE, 0x0C, 0xFF, 0x9C, 0x00, 0x64, 0, 20, 0x0B, 0x0B, 0x01, 0x0B};
    });
    Simple mesure = 0;
    Verifier([&] { mesure = Lecture_Mesure_Voie(2, 5); }, {2, 3, 0, 0x00, 0, 5}, 1500);
    EXPECT_FLOAT_EQ(mesure, -3276.6f);
    Verifier([] { Lecture_Etat_Voie(2, 5); }, {2, 3, 0, 0x01, 0, 5}, 1500);
    EXPECT_EQ(Donnees_Reponse.Etat_Voie, 4);
    Verifier([] { Lecture_Correction_Voie(2, 5); }, {2, 3, 0, 0x03, 0, 5}, 1500);
    EXPECT_FLOAT_EQ(Donnees_Reponse.Offset, -0.1f);
    Verifier([] { Lecture_Nom_Voie(2, 5); }, {2, 3, 0, 0x12, 0, 5}, 1500);
    EXPECT_EQ(Donnees_Reponse.Nom_Voie, QString::fromUtf8("Chambre froé"));
    Verifier([] { Lecture_Parametres_Voie(2, 5); }, {2, 3, 0, 0x02, 0, 5}, 1500);
    const Parametres_Voie& r = Donnees_Reponse;
    EXPECT_EQ(r.Periode_Enreg, 15);
    EXPECT_FLOAT_EQ(r.Seuil_Haut, 150.0f);
    EXPECT_FLOAT_EQ(r.Seuil_Bas, -50.0f);
    EXPECT_FLOAT_EQ(r.Echelle_4mA, -100.0f);
    EXPECT_FLOAT_EQ(r.Echelle_20mA, 100.0f);
    EXPECT_EQ(r.Tempo_Alarme, 20);
    EXPECT_EQ(r.Relais_2, Vrai);
    EXPECT_EQ(r.Num_ETOR_Inhib, 5);
    EXPECT_EQ(r.Voie_Valide, Vrai);
    EXPECT_EQ(r.Alarme_Valide, Vrai);
    EXPECT_EQ(r.Nature_Capteur, 1);
    EXPECT_EQ(r.Unite, 3);
    EXPECT_EQ(r.Buzzer, Vrai);
    EXPECT_EQ(r.Num_Planning_Inhib, 16);
}

TEST_F(Catalogue, EcrituresDesVoiesRelues) {
    Parametres_Voie& d = Donnees_Reponse;
    d.Periode_Enreg = 10;
    d.Seuil_Haut = 8.0f;
    d.Seuil_Bas = -25.5f;
    d.Echelle_4mA = 0;
    d.Echelle_20mA = 100;
    d.Tempo_Alarme = 5;
    d.Voie_Valide = Vrai;
    d.Alarme_Valide = Vrai;
    d.Nature_Capteur = 2;
    d.Contact_NF = Vrai;
    d.Unite = 2;
    d.Buzzer = Faux;
    d.Num_Planning_Inhib = 3;
    Verifier([] { Ecriture_Parametres_Voie(7, 16); },
             {7, 16, 0, 0x02, 0, 16, 16, 0, 10, 0x00, 0x50, 0xFF, 0x01, 0, 0, 0, 0x64, 0, 5, 0x00, 0x33, 0x00, 0x32},
             1500);
    d.Offset = 1.5f;
    Verifier([] { Ecriture_Correction_Voie(7, 16); }, {7, 16, 0, 0x03, 0, 16, 2, 0, 15}, 1500);
    d.Nom_Voie = QStringLiteral("Entrée");
    Verifier([] { Ecriture_Nom_Voie(7, 16); },
             {7, 16, 0, 0x12, 0, 16, 12, 'E', 'n', 't', 'r', 0xE9, 'e', ' ', ' ', ' ', ' ', ' ', ' '}, 1500);

    Reinitialiser_Donnees();
    Lecture_Parametres_Voie(7, 16);
    Lecture_Correction_Voie(7, 16);
    Lecture_Nom_Voie(7, 16);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(d.Periode_Enreg, 10);
    EXPECT_FLOAT_EQ(d.Seuil_Bas, -25.5f);
    EXPECT_EQ(d.Nature_Capteur, 2);
    EXPECT_EQ(d.Contact_NF, Vrai);
    EXPECT_EQ(d.Num_Planning_Inhib, 3);
    EXPECT_FLOAT_EQ(d.Offset, 1.5f);
    EXPECT_EQ(d.Nom_Voie, QStringLiteral("Entrée      "));
}

TEST_F(Catalogue, ReglagesDuModule) {
    Module(1, [](sim::Module_Simule& m) {
        m.nb_voies = 8;
        m.logique_stor = {1, 3};
        m.entete = Texte("Chambres froides", 64);
        m.plannings[15][0] = 7;
        m.plannings[15][1] = 45;
        m.horloge = {30, 14, 3, 25, 12, 6};
        for (int i = 0; i < 20; ++i) m.voies[0].enregistrements.push_back({});
        for (int i = 0; i < 3; ++i) m.voies[5].enregistrements.push_back({});
        m.journal.resize(70000);
    });
    Verifier([] { Lecture_Logique_STOR(1, 2); }, {1, 3, 0, 0x04, 0, 2}, 1500);
    EXPECT_EQ(Donnees_Reponse.Config_STOR, 3);
    Verifier([] { Lecture_Nom_Module(1); }, {1, 3, 0, 0x05, 0, 64}, 1500);
    EXPECT_EQ(Donnees_Reponse.Entete_Module, QStringLiteral("Chambres froides"));
    Verifier([] { Lecture_Planning(1, 16); }, {1, 3, 0, 0x06, 0, 16}, 1500);
    EXPECT_DOUBLE_EQ(Donnees_Reponse.Plages_Planning[0], TimeSerial(7, 45, 0));
    Verifier([] { Lecture_Etat_Module(1); }, {1, 3, 0, 0x07, 0, 255}, 1500);
    EXPECT_EQ(Donnees_Reponse.Etat_Module & 4, 4);
    Verifier([] { Lecture_Date_Heure_Module(1); }, {1, 3, 0, 0x09, 0, 255}, 1500);
    EXPECT_DOUBLE_EQ(Donnees_Reponse.Date_Heure_Module, DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0));
    Verifier([] { Lecture_Nombre_Enregistrements(1); }, {1, 3, 0, 0x13, 0, 255}, 1500);
    EXPECT_EQ(Donnees_Reponse.Nb_Enregistrements, 23);
    Verifier([] { Lecture_Nombre_Evenements(1); }, {1, 3, 0, 0x14, 0, 255}, 1500);
    EXPECT_EQ(Donnees_Reponse.Nb_Evenements, 70000);

    Donnees_Reponse.Config_STOR = 2;
    Verifier([] { Ecriture_Logique_STOR(1, 1); }, {1, 16, 0, 0x04, 0, 1, 2, 0, 2}, 1500);
    Donnees_Reponse.Entete_Module = QStringLiteral("Site B");
    Verifier([] { Ecriture_Nom_Module(1); }, Octets({1, 16, 0, 0x05, 0, 64, 64}) + Texte("Site B", 64), 1500);
    Donnees_Reponse.Plages_Planning.fill(0);
    Donnees_Reponse.Plages_Planning[1] = TimeSerial(18, 5, 0);
    Verifier([] { Ecriture_Planning(1, 3); },
             Octets({1, 16, 0, 0x06, 0, 3, 32, 0, 0, 18, 5}) + QByteArray(28, '\0'), 1500);
    Donnees_Reponse.Date_Heure_Module = DateSerial(2006, 12, 25) + TimeSerial(14, 30, 0);  // a Monday
    Verifier([] { Ecriture_Date_Heure_Module(1); }, {1, 16, 0, 0x09, 0, 255, 6, 30, 14, 2, 25, 12, 6}, 1500);
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        const auto& m = e.modules[1];
        EXPECT_EQ(m.logique_stor[0], 2);
        EXPECT_EQ(m.entete.left(7), QByteArray("Site B "));
        EXPECT_EQ(m.plannings[2][2], 18);
        EXPECT_EQ(m.horloge[2], 2);
    });
}

TEST_F(Catalogue, CodesAccesEtArgumentsRemplaces) {
    Module(1, [](sim::Module_Simule& m) {
        m.codes_acces[0] = 42;
        m.operateurs[0] = "Dupont      ";
    });
    Octet module = 33, index = 5;
    Verifier([&] { Lecture_Code_Acces(module, index); }, {1, 3, 0, 0x15, 0, 1}, 1500);
    EXPECT_EQ(module, 1);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(Code_Acces, 42);
    EXPECT_EQ(Nom_Operateur, QStringLiteral("Dupont      "));
    module = 0;
    index = 0;
    Verifier([&] { Lecture_Code_Acces(module, index); }, {1, 3, 0, 0x15, 0, 1}, 1500);
    EXPECT_EQ(module, 1);
    EXPECT_EQ(index, 1);
    Verifier([] { Lecture_Code_Acces(7, 4); }, {7, 3, 0, 0x15, 0, 4}, 1500);

    Code_Acces = 1234;
    Nom_Operateur = QStringLiteral("Durand");
    module = 2;
    index = 9;
    Verifier([&] { Ecriture_Code_Acces(module, index); },
             {2, 16, 0, 0x15, 0, 1, 14, 0x04, 0xD2, 'D', 'u', 'r', 'a', 'n', 'd', 32, 32, 32, 32, 32, 32}, 1500);
    EXPECT_EQ(index, 1);
    Module(2, [](sim::Module_Simule& m) { EXPECT_EQ(m.codes_acces[0], 1234); });
}

TEST_F(Catalogue, CommandesEtTraces) {
    Module(1, [](sim::Module_Simule& m) { m.voies[6].etat = 2; });
    Verifier([] { Acquittement_Alarme(1, 7, 2); }, {1, 6, 0, 0x0A, 2, 7}, 1500);
    EXPECT_TRUE(Trace().trimmed().endsWith(QStringLiteral("Acquittement module 1 voie 7 code 2")));
    Verifier([] { Purge_Enregistrements(7); }, {7, 6, 0, 0x0B, 0, 255}, 65535);
    EXPECT_TRUE(Trace().trimmed().endsWith(QStringLiteral("Purge enregistrements module 7")));
    Verifier([] { Purge_Journal_Alarmes(2); }, {2, 6, 0, 0x0C, 0, 255}, 5000);
    EXPECT_TRUE(Trace().trimmed().endsWith(QStringLiteral("Purge du journal des alarmes du module 2")));
    Verifier([] { Commande_Mode_Fonctionnement(1, 0); }, {1, 6, 0, 0x16, 0, 0}, 7500);
    Verifier([] { Commande_Mode_Fonctionnement(1, 255); }, {1, 6, 0, 0x16, 0, 255}, 7500);
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        EXPECT_EQ(e.modules[1].acquittements, std::vector<Entier>{519});
        EXPECT_EQ(e.modules[1].voies[6].etat, 1);
        EXPECT_EQ(e.modules[1].modes_recus, (std::vector<Entier>{0, 255}));
        EXPECT_EQ(e.modules[7].purges_enregistrements, 1);
        EXPECT_EQ(e.modules[2].purges_journal, 1);
    });
    // Only the two purges and the acknowledgement leave a line.
    EXPECT_EQ(Trace().count(QStringLiteral("\r\n")), 3);
}

TEST_F(Catalogue, FenetreDeDates) {
    Donnees_Reponse.Date_Debut = DateSerial(2024, 3, 1) + TimeSerial(10, 0, 0);
    Donnees_Reponse.Date_Fin = DateSerial(1999, 12, 31);
    Verifier([] { Ecriture_Periode_Lecture(2); }, {2, 16, 0, 0x0D, 0, 255, 6, 1, 3, 24, 31, 12, 255}, 1500);
}

TEST_F(Catalogue, ModulesEnServiceToujoursALAdresse1) {
    Tab_Fonctionnement_OC.fill(Hors_Service);
    Num_Module = 7;
    Verifier([] { Lecture_Modules_En_Service(); }, {1, 3, 0, 0x1B, 0, 1}, 1500);
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(Tab_Fonctionnement_OC[static_cast<size_t>(i)], i == 0 || i == 1 || i == 6 ? En_Service : Hors_Service)
            << i;
}

TEST_F(Catalogue, PasserelleAllerRetour) {
    Octet adresse = 3, index = 0;
    Adresse_Email_Envoi = QStringLiteral("a@b.fr");
    Verifier([&] { Ecriture_Adresse_Email(adresse, index); }, {1, 16, 0, 0x17, 0, 1, 6, 'a', '@', 'b', '.', 'f', 'r'},
             1500);
    EXPECT_EQ(adresse, 1);
    EXPECT_EQ(index, 1);
    Adresse_Email_Envoi.clear();
    adresse = 5;
    Verifier([&] { Lecture_Adresse_Email(adresse, 1); }, {1, 3, 0, 0x17, 0, 1}, 1500);
    EXPECT_EQ(adresse, 1);
    EXPECT_EQ(Adresse_Email_Envoi, QStringLiteral("a@b.fr"));

    Nom_Fichier_Envoi.clear();
    Verifier([] { Ecriture_Nom_Fichier_Email(1, 32); }, {1, 16, 0, 0x18, 0, 32, 0}, 1500);
    Nom_Fichier_Envoi = QStringLiteral("x.txt");
    Verifier([] { Ecriture_Nom_Fichier_Email(1, 3); }, {1, 16, 0, 0x18, 0, 3, 5, 'x', '.', 't', 'x', 't'}, 1500);
    Nom_Fichier_Envoi.clear();
    Verifier([] { Lecture_Nom_Fichier_Email(1, 3); }, {1, 3, 0, 0x18, 0, 3}, 1500);
    EXPECT_EQ(Nom_Fichier_Envoi, QStringLiteral("x.txt"));

    Type_Acces_Reseau = 2;
    Frequence_Envoi_Email = 3;
    Adresse_IP_Carte = {192, 168, 1, 20};
    Logique_Relais_Carte_1 = 1;
    Logique_Relais_Carte_2 = 3;
    Adresse_IP_Passerelle = {192, 168, 1, 1};
    Verifier([] { Ecriture_Parametres_Peripheriques(1); },
             {1, 16, 0, 0x19, 0, 1, 12, 2, 3, 192, 168, 1, 20, 1, 3, 192, 168, 1, 1}, 1500);
    Adresse_IP_Carte = {};
    Verifier([] { Lecture_Parametres_Peripheriques(1); }, {1, 3, 0, 0x19, 0, 1}, 1500);
    EXPECT_EQ(Adresse_IP_Carte, (std::array<Octet, 4>{192, 168, 1, 20}));
    EXPECT_EQ(Logique_Relais_Carte_2, 3);

    Adresse_IP_Serveur = {10, 0, 0, 1};
    Num_Telephone = QStringLiteral("01W23");
    Longueur_Num_Telephone = 5;
    Login_FAI = QStringLiteral("abc");
    Password_FAI = QStringLiteral("xy");
    Verifier([] { Ecriture_Parametres_Messagerie(1); },
             {1, 16, 0, 0x1A, 0, 1, 17, 10, 0, 0, 1, 5, '0', '1', 'W', '2', '3', 3, 'a', 'b', 'c', 2, 'x', 'y'}, 1500);
    Num_Telephone.clear();
    Login_FAI.clear();
    Password_FAI.clear();
    Verifier([] { Lecture_Parametres_Messagerie(1); }, {1, 3, 0, 0x1A, 0, 1}, 1500);
    EXPECT_EQ(Num_Telephone, QStringLiteral("01W23"));
    EXPECT_EQ(Login_FAI, QStringLiteral("abc"));
    EXPECT_EQ(Password_FAI, QStringLiteral("xy"));

    Login_Password_Carte = QStringLiteral("admin");
    Verifier([] { Ecriture_Identifiant_Passerelle(1, 0); }, {1, 16, 0, 0x1C, 0, 0, 5, 'a', 'd', 'm', 'i', 'n'}, 1500);
    Login_Password_Carte = QStringLiteral("secret");
    Verifier([] { Ecriture_Identifiant_Passerelle(1, 255); },
             {1, 16, 0, 0x1C, 0, 255, 6, 's', 'e', 'c', 'r', 'e', 't'}, 1500);
    Verifier([] { Lecture_Identifiant_Passerelle(1, 0); }, {1, 3, 0, 0x1C, 0, 0}, 1500);
    EXPECT_EQ(Login_Password_Carte, QStringLiteral("admin"));

    Adresse_SMTP = QStringLiteral("smtp.fr");
    Adresse_Email_Emetteur = QStringLiteral("o@p");
    Verifier([] { Ecriture_Parametres_SMTP(1); },
             {1, 16, 0, 0x1D, 0, 1, 12, 7, 's', 'm', 't', 'p', '.', 'f', 'r', 3, 'o', '@', 'p'}, 1500);
    Adresse_SMTP.clear();
    Verifier([] { Lecture_Parametres_SMTP(1); }, {1, 3, 0, 0x1D, 0, 1}, 1500);
    EXPECT_EQ(Adresse_SMTP, QStringLiteral("smtp.fr"));
    EXPECT_EQ(Adresse_Email_Emetteur, QStringLiteral("o@p"));

    Masque_Sous_Reseau = {255, 255, 0, 0};
    Verifier([] { Ecriture_Masque_Reseau(1); }, {1, 16, 0, 0x20, 0, 1, 4, 255, 255, 0, 0}, 500);
    Masque_Sous_Reseau = {255, 255, 255, 0};
    Verifier([] { Lecture_Masque_Reseau(1); }, {1, 3, 0, 0x20, 0, 1}, 500);
    EXPECT_EQ(Masque_Sous_Reseau, (std::array<Octet, 4>{255, 255, 0, 0}));
}

TEST_F(Catalogue, TexteTropLongCoupeAuBlocEtBlocStructureRefuse) {
    // A text longer than its block goes out cut to what the block carries,
    // and reads back so.
    Adresse_Email_Envoi = QString(65, QLatin1Char('a'));
    Ecriture_Adresse_Email(1, 1);
    EXPECT_EQ(Code_Erreur, 0);
    Adresse_Email_Envoi.clear();
    Lecture_Adresse_Email(1, 1);
    EXPECT_EQ(Adresse_Email_Envoi, QString(64, QLatin1Char('a')));

    Login_Password_Carte = QString(22, QLatin1Char('b'));
    Ecriture_Identifiant_Passerelle(1, 0);
    EXPECT_EQ(Code_Erreur, 0);
    Login_Password_Carte.clear();
    Lecture_Identifiant_Passerelle(1, 0);
    EXPECT_EQ(Login_Password_Carte, QString(21, QLatin1Char('b')));

    // A structured block that cannot hold its values is refused whole.
    const auto avant = bus.Trames_Recues().size();
    Login_FAI = QString(80, QLatin1Char('c'));
    Ecriture_Parametres_Messagerie(1);
    EXPECT_NE(Code_Erreur, 0);
    EXPECT_EQ(bus.Trames_Recues().size(), avant);
}

}  // namespace
}  // namespace ostrel::test

namespace ostrel::test {
namespace {

// The demonstration bus that the run script starts: what a first look at
// each module finds.
TEST_F(Banc_Bus, BusDeDemonstration) {
    bus.Etat_Demonstration();
    Tab_Fonctionnement_OC.fill(Hors_Service);
    Lecture_Modules_En_Service();
    EXPECT_EQ(Tab_Fonctionnement_OC[2], En_Service);
    Lecture_Etat_Module(1);
    EXPECT_EQ(Donnees_Reponse.Etat_Module & 4, 4);  // 8 channels
    Lecture_Etat_Module(3);
    EXPECT_EQ(Donnees_Reponse.Etat_Module & 4, 0);  // 16 channels
    Lecture_Nom_Module(1);
    EXPECT_TRUE(Donnees_Reponse.Entete_Module.startsWith(QStringLiteral("Chambres froides site 1")));
    EXPECT_TRUE(Donnees_Reponse.Entete_Module.endsWith(QStringLiteral("Batiment A")));
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 8), -3276.6f);  // the contact input, open
    Lecture_Parametres_Voie(1, 8);
    EXPECT_EQ(Donnees_Reponse.Nature_Capteur, 2);
    Lecture_Etat_Voie(1, 2);
    EXPECT_EQ(Donnees_Reponse.Etat_Voie, 2);  // high alarm not acknowledged
    Lecture_Nom_Voie(2, 3);
    EXPECT_EQ(Donnees_Reponse.Nom_Voie, QStringLiteral("Congelateur "));
    Lecture_Nombre_Evenements(2);
    EXPECT_EQ(Donnees_Reponse.Nb_Evenements, 12);
    Lecture_Nombre_Enregistrements(3);
    EXPECT_EQ(Donnees_Reponse.Nb_Enregistrements, 16 * 48);
    EXPECT_EQ(Code_Erreur, 0);
}

}  // namespace
}  // namespace ostrel::test
