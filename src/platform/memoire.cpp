#include "platform/memoire.h"

#include <algorithm>
#include <cstdint>
#include <sys/mman.h>

namespace ostrel {

void Grandes_Pages(void* debut, qsizetype octets) {
    constexpr std::uintptr_t Grande_Page = std::uintptr_t{2} << 20;
    const auto adresse = reinterpret_cast<std::uintptr_t>(debut);
    const std::uintptr_t premier = (adresse + Grande_Page - 1) & ~(Grande_Page - 1);
    const std::uintptr_t fin = (adresse + static_cast<std::uintptr_t>(std::max<qsizetype>(octets, 0))) & ~(Grande_Page - 1);
    if (fin > premier) ::madvise(reinterpret_cast<void*>(premier), fin - premier, MADV_HUGEPAGE);
}

void Reserver_Grand(QByteArray& tampon, qsizetype octets) {
    const qsizetype taille = tampon.size();
    tampon.reserve(taille + octets);
    Grandes_Pages(tampon.data() + taille, tampon.capacity() - taille);
}

}  // namespace ostrel
