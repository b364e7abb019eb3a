#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <iostream>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "appels_fichiers.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"

using namespace ostrel;

namespace {

class Mouchard : public ::testing::Test {
protected:
    QTemporaryDir dossier;
    QString trace, application;

    void SetUp() override {
        Reinitialiser_Donnees();
        application = dossier.filePath("OstrelSoft+");
        QDir().mkpath(application);
        trace = dossier.filePath("Windows/setupm.snf");
        Fichier_Mouchard = trace;
        Base_Archive_Mouchard = application + "/setupm";
        Frm_Menu1().Lbl_Nom_Logiciel("OstrelSoft+ 1.14VSA");
        Definir_Horloge_Murale([] { return DateSerial(2027, 3, 7) + TimeSerial(9, 5, 3); });
    }
    void TearDown() override {
        Definir_Horloge_Murale(nullptr);
        Ajout_Seul(trace, false);  // or the temporary folder stays
        ostrel_test::appels::retrait_refuse.clear();
        ostrel_test::appels::troncature_refusee.clear();
    }

    static QByteArray Lire(const QString& chemin) {
        QFile f(chemin);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    static void Ecrire(const QString& chemin, qsizetype taille, char octet = 'x') {
        QFile f(chemin);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(taille, octet));
    }
    static void Ajouter(const QString& chemin, const QByteArray& contenu) {
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(contenu);
    }
    // Numbered lines, each different, just past the archive threshold.
    static QByteArray Lignes_Numerotees(const char* debut) {
        QByteArray lignes;
        for (int i = 0; lignes.size() <= Seuil_Archive_Mouchard; ++i)
            lignes += debut + QByteArray::number(i) + " ............................................\r\n";
        return lignes;
    }
    // Traces n lines, and returns them as the trace holds them.
    static QByteArray Tracer(const QString& debut, int n) {
        QByteArray lignes;
        for (int i = 0; i < n; ++i) {
            Ecrit_Mouchard(debut + QString::number(i));
            lignes += "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA " + debut.toLatin1() + QByteArray::number(i) + "\r\n";
        }
        return lignes;
    }
    static ino_t Inode(const QString& chemin) {
        struct stat etat {};
        return ::stat(QFile::encodeName(chemin).constData(), &etat) == 0 ? etat.st_ino : 0;
    }
    // Sets or clears a file's append-only flag; false where the file system or
    // the test's account cannot.
    static bool Ajout_Seul(const QString& chemin, bool oui) {
        const int fd = ::open(QFile::encodeName(chemin).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return false;
        int drapeaux = 0;
        bool reussi = ::ioctl(fd, FS_IOC_GETFLAGS, &drapeaux) == 0;
        if (reussi) {
            drapeaux = oui ? drapeaux | FS_APPEND_FL : drapeaux & ~FS_APPEND_FL;
            reussi = ::ioctl(fd, FS_IOC_SETFLAGS, &drapeaux) == 0;
        }
        ::close(fd);
        return reussi;
    }
};

}  // namespace

TEST_F(Mouchard, LignesDateesAvecLeNomDuLogiciel) {
    Init_Mouchard();
    ASSERT_TRUE(QFile::exists(trace));  // created, with its folder
    EXPECT_EQ(Lire(trace).size(), 0);
    Ecrit_Mouchard("----> Début");
    Ecrit_Mouchard("");
    EXPECT_EQ(Lire(trace), Vers_Cp1252("07/03/2027 09:05:03 OstrelSoft+ 1.14VSA ----> Début\r\n"
                                       "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA \r\n"));
}

TEST_F(Mouchard, AMinuitLaDateSeule) {
    Definir_Horloge_Murale([] { return DateSerial(2026, 12, 25); });
    Ecrit_Mouchard("Accès écran Mesures");
    EXPECT_EQ(Lire(trace), Vers_Cp1252("25/12/2026 OstrelSoft+ 1.14VSA Accès écran Mesures\r\n"));
}

TEST_F(Mouchard, ArchivageAuDelaDe500000Octets) {
    QDir().mkpath(QFileInfo(trace).absolutePath());
    Ecrire(trace, 500000);
    Init_Mouchard();
    EXPECT_EQ(Lire(trace).size(), 500000);  // exactly the threshold stays
    Ecrit_Mouchard("a");                     // 500000 before the write: no archive
    EXPECT_FALSE(QFile::exists(application + "/setupm-7_3_2027.snf"));
    const qsizetype avant = Lire(trace).size();
    Ecrit_Mouchard("b");                     // now past it: archived, then the line
    EXPECT_EQ(Lire(application + "/setupm-7_3_2027.snf").size(), avant);
    EXPECT_EQ(Lire(trace), "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA b\r\n");
}

// Two starts in a day, each over the limit: the day's archive keeps the
// morning's lines, then the afternoon's, in order.
TEST_F(Mouchard, UnSecondArchivageDuJourSAjouteALArchive) {
    QDir().mkpath(QFileInfo(trace).absolutePath());
    Ecrire(trace, 500001, 'm');
    Init_Mouchard();
    EXPECT_EQ(Lire(trace).size(), 0);
    const QString archive = application + "/setupm-7_3_2027.snf";
    EXPECT_EQ(Lire(archive), QByteArray(500001, 'm'));
    Ecrire(trace, 600000, 's');
    Init_Mouchard();
    EXPECT_EQ(Lire(trace).size(), 0);
    EXPECT_EQ(Lire(archive), QByteArray(500001, 'm') + QByteArray(600000, 's'));
}

TEST_F(Mouchard, NomsDArchiveSansZeros) {
    EXPECT_EQ(Nom_Archive_Mouchard(DateSerial(2027, 3, 1)), application + "/setupm-1_3_2027.snf");
    EXPECT_EQ(Nom_Archive_Mouchard(DateSerial(2026, 12, 25)), application + "/setupm-25_12_2026.snf");
}

TEST_F(Mouchard, UnArchivageRateGardeLaTraceEtNArretePas) {
    QDir().mkpath(QFileInfo(trace).absolutePath());
    Base_Archive_Mouchard = "/proc/interdit/setupm";  // nowhere to write the archive
    Ecrire(trace, 500001);
    Ecrit_Mouchard("suite");
    const QByteArray contenu = Lire(trace);
    EXPECT_EQ(contenu.size(), 500001 + qsizetype(QByteArray("07/03/2027 09:05:03 OstrelSoft+ 1.14VSA suite\r\n").size()));
    Fichier_Mouchard = "/proc/interdit/setupm.snf";  // a trace that cannot be written costs the line only
    Init_Mouchard();
    Ecrit_Mouchard("perdue");
    SUCCEED();
}

// Once archived, a trace starts afresh: removed, or emptied where its folder
// keeps it, or, where it can be neither (an append-only file), left to grow
// without being archived again in this run. No line goes twice to the
// archive, and the lines still go to the trace.
TEST_F(Mouchard, UneTraceArchiveeNEstPasArchiveeDeNouveau) {
    namespace appels = ostrel_test::appels;
    QDir().mkpath(QFileInfo(trace).absolutePath());
    const QString archive = application + "/setupm-7_3_2027.snf";
    auto recommencer = [&](const QByteArray& contenu) {
        QFile::remove(archive);
        QFile::remove(trace);
        Ajouter(trace, contenu);
    };

    const QByteArray matin = Lignes_Numerotees("matin ");
    recommencer(matin);
    QByteArray lignes = Tracer("a", 20);
    EXPECT_EQ(Lire(archive), matin);
    EXPECT_EQ(Lire(trace), lignes);

    // Its removal refused, as in a folder closed to the account: the same
    // file, emptied; past the threshold again, the lines since go to the
    // archive after the first ones.
    recommencer(matin);
    const ino_t inode = Inode(trace);
    appels::retrait_refuse = QFile::encodeName(trace).toStdString();
    lignes = Tracer("b", 20);
    EXPECT_EQ(Lire(archive), matin);
    EXPECT_EQ(Lire(trace), lignes);
    EXPECT_EQ(Inode(trace), inode);
    const QByteArray soir = Lignes_Numerotees("soir ");
    Ajouter(trace, soir);
    const QByteArray suite = Tracer("c", 3);
    EXPECT_EQ(Lire(archive), matin + lignes + soir);
    EXPECT_EQ(Lire(trace), suite);
    appels::retrait_refuse.clear();

    // Neither removed nor emptied: archived once, the lines after it in the
    // trace alone.
    recommencer(matin);
    if (!Ajout_Seul(trace, true)) {
        std::cout << "The file system of " << dossier.path().toStdString()
                  << " or this account makes no append-only file: the calls are refused instead.\n";
        appels::retrait_refuse = appels::troncature_refusee = QFile::encodeName(trace).toStdString();
    }
    lignes = Tracer("d", 20);
    EXPECT_EQ(Lire(archive), matin);
    EXPECT_EQ(Lire(trace), matin + lignes);
}
