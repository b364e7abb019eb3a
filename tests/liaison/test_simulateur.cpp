// The simulator as any Modbus master sees it: hand-built frames, its program
// form and its wire-time emulation.
#include <QFileInfo>
#include <QProcess>
#include <tuple>

#include "outils_test.h"
#include "platform/port_serie.h"

namespace ostrel::test {
namespace {

// Sends a frame to the bus and returns the reply: its `attendus` bytes,
// however late they come (up to half a minute), and whatever came with them.
// When none are expected, what came within a tenth of a second.
QByteArray Echanger(Port_Serie& port, const QByteArray& trame, qsizetype attendus) {
    port.Vider_Entree();
    EXPECT_TRUE(port.Output(trame));
    QByteArray recus;
    const auto fin = Horloge::now() + std::chrono::milliseconds(attendus > 0 ? 30000 : 100);
    while (recus.size() < std::max<qsizetype>(attendus, 1) && port.Attendre_Entree(fin)) recus += port.Input();
    return recus;
}

class Maitre_Modbus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bus.Demarrer());
        qputenv("OSTREL_COM5", bus.Chemin().toLocal8Bit());
        ASSERT_TRUE(port.CommPort(5));
        ASSERT_TRUE(port.PortOpen(true));
    }
    sim::Simulateur bus;
    Port_Serie port;
};

TEST_F(Maitre_Modbus, LectureStandardFonction3) {
    bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[1].voies[0].mesure = 215; });
    // Function 3, register 0, quantity 1, CRC 0x0A84 sent low byte first.
    const QByteArray reponse = Echanger(port, Octets({0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0A}), 7);
    EXPECT_EQ(reponse, Octets({0x01, 0x03, 0x02, 0x00, 0xD7, 0xF8, 0x1A}));
}

TEST_F(Maitre_Modbus, RefusEtSilences) {
    // Unknown request code: exception 2. A function the address does not
    // have: exception 7. Unknown function: exception 1.
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({1, 3, 0, 0x08, 0, 1})), 5), sim::Avec_Crc(Octets({1, 0x83, 2})));
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({1, 6, 0, 0x02, 0, 1})), 5), sim::Avec_Crc(Octets({1, 0x86, 7})));
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({1, 4, 0, 0, 0, 1})), 5), sim::Avec_Crc(Octets({1, 0x84, 1})));
    // A channel the module does not have; a block of the wrong size.
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({1, 3, 0, 0x00, 0, 17})), 5), sim::Avec_Crc(Octets({1, 0x83, 2})));
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({1, 16, 0, 0x03, 0, 1, 1, 5})), 5),
              sim::Avec_Crc(Octets({1, 0x90, 3})));
    // Bad CRC, or an address nobody has: no answer at all.
    EXPECT_TRUE(Echanger(port, Octets({0x01, 0x03, 0x00, 0x00, 0x00, 0x01, 0x84, 0x0B}), 0).isEmpty());
    EXPECT_TRUE(Echanger(port, sim::Avec_Crc(Octets({9, 3, 0, 0, 0, 1})), 0).isEmpty());
    // Bridge requests are module 1's only.
    bus.Configurer({1, 2}, 16);
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({2, 3, 0, 0x19, 0, 1})), 5), sim::Avec_Crc(Octets({2, 0x83, 2})));
    const auto trames = bus.Trames_Recues();
    ASSERT_EQ(trames.size(), 8u);
    EXPECT_EQ(bus.Nombre_Requetes(0x00), 3);  // the bad-CRC frame is not counted
}

// A read reply whole, however long its data.
QByteArray Lecture_Entiere(Port_Serie& port, const QByteArray& trame) {
    QByteArray r = Echanger(port, trame, 3);
    const auto fin = Horloge::now() + std::chrono::seconds(30);
    while (r.size() >= 3 && r.size() < static_cast<Octet>(r[2]) + 5 && port.Attendre_Entree(fin)) r += port.Input();
    return r;
}

QByteArray Ecriture(int code, int sous, const QByteArray& donnees) {
    return sim::Avec_Crc(Octets({1, 16, 0, code, 0, sous, static_cast<int>(donnees.size())}) + donnees);
}

