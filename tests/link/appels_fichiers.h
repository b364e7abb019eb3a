#pragma once
// Calls of the system on files that the trace's tests steer, defined in the
// test program itself so that Qt's calls come to them: each does the real
// call unless it is asked for the file named here.
#include <functional>
#include <string>

namespace ostrel_test::appels {

// Removing this file fails, as in a folder the account may not write.
inline std::string retrait_refuse;
// Cutting this file fails, as for an append-only file.
inline std::string troncature_refusee;
// Flushing this file to the disk fails (EIO), as when the disk gives way
// amid a save written over the file in place.
inline std::string synchro_refusee;
// Done once, then forgotten, right before the first write to this file or the
// first removal of this name: another program's turn that comes there.
struct Tour {
    std::string fichier;
    std::function<void()> faire;
};
inline Tour avant_ecriture, avant_retrait;

}  // namespace ostrel_test::appels
