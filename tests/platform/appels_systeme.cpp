// No header declaring these calls here: the large-file spelling of one would
// rename it.
#include "appels_systeme.h"

#include <cerrno>
#include <dlfcn.h>

namespace {

template <class F> F Vrai(const char* nom) { return reinterpret_cast<F>(::dlsym(RTLD_NEXT, nom)); }

template <class F> int Reserver(F vrai, int fd, int mode, long debut, long taille) {
    const int r = vrai(fd, mode, debut, taille);
    if (r == 0 && ostrel_test::appels::apres_fallocate) ostrel_test::appels::apres_fallocate();
    return r;
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
