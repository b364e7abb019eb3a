// No header declaring these calls here: the large-file spelling of one would
// rename it.
#include "appels_fichiers.h"

#include <cerrno>
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <utility>

namespace {

template <class F> F Vrai(const char* nom) { return reinterpret_cast<F>(::dlsym(RTLD_NEXT, nom)); }

bool Refuse(const std::string& refuse, const char* chemin, int erreur) {
    if (refuse.empty() || chemin == nullptr || refuse != chemin) return false;
    errno = erreur;
    return true;
}

bool Meme_Fichier(int fd, const std::string& chemin) {
    struct stat ouvert {}, nomme {};
    return !chemin.empty() && ::fstat(fd, &ouvert) == 0 && ::stat(chemin.c_str(), &nomme) == 0 &&
           ouvert.st_dev == nomme.st_dev && ouvert.st_ino == nomme.st_ino;
}

void Tour_Venu(ostrel_test::appels::Tour& tour, bool venu) {
    if (venu) std::exchange(tour, {}).faire();
}

}  // namespace

extern "C" ssize_t write(int fd, const void* octets, size_t taille) {
    static const auto vrai = Vrai<ssize_t (*)(int, const void*, size_t)>("write");
    auto& tour = ostrel_test::appels::avant_ecriture;
    Tour_Venu(tour, tour.faire && Meme_Fichier(fd, tour.fichier));
    return vrai(fd, octets, taille);
}

extern "C" int unlink(const char* chemin) {
    static const auto vrai = Vrai<int (*)(const char*)>("unlink");
    auto& tour = ostrel_test::appels::avant_retrait;
    Tour_Venu(tour, tour.faire && chemin != nullptr && tour.fichier == chemin);
    if (Refuse(ostrel_test::appels::retrait_refuse, chemin, EACCES)) return -1;
    return vrai(chemin);
}

extern "C" int truncate(const char* chemin, long taille) {
    static const auto vrai = Vrai<int (*)(const char*, long)>("truncate");
    if (Refuse(ostrel_test::appels::troncature_refusee, chemin, EPERM)) return -1;
    return vrai(chemin, taille);
}

extern "C" int truncate64(const char* chemin, long taille) {
    static const auto vrai = Vrai<int (*)(const char*, long)>("truncate64");
    if (Refuse(ostrel_test::appels::troncature_refusee, chemin, EPERM)) return -1;
    return vrai(chemin, taille);
}

extern "C" int fsync(int fd) {
    static const auto vrai = Vrai<int (*)(int)>("fsync");
    const std::string& refuse = ostrel_test::appels::synchro_refusee;
    if (Meme_Fichier(fd, refuse)) {
        errno = EIO;
        return -1;
    }
    return vrai(fd);
}
