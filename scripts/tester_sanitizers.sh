#!/bin/sh
# Builds Ostrel with AddressSanitizer and UndefinedBehaviorSanitizer
# (OSTREL_SANITIZE=ON) in a build folder of its own, and runs the whole test
# suite under them: a memory error, undefined behaviour or leak of the
# program fails the test that ran into it (installs what is missing first).
set -e
cd "$(dirname "$0")/.."
./scripts/installer_dependances.sh clang libclang-rt-14-dev
BUILD=${OSTREL_BUILD_SANITIZERS:-build-sanitizers}
CXX=${OSTREL_CXX_SANITIZERS:-clang++} cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DOSTREL_SANITIZE=ON >/dev/null
cmake --build "$BUILD" -j"${OSTREL_JOBS:-$(nproc)}"
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --no-tests=error --output-on-failure -j"$(nproc)" --timeout 600
