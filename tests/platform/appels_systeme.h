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
// Every rename fails with this errno (EBUSY: a file that is itself a mount
// point); 0: the real call.
inline int rename_refuse = 0;
// An ftruncate to the length the file already has fails with EPERM, as on a
// FAT stick through FUSE.
inline bool coupe_sans_changement_refusee = false;
// Every FS_IOC_SETFLAGS ioctl fails with this errno (EPERM: a flag only root
// may set); 0: the real call.
inline int drapeaux_refuses = 0;

}  // namespace ostrel_test::appels
