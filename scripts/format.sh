#!/usr/bin/env bash
# Checks that every C++ source of the project follows .clang-format, and fails on the first
# file that does not; with --fix, formats them in place.
#   scripts/format.sh [--fix]
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t sources < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t sources < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if [ "${1:-}" = --fix ]; then
    exec clang-format -i "${sources[@]}"
fi
clang-format --dry-run -Werror "${sources[@]}"
echo "${#sources[@]} sources follow .clang-format ($(clang-format --version | grep -o 'version [0-9.]*'))"
