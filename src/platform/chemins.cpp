#include "platform/chemins.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrel {

QString Disque_C() {
    const QString v = qEnvironmentVariable("OSTREL_DISQUE_C");
    return v.isEmpty() ? QDir::homePath() : v;
}

QString Dossier_Windows() {
    const QString v = qEnvironmentVariable("OSTREL_DOSSIER_WINDOWS");
    return v.isEmpty() ? Disque_C() + QStringLiteral("/Windows") : v;
}

QString Chemin_Natif(const QString& chemin) {
    QString c = chemin;
    c.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (c.size() >= 2 && (c[0] == QLatin1Char('c') || c[0] == QLatin1Char('C')) && c[1] == QLatin1Char(':')) {
        QString reste = c.mid(2);
        while (reste.startsWith(QLatin1Char('/'))) reste.remove(0, 1);
        QString base = Disque_C();
        while (base.size() > 1 && base.endsWith(QLatin1Char('/'))) base.chop(1);
        c = reste.isEmpty() ? base : base + QLatin1Char('/') + reste;
    }
    return c;
}

QString Peripherique_Port(int numero) {
    const QString v = qEnvironmentVariable(qPrintable(QStringLiteral("OSTREL_COM%1").arg(numero)));
    return v.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(numero - 1) : v;
}

void Preparer_Dossier_Execution() {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    const uid_t moi = ::geteuid();
    const passwd* compte = ::getpwuid(moi);
    const QByteArray nom = compte ? QByteArray(compte->pw_name) : QByteArray::number(moi);
    const QByteArray dossier = QFile::encodeName(QDir::tempPath()) + "/runtime-" + nom;
    if (::mkdir(dossier.constData(), 0700) != 0 && errno != EEXIST) return;
    struct stat etat {};
    if (::lstat(dossier.constData(), &etat) != 0 || !S_ISDIR(etat.st_mode) || etat.st_uid != moi) return;
    if ((etat.st_mode & 07777) != 0700 && ::chmod(dossier.constData(), 0700) != 0) return;
    ::setenv("XDG_RUNTIME_DIR", dossier.constData(), 1);
}

}  // namespace ostrel
