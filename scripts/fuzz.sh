#!/bin/sh
# Builds the fuzz targets of fuzz/ with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one for a number of runs, from
# its seeds in fuzz/graines/, printing the runs done and the crashes found.
#
#   scripts/fuzz.sh [runs] [target ...]    (default: 20000 runs, every target)
#
# An input that crashes a target, or breaks one of its properties, is kept as
# $OSTREL_BUILD_FUZZ/crashes/<target>/crash-*; run the target on that file
# to see why. The exit status is 1 when any target crashed.
set -e
cd "$(dirname "$0")/.."
RUNS=${1:-20000}
[ $# -gt 0 ] && shift
CIBLES=${*:-"reponse options config_voies config_module enregistrements journal exportation conversion"}
BUILD=${OSTREL_BUILD_FUZZ:-build-fuzz}

./scripts/installer_dependances.sh
MANQUANTS=""
for p in clang-14 libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || MANQUANTS="$MANQUANTS $p"
done
if [ -n "$MANQUANTS" ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    echo "Installation des paquets :$MANQUANTS"
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq >/dev/null
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $MANQUANTS >/dev/null
fi

CC=clang-14 CXX=clang++-14 cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTREL_FUZZ=ON >/dev/null
CIBLES_CMAKE=""
for c in $CIBLES; do CIBLES_CMAKE="$CIBLES_CMAKE fuzz_$c"; done
cmake --build "$BUILD" -j"${OSTREL_JOBS:-$(nproc)}" --target $CIBLES_CMAKE >/dev/null

# Lean allocation records: the readers allocate a string per line read.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:max_malloc_fill_size=0:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
echec=0
printf '%-16s %12s %8s\n' cible runs crashes
for c in $CIBLES; do
    corpus="$BUILD/corpus/$c"
    crashes="$BUILD/crashes/$c"
    mkdir -p "$corpus" "$crashes"
    journal="$BUILD/crashes/$c.log"
    # The corpus grows in the build folder; the committed seeds stay as they are.
    if "$BUILD/fuzz/fuzz_$c" -runs="$RUNS" -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$corpus" "fuzz/graines/$c" >"$journal" 2>&1; then
        n=0
    else
        n=1
        echec=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$journal" | tail -n 1)
    printf '%-16s %12s %8s\n' "$c" "${runs:-?}" "$n"
    [ "$n" -eq 0 ] || grep -E "propriété|ERROR|SUMMARY" "$journal" | head -n 5
done
exit $echec
