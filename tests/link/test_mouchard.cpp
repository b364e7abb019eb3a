#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    void TearDown() override { Definir_Horloge_Murale(nullptr); }

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