TEST_F(Maitre_Modbus, LHistoriqueDesTramesResteBorne) {
    // Reads for a module the bus lacks, so that nothing comes back.
    const int n = static_cast<int>(sim::Simulateur::Trames_Gardees_Defaut) + 100;
    QByteArray flot;
    for (int i = 0; i < n; ++i) flot += sim::Avec_Crc(Octets({9, 3, 0, 0x00, (i >> 8) & 0x7F, i & 0xFF}));
    // 128 frames at a time, each batch taken before the next one is
    // written: a write larger than the line holds stops amid a frame until the
    // simulator reads, and on a busy machine that pause may outlast the
    // line's silence, which would end the frame there.
    const qsizetype lot = 128 * 8;
    for (qsizetype debut = 0; debut < flot.size(); debut += lot) {
        ASSERT_TRUE(port.Output(flot.mid(debut, lot)));
        ASSERT_EQ(bus.Nombre_Requetes(0x00), std::min(debut + lot, flot.size()) / 8);
    }
    const auto trames = bus.Trames_Recues();
    ASSERT_EQ(trames.size(), sim::Simulateur::Trames_Gardees_Defaut);
    EXPECT_EQ(trames.back().octets, flot.right(8));
    EXPECT_EQ(bus.Nombre_Requetes(0x00), n);
    // None kept: counted all the same.
    bus.Garder_Trames(0);
    ASSERT_TRUE(port.Output(flot.left(80)));
    EXPECT_TRUE(bus.Trames_Recues().empty());
    EXPECT_EQ(bus.Nombre_Requetes(0x00), n + 10);
}

TEST_F(Maitre_Modbus, CeQuUnModuleRepond) {
    auto refus = [](int fonction, int code) { return sim::Avec_Crc(Octets({1, fonction | 0x80, code})); };
    auto echo = [](const QByteArray& trame) { return sim::Avec_Crc(trame.left(6)); };
    bus.Avec_Etat([](sim::Etat_Bus& e) { e.modules[1].voies[1].etat = 2; });

    // Acknowledgement: an access level 1..4 and a channel of the module, or exception 3.
    for (int valeur : {0x0002, 0x0502, 0xFF02, 0x0100, 0x0111}) {
        const QByteArray trame = sim::Avec_Crc(Octets({1, 6, 0, 0x0A, valeur >> 8, valeur & 0xFF}));
        EXPECT_EQ(Echanger(port, trame, 5), refus(6, 3)) << valeur;
    }
    EXPECT_EQ(bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[1].journal.size(); }), 0u);
    const QByteArray acquittement = sim::Avec_Crc(Octets({1, 6, 0, 0x0A, 1, 2}));
    EXPECT_EQ(Echanger(port, acquittement, 8), echo(acquittement));
    EXPECT_EQ(bus.Avec_Etat([](sim::Etat_Bus& e) { return e.modules[1].journal.size(); }), 1u);

    // Settings outside the module's ranges: a period or delay of 0, the low
    // threshold above the high one, a clock of 40/13 25:70. The module keeps
    // what it had.
    const QByteArray reglages = bus.Avec_Etat([](sim::Etat_Bus& e) {
        const auto& r = e.modules[1].voies[0].reglages;
        return QByteArray(reinterpret_cast<const char*>(r.data()), 16);
    });
    QByteArray periode = reglages, delai = reglages, seuils = reglages, bon = reglages;
    periode[1] = 0;
    delai[11] = 0;
    seuils[2] = char(0xFD), seuils[3] = char(0xA8);  // high -60.0, low -50.0 stays
    for (const QByteArray& d : {periode, delai, seuils})
        EXPECT_EQ(Echanger(port, Ecriture(0x02, 1, d), 5), refus(16, 3));
    EXPECT_EQ(Lecture_Entiere(port, sim::Avec_Crc(Octets({1, 3, 0, 0x02, 0, 1}))).mid(3, 16), reglages);
    bon[1] = 10;
    EXPECT_EQ(Echanger(port, Ecriture(0x02, 1, bon), 8), echo(Ecriture(0x02, 1, bon)));
    EXPECT_EQ(Echanger(port, Ecriture(0x09, 255, Octets({70, 25, 1, 40, 13, 27})), 5), refus(16, 3));
    const QByteArray horloge = Ecriture(0x09, 255, Octets({30, 14, 1, 7, 3, 27}));
    EXPECT_EQ(Echanger(port, horloge, 8), echo(horloge));

    // A write to a read-only address: exception 7.
    EXPECT_EQ(Echanger(port, Ecriture(0x00, 1, Octets({0, 0})), 5), refus(16, 7));
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({1, 6, 0, 0x13, 0, 255})), 5), refus(6, 7));

    // A request cut short ends at the line's silence: the next one is answered.
    const QByteArray mesure = sim::Avec_Crc(Octets({1, 3, 0, 0x00, 0, 1}));
    ASSERT_TRUE(port.Output(mesure.left(4)));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    EXPECT_EQ(Echanger(port, mesure, 7).size(), 7);

    // A download gets every entry the journal held when it began, whatever
    // comes in between its pages.
    std::vector<sim::Evenement> avant;
    bus.Avec_Etat([&](sim::Etat_Bus& e) {
        auto& m = e.modules[1];
        for (int k = 0; k < 400; ++k)
            sim::Journaliser(m, {sim::Horodatage{2027, 1, 1, 0, 0}.Plus_Minutes(k), static_cast<Octet>(k % 13), 0,
                                 static_cast<Octet>(1 + k % 16)});
        avant = m.journal;
    });
    QByteArray recus;
    for (int page = 0;; ++page) {
        const QByteArray r = Lecture_Entiere(port, sim::Avec_Crc(Octets({1, 3, 0, 0x10, page ? 0xFF : 0, 255})));
        ASSERT_GE(r.size(), 5);
        recus += r.mid(3, static_cast<Octet>(r[2]));
        if (static_cast<Octet>(r[2]) < 72) break;
        bus.Avec_Etat([](sim::Etat_Bus& e) { sim::Journaliser(e.modules[1], {sim::Horodatage{2027, 2, 1, 0, 0}, 2, 0, 1}); });
    }
    ASSERT_EQ(recus.size(), 8 * 400);
    for (int k = 0; k < 400; k += 37) {
        EXPECT_EQ(static_cast<Octet>(recus[8 * k + 4]), avant[static_cast<size_t>(k)].quand.minute) << k;
        EXPECT_EQ(static_cast<Octet>(recus[8 * k + 5]), avant[static_cast<size_t>(k)].etat) << k;
    }

    // Module headers of letters and digits, whatever the address.
    bus.Etat_Demonstration({26, 27, 32});
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        for (const auto& [adresse, m] : e.modules)
            for (char c : m.entete) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == ' ') << adresse << c;
    });
}

