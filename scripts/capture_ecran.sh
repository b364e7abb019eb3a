#!/bin/sh
# Pictures of the dashboard with the home screen, the consultation and
# configuration menus, the password window and the link-problem screen, as
# Ostrel shows them after start-up, at 1280x1024 and 1920x1080 (or the sizes given):
#   ./scripts/capture_ecran.sh [dossier] [LARGEURxHAUTEUR ...]
# The pictures go to the folder given (default: <build>/captures). The program runs
# on a temporary drive c: holding an options file, answers Yes to the
# connection question and searches the simulated bus when the module
# simulator is built, No otherwise. Set OSTREL_CAPTURE_XVFB=1 to draw under
# Xvfb instead of the offscreen platform.
set -e
cd "$(dirname "$0")/.."
./scripts/installer_dependances.sh
BUILD=${OSTREL_BUILD:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target capture_ecran >/dev/null
[ -x "$BUILD/sim/Simulateur" ] && cmake --build "$BUILD" -j"$(nproc)" --target Simulateur >/dev/null

DOSSIER=${1:-$BUILD/captures}
[ $# -gt 0 ] && shift
TAILLES=${*:-"1280x1024 1920x1080"}
mkdir -p "$DOSSIER"
DISQUE=$(mktemp -d)
SIM_PID=""
nettoyer() {
    [ -n "$SIM_PID" ] && kill "$SIM_PID" 2>/dev/null || true
    rm -rf "$DISQUE"
}
trap nettoyer EXIT

export OSTREL_DISQUE_C="$DISQUE"
export OSTREL_DOSSIER_WINDOWS="$DISQUE/Windows"
mkdir -p "$DISQUE/OstrelSoft+"
# An options file in the Windows-1252 code page, with the default colours.
printf '\r\n1\r\n************ Nom de l%sinstallation ******************\r\nEntrep\364t frigorifique \226 b\342timent B\r\n\r\n' "'" \
    > "$DISQUE/OstrelSoft+/ver.dva"
printf '********* Sauvegarde du port de communication ************\r\n 1 \r\n' >> "$DISQUE/OstrelSoft+/ver.dva"
printf '********* Sauvegarde des couleurs variables et de la police\r\nArial\r\n' >> "$DISQUE/OstrelSoft+/ver.dva"
for c in 16777215 16777215 8421376 0 0 14540253 -2147483633 -2147483633 0; do
    printf ' %s \r\n' "$c" | sed 's/^ -/-/' >> "$DISQUE/OstrelSoft+/ver.dva"
done

REPONSE=non
if [ -x "$BUILD/sim/Simulateur" ]; then
    LIEN="$DISQUE/com1"
    "$BUILD/sim/Simulateur" --fige --lien "$LIEN" --modules 1,3,7 >"$DISQUE/simulateur.log" 2>&1 &
    SIM_PID=$!
    i=0
    while [ ! -e "$LIEN" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
    if [ -e "$LIEN" ]; then
        export OSTREL_COM1="$LIEN"
        REPONSE=oui
    fi
fi

for t in $TAILLES; do
    L=${t%x*}
    H=${t#*x}
    for ECRAN in accueil consultation configuration mot_de_passe probleme; do
        SORTIE="$DOSSIER/${ECRAN}_${L}x${H}.png"
        if [ "${OSTREL_CAPTURE_XVFB:-0}" = 1 ]; then
            xvfb-run -a -s "-screen 0 ${L}x${H}x24" env QT_QPA_PLATFORM=xcb \
                "$BUILD/tests/shell/capture_ecran" "$SORTIE" "$L" "$H" "$REPONSE" "$ECRAN"
        else
            QT_QPA_PLATFORM=offscreen "$BUILD/tests/shell/capture_ecran" "$SORTIE" "$L" "$H" "$REPONSE" "$ECRAN"
        fi
        echo "$SORTIE"
    done
done
