#!/usr/bin/env bash
# Installs what is missing, builds Tarvane in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh run
cmake --workflow --preset release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # Nothing to show it on: take the picture tour on a virtual screen instead.
    echo "This session has no display: Tarvane takes its picture tour on a virtual screen."
    bash scripts/setup.sh tour
    bash scripts/tour.sh build/release/app/Tarvane
    echo "The pictures of the tour are in $PWD/docs/images/ (README.md shows them)."
    exit 0
fi
# The About box opens its companion documents from the current directory.
cd resources/documents
exec ../../build/release/app/Tarvane
