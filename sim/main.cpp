// Simulateur [--modules 1,2,3] [--voies 8|16] [--lien PATH] [--debit 9600]
//            [--fige | [--graine N] [--date "dd/mm/yyyy[ hh:mm]"]]
// Plays a bus of modules on a pseudo-terminal until it is killed; the first
// line of its output is the path of the terminal to open. The modules are a
// running plant on the PC's clock, or on a clock started at --date, with a
// seed of its own unless one is given; --fige keeps them in a fixed state
// instead.
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <random>
#include <vector>

#include "simulateur.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage : Simulateur [--modules 1,2,3] [--voies 8|16] [--lien CHEMIN] [--debit 9600] "
                 "[--fige | [--graine N] [--date \"JJ/MM/AAAA[ hh:mm]\"]]\n");
    return 2;
}

// The start of the module clocks: a day, at midnight unless a time is given,
// in the years a module clock can hold.
QDateTime Date_Depart(const QString& texte) {
    for (const char* forme : {"d/M/yyyy H:mm", "d/M/yyyy"}) {
        const QDateTime t = QDateTime::fromString(texte.simplified(), QString::fromLatin1(forme));
        if (t.isValid() && t.date().year() >= 2000 && t.date().year() <= 2255) return t;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> modules{1, 2, 3};
    int voies = 0;
    int debit = 0;
    QString lien;
    bool fige = false;
    bool graine_donnee = false;
    bool date_donnee = false;
    ostrel::sim::Cours cours;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--fige")) {
            fige = true;
            continue;
        }
        if (i + 1 >= argc) return Usage();
        const QString v = QString::fromLocal8Bit(argv[++i]);
        bool ok = true;
        if (a == QLatin1String("--modules")) {
            modules.clear();
            for (const QString& m : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                const int n = m.trimmed().toInt(&ok);
                if (!ok || n < 1 || n > 32) return Usage();
                modules.push_back(n);
            }
        } else if (a == QLatin1String("--voies")) {
            voies = v.toInt(&ok);
            if (!ok || (voies != 8 && voies != 16)) return Usage();
        } else if (a == QLatin1String("--lien")) {
            lien = v;
        } else if (a == QLatin1String("--debit")) {
            debit = v.toInt(&ok);
            if (!ok || debit < 0) return Usage();
        } else if (a == QLatin1String("--graine")) {
            cours.graine = v.toUInt(&ok);
            if (!ok) return Usage();
            graine_donnee = true;
        } else if (a == QLatin1String("--date")) {
            const QDateTime depart = Date_Depart(v);
            if (!depart.isValid()) return Usage();
            // Runs on from there at the pace of the PC's clock.
            const auto lance = std::chrono::steady_clock::now();
            cours.horloge = [depart, lance] {
                const auto ecoule = std::chrono::steady_clock::now() - lance;
                return depart.addMSecs(std::chrono::duration_cast<std::chrono::milliseconds>(ecoule).count());
            };
            date_donnee = true;
        } else {
            return Usage();
        }
    }
    if (modules.empty() || (fige && (graine_donnee || date_donnee))) return Usage();

    // Block the stop signals before the simulator's thread starts, so that
    // only the wait below receives them.
    sigset_t signaux;
    sigemptyset(&signaux);
    sigaddset(&signaux, SIGINT);
    sigaddset(&signaux, SIGTERM);
    sigaddset(&signaux, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signaux, nullptr);

    ostrel::sim::Simulateur simulateur;
    if (fige) {
        simulateur.Etat_Demonstration(modules, voies);
    } else {
        if (!graine_donnee) cours.graine = std::random_device{}();
        // On the error output, so that a course worth seeing again can be.
        std::fprintf(stderr, "Simulateur : graine %u\n", cours.graine);
        simulateur.Etat_Installation(modules, voies, cours);
    }
    simulateur.Definir_Debit(debit);
    // Nobody reads the frames of a demonstration: none is kept, so that the
    // memory stays the same however long it runs.
    simulateur.Garder_Trames(0);
    if (!simulateur.Demarrer()) {
        std::fprintf(stderr, "Simulateur : impossible d'ouvrir un pseudo-terminal\n");
        return 1;
    }
    if (!lien.isEmpty()) {
        QFile::remove(lien);
        if (!QFile::link(simulateur.Chemin(), lien)) {
            std::fprintf(stderr, "Simulateur : impossible de créer le lien %s\n", qPrintable(lien));
            return 1;
        }
    }
    std::printf("%s\n", qPrintable(simulateur.Chemin()));
    std::fflush(stdout);

    int recu = 0;
    sigwait(&signaux, &recu);
    simulateur.Arreter();
    if (!lien.isEmpty()) QFile::remove(lien);
    return 0;
}
