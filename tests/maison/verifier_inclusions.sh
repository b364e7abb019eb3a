#!/bin/sh
# The include check refuses every way of finding a header beside the including
# file and lets through what the project writes: headers from the include root
# and a folder's own headers by their bare name.
verifier=$1
arbre=$(mktemp -d)
trap 'rm -rf "$arbre"' EXIT
mkdir -p "$arbre/src/platform/ui" "$arbre/src/link" "$arbre/tests/shell"
touch "$arbre/src/platform/ui/touches.h" "$arbre/src/link/trames.h" "$arbre/tests/shell/programme_test.h"
echecs=0
essai() {  # expected outcome (0 accepted, 1 refused), file, include line
    printf '%s\n' "$3" >"$arbre/$2"
    sh "$verifier" "$arbre" >/dev/null 2>&1
    obtenu=$?
    [ "$obtenu" -ne 0 ] && obtenu=1
    if [ "$obtenu" -ne "$1" ]; then
        echo "attendu $1, obtenu $obtenu : $2 : $3"
        echecs=$((echecs + 1))
    fi
    rm -f "$arbre/$2"
}
essai 0 src/platform/chemins.cpp '#include "platform/ui/touches.h"'
essai 0 tests/shell/test_menus.cpp '#include "programme_test.h"'
essai 0 src/platform/chemins.cpp '#include <QString>'
essai 1 src/platform/chemins.cpp '#include "ui/touches.h"'
essai 1 src/platform/ui/touches.cpp '#  include "../../link/trames.h"'
essai 1 src/platform/chemins.cpp '#include </tmp/trames.h>'
essai 1 src/platform/chemins.h '#include "../link/trames.h"'
exit $echecs
