#!/usr/bin/env bash
# Installs the Debian packages that Tarvane needs, only those missing, on Debian 12 or 13.
#   scripts/setup.sh run    what building and starting the program needs
#   scripts/setup.sh tour   that, plus what the picture tour needs (scripts/tour.sh)
#   scripts/setup.sh suite  that, plus what the build's own test suite (CTest) needs
#   scripts/setup.sh test   that, plus the sanitizers, fuzzing, valgrind, the Windows stage and
#                           the Debian 13 system of scripts/test.sh
#   scripts/setup.sh windows   what the Windows cross-build and its tests under Wine need
set -euo pipefail

mode=${1:-run}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
a_jour=false
mettre_a_jour() { $a_jour || $sudo apt-get update -qq; a_jour=true; }

# The first of these names that this release's archive has: packages are renamed between
# releases (Plasma 6's kded6, the Liberation fonts' folder) and some leave testing for a while.
premier_connu() {
    local nom
    for nom in "$@"; do
        if [ -n "$(apt-cache show --no-all-versions "$nom" 2>/dev/null | grep -m1 '^Package:')" ]
        then echo "$nom"; return 0; fi
    done
    return 1
}
if ! apt-cache show --no-all-versions cmake >/dev/null 2>&1; then mettre_a_jour; fi

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          qt6-translations-l10n)
# Qt's Wayland plugin: on a Wayland session the program runs on Wayland itself (docs/TRAYS.md).
packages+=(qt6-wayland)
# The X connection through which the program watches for an XEmbed tray.
packages+=(libxcb1-dev)
# libdbus under Qt's D-Bus module, for a bound of the connection that Qt leaves as it is.
packages+=(libdbus-1-dev)
# Arial's widths, for which the windows were laid out (Liberation Sans 2: Debian 13 keeps the
# name fonts-liberation2 for the package that moved the fonts into fonts-liberation).
packages+=("$(premier_connu fonts-liberation2 fonts-liberation)")
tests=false; [ "$mode" = suite ] || [ "$mode" = test ] && tests=true
# The real program on a virtual screen with a tray (end-to-end tests and the picture tour).
# Testing has lost trayer at times: the tests that need it then say they are skipped.
if $tests || [ "$mode" = tour ]; then
    packages+=(xvfb xauth xdotool xclip x11-utils procps
               imagemagick dbus-daemon at-spi2-core python3-dbus locales)
    packages+=($(premier_connu trayer || true))
    # A desktop's dark palette, handed to Qt by its platform theme (the tour's dark pictures).
    packages+=(qt6ct)
fi
# End-to-end tests on other desktops: a D-Bus tray host written in Python, a real window
# manager, a headless Wayland compositor; the French locale the tests run in.
if $tests; then
    packages+=(python3-gi gir1.2-glib-2.0 openbox wmctrl weston locales)
    # Real desktops' trays: GNOME Shell with its AppIndicator extension, xfce4-panel, plasmashell
    # over kded (plasma-desktop brings the shell's layout and its panel), waybar on a headless
    # sway, whose screen, keyboard and clipboard are reached with grim, wtype and wl-clipboard,
    # and its pointer with a helper built against libwayland-client; on GNOME Shell on Wayland,
    # another application's window, a GTK 3 one.
    packages+=(gnome-shell gnome-shell-extension-appindicator gir1.2-gtk-3.0 xfce4-panel
               plasma-workspace plasma-desktop "$(premier_connu kded6 kded5)"
               sway waybar grim wtype wl-clipboard libwayland-dev)
    # Plasma 6 on Wayland too, KWin nested on the virtual X screen (Plasma 5's is left out).
    [ "$(premier_connu kded6 kded5)" != kded6 ] || packages+=(kwin-wayland)
    # Cinnamon with the watcher that its status applet reads, MATE's panel, LXQt's panel and
    # Budgie's, whose layouts the tests load with dconf.
    packages+=(cinnamon xapp-sn-watcher mate-panel lxqt-panel budgie-core dconf-cli)
    # A screen reader listening to the conversion window: Orca, and the speech it hands what it
    # says to (speech-dispatcher with its espeak-ng module); its debug log is what the test reads.
    packages+=(orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng)
    # The About box's tests under other fonts: DejaVu with its condensed faces.
    packages+=(fonts-dejavu-core fonts-dejavu-extra)
    packages+=(ccache libgtest-dev libgmock-dev libbenchmark-dev binutils-mingw-w64-x86-64
               desktop-file-utils appstream dpkg-dev file lintian)
fi
# The sanitizers' and fuzzers' runtime follows Debian's current clang; the format check, its
# clang-format.
if [ "$mode" = test ]; then
    packages+=(clang libclang-rt-dev clang-format valgrind)
fi
# scripts/test.sh's stages for Windows and Debian 13 run on Debian 12 (scripts/test.sh).
. /etc/os-release
windows=false
[ "$mode" = windows ] || { [ "$mode" = test ] && [ "${VERSION_ID:-}" = 12 ]; } && windows=true
[ "$mode" = test ] && [ "${VERSION_ID:-}" = 12 ] && packages+=(debootstrap)

# The Windows cross-build (scripts/windows.sh) and its tests under Wine on a virtual screen.
if $windows; then
    packages+=(cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest
               wine wine64 nsis xz-utils xvfb xauth trayer xdotool xclip x11-utils imagemagick
               locales)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    mettre_a_jour
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

# The tests and the picture tour run in French, as the program's users do.
if $tests || [ "$mode" = tour ] || [ "$mode" = windows ]; then
    if ! locale -a 2>/dev/null | grep -qix 'fr_FR.utf-\?8'; then
        echo "Generating the fr_FR.UTF-8 locale"
        $sudo sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen ||
            echo 'fr_FR.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
        $sudo locale-gen >/dev/null
    fi
fi
