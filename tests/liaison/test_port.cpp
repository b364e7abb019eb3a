// The serial control and the send and receive steps of the link, against a
// pseudo-terminal whose far end the test plays.
#include <time.h>

#include "outils_test.h"

namespace ostrel::test {
namespace {

double Cpu_Fil() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

TEST(Port_Serie, ReglagesNumeroEtOuverture) {
    Pair_Pty pair;
    qputenv("OSTREL_COM7", pair.Chemin());
    Port_Serie port;
    EXPECT_FALSE(port.Settings(QStringLiteral("9600,x,8,1")));
    EXPECT_FALSE(port.Settings(QStringLiteral("1234,n,8,1")));
    EXPECT_TRUE(port.Settings(QStringLiteral("9600, n, 8, 1")));
    EXPECT_FALSE(port.CommPort(0));
    ASSERT_TRUE(port.CommPort(7));
    EXPECT_FALSE(port.PortOpen(false));  // closing a closed port is refused
    ASSERT_TRUE(port.PortOpen(true));
    EXPECT_FALSE(port.PortOpen(true));
    EXPECT_FALSE(port.CommPort(3));  // no change of port while it is open
    EXPECT_EQ(port.CommPort(), 7);
    // A pseudo-terminal has no modem lines: RTS is skipped without error.
    EXPECT_TRUE(port.RTSEnable(true));
    EXPECT_TRUE(port.RTSEnable(false));
    // One program at a time on a port.
    Port_Serie autre;
    ASSERT_TRUE(autre.CommPort(7));
    EXPECT_FALSE(autre.PortOpen(true));
    EXPECT_TRUE(port.PortOpen(false));
    EXPECT_TRUE(autre.PortOpen(true));

    Port_Serie absent;
    qputenv("OSTREL_COM9", "/nonexistent/tty");
    ASSERT_TRUE(absent.CommPort(9));
    EXPECT_FALSE(absent.PortOpen(true));
    EXPECT_FALSE(absent.Output(Octet{1}));
    EXPECT_EQ(absent.InBufferCount(), 0);
}

TEST(Port_Serie, OctetsInchangesDansLesDeuxSens) {
    Pair_Pty pair;
    qputenv("OSTREL_COM2", pair.Chemin());
    Port_Serie port;
    ASSERT_TRUE(port.CommPort(2));
    ASSERT_TRUE(port.PortOpen(true));
    port.InputLen(132);
    QByteArray tous;
    for (int i = 0; i < 256; ++i) tous.append(static_cast<char>(i));
    ASSERT_TRUE(port.Output(tous));
    EXPECT_EQ(pair.Lire(tous.size()), tous);  // no CR/LF or flow-control byte translated

    pair.Ecrire(tous);
    QByteArray recus;
    while (recus.size() < 256 && port.Attendre_Entree(Horloge::now() + std::chrono::seconds(30))) {
        const QByteArray lus = port.Input();
        EXPECT_LE(lus.size(), 132);  // InputLen caps each read
        recus += lus;
    }
    EXPECT_EQ(recus, tous);

    pair.Ecrire("abc");
    ASSERT_TRUE(port.Attendre_Entree(Horloge::now() + std::chrono::seconds(30), 3));
    port.Vider_Entree();
    EXPECT_EQ(port.InBufferCount(), 0);
}

TEST(Port_Serie, AttenteQuiDortJusquALEcheance) {
    Pair_Pty pair;
    qputenv("OSTREL_COM3", pair.Chemin());
    Port_Serie port;
    ASSERT_TRUE(port.CommPort(3));
    ASSERT_TRUE(port.PortOpen(true));
    const double cpu = Cpu_Fil();
    const auto t0 = Horloge::now();
    EXPECT_FALSE(port.Attendre_Entree(t0 + std::chrono::milliseconds(150)));
    EXPECT_GE(Secondes_Depuis(t0), 0.150);
    EXPECT_LT(Cpu_Fil() - cpu, 0.010);  // slept, did not spin

    std::thread emetteur([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        pair.Ecrire("x");
    });
    const auto t1 = Horloge::now();
    EXPECT_TRUE(port.Attendre_Entree(t1 + std::chrono::seconds(60)));
    EXPECT_LT(Secondes_Depuis(t1), 30);  // woken by the byte, not by the deadline
    emetteur.join();
}

class Ecran_Comm : public Base_Liaison {
protected:
    void SetUp() override {
        Base_Liaison::SetUp();
        Ouvrir(pair.Chemin());
    }
    Pair_Pty pair;
};

TEST_F(Ecran_Comm, OuvertureLampeEtEchecs) {
    EXPECT_EQ(tableau.Lampe_Comm(), Couleur_Face_Bouton);
    EXPECT_EQ(Ecran_Communication().Ostrel.InputLen(), 132);
    Ecran_Communication().fermeture_port();
    EXPECT_FALSE(Ecran_Communication().Ostrel.PortOpen());
    EXPECT_FALSE(Trace().contains(QStringLiteral("indisponible")));

    // Closing a port that is not open fails at nothing: no trace line.
    Ecran_Communication().fermeture_port();
    EXPECT_FALSE(Trace().contains(QStringLiteral("indisponible")));
    EXPECT_EQ(Code_Erreur, 0);

    qputenv("OSTREL_COM4", "/nonexistent/tty");
    Ecran_Communication().Ostrel.InputLen(0);
    Ecran_Communication().ouverture_port(4);
    EXPECT_EQ(Code_Erreur, Erreur::Port);
    EXPECT_EQ(Ecran_Communication().Ostrel.InputLen(), 132);

    // Every send on a port that did not open fails at its first byte.
    Code_Erreur = 0;
    Nb_Octets_A_Envoyer = 8;
    Ecran_Communication().Envoi_Trame();
    EXPECT_EQ(Code_Erreur, Erreur::Port);
    EXPECT_EQ(tableau.Lampe_Comm(), Couleur_Fond_Bandeau);
}

TEST_F(Ecran_Comm, EnvoiDesOctetsEtVidageDeLEntree) {
    pair.Ecrire("vieux octets");
    ASSERT_TRUE(Ecran_Communication().Ostrel.Attendre_Entree(Horloge::now() + std::chrono::seconds(30), 12));
    const QByteArray trame = Octets({1, 3, 0, 7, 0, 255, 0x35, 0xCB});
    for (int i = 0; i < 8; ++i) Trame_Emise[static_cast<size_t>(i)] = static_cast<Octet>(trame[i]);
    Trame_Emise[8] = 0xEE;  // beyond the count: never sent
    Nb_Octets_A_Envoyer = 8;
    Ecran_Communication().Envoi_Trame();
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(tableau.Lampe_Comm(), Couleur_Fenetre);  // the send colour stays until the receive
    EXPECT_FALSE(Ecran_Communication().Ostrel.RTSEnable());
    EXPECT_EQ(pair.Lire(trame.size()), trame);

    // What waited before the send is gone: only the reply is seen.
    const QByteArray reponse = sim::Avec_Crc(Octets({1, 3, 2, 0, 4}));
    pair.Ecrire(reponse);
    Temps_Attente = 1500;
    Ecran_Communication().Recoit_Trame();
    ASSERT_EQ(Code_Erreur, 0);
    ASSERT_EQ(Nb_Octets_Recus, 7);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(Trame_Recue.data()), 7), reponse);
    EXPECT_EQ(tableau.Lampe_Comm(), Couleur_Fond_Bandeau);
}

