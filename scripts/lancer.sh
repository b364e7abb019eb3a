#!/bin/sh
# Builds Ostrel, the module simulator and the two companion programs, starts
# a simulated bus of three modules on a pseudo-terminal (a running plant:
# module 1 with 8 channels, modules 2 and 3 with 16, one contact input each)
# and runs Ostrel on it. The simulator stops when Ostrel exits. Arguments go
# to Ostrel.
#
# Drive c: of the program is $OSTREL_DISQUE_C when set, otherwise
# ${XDG_DATA_HOME:-~/.local/share}/ostrel/c, prepared on the first run with
# an options file (installation name, font and colours).
set -e
cd "$(dirname "$0")/.."

if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ] && [ -z "$QT_QPA_PLATFORM" ]; then
    echo "Aucun affichage graphique (DISPLAY n'est pas défini)."
    echo "Sans écran, lancez Ostrel dans un affichage virtuel :"
    echo "    xvfb-run -a -s '-screen 0 1280x1024x24' ./scripts/lancer.sh"
    exit 1
fi

./scripts/installer_dependances.sh
BUILD=${OSTREL_BUILD:-build}
echo "Configuration de la construction ..."
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The first build takes a few minutes: its progress is shown as it goes.
echo "Construction d'Ostrel, du simulateur, d'Exportation et de Conversion ..."
cmake --build "$BUILD" -j"${OSTREL_JOBS:-$(nproc)}" --target Ostrel Simulateur Exportation Conversion
OSTREL="$BUILD/src/shell/Ostrel"
SIMULATEUR="$BUILD/sim/Simulateur"

# Drive c: of the run.
if [ -z "$OSTREL_DISQUE_C" ]; then
    OSTREL_DISQUE_C="${XDG_DATA_HOME:-$HOME/.local/share}/ostrel/c"
fi
export OSTREL_DISQUE_C
mkdir -p "$OSTREL_DISQUE_C/OstrelSoft+" "$OSTREL_DISQUE_C/OstrelSoft"
OPTIONS="$OSTREL_DISQUE_C/OstrelSoft/ver.dva"
if [ ! -e "$OPTIONS" ] && [ ! -e "$OSTREL_DISQUE_C/OstrelSoft+/ver.dva" ]; then
    # First run: an options file in the Windows-1252 code page with the
    # default font and colours, where Ostrel looks first (its first line not
    # empty, so that it looks no further); Ostrel writes it whole when it quits.
    {
        printf 'OstrelSoft+\r\n1\r\n************ Nom de l%sinstallation ******************\r\n' "'"
        printf 'Site de d\351monstration\r\n\r\n'
        printf '********* Sauvegarde du port de communication ************\r\n 1 \r\n'
        printf '********* Sauvegarde des couleurs variables et de la police\r\nArial\r\n'
        for c in 16777215 16777215 8421376 0 0 14540253 -2147483633 -2147483633 0; do
            printf ' %s \r\n' "$c" | sed 's/^ -/-/'
        done
    } >"$OPTIONS"
fi

# The simulated bus on serial port 1.
SESSION=$(mktemp -d "${TMPDIR:-/tmp}/ostrel.XXXXXX")
SIM_PID=""
arreter() {
    if [ -n "$SIM_PID" ]; then
        kill "$SIM_PID" 2>/dev/null || true
        wait "$SIM_PID" 2>/dev/null || true
    fi
    rm -rf "$SESSION"
}
trap arreter EXIT
trap 'exit 130' INT TERM HUP
# Qt wants a private runtime folder; give one when the session has none.
if [ -z "$XDG_RUNTIME_DIR" ]; then
    XDG_RUNTIME_DIR="$SESSION/execution"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
fi
LIEN="$SESSION/com1"
"$SIMULATEUR" --modules 1,2,3 --debit 9600 --lien "$LIEN" >"$SESSION/simulateur.log" 2>&1 &
SIM_PID=$!
i=0
while [ ! -e "$LIEN" ] && [ $i -lt 100 ]; do
    sleep 0.05
    i=$((i + 1))
done
if [ ! -e "$LIEN" ]; then
    echo "Le simulateur de modules n'a pas démarré :"
    cat "$SESSION/simulateur.log"
    exit 1
fi
export OSTREL_COM1="$LIEN"

echo "Bus simulé : modules 1, 2 et 3 sur $LIEN"
echo "Disque c: d'Ostrel : $OSTREL_DISQUE_C"
echo "Répondez Oui à la question de connexion, puis « 1 - Exploitation » et « Visualisation mesures »."
"$OSTREL" "$@"
