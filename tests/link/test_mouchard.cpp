#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <linux/fs.h>
#include <mutex>
#include <optional>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "appels_fichiers.h"
#include "commun/fichiers_test.h"
#include "link/mouchard.h"
#include "link/tableau_bord.h"
#include "link/variables.h"
#include "platform/cp1252.h"
#include "platform/dates.h"
#include "platform/fichiers.h"

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
        ostrel_test::appels::synchro_refusee.clear();
        ostrel_test::appels::avant_retrait = {};
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
    // A start of the program, in a process of its own: the trace as a run
    // finds it, knowing nothing of what this one did. Its exit code, 0 once
    // done.
    static int Demarrage(const std::function<void()>& faire) {
        const pid_t enfant = ::fork();
        if (enfant == 0) {
            faire();
            ::_exit(0);
        }
        int etat = 0;
        if (enfant < 0 || ::waitpid(enfant, &etat, 0) != enfant || !WIFEXITED(etat)) return 98;
        return WEXITSTATUS(etat);
    }
};

// Another program started now, in a process of its own: back once it has
// ended or waits for a lock another holds (/proc/locks shows it waiting).
// Fin() awaits its end: 0 when it ended well.
class Autre_Programme {
public:
    explicit Autre_Programme(const std::function<void()>& faire) : pid_(::fork()) {
        if (pid_ == 0) {
            faire();
            ::_exit(0);
        }
        while (pid_ > 0 && !Finir(WNOHANG) && !Attend_Un_Verrou()) ::usleep(1000);
    }
    int Fin() { return pid_ > 0 && (fini_ || Finir(0)) && WIFEXITED(etat_) ? WEXITSTATUS(etat_) : 98; }

private:
    bool Finir(int options) { return fini_ = ::waitpid(pid_, &etat_, options) == pid_; }
    bool Attend_Un_Verrou() const {
        QFile verrous("/proc/locks");
        verrous.open(QIODevice::ReadOnly);
        for (const QByteArray& ligne : verrous.readAll().split('\n')) {
            const QList<QByteArray> mots = ligne.simplified().split(' ');
            if (mots.size() > 5 && mots[1] == "->" && mots[5] == QByteArray::number(pid_)) return true;
        }
        return false;
    }
    pid_t pid_;
    bool fini_ = false;
    int etat_ = 0;
};

// A named pipe given to a writer that must not wait on it. After a while its
// reading end is opened and held, so that a writer that waits is let go and
// writes into it, and the test fails rather than hangs; Ecrit() tells whether
// a writer ever came.
class Tube_Ecrit {
public:
    explicit Tube_Ecrit(const QString& chemin) : chemin_(QFile::encodeName(chemin)) {
        EXPECT_EQ(::mkfifo(chemin_.constData(), 0644), 0);
        lecteur_ = std::thread([this] {
            {
                std::unique_lock verrou(garde_);
                if (reveil_.wait_for(verrou, std::chrono::milliseconds(200), [this] { return fin_.load(); })) return;
            }
            const int fd = ::open(chemin_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0) return;
            for (bool dernier = false; !dernier;) {
                dernier = fin_;
                char tampon[4096];
                ssize_t n;
                while ((n = ::read(fd, tampon, sizeof tampon)) > 0) ecrit_ = true;
                if (n < 0 && errno == EAGAIN) ecrit_ = true;  // a writer holds the other end
                ::usleep(1000);
            }
            ::close(fd);
        });
    }
    ~Tube_Ecrit() {
        {
            std::lock_guard verrou(garde_);
            fin_ = true;
        }
        reveil_.notify_all();
        lecteur_.join();
    }
    Tube_Ecrit(const Tube_Ecrit&) = delete;
    Tube_Ecrit& operator=(const Tube_Ecrit&) = delete;
    bool Ecrit() const { return ecrit_; }

private:
    QByteArray chemin_;
    std::mutex garde_;
    std::condition_variable reveil_;
    std::atomic<bool> fin_{false}, ecrit_{false};
    std::thread lecteur_;
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
    // A trace whose start happens to be the archive's end is archived whole.
    const QByteArray nuit = QByteArray(10, 's') + QByteArray(500000, 'n');
    Ajouter(trace, nuit);
    Init_Mouchard();
    EXPECT_EQ(Lire(archive), QByteArray(500001, 'm') + QByteArray(600000, 's') + nuit);
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

