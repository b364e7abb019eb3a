#pragma once
// Calls of the system on files that the trace's tests steer, defined in the
// test program itself so that Qt's calls come to them: each does the real
// call unless it is asked for the file named here.
#include <string>

namespace ostrel_test::appels {

// Removing this file fails, as in a folder the account may not write.
inline std::string retrait_refuse;
// Cutting this file fails, as for an append-only file.
inline std::string troncature_refusee;

}  // namespace ostrel_test::appels
