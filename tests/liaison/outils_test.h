#pragma once
// Test benches of the link: a bare pseudo-terminal whose far end the test
// drives byte by byte, and a simulated bus of modules on port 1.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "commun/delais_test.h"
#include "link/ecran_communication.h"
#include "link/liaison.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/horloge.h"
#include "sim/simulateur.h"

namespace ostrel::test {

using Horloge = std::chrono::steady_clock;

inline double Secondes_Depuis(Horloge::time_point t) {
    return std::chrono::duration<double>(Horloge::now() - t).count();
}

inline QByteArray Octets(std::initializer_list<int> valeurs) {
    QByteArray b;
    for (int v : valeurs) b.append(static_cast<char>(v));
    return b;
}

// The far end of a pseudo-terminal, raw, for tests that play the module.
class Pair_Pty {
public:
    Pair_Pty() {
        maitre_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(maitre_);
        ::unlockpt(maitre_);
        char nom[128];
        ::ptsname_r(maitre_, nom, sizeof nom);
        chemin_ = nom;
        garde_ = ::open(nom, O_RDWR | O_NOCTTY);
        termios t{};
        ::tcgetattr(garde_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(garde_, TCSANOW, &t);
        ::fcntl(maitre_, F_SETFL, ::fcntl(maitre_, F_GETFL) | O_NONBLOCK);
    }
    ~Pair_Pty() {
        ::close(garde_);
        ::close(maitre_);
    }
    QByteArray Chemin() const { return chemin_; }
    void Ecrire(const QByteArray& b) { ASSERT_EQ(::write(maitre_, b.constData(), b.size()), b.size()); }
    // What the port side has written: at least `attendus` bytes, however long
    // the line takes to pass them on (up to half a minute), and whatever came
    // with them.
    QByteArray Lire(qsizetype attendus) {
        QByteArray tout;
        const auto fin = Horloge::now() + std::chrono::seconds(30);
        for (;;) {
            char b[512];
            const ssize_t n = ::read(maitre_, b, sizeof b);
            if (n > 0) tout.append(b, n);
            else if (tout.size() >= attendus || Horloge::now() >= fin) break;
            else std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return tout;
    }

private:
    int maitre_ = -1;
    int garde_ = -1;
    QByteArray chemin_;
};

// Shared state of the link back to start values, a dashboard of our own and
// a trace file in a temporary folder.
class Base_Liaison : public ::testing::Test {
protected:
    void SetUp() override {
        Reinitialiser_Donnees();
        Definir_Tableau_Bord(&tableau);
        Definir_Echelle_Temps(0.1);
        ostrel_test::Delais_Reels();
        ASSERT_TRUE(dossier.isValid());
        Fichier_Mouchard = dossier.path() + QStringLiteral("/setupm.snf");
        Couleur_Fenetre = 0x808000;
        Couleur_Fond_Bandeau = 0x00C0C0;
        Code_Erreur = 0;
    }
    void TearDown() override {
        if (Ecran_Communication().Ostrel.PortOpen()) Ecran_Communication().Ostrel.PortOpen(false);
        Definir_Tableau_Bord(nullptr);
        Definir_Echelle_Temps(1.0);
        ostrel_test::Delais_Par_Defaut();
    }
    void Ouvrir(const QByteArray& chemin) {
        qputenv("OSTREL_COM1", chemin);
        Ecran_Communication().ouverture_port(1);
        ASSERT_EQ(Code_Erreur, 0);
    }
    QString Trace() const {
        QFile f(Fichier_Mouchard);
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    Tableau_Bord tableau;
    QTemporaryDir dossier;
};

// A bus of simulated modules on port 1.
class Banc_Bus : public Base_Liaison {
protected:
    void SetUp() override {
        Base_Liaison::SetUp();
        ASSERT_TRUE(bus.Demarrer());
        Ouvrir(bus.Chemin().toLocal8Bit());
    }
    void TearDown() override {
        Base_Liaison::TearDown();
        bus.Arreter();
    }
    QByteArray Derniere_Trame() const {
        const auto t = bus.Trames_Recues();
        return t.empty() ? QByteArray() : t.back().octets;
    }
    // The request as the bus must have received it, CRC included.
    static QByteArray Requete(std::initializer_list<int> sans_crc) { return sim::Avec_Crc(Octets(sans_crc)); }

    sim::Simulateur bus;
};

}  // namespace ostrel::test
