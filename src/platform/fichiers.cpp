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
    struct stat etat {};
    existe_ = ::stat(QFile::encodeName(chemin).constData(), &etat) == 0;
    mode_ = etat.st_mode & 07777;
    dossier_ = info.absolutePath();
    const QString prefixe = QLatin1Char('.') + info.fileName() + QLatin1Char('.');
    Effacer_Temporaires(dossier_, prefixe);
    fd_ = Creer_Temporaire(dossier_, prefixe, temporaire_);
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
    int erreur = erreur_;
    if (erreur == 0 && existe_ && ::fchmod(fd_, mode_) != 0) { /* keeps the umask's mode */ }
    if (erreur == 0 && ::fsync(fd_) != 0) erreur = errno;
    if (::close(fd_) != 0 && erreur == 0) erreur = errno;
    fd_ = -1;
    if (erreur == 0 && ::rename(temporaire_.constData(), QFile::encodeName(chemin_).constData()) != 0) erreur = errno;
    if (erreur != 0) {
        ::unlink(temporaire_.constData());
        resultat.Erreur = Raison(erreur);
        return resultat;
    }
    // The rename itself must reach the disk before the save is called done.
    const int fd_dossier = ::open(QFile::encodeName(dossier_).constData(), O_RDONLY | O_DIRECTORY);
    if (fd_dossier >= 0) {
        ::fsync(fd_dossier);
        ::close(fd_dossier);
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
