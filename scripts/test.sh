#!/usr/bin/env bash
# Installs what is missing, checks the sources' format against .clang-format, builds with
# warnings as errors (the "ci" workflow of CMakePresets.json) and runs every test; then builds a
# second tree with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again;
# then fuzzes the conversion rules for a minute a fuzzer, and runs the GoogleTest suites once
# under valgrind's memcheck; then cross-builds the program for Windows and runs its tests, the
# real program and its installer under Wine (scripts/windows.sh). On Debian 12, last, builds
# and runs every test again in a Debian 13 system with its Qt 6.8 (scripts/debian13.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# What the suite needs of the system, said before anything is done rather than halfway: each
# end-to-end test runs in network and mount namespaces of its own, where it mounts file systems;
# on Debian 12 the Debian 13 system is made with debootstrap and entered with chroot, as root.
# shellcheck source=/dev/null
. /etc/os-release
manque=()
essai=$(mktemp -d)
if [ "$(id -u)" -eq 0 ]; then
    unshare --net --mount -- mount -t tmpfs tarvane-essai "$essai" 2>/dev/null ||
        manque+=("network and mount namespaces in which to mount (unshare --net --mount)")
else
    unshare --user --map-root-user --net --mount -- mount -t tmpfs tarvane-essai "$essai" \
        2>/dev/null || manque+=("user, network and mount namespaces (unshare --user --net --mount)")
    [ "${VERSION_ID:-}" != 12 ] || manque+=("root, for the Debian 13 system (debootstrap, chroot)")
fi
rmdir "$essai"
if [ ${#manque[@]} -gt 0 ]; then
    liste=$(printf '%s; ' "${manque[@]}")
    echo "scripts/test.sh needs what this system refuses: ${liste%; }. Run it as root on a" \
        "machine, a virtual machine or a container allowed them (docker run --privileged)." >&2
    exit 1
fi

bash scripts/setup.sh test

# Every tree compiles through ccache, whose cache is kept beside the Windows Qt: a later run on
# this machine, from any clone and into any tree, recompiles only what changed (paths under the
# clone are hashed relative to it, and the build folder not at all).
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_DIR=${TARVANE_CACHE:-/var/cache/tarvane}/ccache CCACHE_BASEDIR=$root
export CCACHE_NOHASHDIR=1

echo "== Format of the C++ sources"
bash scripts/format.sh

echo "== Build and tests"
bash scripts/suite.sh ci

echo "== Build and tests under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0
# The real desktops' trays are left to the first run (tests/e2e/CMakeLists.txt says why).
bash scripts/suite.sh sanitize

echo "== Fuzzing with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/fuzz.sh

echo "== GoogleTest suites under valgrind memcheck"
# The first tree is already the Debug build without sanitizers that memcheck wants.
bash scripts/valgrind.sh

if [ "${VERSION_ID:-}" = 12 ]; then
    # The Debian 13 system is made and furnished (downloads and unpacking, mostly) while Qt for
    # Windows builds, the first time; on later runs both are in the cache.
    mkdir -p build
    bash scripts/debian13.sh preparer > build/debian13-preparer.log 2>&1 &
    preparation=$!
    echo "== Windows: cross-build, its folder, zip and installer, and every test under Wine"
    bash scripts/windows.sh tests
    echo "== Debian 13: its Debug build with warnings as errors, and every test but the above"
    wait "$preparation" || { cat build/debian13-preparer.log; exit 1; }
    bash scripts/debian13.sh
else
    # Qt for Windows is built from Debian 12's Qt sources, the one tried; and this system is
    # already the newer one.
    echo "== Windows and Debian 13 stages skipped: they run on Debian 12 (this is ${PRETTY_NAME:-?})"
fi
