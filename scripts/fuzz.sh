#!/usr/bin/env bash
# Builds the fuzzers with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer in
# build/fuzz, and runs each one for a while (60 seconds unless FUZZ_SECONDS says otherwise),
# starting from the seed corpus, as many at a time as there are cores. Exits non-zero when a
# fuzzer finds an input that crashes, hangs or breaks a rule; the input is left in
# build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/fuzz
seconds=${FUZZ_SECONDS:-60}

cmake --preset fuzz
cmake --build --preset fuzz

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

mkdir -p "$build/artifacts"
status=0
# One fuzzer a core, each for its full time; the output of each is printed as it ends. They run
# equally long: the oldest ends first.
jobs=$(nproc)
pids=()
declare -A fuzzers=()
finish() {
    local pid=${pids[0]}
    pids=("${pids[@]:1}")
    wait "$pid" || { echo "!! ${fuzzers[$pid]} failed: see $build/artifacts" >&2; status=1; }
    cat "$build/${fuzzers[$pid]}.log"
}
run() {
    local fuzzer=$1 corpus=$2; shift 2
    # New inputs go to a corpus of the build's own; the seeds in the source tree stay as they are.
    local work=$build/corpus/$fuzzer
    mkdir -p "$work"
    [ "${#pids[@]}" -lt "$jobs" ] || finish
    {
        echo "== $fuzzer for ${seconds}s"
        exec "$build/tests/fuzz/$fuzzer" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/$fuzzer-" \
            "$@" "$work" "$root/tests/fuzz/corpus/$corpus"
    } >"$build/$fuzzer.log" 2>&1 &
    pids+=("$!")
    fuzzers[$!]=$fuzzer
}

run fuzz_conversion conversion -dict="$root/tests/fuzz/conversion.dict" -max_len=4096
run fuzz_conversion_qt conversion -dict="$root/tests/fuzz/conversion.dict" -max_len=4096
run fuzz_informations informations -max_len=256
while [ "${#pids[@]}" -gt 0 ]; do finish; done
exit $status
