#!/bin/sh
# Installs the Debian packages needed to build, run and test Ostrel, and the
# extra packages given as arguments (e.g. clang for the sanitizer run).
# Idempotent: does nothing (and says nothing) when everything is present.
set -e
PAQUETS="build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev \
libgtest-dev googletest xvfb xauth fonts-dejavu-core fonts-liberation \
libqt6svg6 qt6-qpa-plugins qt6-translations-l10n libcups2-dev cups-daemon cups-client \
libfuse3-dev fuse3 libxcb1-dev libxcb-xtest0-dev libxcb-screensaver0-dev libxcb-xinput-dev iproute2 poppler-utils $*"
MANQUANTS=""
for p in $PAQUETS; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        MANQUANTS="$MANQUANTS $p"
    fi
done
[ -z "$MANQUANTS" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installation des paquets :$MANQUANTS"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >/dev/null
$SUDO apt-get install -y -qq --no-install-recommends $MANQUANTS >/dev/null
