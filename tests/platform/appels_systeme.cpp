// No header declaring these calls here: the large-file spelling of one would
// rename it.
#include "appels_systeme.h"

#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <linux/fs.h>
#include <sys/stat.h>

namespace {

template <class F> F Vrai(const char* nom) { return reinterpret_cast<F>(::dlsym(RTLD_NEXT, nom)); }

template <class F> int Reserver(F vrai, int fd, int mode, long debut, long taille) {
    const int r = vrai(fd, mode, debut, taille);
    if (r == 0 && ostrel_test::appels::apres_fallocate) ostrel_test::appels::apres_fallocate();
    return r;
}

template <class F> int Couper(F vrai, int fd, long taille) {
    struct stat etat {};
    if (ostrel_test::appels::coupe_sans_changement_refusee && ::fstat(fd, &etat) == 0 && etat.st_size == taille) {
        errno = EPERM;
        return -1;
    }
    return vrai(fd, taille);
}

}  // namespace

extern "C" int flock(int fd, int operation) {
    static const auto vrai = Vrai<int (*)(int, int)>("flock");
    if (ostrel_test::appels::avant_flock) ostrel_test::appels::avant_flock(fd);
    if (ostrel_test::appels::flock_refuse != 0) {
        errno = ostrel_test::appels::flock_refuse;
        return -1;
    }
    return vrai(fd, operation);
}

extern "C" int fallocate(int fd, int mode, long debut, long taille) {
    static const auto vrai = Vrai<int (*)(int, int, long, long)>("fallocate");
    return Reserver(vrai, fd, mode, debut, taille);
}

extern "C" int fallocate64(int fd, int mode, long debut, long taille) {
    static const auto vrai = Vrai<int (*)(int, int, long, long)>("fallocate64");
    return Reserver(vrai, fd, mode, debut, taille);
}

extern "C" int ftruncate(int fd, long taille) {
    static const auto vrai = Vrai<int (*)(int, long)>("ftruncate");
    return Couper(vrai, fd, taille);
}

extern "C" int ftruncate64(int fd, long taille) {
    static const auto vrai = Vrai<int (*)(int, long)>("ftruncate64");
    return Couper(vrai, fd, taille);
}

extern "C" int rename(const char* de, const char* vers) {
    static const auto vrai = Vrai<int (*)(const char*, const char*)>("rename");
    if (ostrel_test::appels::rename_refuse != 0) {
        errno = ostrel_test::appels::rename_refuse;
        return -1;
    }
    return vrai(de, vers);
}

extern "C" int ioctl(int fd, unsigned long requete, ...) {
    static const auto vrai = Vrai<int (*)(int, unsigned long, void*)>("ioctl");
    va_list suite;
    va_start(suite, requete);
    void* argument = va_arg(suite, void*);
    va_end(suite);
    if (requete == FS_IOC_SETFLAGS && ostrel_test::appels::drapeaux_refuses != 0) {
        errno = ostrel_test::appels::drapeaux_refuses;
        return -1;
    }
    return vrai(fd, requete, argument);
}
