#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test; then builds a
# second tree with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again;
# then fuzzes the conversion rules for a minute a fuzzer, and runs the GoogleTest suites once
# under valgrind's memcheck; last, cross-builds the program for Windows and runs its tests, the
# real program and its installer under Wine (scripts/windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh test

jobs=$(nproc)

run_suite() { # DIR CTEST_OPTIONS CMAKE_OPTIONS...
    local dir=$1 selection=$2; shift 2
    cmake -S . -B "$dir" -G Ninja -DTARVANE_WERROR=ON "$@"
    cmake --build "$dir" --parallel "$jobs"
    # shellcheck disable=SC2086 # the options are words
    ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" $selection
    skipped_reasons "$dir"
}
# CTest lists the skipped tests; their reasons are in their output.
skipped_reasons() { # DIR
    awk '/^[0-9]+\/[0-9]+ Testing: / { test = $3 } /^skipped: / { print test ": " $0 }' \
        "$1/Testing/Temporary/LastTest.log" || true
}

echo "== Build and tests"
run_suite build/ci "" -DCMAKE_BUILD_TYPE=Debug

echo "== Build and tests under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0
# The real desktops' trays are left to the first run (tests/e2e/CMakeLists.txt says why).
run_suite build/sanitize "-LE realhost" -DCMAKE_BUILD_TYPE=Debug -DTARVANE_SANITIZE=ON

echo "== Fuzzing with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/fuzz.sh

echo "== GoogleTest suites under valgrind memcheck"
# The first tree is already the Debug build without sanitizers that memcheck wants.
bash scripts/valgrind.sh build/ci

echo "== Windows: cross-build, its folder, zip and installer, and every test under Wine"
bash scripts/windows.sh tests
