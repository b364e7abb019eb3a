#pragma once
// A print server of the test's own (cupsd with its own folders and socket,
// nothing of the machine's printing touched), with one queue made the
// default, as a site has one: it takes jobs, refuses them or their
// documents, loses its queue for another, stops answering, or goes away; its
// printer may leave wide borders unprinted.
// Each job's document stays in its spool folder, to be read back.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMarginsF>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <sys/prctl.h>
#include <sys/un.h>
#include <unistd.h>
#include <cups/cups.h>

#include "commun/fichiers_test.h"

namespace ostrel_test {

class Serveur_Impression {
public:
    static constexpr const char* File = "ostrel";

    // Its folders in a temporary folder of this one.
    explicit Serveur_Impression(const QString& dossier = QDir::tempPath())
        : dossier_(dossier + QStringLiteral("/cups-XXXXXX")) {}

    // Starts the server for the test under way, its queue made the default.
    // False when it cannot serve the test, which must then stop
    // (`if (!serveur.Demarrer()) return;`): skipped where no cupsd can run
    // here, with why; failed where one runs but does not answer or does not
    // take its queue, with its own words or lpadmin's. A shell command run
    // first, in the server's folder, makes it start later or not at all.
    bool Demarrer(const QString& avant = {}) {
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")});
        if (cupsd.isEmpty()) return Sauter(QStringLiteral("cupsd n'est pas installé"));
        if (!dossier_.isValid()) return Echouer(QStringLiteral("pas de dossier temporaire : ") + dossier_.errorString());
        const QDir d(dossier_.path());
        for (const char* s : {"spool", "tmp", "cache", "state", "ppd"}) d.mkpath(QLatin1String(s));
        socket_ = d.filePath(QStringLiteral("cups.sock"));
        // cupsd listens nowhere on a longer path than a Unix socket holds, and stops.
        if (socket_.toLocal8Bit().size() >= static_cast<qsizetype>(sizeof(sockaddr_un::sun_path)))
            return Echouer(QStringLiteral("chemin trop long pour le socket de cupsd (107 octets au plus) : ") + socket_);
        Ecrire(d.filePath(QStringLiteral("cupsd.conf")),
               QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\nBrowsing No\nPreserveJobFiles Yes\n"
                              "<Location />\n Order allow,deny\n Allow all\n</Location>\n"
                              "<Policy default>\n <Limit All>\n  Order deny,allow\n </Limit>\n</Policy>\n"
                              // Refused only once the whole document has been read, as a size limit refuses it.
                              "<Policy sans-document>\n <Limit Send-Document>\n  Require user personne\n </Limit>\n"
                              " <Limit All>\n  Order deny,allow\n </Limit>\n</Policy>\n")
                   .arg(socket_)
                   .toUtf8());
        QString fichiers = QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nTempDir %1/tmp\nCacheDir %1/cache\n"
                                          "StateDir %1/state\nPrintcap %1/printcap\nErrorLog %1/error_log\n"
                                          "AccessLog %1/access_log\nPageLog %1/page_log\nFileDevice Yes\n")
                               .arg(d.path());
        Ecrire(d.filePath(QStringLiteral("cups-files.conf")), fichiers.toUtf8());
        // The program under test finds this server and no other queue.
        qputenv("CUPS_SERVER", socket_.toUtf8());
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        cupsSetServer(nullptr);
        const QStringList arguments{QStringLiteral("-f"), QStringLiteral("-c"), d.filePath(QStringLiteral("cupsd.conf")),
                                    QStringLiteral("-s"), d.filePath(QStringLiteral("cups-files.conf"))};
        serveur_.setProgram(avant.isEmpty() ? cupsd : QStringLiteral("sh"));
        const QString script = avant + QStringLiteral("\nexec \"$0\" \"$@\"");
        serveur_.setArguments(avant.isEmpty() ? arguments : QStringList{QStringLiteral("-c"), script, cupsd} + arguments);
        serveur_.setWorkingDirectory(d.path());
        // Killed with the test, however it ends (SIGKILL, a crash, a time-out),
        // lest it outlive it: the kernel sends it when the thread that started
        // it ends, so it is started from the test's own thread. A test already
        // gone before this is asked for has it stop at once.
        serveur_.setChildProcessModifier([test = ::getpid()] {
            if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != test) ::_exit(127);
        });
        serveur_.setProcessChannelMode(QProcess::MergedChannels);
        serveur_.start();
        if (!serveur_.waitForStarted(30000)) return Sauter(QStringLiteral("cupsd ne démarre pas : ") + serveur_.errorString());
        // A busy machine may take seconds to start it: its own answer is awaited, the 30 s only guard against a hang.
        const QDeadlineTimer limite(30000);
        bool repond = false;
        while (!(repond = Repond(limite)) && !limite.hasExpired() && serveur_.state() == QProcess::Running)
            serveur_.waitForFinished(50);
        const auto journal = [&] {
            return QString::fromLocal8Bit(serveur_.readAll()) + QString::fromLocal8Bit(Lire(d.filePath(QStringLiteral("error_log"))));
        };
        if (repond) return Ajouter_File(File) && Definir_Defaut(File);
        // A cupsd that stops by itself cannot run here (a sandbox, a system without what it needs).
        if (serveur_.state() != QProcess::Running) return Sauter(QStringLiteral("cupsd s'arrête aussitôt : ") + journal());
        return Echouer(QStringLiteral("cupsd ne répond pas en 30 s : ") + journal());
    }

    ~Serveur_Impression() {
        Arreter();
        for (auto it = environnement_.cbegin(); it != environnement_.cend(); ++it)
            if (it.value()) qputenv(it.key().constData(), *it.value());
            else qunsetenv(it.key().constData());
    }

    // The server's process, 0 when it does not run.
    qint64 Pid() const { return serveur_.processId(); }

    // The print server goes away as a crash or a stop would take it.
    void Arreter() {
        if (serveur_.state() == QProcess::NotRunning) return;
        Reprendre();
        serveur_.kill();
        serveur_.waitForFinished(10000);
    }

    // The server stops answering (SIGSTOP), as a hung one does: connections
    // are still taken, and left waiting. Reprendre (SIGCONT) lets it go on;
    // the destructor does, whatever the test found.
    void Suspendre() {
        if (serveur_.state() == QProcess::NotRunning || suspendu_) return;
        ::kill(static_cast<pid_t>(serveur_.processId()), SIGSTOP);
        suspendu_ = true;
    }
    void Reprendre() {
        if (!suspendu_) return;
        ::kill(static_cast<pid_t>(serveur_.processId()), SIGCONT);
        suspendu_ = false;
    }
    // Connections made to the suspended server that it has not taken (ss
    // reads its socket's queue); -1, and a failure that says why, when that
    // cannot be read. Its line is picked out here: ss takes the path given
    // to it as a pattern, which a folder named with a space or brackets breaks.
    int Connexions_En_Attente() {
        const Sortie ss = Commande(QStringLiteral("ss"), {QStringLiteral("-xlH")});
        for (const QString& ligne : ss.mots.split(QLatin1Char('\n')))
            if (ligne.contains(QLatin1Char(' ') + socket_ + QLatin1Char(' ')))
                return ligne.simplified().section(QLatin1Char(' '), 2, 2).toInt();
        // A server gone meanwhile listens nowhere: its own words say why.
        serveur_.waitForFinished(0);
        const bool parti = serveur_.state() == QProcess::NotRunning;
        ADD_FAILURE() << "ss ne voit pas " << socket_.toStdString() << " en écoute (code " << ss.code << ") : "
                      << ss.mots.toStdString() << (parti ? "\ncupsd s'est arrêté : " : "\njournal de cupsd : ")
                      << (QString::fromLocal8Bit(serveur_.readAll()) +
                          QString::fromLocal8Bit(Lire(QDir(dossier_.path()).filePath(QStringLiteral("error_log")))))
                             .toStdString();
        return -1;
    }

    // Another queue, the default one (as the user sets it, even where an
    // lpoptions file names another), a queue deleted. Each is a failure of
    // the test, in lpadmin's words, when lpadmin never does it.
    bool Ajouter_File(const QString& nom) {
        return Administrer(QStringLiteral("lpadmin"),
                           {QStringLiteral("-p"), nom, QStringLiteral("-E"), QStringLiteral("-v"), QStringLiteral("file:///dev/null")});
    }
    bool Definir_Defaut(const QString& nom) {
        qputenv("PRINTER", nom.toUtf8());
        return Administrer(QStringLiteral("lpadmin"), {QStringLiteral("-d"), nom});
    }
    bool Supprimer_File(const QString& nom) { return Administrer(QStringLiteral("lpadmin"), {QStringLiteral("-x"), nom}); }

    // The queue's printer takes A4 sheets and cannot print within these
    // borders of a portrait sheet, in millimetres, as its PPD tells the server.
    bool Bords_Non_Imprimables(const QString& nom, const QMarginsF& mm) {
        const auto points = [](double v) { return QString::number(v * 72 / 25.4, 'f', 2); };
        const double largeur = 210, hauteur = 297;
        const QString zone = points(mm.left()) + QLatin1Char(' ') + points(mm.bottom()) + QLatin1Char(' ') +
                             points(largeur - mm.right()) + QLatin1Char(' ') + points(hauteur - mm.top());
        const QString ppd = QDir(dossier_.path()).filePath(nom + QStringLiteral(".ppd"));
        // Documents go to the device as PDF, as they came: nothing here converts them.
        Ecrire(ppd, QStringLiteral("*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
                                   "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"BORDS.PPD\"\n"
                                   "*Manufacturer: \"Essai\"\n*Product: \"(Bords)\"\n*ModelName: \"Bords\"\n"
                                   "*ShortNickName: \"Bords\"\n*NickName: \"Bords\"\n*PSVersion: \"(3010.000) 0\"\n"
                                   "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n*FileSystem: False\n"
                                   "*cupsFilter: \"application/pdf 0 -\"\n"
                                   "*OpenUI *PageSize/Media Size: PickOne\n*DefaultPageSize: A4\n"
                                   "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageSize\n"
                                   "*OpenUI *PageRegion: PickOne\n*DefaultPageRegion: A4\n"
                                   "*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n*CloseUI: *PageRegion\n"
                                   "*DefaultImageableArea: A4\n*ImageableArea A4/A4: \"%1\"\n"
                                   "*DefaultPaperDimension: A4\n*PaperDimension A4/A4: \"595.28 841.89\"\n")
                        .arg(zone)
                        .toUtf8());
        return Administrer(QStringLiteral("lpadmin"), {QStringLiteral("-p"), nom, QStringLiteral("-P"), ppd});
    }

    // As most sites have it: the default queue is the print server's own,
    // named nowhere on this machine (no PRINTER nor LPDEST, no lpoptions
    // file of the user's, HOME a folder of the test's, nor of the system's,
    // CUPS_SERVERROOT this server's folder). Undone when the server goes.
    void Defaut_Du_Serveur_Seul() {
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");
        for (const char* nom : {"HOME", "CUPS_SERVERROOT"})
            if (!environnement_.contains(nom))
                environnement_.insert(nom, qEnvironmentVariableIsSet(nom) ? std::optional(qgetenv(nom)) : std::nullopt);
        QDir(dossier_.path()).mkpath(QStringLiteral("maison"));
        qputenv("HOME", QDir(dossier_.path()).filePath(QStringLiteral("maison")).toUtf8());
        qputenv("CUPS_SERVERROOT", dossier_.path().toUtf8());
    }

    // The queue takes jobs and refuses each document once it has read it whole.
    void Refuser_Documents() {
        Administrer(QStringLiteral("lpadmin"), {QStringLiteral("-p"), File, QStringLiteral("-o"), QStringLiteral("printer-op-policy=sans-document")});
    }

    // cupsreject with its reason, or cupsaccept.
    void Refuser(const QString& raison) { Administrer(QStringLiteral("cupsreject"), {QStringLiteral("-r"), raison, File}); }
    void Accepter() { Administrer(QStringLiteral("cupsaccept"), {File}); }

    // The documents of every job taken, in order.
    std::vector<QByteArray> Documents() const {
        std::vector<QByteArray> documents;
        const QDir spool(QDir(dossier_.path()).filePath(QStringLiteral("spool")));
        for (const QString& nom : spool.entryList({QStringLiteral("d*")}, QDir::Files, QDir::Name))
            documents.push_back(Lire(spool.filePath(nom)));
        return documents;
    }

