#!/usr/bin/env bash
# Where the start-up goes, Tarvane against the floor program, in figures that other processes'
# load does not disturb: instructions (callgrind) from the exec to the icon docked, the dynamic
# loader's work (LD_DEBUG=statistics), system calls and failed file look-ups (strace), and the
# libraries mapped once docked. Runs on Xvfb with trayer, as the benchmarks do; the raw files go
# to build/profil/, a summary to standard output.
#   bench/profil.sh [BUILD]     BUILD: a Release tree, default build/release
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$racine/build/release}")
sortie=$racine/build/profil
python=/usr/bin/python3

if [ "${PROFIL_DANS_ESPACE:-}" != 1 ]; then
    # A private network namespace, as scripts/bench.sh: the one-copy lock of a Tarvane in use
    # does not meet the measured copies.
    rm -rf "$sortie"
    mkdir -p "$sortie"
    if unshare --user --map-root-user --net true 2>/dev/null; then
        exec env PROFIL_DANS_ESPACE=1 unshare --user --map-root-user --net bash "$0" "$build"
    fi
    exec env PROFIL_DANS_ESPACE=1 bash "$0" "$build"
fi

export TARVANE_TEST_OUTPUT=$sortie/e2e
# shellcheck source=../tests/e2e/harness.sh
source "$racine/tests/e2e/harness.sh"
e2e_begin profil
e2e_start_x
e2e_start_tray
export BENCH_HOME=$E2E_WORK/home BENCH_RUNTIME=$E2E_WORK/run
mkdir -p "$BENCH_HOME" "$BENCH_RUNTIME"
chmod 700 "$BENCH_RUNTIME"
accueillie() { # NAME SECONDS COMMAND...: runs until docked; JSON into $sortie/NAME.json
    local nom=$1 secondes=$2
    shift 2
    "$python" "$racine/bench/desktop/mesure.py" docked "$E2E_TRAY_PANEL" "$secondes" "$@" \
        >"$sortie/$nom.json"
}

for nom in Tarvane floor; do
    case $nom in
    Tarvane) programme=$build/app/Tarvane ;;
    floor) programme=$build/bench/floor/tarvane_floor ;;
    esac
    e2e_log "$nom: libraries mapped once docked (one start unmeasured first)"
    accueillie "$nom-libs" 30 "$programme"
    accueillie "$nom-libs" 30 "$programme"
    e2e_log "$nom: dynamic loader statistics"
    LD_DEBUG=statistics LD_DEBUG_OUTPUT=$sortie/$nom-ld accueillie "$nom-ld" 30 "$programme"
    e2e_log "$nom: system calls"
    accueillie "$nom-strace" 60 strace -f -qq -o "$sortie/$nom.strace" "$programme"
    e2e_log "$nom: instructions (callgrind)"
    accueillie "$nom-callgrind" 300 valgrind --tool=callgrind --trace-children=no \
        --callgrind-out-file="$sortie/$nom.callgrind" "$programme"
done

for nom in Tarvane floor; do
    echo "== $nom"
    echo "libraries mapped: $("$python" -c 'import json,sys; print(len(json.load(open(sys.argv[1]))["libraries"]))' "$sortie/$nom-libs.json")"
    echo "system calls: $(grep -vc '^[0-9]* *+++\|---' "$sortie/$nom.strace")," \
        "openat: $(grep -c 'openat(' "$sortie/$nom.strace")," \
        "failed openat: $(grep 'openat(' "$sortie/$nom.strace" | grep -c '= -1')"
    # The loader's figures of the program itself: the last process that wrote some.
    grep -h 'total startup time\|number of relocations\|relative relocations' \
        "$(ls -v "$sortie/$nom-ld".[0-9]* | tail -n 1)" | sed 's/^ *[0-9]*: *//'
    echo "instructions: $(callgrind_annotate "$sortie/$nom.callgrind" 2>/dev/null |
        awk '/PROGRAM TOTALS/ {print $1}')"
done
