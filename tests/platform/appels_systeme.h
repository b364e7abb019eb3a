#pragma once
// Calls of the system that the tests of the safe save steer, defined in the
// test program itself so that the library's calls come to them (the
// sanitizers leave them alone): each does the real call unless its switch is
// set.
#include <functional>

namespace ostrel_test::appels {

// Every flock fails with this errno, as on a file system that gives no lock;
// 0: the real call.
inline int flock_refuse = 0;
// Called with each descriptor a flock is asked for, before it.
inline std::function<void(int)> avant_flock;
// Called after each fallocate that succeeded (the process may stop there).
inline std::function<void()> apres_fallocate;

}  // namespace ostrel_test::appels
