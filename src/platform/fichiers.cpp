#include "platform/fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <csignal>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ostrel {
namespace {

QString Raison(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

bool Ecrire_Tout(int fd, const char* octets, qsizetype taille) {
    while (taille > 0) {
        const ssize_t n = ::write(fd, octets, static_cast<size_t>(taille));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        octets += n;
        taille -= n;
    }
    return true;
}

constexpr int Longueur_Suffixe = 6;

bool Suffixe_Temporaire(QStringView suffixe) {
    if (suffixe.size() != Longueur_Suffixe) return false;
    for (QChar c : suffixe)
        if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))))
            return false;
    return true;
}

// Temporaries of earlier saves of this file that never reached their rename.
void Effacer_Temporaires(const QString& dossier, const QString& prefixe) {
    const QStringList noms = QDir(dossier).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& nom : noms)
        if (nom.startsWith(prefixe) && Suffixe_Temporaire(QStringView(nom).mid(prefixe.size())))
            ::unlink(QFile::encodeName(dossier + QLatin1Char('/') + nom).constData());
}

// Created with mode 0666 so that the umask alone decides a new file's mode.
int Creer_Temporaire(const QString& dossier, const QString& prefixe, QByteArray& chemin) {
    static const char lettres[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int essai = 0; essai < 100; ++essai) {
        QString nom = prefixe;
        for (int i = 0; i < Longueur_Suffixe; ++i)
            nom += QLatin1Char(lettres[QRandomGenerator::global()->bounded(static_cast<int>(sizeof lettres) - 1)]);
        chemin = QFile::encodeName(dossier + QLatin1Char('/') + nom);
        const int fd = ::open(chemin.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

void Ignorer_Limite_Taille_Fichier() { std::signal(SIGXFSZ, SIG_IGN); }

Resultat_Fichier Sauvegarde_Sure(const QString& chemin, const QByteArray& contenu) {
    Resultat_Fichier resultat;
    if (chemin.isEmpty()) {
        resultat.Erreur = QStringLiteral("nom de fichier vide");
        return resultat;
    }
    const QByteArray cible = QFile::encodeName(chemin);
    const QFileInfo info(chemin);
    if (info.isDir()) {
        resultat.Erreur = QStringLiteral("c'est un dossier");
        return resultat;
    }
    struct stat etat {};
    const bool existe = ::stat(cible.constData(), &etat) == 0;

    const QString dossier = info.absolutePath();
    const QString prefixe = QLatin1Char('.') + info.fileName() + QLatin1Char('.');
    Effacer_Temporaires(dossier, prefixe);
    QByteArray temporaire;
    const int fd = Creer_Temporaire(dossier, prefixe, temporaire);
    if (fd < 0) {
        resultat.Erreur = Raison(errno);
        return resultat;
    }
    bool ok = Ecrire_Tout(fd, contenu.constData(), contenu.size());
    int erreur = ok ? 0 : errno;
    if (ok && existe && ::fchmod(fd, etat.st_mode & 07777) != 0) { /* keeps the umask's mode */ }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        erreur = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        erreur = errno;
    }
    if (ok && ::rename(temporaire.constData(), cible.constData()) != 0) {
        ok = false;
        erreur = errno;
    }
    if (!ok) {
        ::unlink(temporaire.constData());
        resultat.Erreur = Raison(erreur);
        return resultat;
    }
    // The rename itself must reach the disk before the save is called done.
    const int fd_dossier = ::open(QFile::encodeName(dossier).constData(), O_RDONLY | O_DIRECTORY);
    if (fd_dossier >= 0) {
        ::fsync(fd_dossier);
        ::close(fd_dossier);
    }
    resultat.Reussi = true;
    return resultat;
}

Resultat_Fichier Lire_Fichier(const QString& chemin, QByteArray& contenu) {
    Resultat_Fichier resultat;
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        resultat.Erreur = fichier.errorString();
        contenu.clear();
        return resultat;
    }
    contenu = fichier.readAll();
    if (fichier.error() != QFileDevice::NoError) {
        resultat.Erreur = fichier.errorString();
        contenu.clear();
        return resultat;
    }
    resultat.Reussi = true;
    return resultat;
}

bool Fichier_Existe(const QString& chemin) {
    return !chemin.isEmpty() && QFileInfo::exists(chemin) && !QFileInfo(chemin).isDir();
}

}  // namespace ostrel
