// A FUSE file system for the tests: the folder given first, shown at the
// mount point given second, as the mounts that keep no attribute show a
// folder (exFAT sticks, network shares through gvfs or smb, cloud mounts):
// no hard link ("permission refusée"), no rename that refuses a taken name,
// no extended attribute, no mode nor owner change, no reserve ahead. Files,
// folders, plain renames and locks (the kernel's own) work.
//
//   montage_sans_lien DOSSIER POINT_DE_MONTAGE [options of libfuse]
#define FUSE_USE_VERSION 31
#include <fuse.h>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

int base = -1;  // the folder shown

const char* Relatif(const char* chemin) { return chemin[1] != '\0' ? chemin + 1 : "."; }
int Resultat(int r) { return r < 0 ? -errno : r; }

int Attributs(const char* chemin, struct stat* etat, fuse_file_info* fi) {
    if (fi != nullptr) return Resultat(::fstat(static_cast<int>(fi->fh), etat));
    return Resultat(::fstatat(base, Relatif(chemin), etat, AT_SYMLINK_NOFOLLOW));
}

int Lire_Dossier(const char* chemin, void* tampon, fuse_fill_dir_t remplir, off_t, fuse_file_info*,
                 fuse_readdir_flags) {
    const int fd = ::openat(base, Relatif(chemin), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -errno;
    DIR* d = ::fdopendir(fd);
    if (d == nullptr) {
        ::close(fd);
        return -errno;
    }
    while (const dirent* e = ::readdir(d)) remplir(tampon, e->d_name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    ::closedir(d);
    return 0;
}

int Creer_Dossier(const char* chemin, mode_t mode) { return Resultat(::mkdirat(base, Relatif(chemin), mode)); }
int Oter_Dossier(const char* chemin) { return Resultat(::unlinkat(base, Relatif(chemin), AT_REMOVEDIR)); }
int Oter(const char* chemin) { return Resultat(::unlinkat(base, Relatif(chemin), 0)); }

int Renommer(const char* de, const char* vers, unsigned int options) {
    if (options != 0) return -EINVAL;  // as the kernel says for a file system that takes no option
    return Resultat(::renameat(base, Relatif(de), base, Relatif(vers)));
}

int Lier(const char*, const char*) { return -EPERM; }

int Creer(const char* chemin, mode_t mode, fuse_file_info* fi) {
    const int fd = ::openat(base, Relatif(chemin), fi->flags | O_CREAT | O_CLOEXEC, mode);
    if (fd < 0) return -errno;
    fi->fh = static_cast<uint64_t>(fd);
    return 0;
}

int Ouvrir(const char* chemin, fuse_file_info* fi) {
    const int fd = ::openat(base, Relatif(chemin), fi->flags | O_CLOEXEC);
    if (fd < 0) return -errno;
    fi->fh = static_cast<uint64_t>(fd);
    return 0;
}

int Lire(const char*, char* tampon, size_t taille, off_t position, fuse_file_info* fi) {
    return static_cast<int>(Resultat(static_cast<int>(::pread(static_cast<int>(fi->fh), tampon, taille, position))));
}

int Ecrire(const char*, const char* octets, size_t taille, off_t position, fuse_file_info* fi) {
    return static_cast<int>(Resultat(static_cast<int>(::pwrite(static_cast<int>(fi->fh), octets, taille, position))));
}

int Tronquer(const char* chemin, off_t taille, fuse_file_info* fi) {
    if (fi != nullptr) return Resultat(::ftruncate(static_cast<int>(fi->fh), taille));
    const int fd = ::openat(base, Relatif(chemin), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return -errno;
    const int r = Resultat(::ftruncate(fd, taille));
    ::close(fd);
    return r;
}

int Fermer(const char*, fuse_file_info* fi) { return Resultat(::close(static_cast<int>(fi->fh))); }
int Synchroniser(const char*, int, fuse_file_info* fi) { return Resultat(::fsync(static_cast<int>(fi->fh))); }
int Espace(const char*, struct statvfs* etat) { return Resultat(::fstatvfs(base, etat)); }

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage : %s DOSSIER POINT_DE_MONTAGE [options]\n", argv[0]);
        return 2;
    }
    base = ::open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (base < 0) {
        std::perror(argv[1]);
        return 2;
    }
    fuse_operations operations{};
    operations.getattr = Attributs;
    operations.readdir = Lire_Dossier;
    operations.mkdir = Creer_Dossier;
    operations.rmdir = Oter_Dossier;
    operations.unlink = Oter;
    operations.rename = Renommer;
    operations.link = Lier;
    operations.create = Creer;
    operations.open = Ouvrir;
    operations.read = Lire;
    operations.write = Ecrire;
    operations.truncate = Tronquer;
    operations.release = Fermer;
    operations.fsync = Synchroniser;
    operations.statfs = Espace;
    // The folder's name is taken off the arguments libfuse reads.
    argv[1] = argv[0];
    return fuse_main(argc - 1, argv + 1, &operations, nullptr);
}
