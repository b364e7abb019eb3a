// One exchange with its retries, as the bus misbehaves: every link error
// code, the number of sends, and what a failure leaves behind.
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>

#include "link/donnees.h"
#include "link/fonctions_es.h"
#include "outils_test.h"

namespace {

// A busy PC: when set, every write to this device is followed by a pause of
// the writer longer than the line's silence.
std::atomic<const char*> Port_Lent{nullptr};

bool Sur(int fd, const char* chemin) {
    char lien[256];
    const ssize_t n = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), lien, sizeof lien - 1);
    if (n <= 0) return false;
    lien[n] = '\0';
    return std::strcmp(lien, chemin) == 0;
}

}  // namespace

// Defined in the test program, so that the port's writes come here first.
extern "C" ssize_t write(int fd, const void* octets, size_t taille) {
    static const auto vrai = reinterpret_cast<ssize_t (*)(int, const void*, size_t)>(::dlsym(RTLD_NEXT, "write"));
    const ssize_t ecrits = vrai(fd, octets, taille);
    if (const char* chemin = Port_Lent.load(); chemin != nullptr && ecrits > 0 && Sur(fd, chemin))
        std::this_thread::sleep_for(std::chrono::milliseconds(80));
    return ecrits;
}

namespace ostrel::test {
namespace {

using sim::Defaut;

class Transaction_Bus : public Banc_Bus {
protected:
    double Delai_1500() const { return 1500 * Secondes_Par_Unite_Attente * Echelle_Delais(); }
};

TEST_F(Transaction_Bus, ModuleMuetSixEnvoisPuis15) {
    ostrel_test::Delais_Courts();
    bus.Programmer_Defauts(0x07, {}, Defaut{Defaut::Silence});
    Donnees_Reponse.Etat_Module = 77;
    const auto t0 = Horloge::now();
    Lecture_Etat_Module(1);
    const double duree = Secondes_Depuis(t0);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 6);
    EXPECT_GE(duree, 6 * Delai_1500());
    EXPECT_EQ(Temps_Attente, 1500);
    EXPECT_EQ(Donnees_Reponse.Etat_Module, 77);  // nothing decoded
    EXPECT_EQ(tableau.Lampe_Comm(), Couleur_Fond_Bandeau);
}

// However long the PC pauses amid its work, a request reaches the line whole:
// the module answers the first send.
TEST_F(Transaction_Bus, UnePauseDuPcNeCoupePasLaRequete) {
    ostrel_test::Delais_Courts();
    bus.Configurer({1}, 8);
    const QByteArray chemin = bus.Chemin().toLocal8Bit();
    Port_Lent = chemin.constData();
    Lecture_Etat_Module(1);
    Port_Lent = nullptr;
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(bus.Trames_Recues().size(), 1u);
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 1);
}

TEST_F(Transaction_Bus, ExceptionRepeteeSixFois) {
    bus.Programmer_Defauts(0x07, {}, Defaut{Defaut::Exception, 2});
    Lecture_Etat_Module(1);
    EXPECT_EQ(Code_Erreur, 2);
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 6);
}

TEST_F(Transaction_Bus, MauvaisCrcPuisBonneReponse) {
    bus.Configurer({1}, 8);
    bus.Programmer_Defauts(0x07, {Defaut{Defaut::Mauvais_Crc}});
    Lecture_Etat_Module(1);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x07), 2);
    EXPECT_EQ(Donnees_Reponse.Etat_Module, 4);
}

TEST_F(Transaction_Bus, ChaqueFauteDonneSonCode) {
    struct Cas {
        Defaut defaut;
        int code;       // request code the fault hits
        Octet attendu;  // Code_Erreur after the six attempts
    };
    const Cas cas[] = {
        {{Defaut::Mauvais_Crc}, 0x07, Erreur::Crc},
        {{Defaut::Autre_Esclave}, 0x07, Erreur::Esclave},
        {{Defaut::Autre_Fonction}, 0x07, Erreur::Fonction},
        {{Defaut::Autre_Fonction}, 0x16, Erreur::Fonction},
        {{Defaut::Autre_Fonction}, 0x12, Erreur::Fonction},
        {{Defaut::Mauvais_Echo}, 0x16, Erreur::Echo},
        {{Defaut::Mauvais_Echo}, 0x12, Erreur::Echo},
        {{Defaut::Courte}, 0x07, Erreur::Ligne},
        {{Defaut::Longue}, 0x07, Erreur::Ligne},
        {{Defaut::Collee}, 0x07, Erreur::Ligne},
        {{Defaut::Collee}, 0x16, Erreur::Ligne},
        {{Defaut::Exception, 7}, 0x16, 7},
        {{Defaut::Exception, 3}, 0x12, 3},
        {{Defaut::Exception, 0x42}, 0x07, 0x42},  // any other code is passed on as it is
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " defaut " << c.defaut.type);
        bus.Effacer_Defauts();
        bus.Effacer_Trames();
        bus.Programmer_Defauts(c.code, {}, c.defaut);
        // A reply that can only end by the time-out does so as well sooner;
        // every other one gets its full time to come.
        if (c.attendu == Erreur::Ligne) ostrel_test::Delais_Courts();
        else ostrel_test::Delais_Reels();
        Code_Erreur = 0;
        if (c.code == 0x07) Lecture_Etat_Module(1);
        if (c.code == 0x16) Commande_Mode_Fonctionnement(1, 0);
        if (c.code == 0x12) Ecriture_Nom_Voie(1, 1);
        EXPECT_EQ(Code_Erreur, c.attendu);
        EXPECT_EQ(bus.Nombre_Requetes(c.code), 6);
    }
}

