#pragma once
// A print server of the test's own (cupsd with its own folders and socket,
// nothing of the machine's printing touched), with one queue made the
// default, as a site has one: it takes jobs, refuses them or their
// documents, loses its queue for another, stops answering, or goes away.
// Each job's document stays in its spool folder, to be read back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <cups/cups.h>

#include "commun/fichiers_test.h"

namespace ostrel_test {

class Serveur_Impression {
public:
    static constexpr const char* File = "ostrel";

    // Empty when the server runs, else why not (for a skipped test).
    QString Demarrer() {
        const QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin")});
        if (cupsd.isEmpty()) return QStringLiteral("cupsd n'est pas installé");
        if (!dossier_.isValid()) return QStringLiteral("pas de dossier temporaire");
        const QDir d(dossier_.path());
        for (const char* s : {"spool", "tmp", "cache", "state", "ppd"}) d.mkpath(QLatin1String(s));
        socket_ = d.filePath(QStringLiteral("cups.sock"));
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
        serveur_.setProgram(cupsd);
        serveur_.setArguments({QStringLiteral("-f"), QStringLiteral("-c"), d.filePath(QStringLiteral("cupsd.conf")),
                               QStringLiteral("-s"), d.filePath(QStringLiteral("cups-files.conf"))});
        serveur_.setProcessChannelMode(QProcess::MergedChannels);
        serveur_.start();
        if (!serveur_.waitForStarted(10000)) return QStringLiteral("cupsd ne démarre pas");
        for (int i = 0; i < 200 && Commande(QStringLiteral("lpstat"), {QStringLiteral("-r")}) != 0; ++i) QThread::msleep(50);
        if (Commande(QStringLiteral("lpstat"), {QStringLiteral("-r")}) != 0)
            return QStringLiteral("cupsd ne répond pas : ") + QString::fromLocal8Bit(serveur_.readAll()) +
                   QString::fromLocal8Bit(Lire(d.filePath(QStringLiteral("error_log"))));
        if (!Ajouter_File(File)) return QStringLiteral("la file d'impression ne peut pas être créée (lpadmin)");
        Definir_Defaut(File);
        return {};
    }

    ~Serveur_Impression() { Arreter(); }

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
    // reads its socket's queue); -1 when that cannot be read.
    int Connexions_En_Attente() const {
        QProcess ss;
        ss.start(QStringLiteral("ss"), {QStringLiteral("-xlH"), QStringLiteral("src"), socket_});
        if (!ss.waitForFinished(10000)) return -1;
        const QList<QByteArray> champs = ss.readAllStandardOutput().simplified().split(' ');
        bool ok = false;
        const int n = champs.size() > 2 ? champs[2].toInt(&ok) : -1;
        return ok ? n : -1;
    }

    // Another queue, the default one (as the user sets it, even where an
    // lpoptions file names another), a queue deleted.
    bool Ajouter_File(const QString& nom) {
        return Commande(QStringLiteral("lpadmin"),
                        {QStringLiteral("-p"), nom, QStringLiteral("-E"), QStringLiteral("-v"), QStringLiteral("file:///dev/null")}) == 0;
    }
    void Definir_Defaut(const QString& nom) {
        EXPECT_EQ(Commande(QStringLiteral("lpadmin"), {QStringLiteral("-d"), nom}), 0);
        qputenv("PRINTER", nom.toUtf8());
    }
    void Supprimer_File(const QString& nom) { EXPECT_EQ(Commande(QStringLiteral("lpadmin"), {QStringLiteral("-x"), nom}), 0); }

    // The queue takes jobs and refuses each document once it has read it whole.
    void Refuser_Documents() {
        EXPECT_EQ(Commande(QStringLiteral("lpadmin"),
                           {QStringLiteral("-p"), File, QStringLiteral("-o"), QStringLiteral("printer-op-policy=sans-document")}),
                  0);
    }

    // cupsreject with its reason, or cupsaccept.
    void Refuser(const QString& raison) {
        EXPECT_EQ(Commande(QStringLiteral("cupsreject"), {QStringLiteral("-r"), raison, File}), 0);
    }
    void Accepter() { EXPECT_EQ(Commande(QStringLiteral("cupsaccept"), {File}), 0); }

    // The documents of every job taken, in order.
    std::vector<QByteArray> Documents() const {
        std::vector<QByteArray> documents;
        const QDir spool(QDir(dossier_.path()).filePath(QStringLiteral("spool")));
        for (const QString& nom : spool.entryList({QStringLiteral("d*")}, QDir::Files, QDir::Name))
            documents.push_back(Lire(spool.filePath(nom)));
        return documents;
    }

private:
    int Commande(const QString& programme, const QStringList& arguments) const {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(programme, arguments);
        if (!p.waitForFinished(10000)) return -1;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir dossier_{QDir::tempPath() + QStringLiteral("/cups-XXXXXX")};
    QString socket_;
    QProcess serveur_;
    bool suspendu_ = false;
};

}  // namespace ostrel_test
