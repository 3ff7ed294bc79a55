#!/usr/bin/env bash
# Installs what is missing, builds Tarvane in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVANE_TESTS=OFF
cmake --build build/release --parallel "$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Tarvane is built (build/release/app/Tarvane) but this session has no display to show it on."
    exit 0
fi
exec build/release/app/Tarvane
