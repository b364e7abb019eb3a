#!/bin/sh
# Pictures of the windows of Exportation and Conversion, as they open and in
# the middle of a run:
#   ./scripts/capture_outils.sh [dossier]
# The pictures go to the folder given (default: <build>/captures).
set -e
cd "$(dirname "$0")/.."
./scripts/installer_dependances.sh
BUILD=${OSTREL_BUILD:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target capture_outils >/dev/null
DOSSIER=${1:-$BUILD/captures}
mkdir -p "$DOSSIER"
QT_QPA_PLATFORM=offscreen "$BUILD/tests/outils/capture_outils" "$DOSSIER"
ls "$DOSSIER"/exportation*.png "$DOSSIER"/conversion*.png
