#include "platform/fichiers.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <map>

#include "platform/horloge.h"
#include "platform/memoire.h"

namespace ostrel {
namespace {

// In the operator's language whatever the machine's locale: the causes a save
// or a reading may meet in words, the rare rest by the system's error number
// and its own description.
QString Raison(int code) {
    switch (code) {
    case ENOSPC:
    case EDQUOT: return QStringLiteral("disque plein");
    case EACCES:
    case EPERM: return QStringLiteral("permission refusée");
    case EROFS: return QStringLiteral("système de fichiers en lecture seule");
    case EFBIG:
    case EOVERFLOW: return QStringLiteral("fichier trop volumineux");
    case ENAMETOOLONG: return QStringLiteral("nom de fichier trop long");
    case ENOENT: return QStringLiteral("fichier ou dossier introuvable");
    case ENOTDIR: return QStringLiteral("un élément du chemin n'est pas un dossier");
    case ELOOP: return QStringLiteral("trop de liens symboliques");
    case EIO: return QStringLiteral("erreur d'entrée-sortie");
    case EMFILE:
    case ENFILE: return QStringLiteral("trop de fichiers ouverts");
    case EWOULDBLOCK: return QStringLiteral("le fichier est utilisé par un autre programme");
    case EEXIST: return QStringLiteral("le fichier existe déjà");
    case EISDIR: return QStringLiteral("c'est un dossier");
    case EBUSY: return QStringLiteral("le fichier est utilisé par le système");
    case ETXTBSY: return QStringLiteral("le fichier est un programme en cours d'exécution");
    case EXDEV: return QStringLiteral("le fichier et son dossier ne sont pas sur le même disque");
    case EMLINK: return QStringLiteral("trop de liens vers le fichier");
    case EINTR: return QStringLiteral("opération interrompue");
    case ESTALE: return QStringLiteral("le fichier a changé sur le serveur");
    case ENOMEM: return QStringLiteral("mémoire insuffisante");
    case ENXIO:
    case ENODEV: return QStringLiteral("périphérique absent");
    case ENOMEDIUM: return QStringLiteral("aucun support dans le lecteur");
    case ENOLCK: return QStringLiteral("aucun verrou disponible");
    case EOPNOTSUPP:
    case ENOSYS: return QStringLiteral("opération non prise en charge par ce système de fichiers");
    case EINVAL: return QStringLiteral("nom ou opération refusé par ce système de fichiers");
    case EILSEQ: return QStringLiteral("caractère refusé dans le nom par ce système de fichiers");
    case EUCLEAN:
    case EBADMSG: return QStringLiteral("système de fichiers endommagé");
    case ETIMEDOUT: return QStringLiteral("le serveur ne répond pas");
    case ENOTCONN: return QStringLiteral("le disque monté ne répond plus");
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ECONNREFUSED:
    case ECONNRESET:
    case ECONNABORTED: return QStringLiteral("serveur ou réseau injoignable");
    default: {
        const char* description = ::strerrordesc_np(code);
        return description ? QStringLiteral("erreur système n° %1 (%2)").arg(code).arg(QString::fromUtf8(description))
                           : QStringLiteral("erreur système n° %1").arg(code);
    }
    }
}

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

// The file a save replaces: the end of a chain of symbolic links, so that the
// links stay links and the file they point to gets the content; a dangling
// link names the file to make. Empty, with the reason in erreur, when the
// chain cannot be followed.
QByteArray Fichier_Vise(QByteArray chemin, int& erreur) {
    constexpr int Sauts_Max = 40;  // as the system follows them
    for (int sauts = 0;; ++sauts) {
        struct stat etat {};
        if (::lstat(chemin.constData(), &etat) != 0) {
            if (errno == ENOENT) return chemin;
            erreur = errno;
            return {};
        }
        if (!S_ISLNK(etat.st_mode)) return chemin;
        if (sauts == Sauts_Max) {
            erreur = ELOOP;
            return {};
        }
        QByteArray lien(4096, Qt::Uninitialized);
        ssize_t n;
        while ((n = ::readlink(chemin.constData(), lien.data(), static_cast<size_t>(lien.size()))) == lien.size())
            lien.resize(lien.size() * 2);
        if (n < 0) {
            erreur = errno;
            return {};
        }
        lien.resize(n);
        if (lien.startsWith('/')) {
            chemin = lien;
        } else {
            const qsizetype barre = chemin.lastIndexOf('/');
            chemin = barre < 0 ? lien : chemin.left(barre + 1) + lien;
        }
    }
}

// Temporaries are ".ostrel-HHHHHHHH-XXXXXX": a prefix nothing else uses, a
// digest of the saved file's name so that each file finds its own, and six
// random letters or digits. Short and of fixed length, it fits beside any
// name the system allows.
constexpr char Prefixe_Temporaire[] = ".ostrel-";
constexpr qsizetype Longueur_Prefixe = sizeof Prefixe_Temporaire - 1;
constexpr int Longueur_Empreinte = 8, Longueur_Suffixe = 6;

QByteArray Empreinte(QByteArrayView nom) {
    quint32 h = 2166136261u;  // FNV-1a
    for (char c : nom) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return QByteArray::number(h, 16).rightJustified(Longueur_Empreinte, '0');
}

// A temporary of the file whose name has this digest; of any file when the
// digest is empty.
bool Temporaire_De(QByteArrayView nom, QByteArrayView empreinte) {
    if (nom.size() != Longueur_Prefixe + Longueur_Empreinte + 1 + Longueur_Suffixe || !nom.startsWith(Prefixe_Temporaire) ||
        nom[Longueur_Prefixe + Longueur_Empreinte] != '-')
        return false;
    const QByteArrayView sien = nom.sliced(Longueur_Prefixe, Longueur_Empreinte);
    const auto chiffre = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    if (empreinte.isEmpty() ? !std::all_of(sien.begin(), sien.end(), chiffre) : sien != empreinte) return false;
    for (char c : nom.sliced(nom.size() - Longueur_Suffixe))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

void Verrouiller(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// Another save of the file, by this program or another, is waited for a few
// seconds at most: a lock held longer is another program's, and the operator
// is told rather than left before a frozen window. False, with errno
// EWOULDBLOCK, when the lock never came.
bool Verrouiller_Sous_Peu(int fd) {
    constexpr int Attente_ms = 5000, Pas_ms = 50;
    for (int attendu = 0;; attendu += Pas_ms) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        // A file system that gives no lock (NFS without its lock service,
        // some FUSE mounts) leaves each save to write alone, as before locks.
        if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (attendu >= Attente_ms) {
            errno = EWOULDBLOCK;
            return false;
        }
        Pause(Pas_ms);
    }
}

// Temporaries of earlier saves that never reached their rename: of the file
// whose name has this digest, of any file when it is empty. A save holds a
// lock on its temporary until the rename: one that is locked is still being
// written, by this program or another, and stays; so does one whose lock
// cannot be asked for.
void Effacer_Temporaires(const QByteArray& dossier, QByteArrayView empreinte) {
    DIR* d = ::opendir(dossier.constData());
    if (d == nullptr) return;
    while (const dirent* entree = ::readdir(d)) {
        if (!Temporaire_De(entree->d_name, empreinte)) continue;
        const int fd = ::openat(::dirfd(d), entree->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlinkat(::dirfd(d), entree->d_name, 0);
        ::close(fd);
    }
    ::closedir(d);
}

// Locked before anything is written to it. A clean-up that took it for a
// leftover just before the lock has removed its name: another one is made.
// Open for reading too: a save that cannot replace the file after all writes
// what it holds over the file itself.
int Creer_Temporaire(const QByteArray& dossier, const QByteArray& prefixe, QByteArray& chemin, mode_t mode) {
    static const char lettres[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int essai = 0; essai < 100; ++essai) {
        chemin = dossier + '/' + prefixe;
        for (int i = 0; i < Longueur_Suffixe; ++i)
            chemin += lettres[QRandomGenerator::global()->bounded(static_cast<int>(sizeof lettres) - 1)];
        const int fd = ::open(chemin.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        Verrouiller(fd);
        struct stat etat {};
        if (::fstat(fd, &etat) != 0 || etat.st_nlink > 0) return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Names and values of a file's extended attributes (its ACLs among them);
// false when they cannot all be read. A file system that keeps none gives none.
using Attributs = std::map<QByteArray, QByteArray>;
bool Lire_Attributs(const std::function<ssize_t(char*, size_t)>& lister,
                    const std::function<ssize_t(const char*, void*, size_t)>& lire, Attributs& attributs) {
    QByteArray noms;
    for (;;) {
        const ssize_t taille = lister(nullptr, 0);
        if (taille < 0) return errno == ENOTSUP;
        noms.resize(taille);
        const ssize_t n = lister(noms.data(), static_cast<size_t>(noms.size()));
        if (n >= 0) {
            noms.resize(n);
            break;
        }
        if (errno != ERANGE) return false;  // grown meanwhile: asked again
    }
    for (const QByteArray& nom : noms.split('\0')) {
        if (nom.isEmpty()) continue;
        QByteArray valeur;
        for (;;) {
            const ssize_t taille = lire(nom.constData(), nullptr, 0);
            if (taille < 0) return false;
            valeur.resize(taille);
            const ssize_t n = lire(nom.constData(), valeur.data(), static_cast<size_t>(valeur.size()));
            if (n >= 0) {
                valeur.resize(n);
                break;
            }
            if (errno != ERANGE) return false;
        }
        attributs[nom] = valeur;
    }
    return true;
}

// The temporary takes the extended attributes of the file it replaces: a
// site's own, and its ACLs, so that a colleague given access keeps it. What
// the temporary got from its folder and the file lacks is taken away.
bool Memes_Attributs(int fd, const QByteArray& chemin) {
    Attributs fichier, temporaire;
    if (!Lire_Attributs([&](char* l, size_t t) { return ::listxattr(chemin.constData(), l, t); },
                        [&](const char* n, void* v, size_t t) { return ::getxattr(chemin.constData(), n, v, t); },
                        fichier) ||
        !Lire_Attributs([&](char* l, size_t t) { return ::flistxattr(fd, l, t); },
                        [&](const char* n, void* v, size_t t) { return ::fgetxattr(fd, n, v, t); }, temporaire))
        return false;
    for (const auto& [nom, valeur] : temporaire)
        if (!fichier.count(nom) && ::fremovexattr(fd, nom.constData()) != 0) return false;
    for (const auto& [nom, valeur] : fichier) {
        const auto vu = temporaire.find(nom);
        if ((vu == temporaire.end() || vu->second != valeur) &&
            ::fsetxattr(fd, nom.constData(), valeur.constData(), static_cast<size_t>(valeur.size()), 0) != 0)
            return false;
    }
    return true;
}

// The flags a site sets on a file with chattr that stay whatever its content
// (no dump for backups, no access time, synchronous writes, compression or not,
// no copy on write...), which a file written over in place keeps. Immutable and
// append-only refuse the save itself; the others belong to the file system
// (extents, inline data, encryption, verity) or to folders.
constexpr int Drapeaux_Du_Site = FS_SECRM_FL | FS_UNRM_FL | FS_COMPR_FL | FS_SYNC_FL | FS_NODUMP_FL | FS_NOATIME_FL |
                                 FS_NOCOMP_FL | FS_JOURNAL_DATA_FL | FS_NOTAIL_FL | FS_NOCOW_FL | FS_DAX_FL;

// A file system that keeps no such flags (FAT, most FUSE and network mounts).
bool Sans_Drapeaux(int erreur) { return erreur == ENOTTY || erreur == EOPNOTSUPP || erreur == ENOSYS || erreur == EINVAL; }

// The file's flags, 0 where its file system keeps none; false when they
// cannot be read (a file its user may write but not read: it is then written
// over in place, where it keeps them). Opened without waiting, should the name
// have become a pipe.
bool Lire_Drapeaux(const QByteArray& chemin, int& drapeaux) {
    drapeaux = 0;
    const int fd = ::open(chemin.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool lus = ::ioctl(fd, FS_IOC_GETFLAGS, &drapeaux) == 0 || Sans_Drapeaux(errno);
    if (!lus) drapeaux = 0;
    ::close(fd);
    return lus;
}

// The temporary, still empty, takes the file's flags: some can only be set on
// an empty file (no copy on write on btrfs), and the writing then follows
// them. What the temporary got from its folder and the file lacks is taken
// away. False when they cannot all be given (data journaling asks for a right
// that root alone has; a flag the file system takes without keeping it).
bool Memes_Drapeaux(int fd, int fichier) {
    int temporaire = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &temporaire) != 0) return (fichier & Drapeaux_Du_Site) == 0;
    if ((temporaire & Drapeaux_Du_Site) == (fichier & Drapeaux_Du_Site)) return true;
    int voulus = (temporaire & ~Drapeaux_Du_Site) | (fichier & Drapeaux_Du_Site);
    int obtenus = 0;
    return ::ioctl(fd, FS_IOC_SETFLAGS, &voulus) == 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &obtenus) == 0 &&
           (obtenus & Drapeaux_Du_Site) == (fichier & Drapeaux_Du_Site);
}

// The temporary takes the owner, group, extended attributes, flags and mode
// of the file it replaces (the mode last: a change of owner clears the
// set-user-ID bits, and an ACL given back sets the group bits from its mask,
// as the file has them). False when they cannot all be given.
bool Comme_Le_Fichier(int fd, const struct stat& fichier, int drapeaux, const QByteArray& chemin) {
    struct stat temporaire {};
    if (::fstat(fd, &temporaire) != 0) return false;
    if ((temporaire.st_uid != fichier.st_uid || temporaire.st_gid != fichier.st_gid) &&
        ::fchown(fd, fichier.st_uid, fichier.st_gid) != 0)
        return false;
    return Memes_Attributs(fd, chemin) && Memes_Drapeaux(fd, drapeaux) && ::fchmod(fd, fichier.st_mode & 07777) == 0;
}

// A save written in place and stopped before its end (killed, a power cut)
// left its reserve allocated past the file's end, as large as the content it
// was writing, and nothing but cutting the file gives it back: cut at its own
// length (ext4, XFS, btrfs and tmpfs then free what lies past the end; a hole
// punched there is not freed on ext4) before this save needs room of its own.
// Not while a save in place holds the file's lock: its reserve is in use.
// Blocks of the file system's own bookkeeping (extent trees, indirect blocks)
// are below the margin.
void Rendre_Reserve(const QByteArray& chemin, const struct stat& etat) {
    constexpr long long Marge = 1 << 20;
    if (static_cast<long long>(etat.st_blocks) * 512 <= static_cast<long long>(etat.st_size) + Marge) return;
    const int fd = ::open(chemin.constData(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat vu {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &vu) == 0 && ::ftruncate(fd, vu.st_size) != 0) {
        /* kept until the file is cut again */
    }
    ::close(fd);
}

// Writes the content over the file itself; 0 or the failure's errno, with
// entame set once the old content began to be written over. Nothing is written
// over before the room the content needs is reserved, so that the size limit,
// and a full disk on a file system that writes over its blocks where they lie
// (ext4, XFS), leave the old file as it was; its tail is cut only after. A
// file system that copies on write (btrfs) needs new room for every block
// written over, which the reserve does not hold: a disk that fills amid the
// writing there leaves new bytes followed by old ones, and the failure says the
// file may be incomplete. The reserve leaves the size as it is: a save killed
// amid writing leaves the old length, not a tail of zero bytes. The file is
// cut only when the old content was longer: some drivers (FAT through FUSE)
// refuse a cut to the length the file already has, and a whole file is not
// told incomplete.
int Ecrire_Sur_Place(const QByteArray& chemin, const QByteArray& contenu, bool& entame) {
    const int fd = ::open(chemin.constData(), O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    const off_t taille = contenu.size();
    struct stat etat {};
    rlimit limite {};
    int erreur = 0;
    if (!Verrouiller_Sous_Peu(fd)) {  // another save of this file writes before or after, not amid
        erreur = errno;
    } else if (::fstat(fd, &etat) != 0) {
        erreur = errno;
    } else if (::getrlimit(RLIMIT_FSIZE, &limite) == 0 && limite.rlim_cur != RLIM_INFINITY &&
               static_cast<rlim_t>(taille) > limite.rlim_cur) {
        erreur = EFBIG;  // the limit stops writes past it, over old content too
    } else if (taille > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, taille) != 0) {
        // A file system that reserves nothing ahead is written as it takes it.
        if (errno != EOPNOTSUPP) {
            erreur = errno;
            if (::ftruncate(fd, etat.st_size) != 0) { /* the reserve stays past the end, the content is the old one */ }
        }
    }
    if (erreur == 0) {
        entame = true;
        struct stat ecrit {};
        if (!Ecrire_Tout(fd, contenu.constData(), taille) || ::fstat(fd, &ecrit) != 0 ||
            (ecrit.st_size != taille && ::ftruncate(fd, taille) != 0) || ::fsync(fd) != 0)
            erreur = errno;
    }
    ::close(fd);
    return erreur;
}

// A rename that fails on a name already taken; where the file system cannot
// say so in one step, a second name given, then the first taken away; where it
// gives no second name either (exFAT, network shares through gvfs or smb,
// cloud mounts), the name is first taken by an empty file made only if none
// is there, which the rename then replaces.
int Renommer_Sans_Remplacer(const QByteArray& de, const QByteArray& vers) {
    if (::renameat2(AT_FDCWD, de.constData(), AT_FDCWD, vers.constData(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    if (::link(de.constData(), vers.constData()) == 0) {
        ::unlink(de.constData());
        return 0;
    }
    if (errno == EEXIST) return -1;
    const int place = ::open(vers.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (place < 0) return -1;
    ::close(place);
    if (::rename(de.constData(), vers.constData()) == 0) return 0;
    const int erreur = errno;
    ::unlink(vers.constData());
    errno = erreur;
    return -1;
}

// "dossier/nom.ext" numbered n: "dossier/nom_n.ext".
QByteArray Nom_Numero(const QByteArray& nom, int n) {
    const qsizetype barre = nom.lastIndexOf('/'), point = nom.lastIndexOf('.');
    const QByteArray numero = '_' + QByteArray::number(n);
    if (point <= barre + 1) return nom + numero;
    return nom.left(point) + numero + nom.mid(point);
}

// Anything under that name, a dangling link too.
bool Nom_Occupe(const QByteArray& nom) {
    struct stat etat {};
    return ::lstat(nom.constData(), &etat) == 0;
}

// A folder full of names taken is a failure, not a search without end.
constexpr int Numero_Max = 100000;

}  // namespace

void Ignorer_Limite_Taille_Fichier() { std::signal(SIGXFSZ, SIG_IGN); }

Resultat_Fichier Sauvegarde_Sure(const QString& chemin, const QByteArray& contenu) {
    Sauvegarde_Progressive sauvegarde(chemin);
    sauvegarde.Ecrire(contenu);
    return sauvegarde.Terminer();
}

Sauvegarde_Progressive::Sauvegarde_Progressive(const QString& chemin, Nom_Pris nom_pris)
    : nom_pris_(nom_pris), remplacer_(nom_pris == Nom_Pris::Remplacer) {
    if (chemin.isEmpty()) {
        refus_ = QStringLiteral("nom de fichier vide");
        return;
    }
    QByteArray nom = QFile::encodeName(chemin);
    if (nom_pris_ == Nom_Pris::Suivant) {
        // The first name free now; Terminer goes on to the next ones if it is taken meanwhile.
        base_ = nom;
        while (Nom_Occupe(nom) && numero_ < Numero_Max) nom = Nom_Numero(base_, ++numero_);
    }
    cible_ = Fichier_Vise(nom, erreur_);
    if (erreur_ != 0) return;
    struct stat etat {};
    existe_ = ::stat(cible_.constData(), &etat) == 0;
    if (!existe_ && errno != ENOENT) {
        erreur_ = errno;
        return;
    }
    if (cible_.endsWith('/') || (existe_ && S_ISDIR(etat.st_mode))) {
        refus_ = Raison(EISDIR);
        return;
    }
    // A named pipe, a device or a socket stays what it is: a plain file put
    // in its place would cut off what reads it, and writing into it could wait
    // without end for a reader.
    if (existe_ && !S_ISREG(etat.st_mode)) {
        refus_ = QStringLiteral("ce n'est pas un fichier ordinaire");
        return;
    }
    if (existe_ && !remplacer_) {
        erreur_ = EEXIST;
        return;
    }
    // A file its user may not write is refused, as opening it for output
    // would be; for root, only a read-only file system refuses.
    if (existe_ && ::faccessat(AT_FDCWD, cible_.constData(), W_OK, AT_EACCESS) != 0) {
        if (errno == EACCES || errno == EPERM)
            refus_ = QStringLiteral("fichier en lecture seule");
        else
            erreur_ = errno;
        return;
    }
    int drapeaux = 0;
    const bool drapeaux_lus = existe_ && Lire_Drapeaux(cible_, drapeaux);
    // An immutable file is refused above, for root too; an append-only one
    // can be neither replaced nor written over.
    if (drapeaux & FS_APPEND_FL) {
        refus_ = QStringLiteral("le fichier n'accepte que des ajouts");
        return;
    }
    if (existe_) Rendre_Reserve(cible_, etat);
    const qsizetype barre = cible_.lastIndexOf('/');
    dossier_ = barre < 0 ? QByteArray(".") : barre == 0 ? QByteArray("/") : cible_.left(barre);
    const QByteArray empreinte = Empreinte(QByteArrayView(cible_).sliced(barre + 1));
    const QByteArray prefixe = Prefixe_Temporaire + empreinte + '-';
    // Each new file-only save has a name of its own (the printouts): no later
    // save of the same name would take what one killed halfway left, so the
    // leftovers of every file of the folder go.
    Effacer_Temporaires(dossier_, remplacer_ ? QByteArrayView(empreinte) : QByteArrayView());
    // A rename would give the new content to this one of the file's names only.
    sur_place_ = existe_ && etat.st_nlink > 1;
    if (sur_place_) return;
    // The temporary of a file is closed to all but its owner from the start:
    // another user who opened it before it took the file's mode would read,
    // through that opening, what the file keeps from them. A new file's is
    // made as opening the file for output would make it (the umask or the
    // folder's default ACL decide): it keeps nothing from anyone.
    fd_ = Creer_Temporaire(dossier_, prefixe, temporaire_, existe_ ? 0600 : 0666);
    if (fd_ < 0) {
        // A folder that takes no new file, while the file itself may be written.
        if (existe_)
            sur_place_ = true;
        else
            erreur_ = errno;
    } else if (existe_ && !(drapeaux_lus && Comme_Le_Fichier(fd_, etat, drapeaux, cible_))) {
        ::unlink(temporaire_.constData());
        ::close(fd_);
        fd_ = -1;
        sur_place_ = true;
    }
}

Sauvegarde_Progressive::~Sauvegarde_Progressive() {
    if (fd_ < 0) return;
    ::unlink(temporaire_.constData());
    ::close(fd_);
}

void Sauvegarde_Progressive::Ecrire(QByteArrayView morceau) {
    if (sur_place_) contenu_ += morceau;
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
    if (!sur_place_) {
        if (fd_ < 0) {
            resultat.Erreur = Raison(erreur_);
            return resultat;
        }
        int erreur = erreur_;
        if (erreur == 0 && ::fsync(fd_) != 0) erreur = errno;
        // Every byte given is in the file: a write that went astray without a
        // word is not taken for a whole content.
        struct stat etat {};
        if (erreur == 0 && ::fstat(fd_, &etat) != 0) erreur = errno;
        if (erreur == 0 && etat.st_size != ecrits_) erreur = EIO;
        // Still locked while it is renamed, so that no clean-up takes it meanwhile.
        if (erreur == 0) {
            int renomme = remplacer_ ? ::rename(temporaire_.constData(), cible_.constData())
                                     : Renommer_Sans_Remplacer(temporaire_, cible_);
            // A name another program took meanwhile (two printouts of the same second).
            while (renomme != 0 && errno == EEXIST && nom_pris_ == Nom_Pris::Suivant && numero_ < Numero_Max) {
                cible_ = Nom_Numero(base_, ++numero_);
                renomme = Renommer_Sans_Remplacer(temporaire_, cible_);
            }
            if (renomme != 0) erreur = errno;
        }
        // A file that is itself a mount point (bound into place, as containers
        // and some backups do) is refused as busy: it is written over in place,
        // as other files that cannot be replaced, with what the temporary holds.
        if (erreur == EBUSY && remplacer_) {
            contenu_.resize(ecrits_);
            erreur = 0;
            for (qsizetype lu = 0, n; erreur == 0 && lu < contenu_.size(); lu += n)
                if ((n = ::pread(fd_, contenu_.data() + lu, static_cast<size_t>(contenu_.size() - lu), lu)) <= 0)
                    erreur = n < 0 ? errno : EIO;
            sur_place_ = erreur == 0;
        }
        if (erreur != 0 || sur_place_) ::unlink(temporaire_.constData());
        ::close(fd_);
        fd_ = -1;
        if (erreur != 0) {
            resultat.Erreur = Raison(erreur);
            return resultat;
        }
        if (!sur_place_) {
            // The rename itself must reach the disk before the save is called done.
            const int fd_dossier = ::open(dossier_.constData(), O_RDONLY | O_DIRECTORY);
            if (fd_dossier >= 0) {
                ::fsync(fd_dossier);
                ::close(fd_dossier);
            }
            resultat.Reussi = true;
            return resultat;
        }
    }
    const int erreur = Ecrire_Sur_Place(cible_, contenu_, resultat.Entame);
    contenu_ = QByteArray();
    resultat.Reussi = erreur == 0;
    if (erreur != 0) resultat.Erreur = Raison(erreur);
    return resultat;
}

QString Sauvegarde_Progressive::Chemin() const { return QFile::decodeName(cible_); }

QString Sauvegarde_Progressive::Erreur() const {
    if (!refus_.isEmpty()) return refus_;
    return erreur_ != 0 ? Raison(erreur_) : QString();
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

namespace {

// Whole megabytes, rounded up, their digits in groups of three.
QString Texte_Mo(qint64 octets) {
    const QString chiffres = QString::number((octets + (qint64{1} << 20) - 1) >> 20);
    QString texte;
    for (qsizetype i = 0; i < chiffres.size(); ++i) {
        if (i > 0 && (chiffres.size() - i) % 3 == 0) texte += QChar(0x00A0);
        texte += chiffres[i];
    }
    return texte + QStringLiteral("\u00A0Mo");
}

// Room for `capacite` bytes in a buffer, its content kept, asked of the
// system directly: where Qt's own growth meets a refusal it ends the program
// (or throws where nothing catches), here it is a false.
bool Place(QByteArray& tampon, qsizetype capacite) {
    if (tampon.capacity() >= capacite && tampon.isDetached()) return true;
    auto [entete, octets] = QTypedArrayData<char>::allocate(capacite + 1);
    if (entete == nullptr || octets == nullptr) return false;
    const qsizetype taille = tampon.size();
    if (taille > 0) std::memcpy(octets, tampon.constData(), static_cast<size_t>(taille));
    octets[taille] = '\0';
    QByteArray nouveau(QByteArray::DataPointer(entete, octets, taille));
    tampon.swap(nouveau);
    return true;
}

// Why a name that is no ordinary file is neither read nor written.
QString Refus_Non_Ordinaire(const struct stat& e) {
    return S_ISDIR(e.st_mode) ? Raison(EISDIR) : QStringLiteral("ce n'est pas un fichier ordinaire");
}

}  // namespace

Resultat_Fichier Lire_Fichier(const QString& chemin, QByteArray& contenu, qint64 taille_max) {
    Resultat_Fichier resultat;
    contenu.clear();
    const auto echec = [&](QString raison) {
        resultat.Erreur = std::move(raison);
        contenu = QByteArray();
        return resultat;
    };
    const auto trop_grand = [&](qint64 taille) {
        resultat.Trop_Grand = true;
        return echec(QStringLiteral("le fichier est trop grand (%1)").arg(Texte_Mo(taille)));
    };
    const auto sans_memoire = [&](qint64 taille) {
        resultat.Sans_Memoire = true;
        return echec(QStringLiteral("la mémoire manque pour lire le fichier (%1)").arg(Texte_Mo(taille)));
    };
    const QByteArray nom = QFile::encodeName(chemin);
    if (nom.isEmpty()) return echec(QStringLiteral("nom de fichier vide"));
    // A named pipe would hold the program until something writes into it, and
    // opening a device may act on what it drives (a serial port raises its
    // lines): what is no ordinary file is refused before it is opened, and
    // again once opened without waiting, should the name have changed between.
    // So is a file larger than its reader takes (a disk image picked by
    // mistake): nothing of it is read, no memory asked for it.
    struct stat etat {};
    if (::stat(nom.constData(), &etat) != 0) return echec(Raison(errno));
    if (!S_ISREG(etat.st_mode)) return echec(Refus_Non_Ordinaire(etat));
    if (etat.st_size > taille_max) return trop_grand(etat.st_size);
    const int fd = ::open(nom.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return echec(Raison(errno));
    int erreur = 0;
    if (::fstat(fd, &etat) != 0) {
        erreur = errno;
    } else if (!S_ISREG(etat.st_mode) || etat.st_size > taille_max) {
        ::close(fd);
        return S_ISREG(etat.st_mode) ? trop_grand(etat.st_size) : echec(Refus_Non_Ordinaire(etat));
    }
    // 0 at the end of the file; -1 with the reason in erreur.
    const auto lire = [fd, &erreur](char* dans, qsizetype place) {
        ssize_t n;
        while ((n = ::read(fd, dans, static_cast<size_t>(place))) < 0 && errno == EINTR) {
        }
        if (n < 0) erreur = errno;
        return n;
    };
    // Straight into a buffer of the file's size; whatever a file that grows
    // meanwhile holds beyond it is read after, up to the bound.
    ssize_t n = erreur == 0 ? 1 : -1;
    if (n > 0 && etat.st_size > 0) {
        if (!Place(contenu, static_cast<qsizetype>(etat.st_size))) {
            ::close(fd);
            return sans_memoire(etat.st_size);
        }
        contenu.resize(static_cast<qsizetype>(etat.st_size));
        Grandes_Pages(contenu.data(), contenu.size());
        qsizetype lu = 0;
        while (lu < contenu.size() && (n = lire(contenu.data() + lu, contenu.size() - lu)) > 0) lu += n;
        contenu.resize(lu);
    }
    char suite[1 << 14];
    while (n > 0 && (n = lire(suite, sizeof suite)) > 0) {
        const qint64 taille = contenu.size() + n;
        if (taille > taille_max) {
            ::close(fd);
            return trop_grand(taille);
        }
        const qint64 place = std::min(taille_max, std::max<qint64>(taille, contenu.size() * 2));
        if (taille > contenu.capacity() && !Place(contenu, static_cast<qsizetype>(place))) {
            ::close(fd);
            return sans_memoire(taille);
        }
        contenu.append(suite, n);
    }
    ::close(fd);
    if (erreur != 0) return echec(Raison(erreur));
    resultat.Reussi = true;
    return resultat;
}

bool Fichier_Existe(const QString& chemin) {
    return !chemin.isEmpty() && QFileInfo::exists(chemin) && !QFileInfo(chemin).isDir();
}

Identite_Fichier Identifier_Fichier(const QString& chemin) {
    Identite_Fichier identite;
    struct stat etat {};
    const QByteArray nom = QFile::encodeName(chemin);
    if (nom.isEmpty() || ::stat(nom.constData(), &etat) != 0 || !S_ISREG(etat.st_mode)) return identite;
    identite.Existe = true;
    identite.Peripherique = etat.st_dev;
    identite.Inode = etat.st_ino;
    identite.Taille = etat.st_size;
    return identite;
}

namespace {

// The lock that every append to the file waits for; false where its file
// system gives none (NFS without its lock service, some FUSE mounts).
bool Verrou_D_Ajout(int fd) {
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) return false;
    return true;
}

// The file a name leads to, opened for appending, locked when its file system
// gives locks, and told in etat; made when there is none if creer. Another
// program may have removed it or put another file in its place (an archiving
// of the trace) while this one waited for the lock: the file under the name
// is then opened again, so that nothing goes to a file no one will read. -1,
// with the reason in refus, when it cannot be opened or is no ordinary file.
int Ouvrir_Pour_Ajout(const QByteArray& nom, bool creer, struct stat& etat, bool& verrouille, QString& refus) {
    for (int essai = 0;; ++essai) {
        const int fd = ::open(nom.constData(), O_WRONLY | O_APPEND | (creer ? O_CREAT : 0) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0) {
            refus = Raison(errno);
            return -1;
        }
        if (::fstat(fd, &etat) != 0) {
            refus = Raison(errno);
            ::close(fd);
            return -1;
        }
        if (!S_ISREG(etat.st_mode)) {
            refus = Refus_Non_Ordinaire(etat);
            ::close(fd);
            return -1;
        }
        verrouille = Verrou_D_Ajout(fd);
        struct stat nomme {};
        if (!verrouille || essai == 10 ||
            (::stat(nom.constData(), &nomme) == 0 && nomme.st_dev == etat.st_dev && nomme.st_ino == etat.st_ino))
            return fd;
        ::flock(fd, LOCK_UN);
        ::close(fd);
    }
}

}  // namespace

Resultat_Fichier Ajouter_Au_Fichier(const QString& chemin, QByteArrayView octets) {
    Resultat_Fichier resultat;
    const QByteArray nom = QFile::encodeName(chemin);
    if (nom.isEmpty()) {
        resultat.Erreur = QStringLiteral("nom de fichier vide");
        return resultat;
    }
    // Opening a named pipe for writing waits for its reader, and opening a
    // device may act on what it drives: neither is opened. A name made such
    // a thing between the look and the opening is opened without waiting,
    // then refused.
    struct stat etat {};
    if (::stat(nom.constData(), &etat) == 0 && !S_ISREG(etat.st_mode)) {
        resultat.Erreur = Refus_Non_Ordinaire(etat);
        return resultat;
    }
    bool verrouille = false;
    const int fd = Ouvrir_Pour_Ajout(nom, true, etat, verrouille, resultat.Erreur);
    if (fd < 0) return resultat;
    int erreur = 0;
    // Where the file ended when the lock came: past it, the bytes are this
    // append's own, the other programs' appends waiting for the lock.
    const off_t debut = verrouille && ::fstat(fd, &etat) == 0 ? etat.st_size : -1;
    if (!Ecrire_Tout(fd, octets.data(), octets.size())) {
        erreur = errno;
        // Bytes cut short (a full disk) are taken back, so that what is
        // appended next does not run on from them. Without the lock, what
        // follows may be another program's lines, and is left; so are the
        // bytes of an append-only file: the file may then hold part of them.
        resultat.Entame = debut < 0 || ::fstat(fd, &etat) != 0 || (etat.st_size > debut && ::ftruncate(fd, debut) != 0);
    }
    // Let go before the close: a copy of the descriptor in a program started
    // meanwhile would hold it past the close.
    if (verrouille) ::flock(fd, LOCK_UN);
    if (::close(fd) != 0 && erreur == 0 && errno != EINTR) erreur = errno;
    resultat.Reussi = erreur == 0;
    if (erreur != 0) resultat.Erreur = Raison(erreur);
    return resultat;
}

Verrou_Ajouts::Verrou_Ajouts(const QString& chemin) {
    const QByteArray nom = QFile::encodeName(chemin);
    struct stat etat {};
    bool verrouille = false;
    QString refus;
    if (nom.isEmpty() || ::stat(nom.constData(), &etat) != 0 || !S_ISREG(etat.st_mode)) return;
    fd_ = Ouvrir_Pour_Ajout(nom, false, etat, verrouille, refus);
    if (fd_ >= 0 && !verrouille) {
        ::close(fd_);
        fd_ = -1;
    }
}

Verrou_Ajouts::~Verrou_Ajouts() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

}  // namespace ostrel
