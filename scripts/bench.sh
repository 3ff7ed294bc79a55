#!/usr/bin/env bash
# Builds Tarvane in Release and measures it: the conversion decision (Google Benchmark); then on
# Xvfb with trayer, its start-up side by side with the floor program (bench/floor), the answer to
# a click on the icon and to the convert button, and what it costs at rest in the tray. Prints the
# figures and writes them, with the machine and the date, to bench/RESULTS.md. Takes some eight
# minutes; run it on a quiet machine, the figures follow the load.
#   scripts/bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/bench
python=/usr/bin/python3 # Debian's, as the end-to-end harness uses

# The desktop measurements, run by this same script in a namespace of their own (see below).
if [ "${1:-}" = --desktop ]; then
    out=$2
    TARVANE_TEST_OUTPUT=$build/bench-output
    export TARVANE_TEST_OUTPUT
    # shellcheck source=tests/e2e/harness.sh
    source "$root/tests/e2e/harness.sh"
    e2e_begin bench
    e2e_start_x
    e2e_start_tray
    export BENCH_HOME=$E2E_WORK/home BENCH_RUNTIME=$E2E_WORK/run
    if locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
        export BENCH_LC_ALL=fr_FR.UTF-8
    fi
    mesure() { "$python" "$root/bench/desktop/mesure.py" "$1" "$E2E_TRAY_PANEL" "${@:2}"; }
    tarvane=$build/app/Tarvane
    floor=$build/bench/floor/tarvane_floor
    # Twenty runs each: a single start wanders by a quarter either way (the tray's answer, the
    # scheduler), and the ratio of two medians of ten was seen to move from 1.05 to 1.25 between
    # two runs of the same build.
    e2e_log "start-up: exec to icon docked, VmRSS 2 s later; 20 runs each, alternating"
    mesure startup 20 "Tarvane=$tarvane" "floor=$floor" >"$out/startup.json"
    e2e_log "start-up on a StatusNotifierItem tray: exec to item registered; 20 runs each"
    e2e_start_sni_host
    mesure startup-dbus 20 "Tarvane=$tarvane" "floor=$floor" >"$out/startup-dbus.json"
    e2e_stop_sni_host
    e2e_log "answers: click to window shown, convert to result drawn; 20 runs each"
    mesure latency 20 "$tarvane" >"$out/latency.json"
    e2e_log "rest: twice 60 s in the tray after start-up, Tarvane and the floor side by side"
    mesure idle 60 "Tarvane=$tarvane" "floor=$floor" >"$out/idle.json"
    e2e_log "rest: twice 60 s in the tray after the window was shown, used and hidden"
    mesure idle 60 "Tarvane+used=$tarvane" >"$out/idle-used.json"
    exit 0
fi

bash scripts/setup.sh test

echo "== Release build in $build"
cmake --preset bench >/dev/null
cmake --build --preset bench

# The raw figures stay beside the build, so that bench/rapport.py can write the report again.
out=$build/bench-results
rm -rf "$out"
mkdir -p "$out"

{
    echo "date=$(date '+%Y-%m-%d %H:%M %Z')"
    echo "nproc=$(nproc)"
    echo "cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)"
    echo "memory=$(awk '/^MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
    echo "kernel=$(uname -r)"
    echo "qt=$(qtpaths6 --qt-version 2>/dev/null || echo unknown)"
    echo "compiler=$(c++ --version | head -n 1)"
    echo "load_before=$(cut -d' ' -f1-3 /proc/loadavg)"
} >"$out/machine.env"

echo "== Conversion decision (Google Benchmark, 10 repetitions, medians)"
"$build/bench/conversion/tarvane_bench_conversion" \
    --benchmark_repetitions=10 --benchmark_min_time=0.1 \
    --benchmark_report_aggregates_only=true --benchmark_display_aggregates_only=true \
    --benchmark_out="$out/conversion.json" --benchmark_out_format=json

echo "== Start-up, answers and rest on Xvfb with trayer"
# Tarvane admits one copy per user: an abstract socket name, which belongs to the network
# namespace, and flock on /run/user/<uid>, which the end-to-end harness makes afresh in a mount
# namespace of its own. Private ones let the measurement run beside a Tarvane that is in use, or
# tests that start it; where the system refuses them, none may be running.
if unshare --user --map-root-user --net true 2>/dev/null; then
    echo "namespace=private network namespace (unshare --user --net)" >>"$out/machine.env"
    unshare --user --map-root-user --net bash "$0" --desktop "$out"
else
    if pgrep -u "$(id -u)" -x Tarvane >/dev/null; then
        echo "Tarvane is running for this user: end it first, it would refuse the measured copies" >&2
        exit 1
    fi
    echo "namespace=none" >>"$out/machine.env"
    bash "$0" --desktop "$out"
fi
echo "load_after=$(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.env"

"$python" bench/rapport.py "$out" >bench/RESULTS.md
echo
cat bench/RESULTS.md
echo
echo "Written to bench/RESULTS.md; raw figures in $out"