TEST_F(Maitre_Modbus, UneTramePlusCourteQueSaFonctionNEstPasUneRequete) {
    bus.Configurer({1, 2}, 16);
    auto memoire = [this] {
        return bus.Avec_Etat([](sim::Etat_Bus& e) {
            auto& m = e.modules[2];
            return std::tuple{m.journal.size(), m.voies[0].enregistrements.size(), m.entete, m.purges_journal,
                              m.purges_enregistrements};
        });
    };
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        auto& m = e.modules[2];
        m.journal.push_back({sim::Horodatage{2027, 1, 1, 0, 0}, 2, 0, 1});
        m.voies[0].enregistrements.push_back({sim::Horodatage{2027, 1, 1, 0, 0}, 200, false});
    });
    const auto avant = memoire();
    // Each with a CRC right over what it holds: the purges cut after the
    // register, a command of 4 bytes, a read cut, block writes cut before
    // their count or short of their data.
    const QByteArray trames[] = {
        Octets({0x02, 0x06, 0x00, 0x0B, 0xA0, 0x5A}),
        Octets({0x02, 0x06, 0x00, 0x0C, 0xE1, 0x98}),
        sim::Avec_Crc(Octets({2, 6})),
        sim::Avec_Crc(Octets({2, 3, 0, 0x05})),
        sim::Avec_Crc(Octets({2, 16, 0, 0x05})),
        sim::Avec_Crc(Octets({2, 16, 0, 0x05, 0, 64, 64}) + QByteArray(10, 'A')),
    };
    for (const QByteArray& trame : trames) EXPECT_TRUE(Echanger(port, trame, 0).isEmpty()) << trame.toHex().constData();
    EXPECT_EQ(memoire(), avant);
    EXPECT_EQ(bus.Nombre_Requetes(0x0B) + bus.Nombre_Requetes(0x0C) + bus.Nombre_Requetes(0x05), 0);
    // The whole frame after them is answered and done.
    const QByteArray purge = sim::Avec_Crc(Octets({2, 6, 0, 0x0C, 0, 255}));
    EXPECT_EQ(Echanger(port, purge, 8), purge);
    EXPECT_EQ(std::get<3>(memoire()), 1);
}

