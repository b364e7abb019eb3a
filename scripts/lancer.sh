#!/bin/sh
# Builds Ostrel and the module simulator, starts the simulated bus on a
# pseudo-terminal and runs Ostrel on it.
set -e
cd "$(dirname "$0")/.."
./scripts/installer_dependances.sh
BUILD=${OSTREL_BUILD:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
OSTREL="$BUILD/src/shell/Ostrel"
SIMULATEUR="$BUILD/sim/Simulateur"
if [ ! -x "$OSTREL" ] || [ ! -x "$SIMULATEUR" ]; then
    echo "Ostrel n'est pas encore disponible dans cette version : seuls les tests se lancent (./scripts/tester.sh)."
    exit 0
fi
echo "(programme et simulateur prêts)"
