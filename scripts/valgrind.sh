#!/usr/bin/env bash
# Builds the program and its tests with the "ci" preset of CMakePresets.json (Debug, no
# sanitizers: the tree scripts/test.sh has just tested, in build/ci) and runs every GoogleTest
# program of the core, platform and window suites once under valgrind's memcheck.
# The end-to-end tests are left out: they start the real program on an X server of their own.
# Fails on any memcheck error (definite leaks included) outside the suppressions of
# tests/sanitizers/valgrind.supp, and on any failing test. Logs go to memcheck/ in the tree.
#
# Two cases are left out, as each takes three to six minutes under memcheck on two cores, more
# than all the others together, and the sanitizer stage of scripts/test.sh runs them in full:
# the comparison of 160000 random amounts with exact decimal rounding, and the pastes of a
# million characters. VALGRIND_ALL=1 runs them too.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/ci
logs=$build/memcheck
jobs=$(nproc)

cmake --preset ci >/dev/null
cmake --build --preset ci

# The GoogleTest programs and the environment ctest runs them with
# (`cmake -E env --unset=VAR... VAR=... prog`), read from ctest's own description of the suite.
rm -rf "$logs"
mkdir -p "$logs"
ctest --test-dir "$build" --show-only=json-v1 > "$logs/tests.json"
python3 - "$logs/tests.json" > "$logs/programs" <<'PY'
import json, re, sys
tests = json.load(open(sys.argv[1]))["tests"]
seen = {}
for test in tests:
    command = test.get("command") or []
    if len(command) < 4 or command[1:3] != ["-E", "env"]:
        continue  # not a GoogleTest case (end-to-end scripts, corpus replays)
    rest = command[3:]
    unset, env = [], []
    while rest and rest[0].startswith("--unset="):
        unset.append(rest.pop(0))
    while rest and re.match(r"[A-Za-z_][A-Za-z0-9_]*=", rest[0]):
        env.append(rest.pop(0))
    program = rest[0]
    if "/tests/e2e/" in program:
        continue
    # env(1) takes its options before any assignment. The platform is fixed for the non-GUI
    # programs too (none of them may open a display); the suite's own variables come after it.
    seen.setdefault(program, unset + ["QT_QPA_PLATFORM=offscreen"] + env)
for program, env in sorted(seen.items()):
    print(" ".join(env + [program]))
PY
echo "== $(wc -l < "$logs/programs") test programs under memcheck, $jobs at a time"

slow='ConversionExacte.RandomAmounts_matchExactDecimalRounding:CollageGeantTest.*'
filter=--gtest_filter=-$slow
[ "${VALGRIND_ALL:-0}" = 1 ] && filter=--gtest_filter=*

# memcheck cannot follow the machine code that PCRE2's JIT makes of Qt's regular expressions.
export QT_ENABLE_REGEXP_JIT=0
export LOGS=$logs SUPPRESSIONS=$root/tests/sanitizers/valgrind.supp FILTER=$filter
run_one() {
    local program=${!#}
    local name=${program##*/}
    local start=$SECONDS status=0
    env "${@:1:$#-1}" timeout 1800 \
        valgrind --tool=memcheck --error-exitcode=1 --errors-for-leak-kinds=definite \
        --leak-check=full --num-callers=40 --suppressions="$SUPPRESSIONS" \
        --log-file="$LOGS/$name.%p.valgrind.log" "$program" "$FILTER" \
        > "$LOGS/$name.out" 2>&1 || status=$?
    # One log per process: death tests fork, and the children are checked too.
    local errors
    errors=$(cat "$LOGS/$name".*.valgrind.log 2>/dev/null | sed -n 's/.*ERROR SUMMARY: \([0-9]*\).*/\1/p' |
        awk '{ n += $1 } END { print n + 0 }')
    printf '%-32s %4ss  exit %d  memcheck errors %s\n' \
        "$name" $((SECONDS - start)) "$status" "$errors"
    return $status
}
export -f run_one

start=$SECONDS
status=0
# One program per line; word splitting gives `--unset=VAR... VAR=... program` to run_one.
xargs -P "$jobs" -L 1 bash -c 'run_one "$@"' _ < "$logs/programs" || status=$?
echo "== memcheck done in $((SECONDS - start))s"
if [ $status -ne 0 ]; then
    echo "!! memcheck errors or failing tests: see $logs" >&2
    grep -l 'ERROR SUMMARY: [1-9]' "$logs"/*.valgrind.log >&2 || true
    grep -L '^\[  PASSED  \]' "$logs"/*.out >&2 || true
fi
exit $status
