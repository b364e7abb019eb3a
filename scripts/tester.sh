#!/bin/sh
# Checks that no include climbs out of its folder, builds Ostrel and runs the
# whole test suite (installs what is missing first).
set -e
cd "$(dirname "$0")/.."
./scripts/verifier_inclusions.sh
./scripts/installer_dependances.sh
BUILD=${OSTREL_BUILD:-build}
CXX=${OSTREL_CXX:-g++} cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"${OSTREL_JOBS:-$(nproc)}"
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --no-tests=error --output-on-failure -j"$(nproc)" --timeout 300
