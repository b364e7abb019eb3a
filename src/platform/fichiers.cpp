#include "platform/fichiers.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/memoire.h"

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

}  // namespace

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
    mode_t mode = 0644;
    struct stat etat {};
    if (::stat(cible.constData(), &etat) == 0) mode = etat.st_mode & 07777;

    QByteArray temporaire = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                              QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(temporaire.data());
    if (fd < 0) {
        resultat.Erreur = Raison(errno);
        return resultat;
    }
    bool ok = Ecrire_Tout(fd, contenu.constData(), contenu.size());
    int erreur = ok ? 0 : errno;
    if (ok && ::fchmod(fd, mode) != 0) { /* keeps the temporary file's mode */ }
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
    const int dossier = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dossier >= 0) {
        ::fsync(dossier);
        ::close(dossier);
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
    // Straight into a buffer of the file's size; whatever a file that grows
    // meanwhile (or one without a size) holds beyond it is read after.
    const qint64 taille = fichier.size();
    qint64 lu = 0;
    contenu.clear();
    if (taille > 0) {
        contenu.resize(taille);
        Grandes_Pages(contenu.data(), taille);
        for (qint64 n = 0; lu < taille && (n = fichier.read(contenu.data() + lu, taille - lu)) > 0;) lu += n;
        contenu.resize(lu);
    }
    if (fichier.error() == QFileDevice::NoError) contenu += fichier.readAll();
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
