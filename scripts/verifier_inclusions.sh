#!/bin/sh
# Fails on an include that the compiler finds beside the including file
# instead of under the include roots the build gives its library: a path
# climbing out of a folder ("../history/journal_alarmes.h"), a path from the
# root, or a path into a sub-folder ("ui/touches.h" from src/platform, which
# would let the lowest library see the widgets layer above it). A header is
# named from the include root ("platform/ui/touches.h"), or by its bare name
# when it stands in the including file's own folder.
# The tree checked is the project, or the folder given.
cd "${1:-$(dirname "$0")/..}" || exit 1
dossiers=""
for d in src sim fuzz bench tests; do
    if [ -d "$d" ]; then dossiers="$dossiers $d"; fi
done
fichiers='--include=*.h --include=*.hpp --include=*.c --include=*.cc --include=*.cpp'
trouves=$(grep -rnE $fichiers \
    '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*/)?\.\./|^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]/' \
    $dossiers)
sous_dossiers=$(grep -rnE $fichiers '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/[^"]*"' $dossiers |
    while IFS= read -r ligne; do
        fichier=${ligne%%:*}
        entete=${ligne#*\"}
        entete=${entete%%\"*}
        case $entete in ../* | */../*) continue ;; esac
        if [ -e "${fichier%/*}/$entete" ]; then echo "$ligne"; fi
    done)
if [ -n "$trouves$sous_dossiers" ]; then
    echo "Inclusions trouvées à côté du fichier et non par la racine d'inclusion de la bibliothèque (à écrire depuis cette racine, \"link/trames.h\") :"
    if [ -n "$trouves" ]; then echo "$trouves"; fi
    if [ -n "$sous_dossiers" ]; then echo "$sous_dossiers"; fi
    exit 1
fi