TEST_F(Transaction_Bus, ReponsesScindeesOuTardivesAcceptees) {
    bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[1].voies[2].mesure = -125; });
    bus.Programmer_Defauts(0x00, {Defaut{Defaut::Scindee, 0, 15}, Defaut{Defaut::Tardive, 0, 40}});
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 3), -12.5f);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 3), -12.5f);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x00), 2);  // each within its time-out, no retry
}

TEST_F(Transaction_Bus, ReponseApresLeDelaiNeTrompePasLaSuite) {
    bus.Configurer({1}, 8);
    // Time-outs of 0.4 s and a first reply 0.6 s late: it lands during the
    // second attempt (or a later one on a busy machine); the replies to the
    // attempts before the one that took it are still in the line when the
    // next request starts, and are discarded.
    Definir_Echelle_Delais(0.2);
    bus.Programmer_Defauts(0x07, {Defaut{Defaut::Tardive, 0, 600}, Defaut{Defaut::Tardive, 0, 20}});
    Lecture_Etat_Module(1);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Donnees_Reponse.Etat_Module, 4);
    const int en_trop = bus.Nombre_Requetes(0x07) - 1;
    ASSERT_TRUE(Ecran_Communication().Ostrel.Attendre_Entree(Horloge::now() + std::chrono::seconds(30), 7 * en_trop));
    ostrel_test::Delais_Reels();
    bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[1].voies[0].mesure = 123; });
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 1), 12.3f);
    EXPECT_EQ(Code_Erreur, 0);
}

TEST_F(Transaction_Bus, PortFermeSansNouvelleTentative) {
    Ecran_Communication().Ostrel.PortOpen(false);
    Lecture_Etat_Module(1);
    EXPECT_EQ(Code_Erreur, Erreur::Port);
    EXPECT_TRUE(bus.Trames_Recues().empty());
}

TEST_F(Transaction_Bus, RienNePartTantQuUneErreurEstEnAttente) {
    Code_Erreur = Erreur::Esclave;
    Lecture_Etat_Module(1);
    Acquittement_Alarme(1, 2, 1);
    Purge_Enregistrements(1);
    Ecriture_Nom_Module(1);
    Lecture_Masque_Reseau(1);  // does not clear an error that is not its own
    Ecriture_Masque_Reseau(1);
    Tab_Journal.resize(5);
    Octet filtre = 0;
    Telechargement_Journal_Complet(1, filtre);
    Nb_Elements_Telecharges = 0;
    Telechargement_Tous_Enregistrements(1, 1);
    EXPECT_EQ(Code_Erreur, Erreur::Esclave);
    EXPECT_EQ(Lecture_Mesure_Voie(1, 1), 0.0f);
    EXPECT_TRUE(bus.Trames_Recues().empty());
    EXPECT_EQ(Nb_Elements_Telecharges, 0);
    EXPECT_FALSE(Trace().contains(QStringLiteral("Acquittement")));
    EXPECT_FALSE(Trace().contains(QStringLiteral("Purge")));
}

TEST_F(Transaction_Bus, LectureEchoueeGardeLesValeurs) {
    bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[1].voies[0].mesure = 215; });
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 1), 21.5f);
    ostrel_test::Delais_Courts();
    bus.Programmer_Defauts(0x00, {}, Defaut{Defaut::Silence});
    EXPECT_EQ(Lecture_Mesure_Voie(1, 1), 0.0f);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_FLOAT_EQ(Donnees_Reponse.Mesure, 21.5f);
    bus.Effacer_Defauts();
    ostrel_test::Delais_Reels();
    Code_Erreur = 0;
    bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[1].voies[0].mesure = -32767; });
    EXPECT_FLOAT_EQ(Lecture_Mesure_Voie(1, 1), -3276.7f);
}

TEST_F(Transaction_Bus, MasqueReseauSansReponseIgnore) {
    ostrel_test::Delais_Courts();
    bus.Programmer_Defauts(0x20, {}, Defaut{Defaut::Silence});
    Masque_Sous_Reseau = {255, 255, 255, 0};
    const auto t0 = Horloge::now();
    Lecture_Masque_Reseau(1);
    const double duree = Secondes_Depuis(t0);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Masque_Sous_Reseau, (std::array<Octet, 4>{255, 255, 255, 0}));
    EXPECT_EQ(bus.Nombre_Requetes(0x20), 6);
    // Six short time-outs of 500, not of 1500.
    EXPECT_EQ(Temps_Attente, 500);
    EXPECT_GE(duree, 6 * 500 * Secondes_Par_Unite_Attente * Echelle_Delais());
    Ecriture_Masque_Reseau(1);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(bus.Nombre_Requetes(0x20), 12);
}

TEST_F(Transaction_Bus, PurgeDuJournalAttenteLonguePuisCourte) {
    Definir_Echelle_Delais(0.001);  // 32000 units: 42 ms
    bus.Programmer_Defauts(0x0C, {}, Defaut{Defaut::Silence});
    const auto t0 = Horloge::now();
    Purge_Journal_Alarmes(2);  // nobody at address 2 either way
    const double duree = Secondes_Depuis(t0);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Temps_Attente, 5000);
    EXPECT_GE(duree, 6 * 32000 * Secondes_Par_Unite_Attente * Echelle_Delais());
    EXPECT_TRUE(Trace().contains(QStringLiteral("Purge du journal des alarmes du module 2")));
}

}  // namespace
}  // namespace ostrel::test
