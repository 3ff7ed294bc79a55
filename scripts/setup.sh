#!/usr/bin/env bash
# Installs the Debian packages that Tarvane needs, only those missing.
#   scripts/setup.sh run    what building and starting the program needs
#   scripts/setup.sh test   that, plus what the test suite needs
set -euo pipefail

mode=${1:-run}
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          qt6-translations-l10n)
if [ "$mode" = test ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev
               xvfb xauth trayer xdotool xclip x11-utils procps)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