    // So does a line the full disk has room for 50 bytes of: none of it
    // stays, and the next one, once there is room again, starts a line.
    // Another program's line that comes meanwhile, and fits, stays.
    Fichier_Mouchard = trace;
    const QString sans_montage = dossier.filePath("sans montage");
    const int plein = Demarrage([&] {
        const QString windows = QFileInfo(trace).absolutePath();
        if (!ostrel_test::Petit_Disque(windows, sans_montage)) ::_exit(77);
        const QByteArray avant(4096 - 50, 'x');  // 50 bytes short of a page
        Ajouter(trace, avant);
        QFile occupe(windows + "/occupe");
        occupe.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        while (occupe.write(QByteArray(4096, 'o')) > 0) {
        }
        std::optional<Autre_Programme> autre;
        ostrel_test::appels::avant_ecriture = {QFile::encodeName(trace).toStdString(),
                                               [&] { autre.emplace([] { Ecrit_Mouchard("autre"); }); }};
        Ecrit_Mouchard("perdue faute de place");
        const QByteArray ligne = "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA autre\r\n";
        const bool reprise = autre && autre->Fin() == 0 && Lire(trace) == avant + ligne;
        occupe.remove();
        Ecrit_Mouchard("suite");
        ::_exit(reprise && Lire(trace) == avant + ligne + "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA suite\r\n" ? 0 : 1);
    });
    if (plein == 77)
        GTEST_SKIP() << "No file system can be mounted here (" << Lire(sans_montage).toStdString()
                     << "): the full disk is not tried.";
    EXPECT_EQ(plein, 0);
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

    // The line of another program that appends while the trace is archived
    // (its look at the size came before) goes to the new trace.
    const QByteArray matin = Lignes_Numerotees("matin ");
    recommencer(matin);
    const QByteArray autre = "07/03/2027 09:05:03 OstrelSoft+ 1.14VSA autre\r\n";
    std::optional<Autre_Programme> programme;
    appels::avant_retrait = {QFile::encodeName(trace).toStdString(),
                             [&] { programme.emplace([&] { Ajouter_Au_Fichier(trace, autre); }); }};
    QByteArray lignes = Tracer("a", 20);
    ASSERT_TRUE(programme);
    EXPECT_EQ(programme->Fin(), 0);
    EXPECT_EQ(Lire(archive), matin);
    QByteArray nouvelle = Lire(trace);
    EXPECT_EQ(nouvelle.remove(std::max<qsizetype>(nouvelle.indexOf(autre), 0), autre.size()), lignes);

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