private:
    // The server's own answer to a request on its socket, awaited until the
    // deadline (lpstat -r succeeds even where no server answers).
    bool Repond(const QDeadlineTimer& limite) const {
        const int ms = static_cast<int>(std::max<qint64>(limite.remainingTime(), 1));
        http_t* http =
            httpConnect2(socket_.toUtf8().constData(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, ms, nullptr);
        if (http == nullptr) return false;
        httpSetTimeout(http, ms / 1000.0, nullptr, nullptr);
        ipp_t* reponse = cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
        const bool repond = reponse != nullptr;
        ippDelete(reponse);
        httpClose(http);
        return repond;
    }

    // Where a user's PATH leaves out the administration folders, as most do,
    // their programs are still found there.
    static QString Programme(const QString& nom) {
        const QStringList administration{QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")};
        for (const QStringList& dossiers : {QStringList(), administration})
            if (const QString chemin = QStandardPaths::findExecutable(nom, dossiers); !chemin.isEmpty()) return chemin;
        return nom;
    }

    struct Sortie {
        int code = -1;
        QString mots;  // what it wrote, its errors first
    };
    Sortie Commande(const QString& programme, const QStringList& arguments) const {
        QProcess p;
        p.start(Programme(programme), arguments);
        const bool fini = p.waitForFinished(30000);  // the wait only guards against a hang
        if (!fini) {
            p.kill();
            p.waitForFinished(10000);
        }
        Sortie sortie;
        if (fini && p.exitStatus() == QProcess::NormalExit) sortie.code = p.exitCode();
        sortie.mots = QString::fromLocal8Bit(p.readAllStandardError() + p.readAllStandardOutput()).trimmed();
        if (p.error() == QProcess::FailedToStart) sortie.mots = p.errorString();
        else if (!fini) sortie.mots += QStringLiteral(" (toujours en cours après 30 s)");
        return sortie;
    }

    // A server under load may turn an administration command away: it is
    // tried again a few times, then fails the test in its own words.
    bool Administrer(const QString& programme, const QStringList& arguments) const {
        Sortie sortie;
        for (int essai = 0; essai < 5; ++essai) {
            if (essai > 0) QThread::msleep(300);
            sortie = Commande(programme, arguments);
            if (sortie.code == 0) return true;
        }
        ADD_FAILURE() << (programme + QLatin1Char(' ') + arguments.join(QLatin1Char(' '))).toStdString() << " a échoué 5 fois (code "
                      << sortie.code << ") : " << sortie.mots.toStdString();
        return false;
    }

    static bool Sauter(const QString& raison) {
        [&] { GTEST_SKIP() << raison.toStdString(); }();
        return false;
    }
    static bool Echouer(const QString& raison) {
        ADD_FAILURE() << raison.toStdString();
        return false;
    }

    QTemporaryDir dossier_;
    QString socket_;
    QProcess serveur_;
    bool suspendu_ = false;
    QHash<QByteArray, std::optional<QByteArray>> environnement_;  // as it was before Defaut_Du_Serveur_Seul
};

}  // namespace ostrel_test