// Receives with the bytes already waiting; returns the seconds it took.
double Recevoir(Pair_Pty& pair, const QByteArray& octets, Long attente = 1500) {
    if (!octets.isEmpty()) {
        pair.Ecrire(octets);
        const int tous = static_cast<int>(std::min<qsizetype>(octets.size(), 255));
        EXPECT_TRUE(Ecran_Communication().Ostrel.Attendre_Entree(Horloge::now() + std::chrono::seconds(30), tous));
    }
    Temps_Attente = attente;
    Code_Erreur = 0;
    const auto t0 = Horloge::now();
    Ecran_Communication().Recoit_Trame();
    return Secondes_Depuis(t0);
}

TEST_F(Ecran_Comm, LongueurAttendueSelonLaFonction) {
    // Replies framed by their function byte come back long before the deadline.
    const double echeance = 1500 * Secondes_Par_Unite_Attente;
    for (const QByteArray& r : {Octets({1, 6, 0, 0x16, 0, 255, 9, 9}), Octets({1, 0x10, 0, 2, 0, 3, 9, 9}),
                                Octets({1, 0x83, 2, 9, 9}), Octets({1, 0x90, 3, 9, 9}), Octets({1, 0x86, 4, 9, 9}),
                                Octets({1, 3, 1, 7, 9, 9})}) {
        EXPECT_LT(Recevoir(pair, r), echeance / 2);
        EXPECT_EQ(Code_Erreur, 0);
        EXPECT_EQ(Nb_Octets_Recus, r.size());
    }
    const auto avant = Trame_Recue;

    // No reply; a partial one; two glued replies; an unknown function: the
    // deadline, then 15, and the last reply taken stays.
    ostrel_test::Delais_Courts();
    const double courte = 1500 * Secondes_Par_Unite_Attente * Echelle_Delais();
    for (const QByteArray& r : {QByteArray(), Octets({1, 3, 4, 0}), Octets({1, 6, 0, 1, 0, 1, 9, 9, 1, 6, 0, 1}),
                                Octets({1, 0x81, 1, 9, 9})}) {
        const double duree = Recevoir(pair, r);
        EXPECT_EQ(Code_Erreur, Erreur::Ligne);
        EXPECT_GE(duree, courte);
        EXPECT_LT(duree, echeance);  // at the time-out's scale
        EXPECT_EQ(Nb_Octets_Recus, 0);
        EXPECT_EQ(Trame_Recue, avant);
    }
    ostrel_test::Delais_Reels();

    // A byte count of 127 makes 132 bytes: refused as soon as they are in.
    QByteArray longue = Octets({1, 3, 127});
    longue.append(QByteArray(129, 'x'));
    EXPECT_LT(Recevoir(pair, longue), echeance / 2);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_EQ(Trame_Recue, avant);
    // 126 data bytes make 131: taken.
    QByteArray plus_longue_admise = Octets({1, 3, 126});
    plus_longue_admise.append(QByteArray(128, 'y'));
    Recevoir(pair, plus_longue_admise);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Octets_Recus, 131);

    // An unknown function byte is taken when exactly 100 bytes come.
    QByteArray cent = Octets({1, 0x81});
    cent.append(QByteArray(98, 'z'));
    Recevoir(pair, cent);
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Octets_Recus, 100);

    // A flood of bytes never overruns the receive buffer.
    ostrel_test::Delais_Courts();
    Recevoir(pair, QByteArray(2000, '\x03'));
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
}

