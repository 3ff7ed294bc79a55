#!/usr/bin/env bash
# Where the loader looks for the program's libraries.
#   bibliotheques.sh runpath BUILD_DIR   no ELF file of the build tree carries an empty or relative
#                                        RUNPATH entry (each would mean the current directory)
#   bibliotheques.sh plantee PROGRAM     libraries named like Qt's, planted in the directory the
#                                        program starts from, are neither loaded nor a hindrance
set -euo pipefail
mode=$1 cible=$2
travail=$(mktemp -d)
pid=""
trap '[ -z "$pid" ] || kill -KILL "$pid" 2>/dev/null || true; rm -rf "$travail"' EXIT
echouer() { echo "FAILED: $*"; exit 1; }

case $mode in
runpath)
    elfs=0
    while IFS= read -r -d '' fichier; do
        [ "$(head -c4 "$fichier" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
        elfs=$((elfs + 1))
        chemins=$(readelf -d "$fichier" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
        [ -n "$chemins" ] || continue
        IFS=: read -r -a entrees <<<"$chemins:"
        for entree in "${entrees[@]}"; do
            [[ $entree == /* ]] || echouer "$fichier: RUNPATH [$chemins] holds '$entree'"
        done
    done < <(find "$cible" -type f -perm -u+x -print0)
    [ "$elfs" -gt 0 ] || echouer "no ELF file found under $cible"
    echo "ok: $elfs ELF files, no empty or relative RUNPATH entry"
    ;;
plantee)
    programme=$(realpath "$cible")
    ici=$travail/ici
    mkdir -p "$ici" && mkdir -m 700 "$travail/run"
    # Each planted library leaves a marker as soon as it is loaded.
    printf '%s\n' '#include <stdio.h>' \
        '__attribute__((constructor)) static void planter(void) {' \
        '    FILE* f = fopen("'"$travail"'/charge", "a");' \
        '    if (f) { fputs("loaded\n", f); fclose(f); }' \
        '}' >"$travail/plantee.c"
    for nom in libQt6Core.so.6 libQt6Gui.so.6 libQt6Widgets.so.6 libQt6Network.so.6; do
        cc -shared -fPIC -o "$ici/$nom" "$travail/plantee.c"
    done
    (cd "$ici" && exec env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$travail/run" \
        "$programme") >"$travail/sortie.log" 2>&1 &
    pid=$!
    # Up and running: Qt's widgets are mapped once the program has started.
    for _ in $(seq 200); do
        grep -q 'libQt6Widgets' "/proc/$pid/maps" 2>/dev/null && break
        kill -0 "$pid" 2>/dev/null || { cat "$travail/sortie.log"; echouer "the program ended"; }
        sleep 0.05
    done
    grep -q 'libQt6Widgets' "/proc/$pid/maps" || echouer "the program did not start"
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || echouer "the program ended"
    ! grep -q "$ici" "/proc/$pid/maps" || echouer "a planted library is mapped: $(grep "$ici" "/proc/$pid/maps" | head -1)"
    [ ! -e "$travail/charge" ] || echouer "a planted library's constructor ran"
    echo "ok: the planted libraries were neither loaded nor in the way"
    ;;
esac
