#!/usr/bin/env bash
# Installs the Debian packages that Tarvane needs, only those missing.
#   scripts/setup.sh run    what building and starting the program needs
#   scripts/setup.sh tour   that, plus what the picture tour needs (scripts/tour.sh)
#   scripts/setup.sh test   that, plus what the test suite needs (the Windows stage included)
#   scripts/setup.sh windows   what the Windows cross-build and its tests under Wine need
set -euo pipefail

mode=${1:-run}
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          qt6-translations-l10n)
# The X connection through which the program watches for an XEmbed tray.
packages+=(libxcb1-dev)
# Arial's widths, for which the windows were laid out (Liberation Sans).
packages+=(fonts-liberation2)
# The real program on a virtual screen with a tray (end-to-end tests and the picture tour).
if [ "$mode" = test ] || [ "$mode" = tour ]; then
    packages+=(xvfb xauth trayer xdotool xclip x11-utils procps
               imagemagick dbus-daemon at-spi2-core python3-dbus)
    # A desktop's dark palette, handed to Qt by its platform theme (the tour's dark pictures).
    packages+=(qt6ct)
fi
# End-to-end tests on other desktops: a D-Bus tray host written in Python, a real window
# manager, a headless Wayland compositor.
if [ "$mode" = test ]; then
    packages+=(python3-gi gir1.2-glib-2.0 openbox wmctrl weston qt6-wayland)
    # Real desktops' trays: GNOME Shell with its AppIndicator extension, xfce4-panel, plasmashell
    # over kded5 (plasma-desktop brings the shell's layout and its panel), waybar on a headless
    # sway, whose screen, keyboard and clipboard are reached with grim, wtype and wl-clipboard,
    # and its pointer with a helper built against libwayland-client.
    packages+=(gnome-shell gnome-shell-extension-appindicator xfce4-panel
               plasma-workspace plasma-desktop kded5 sway waybar grim wtype wl-clipboard
               libwayland-dev)
fi
if [ "$mode" = test ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev
               binutils-mingw-w64-x86-64
               desktop-file-utils appstream dpkg-dev file lintian
               clang libclang-rt-14-dev valgrind)
fi

# The Windows cross-build (scripts/windows.sh) and its tests under Wine on a virtual screen.
if [ "$mode" = test ] || [ "$mode" = windows ]; then
    packages+=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest
               wine wine64 nsis xz-utils xvfb xauth trayer xdotool xclip x11-utils imagemagick
               locales)
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
