#!/bin/sh
# Draws the home screen's picture again and writes it to ressources/Accueil.bmp,
# the file the program ships (it copies it to <application folder>/Images/Accueil.bmp
# when that file is missing). Run it only after changing the drawing.
set -e
cd "$(dirname "$0")/.."
BUILD=${OSTREL_BUILD:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" --target image_accueil >/dev/null
QT_QPA_PLATFORM=offscreen "$BUILD/tests/shell/image_accueil" ressources/Accueil.bmp
echo ressources/Accueil.bmp