    // A symbolic link to a trace kept in another folder: that file is
    // archived and emptied, the link stays, and the lines go on into it.
    QFile::remove(archive);
    QFile::remove(trace);
    const QString ailleurs = dossier.filePath("site/setupm.snf");
    QDir().mkpath(QFileInfo(ailleurs).absolutePath());
    Ajouter(ailleurs, matin);
    ASSERT_TRUE(QFile::link(ailleurs, trace));
    lignes = Tracer("e", 20);
    EXPECT_EQ(Lire(archive), matin);
    EXPECT_TRUE(QFileInfo(trace).isSymLink());
    EXPECT_EQ(Lire(ailleurs), lignes);

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

// A trace made a named pipe costs its lines, never a wait: the program goes on
// to its window. An append-only trace is in the day's archive once, however
// often the program starts that day; and once kept whole for this run, a
// trace put in its place (an administrator's rotation) is archived as any
// other, however large it comes.
TEST_F(Mouchard, UnTubeNArretePasEtLArchiveTientLaTraceUneFois) {
    namespace appels = ostrel_test::appels;
    QDir().mkpath(QFileInfo(trace).absolutePath());
    const QString archive = application + "/setupm-7_3_2027.snf";
    {
        Tube_Ecrit tube(trace);
        Init_Mouchard();
        Tracer("tube ", 3);
        EXPECT_FALSE(tube.Ecrit()) << "the trace was opened for writing on a named pipe";
    }
    struct stat etat {};
    ASSERT_EQ(::stat(QFile::encodeName(trace).constData(), &etat), 0);
    EXPECT_TRUE(S_ISFIFO(etat.st_mode));
    EXPECT_FALSE(QFile::exists(archive));
    // Nor is a pipe that a reader holds open, nor (for root) a device, even
    // opened.
    for (const bool peripherique : {false, true}) {
        QFile::remove(trace);
        const QByteArray nom = QFile::encodeName(trace);
        if (peripherique ? ::mknod(nom.constData(), S_IFCHR | 0666, ::makedev(1, 3)) != 0
                         : ::mkfifo(nom.constData(), 0644) != 0) {
            std::cout << "No device can be made here (not root): only the pipe is tried.\n";
            break;
        }
        const int lecteur = peripherique ? -1 : ::open(nom.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        const int veille = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(veille, nom.constData(), IN_OPEN | IN_MODIFY), 0);
        Init_Mouchard();
        Tracer("tube ", 3);
        char evenement[4096];
        EXPECT_LT(::read(veille, evenement, sizeof evenement), 0) << (peripherique ? "device" : "pipe") << " opened";
        ::close(veille);
        if (lecteur >= 0) ::close(lecteur);
    }
    QFile::remove(trace);

    const QByteArray matin = Lignes_Numerotees("matin ");
    Ajouter(trace, matin);
    if (!Ajout_Seul(trace, true)) {
        std::cout << "The file system of " << dossier.path().toStdString()
                  << " or this account makes no append-only file: the calls are refused instead.\n";
        appels::retrait_refuse = appels::troncature_refusee = QFile::encodeName(trace).toStdString();
    }
    for (int i = 0; i < 3; ++i) {
        const QByteArray avant = Lire(trace);
        ASSERT_EQ(Demarrage([] {
                      Init_Mouchard();
                      Ecrit_Mouchard("----> Début");
                      Ecrit_Mouchard("<---- Fin");
                  }),
                  0);
        EXPECT_EQ(Lire(archive), avant) << "start " << i + 1;
        EXPECT_GT(Lire(trace).size(), avant.size());
    }

    // Kept whole in this run, then rotated: the flag cleared, the trace moved
    // aside and a larger file put in its place.
    const QByteArray avant = Lire(trace);
    QByteArray lignes = Tracer("a", 5);
    EXPECT_EQ(Lire(archive), avant);
    EXPECT_EQ(Lire(trace), avant + lignes);
    Ajout_Seul(trace, false);
    appels::retrait_refuse.clear();
    appels::troncature_refusee.clear();
    ASSERT_TRUE(QFile::rename(trace, trace + ".1"));
    const QByteArray rotation = Lignes_Numerotees("nuit ") + Lignes_Numerotees("nuit bis ");
    ASSERT_GT(rotation.size(), (avant + lignes).size());
    Ajouter(trace + ".tmp", rotation);
    ASSERT_TRUE(QFile::rename(trace + ".tmp", trace));
    lignes = Tracer("b", 2);
    EXPECT_EQ(Lire(archive), avant + rotation);
    EXPECT_EQ(Lire(trace), lignes);
}

// A trace kept whole because its archive copy stopped while written over the
// archive in place (the archive has a second name; the disk gave way at the
// end) is not copied there again at every line; emptied since, it is archived
// again once past the threshold, however large it comes.
TEST_F(Mouchard, UneTraceGardeePuisVideeEstArchiveeUneFois) {
    namespace appels = ostrel_test::appels;
    QDir().mkpath(QFileInfo(trace).absolutePath());
    const QString archive = application + "/setupm-7_3_2027.snf";
    const QByteArray veille = Tracer("veille ", 2);
    ASSERT_TRUE(QFile::rename(trace, archive));
    ASSERT_EQ(::link(QFile::encodeName(archive).constData(), QFile::encodeName(application + "/copie.snf").constData()),
              0);
    const QByteArray matin = Lignes_Numerotees("matin ");
    Ajouter(trace, matin);
    appels::synchro_refusee = QFile::encodeName(archive).toStdString();
    QByteArray lignes = Tracer("a", 20);
    EXPECT_EQ(Lire(archive), veille + matin);
    EXPECT_EQ(Lire(trace), matin + lignes);
    appels::synchro_refusee.clear();

    ASSERT_TRUE(QFile::resize(trace, 0));
    const QByteArray apres = Tracer("b", 2);
    const QByteArray soir = Lignes_Numerotees("soir ") + Lignes_Numerotees("soir bis ");
    ASSERT_GT(soir.size(), (matin + lignes).size());
    Ajouter(trace, soir);
    lignes = Tracer("c", 2);
    EXPECT_EQ(Lire(archive), veille + matin + apres + soir);
    EXPECT_EQ(Lire(trace), lignes);
}
