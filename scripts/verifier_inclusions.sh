#!/bin/sh
# Fails on an include that names its header by a path climbing out of a
# folder ("../history/journal_alarmes.h") or from the root: the compiler
# finds such a header beside the including file, past the include roots, so
# a library would see a layer its build does not give it.
cd "$(dirname "$0")/.."
trouves=$(grep -rnE --include='*.h' --include='*.hpp' --include='*.c' --include='*.cc' --include='*.cpp' \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*/)?\.\./|^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]/' \
    src sim fuzz bench tests)
if [ -n "$trouves" ]; then
    echo "Inclusions par un chemin relatif ou absolu (à écrire depuis la racine d'inclusion de la bibliothèque, \"link/trames.h\") :"
    echo "$trouves"
    exit 1
fi
