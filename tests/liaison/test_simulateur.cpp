// The simulator as any Modbus master sees it: hand-built frames, its program
// form and its wire-time emulation.
#include <QFileInfo>
#include <QProcess>

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
    // Unknown request code: exception 2. Unknown function: exception 1.
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({1, 3, 0, 0x08, 0, 1})), 5), sim::Avec_Crc(Octets({1, 0x83, 2})));
    EXPECT_EQ(Echanger(port, sim::Avec_Crc(Octets({1, 6, 0, 0x02, 0, 1})), 5), sim::Avec_Crc(Octets({1, 0x86, 2})));
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