TEST_F(Ecran_Comm, ReponseEnPlusieursMorceaux) {
    const QByteArray reponse = sim::Avec_Crc(Octets({1, 3, 4, 1, 2, 3, 4}));
    std::thread module([&] {
        for (char c : reponse) {
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
            pair.Ecrire(QByteArray(1, c));
        }
    });
    Temps_Attente = 1500;
    Ecran_Communication().Recoit_Trame();
    module.join();
    EXPECT_EQ(Code_Erreur, 0);
    EXPECT_EQ(Nb_Octets_Recus, 9);
}

TEST_F(Ecran_Comm, LongueAttenteFaitAvancerLaBarre) {
    Definir_Echelle_Delais(0.03);  // 86.4 s of program time in 2.6 s
    const double cpu = Cpu_Fil();
    const double duree = Recevoir(pair, QByteArray(), Attente_Longue);
    EXPECT_EQ(Code_Erreur, Erreur::Ligne);
    EXPECT_GE(duree, 86.4 * Echelle_Delais());
    EXPECT_LT(Cpu_Fil() - cpu, duree / 4);  // the waits between steps sleep
    const auto& h = tableau.historique_pb_;
    ASSERT_GE(h.size(), 10u);
    // 86 seconds left: 4/3 x 14; 85 when the first step came a little late.
    EXPECT_GE(h.front(), 19);
    EXPECT_LE(h.front(), 20);
    for (size_t i = 1; i < h.size(); ++i) EXPECT_GE(h[i], h[i - 1]);
    EXPECT_EQ(h.back(), 100);  // held at 100 once 25 seconds or less are left

    // Other time-outs leave the bar alone.
    tableau.historique_pb_.clear();
    Definir_Echelle_Delais(0.001);
    Recevoir(pair, QByteArray(), 65534);
    EXPECT_TRUE(tableau.historique_pb_.empty());
}

}  // namespace
}  // namespace ostrel::test
