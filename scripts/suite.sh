#!/usr/bin/env bash
# Runs one workflow preset of CMakePresets.json (configure, build, every test of its tree), then
# prints why the skipped tests were skipped.
#   scripts/suite.sh PRESET      ci, sanitize or debian13
set -euo pipefail
cd "$(dirname "$0")/.."
preset=$1
dir=build/$preset
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
status=0
cmake --workflow --preset "$preset" || status=$?
# Every test says what kind it is, so that a run can pick its kinds (ctest -L / -LE).
sans_etiquette=$(ctest --test-dir "$dir" -N -LE '^(unit|gui|e2e|stress|windows)$' 2>/dev/null |
    sed -n 's/^ *Test *#[0-9]*: //p')
if [ -n "$sans_etiquette" ]; then
    echo "Tests without a label (unit, gui, e2e, stress or windows):" >&2
    echo "$sans_etiquette" >&2
    status=1
fi
# CTest lists the skipped tests; their reasons are in their output.
awk '/^[0-9]+\/[0-9]+ Testing: / { test = $3 } /^skipped: / { print test ": " $0 }' \
    "$dir/Testing/Temporary/LastTest.log" || true
exit "$status"
