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
    Sauvegarde_Progressive sauvegarde(chemin);
    sauvegarde.Ecrire(contenu);
    return sauvegarde.Terminer();
}

Sauvegarde_Progressive::Sauvegarde_Progressive(const QString& chemin) : chemin_(chemin) {
    if (chemin.isEmpty()) {
        refus_ = QStringLiteral("nom de fichier vide");
        return;
    }
    const QFileInfo info(chemin);
    if (info.isDir()) {
        refus_ = QStringLiteral("c'est un dossier");
        return;
    }
    temporaire_ = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    fd_ = ::mkstemp(temporaire_.data());
    if (fd_ < 0) erreur_ = errno;
}

Sauvegarde_Progressive::~Sauvegarde_Progressive() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(temporaire_.constData());
}

void Sauvegarde_Progressive::Ecrire(QByteArrayView morceau) {
    if (fd_ < 0 || erreur_ != 0) return;
    if (!Ecrire_Tout(fd_, morceau.data(), morceau.size())) {
        erreur_ = errno;
        return;
    }
    ecrits_ += morceau.size();
    // The disk takes what is written by the megabyte, while the rest is made.
    constexpr long long Tranche = 1 << 20;
    if (ecrits_ - demandes_ >= Tranche) {
        ::sync_file_range(fd_, demandes_, ecrits_ - demandes_, SYNC_FILE_RANGE_WRITE);
        demandes_ = ecrits_;
    }
}

Resultat_Fichier Sauvegarde_Progressive::Terminer() {
    Resultat_Fichier resultat;
    if (!refus_.isEmpty()) {
        resultat.Erreur = refus_;
        return resultat;
    }
    if (fd_ < 0) {
        resultat.Erreur = Raison(erreur_);
        return resultat;
    }
    const QByteArray cible = QFile::encodeName(chemin_);
    mode_t mode = 0644;
    struct stat etat {};
    if (::stat(cible.constData(), &etat) == 0) mode = etat.st_mode & 07777;
    int erreur = erreur_;
    if (erreur == 0 && ::fchmod(fd_, mode) != 0) { /* keeps the temporary file's mode */ }
    if (erreur == 0 && ::fsync(fd_) != 0) erreur = errno;
    if (::close(fd_) != 0 && erreur == 0) erreur = errno;
    fd_ = -1;
    if (erreur == 0 && ::rename(temporaire_.constData(), cible.constData()) != 0) erreur = errno;
    if (erreur != 0) {
        ::unlink(temporaire_.constData());
        resultat.Erreur = Raison(erreur);
        return resultat;
    }
    // The rename itself must reach the disk before the save is called done.
    const int dossier = ::open(QFile::encodeName(QFileInfo(chemin_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dossier >= 0) {
        ::fsync(dossier);
        ::close(dossier);
    }
    resultat.Reussi = true;
    return resultat;
}

Sortie_Par_Morceaux::Sortie_Par_Morceaux(Sortie sortie) : sortie_(std::move(sortie)) {
    Reserver_Grand(tampon_, Morceau + Morceau / 4);
}

void Sortie_Par_Morceaux::Fin() {
    if (tampon_.isEmpty()) return;
    sortie_(tampon_);
    tampon_.resize(0);  // the room stays for the next piece
}

QByteArray Contenu_Entier(const std::function<void(const Sortie_Par_Morceaux::Sortie&)>& ecrire) {
    QByteArray contenu;
    ecrire([&contenu](QByteArrayView morceau) { contenu += morceau; });
    return contenu;
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