TEST_F(Maitre_Modbus, UneValeurQueLeRegistreNePeutTenirEstRefusee) {
    auto commande = [](int code, int valeur) { return sim::Avec_Crc(Octets({1, 6, 0, code, valeur >> 8, valeur & 0xFF})); };
    const QByteArray base = bus.Avec_Etat([](sim::Etat_Bus& e) {
        const auto& r = e.modules[1].voies[0].reglages;
        return QByteArray(reinterpret_cast<const char*>(r.data()), 16);
    });
    auto reglages = [&](int periode, int delai) {
        QByteArray r = base;
        r[1] = static_cast<char>(periode);
        r[11] = static_cast<char>(delai);
        return Ecriture(0x02, 1, r);
    };
    auto planning = [](int heure, int minute) { return Ecriture(0x06, 1, Octets({heure, minute}) + QByteArray(30, 0)); };
    // What each register takes at its bounds first, then what it cannot hold.
    const QByteArray acceptees[] = {
        Ecriture(0x04, 1, Octets({0, 3})),  commande(0x16, 0),  commande(0x16, 255), commande(0x0B, 255),
        commande(0x0C, 255),                Ecriture(0x0D, 255, Octets({1, 1, 24, 31, 12, 24})),
        planning(23, 59),                   reglages(240, 240),
    };
    const QByteArray refusees[] = {
        Ecriture(0x04, 1, Octets({0, 4})), Ecriture(0x04, 1, Octets({1, 3})), commande(0x16, 1), commande(0x16, 256),
        commande(0x0B, 0), commande(0x0C, 254),
        Ecriture(0x0D, 255, Octets({32, 1, 24, 31, 12, 24})), Ecriture(0x0D, 255, Octets({1, 1, 24, 31, 13, 24})),
        Ecriture(0x0D, 255, Octets({1, 1, 24, 30, 2, 24})),
        planning(24, 0), planning(23, 60), reglages(241, 240), reglages(240, 241),
    };
    for (const QByteArray& t : acceptees) EXPECT_EQ(Echanger(port, t, 8), sim::Avec_Crc(t.left(6))) << t.toHex().constData();
    for (const QByteArray& t : refusees)
        EXPECT_EQ(Echanger(port, t, 5), sim::Avec_Crc(Octets({1, static_cast<Octet>(t[1]) | 0x80, 3}))) << t.toHex().constData();
    // The module keeps what it took.
    bus.Avec_Etat([](sim::Etat_Bus& e) {
        const auto& m = e.modules[1];
        EXPECT_EQ(m.logique_stor[0], 3);
        EXPECT_EQ(m.purges_enregistrements, 1);
        EXPECT_EQ(m.purges_journal, 1);
        EXPECT_EQ(m.fin_fenetre.Cle_Jour(), (sim::Horodatage{2024, 12, 31}.Cle_Jour()));
        EXPECT_EQ(m.plannings[0][0] * 100 + m.plannings[0][1], 2359);
        EXPECT_EQ(m.voies[0].reglages[1] + m.voies[0].reglages[11], 480);
    });
}

TEST_F(Maitre_Modbus, EmulationDuTempsDeLigne) {
    bus.Definir_Debit(9600);
    const auto t0 = Horloge::now();
    // 8 bytes out, 7 bytes back: 15 x 10 bits at 9600 baud.
    const QByteArray reponse = Echanger(port, sim::Avec_Crc(Octets({1, 3, 0, 0, 0, 1})), 7);
    const double duree = Secondes_Depuis(t0);
    EXPECT_EQ(reponse.size(), 7);
    EXPECT_GE(duree, 15 * 10 / 9600.0);
    EXPECT_GE(std::chrono::duration<double>(bus.Temps_Reponse_Cumule()).count(), 0.0);
}

TEST(Programme_Simulateur, CheminLienEtModules) {
    QTemporaryDir dossier;
    const QString lien = dossier.path() + QStringLiteral("/bus");
    QProcess programme;
    programme.start(QStringLiteral(CHEMIN_SIMULATEUR),
                    {QStringLiteral("--modules"), QStringLiteral("2,5"), QStringLiteral("--voies"),
                     QStringLiteral("8"), QStringLiteral("--lien"), lien});
    ASSERT_TRUE(programme.waitForStarted(30000));
    ASSERT_TRUE(programme.waitForReadyRead(30000));
    const QString chemin = QString::fromLocal8Bit(programme.readLine()).trimmed();
    EXPECT_TRUE(chemin.startsWith(QStringLiteral("/dev/pts/")));
    EXPECT_EQ(QFileInfo(lien).symLinkTarget(), chemin);

    qputenv("OSTREL_COM6", lien.toLocal8Bit());
    Port_Serie port;
    ASSERT_TRUE(port.CommPort(6));
    ASSERT_TRUE(port.PortOpen(true));
    // Module 5 has 8 channels: status bit value 4.
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({5, 3, 0, 0x07, 0, 255})), 7), sim::Avec_Crc(Octets({5, 3, 2, 0, 4})));
    EXPECT_TRUE(Echanger(port, sim::Avec_Crc(Octets({1, 3, 0, 0x07, 0, 255})), 0).isEmpty());
    port.PortOpen(false);

    programme.terminate();
    ASSERT_TRUE(programme.waitForFinished(30000));
    EXPECT_EQ(programme.exitCode(), 0);
    EXPECT_FALSE(QFileInfo::exists(lien));

    // A fixed state has no course to seed.
    for (const QStringList& arguments : {QStringList{"--voies", "12"}, QStringList{"--fige", "--graine", "3"}}) {
        QProcess mauvais;
        mauvais.start(QStringLiteral(CHEMIN_SIMULATEUR), arguments);
        ASSERT_TRUE(mauvais.waitForFinished(30000));
        EXPECT_EQ(mauvais.exitCode(), 2);
    }
}

}  // namespace
}  // namespace ostrel::test
