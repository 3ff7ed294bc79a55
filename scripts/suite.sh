#!/usr/bin/env bash
# Configures a build tree with warnings as errors, builds it and runs its CTest tests, then
# prints why the skipped ones were skipped.
#   scripts/suite.sh DIR "CTEST_OPTIONS" CMAKE_OPTIONS...
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1 selection=$2
shift 2
jobs=$(nproc)
cmake -S . -B "$dir" -G Ninja -DTARVANE_WERROR=ON "$@"
cmake --build "$dir" --parallel "$jobs"
status=0
# shellcheck disable=SC2086 # the options are words
ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" $selection || status=$?
# CTest lists the skipped tests; their reasons are in their output.
awk '/^[0-9]+\/[0-9]+ Testing: / { test = $3 } /^skipped: / { print test ": " $0 }' \
    "$dir/Testing/Temporary/LastTest.log" || true
exit "$status"
