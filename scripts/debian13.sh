#!/usr/bin/env bash
# Builds and tests Tarvane in a Debian 13 ("trixie") system, today's stable release with Qt 6.8,
# made once with debootstrap in the cache that the Windows stage also uses:
#   ${TARVANE_CACHE:-/var/cache/tarvane}/debian-trixie/   (remove it to make it afresh)
# The clone is mounted in it at /tarvane, and builds into build/debian13.
#
#   scripts/debian13.sh              installs what the suite needs there, then the Debug build
#                                    with warnings as errors and every CTest test
#   scripts/debian13.sh preparer     only makes the system and installs what the suite needs
#   scripts/debian13.sh COMMAND...   that command there, in the clone (bash scripts/run.sh, say)
set -euo pipefail
cd "$(dirname "$0")/.."
clone=$PWD

cache=${TARVANE_CACHE:-/var/cache/tarvane}
systeme=$cache/debian-trixie
miroir=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null)
miroir=${miroir:-http://deb.debian.org/debian}

if [ ! -f "$systeme/.complet" ]; then
    echo "== Debian 13, once, into $systeme"
    command -v debootstrap >/dev/null || bash scripts/setup.sh test
    rm -rf "$systeme"
    mkdir -p "$cache"
    debootstrap --variant=minbase trixie "$systeme" "$miroir" > "$cache/debian-trixie.log" 2>&1 ||
        { tail -20 "$cache/debian-trixie.log"; exit 1; }
    touch "$systeme/.complet"
fi

# The mounts are undone however this script ends, in the reverse order of their making.
montes=()
demonter() {
    local i
    for ((i = ${#montes[@]} - 1; i >= 0; i--)); do
        umount -R "${montes[i]}" 2>/dev/null || umount -R -l "${montes[i]}" || true
    done
}
trap demonter EXIT
monter() { # OPTIONS... SOURCE TARGET
    local cible=${*: -1}
    mkdir -p "$cible"
    mount "$@"
    montes+=("$cible")
}
# The system's root a mount point of its own, so that unshare --mount can make it private.
monter --bind "$systeme" "$systeme"
monter -t proc proc "$systeme/proc"
monter --rbind /sys "$systeme/sys"
monter --rbind /dev "$systeme/dev"
monter --bind "$clone" "$systeme/tarvane"
cp /etc/resolv.conf "$systeme/etc/resolv.conf"

dedans() {
    chroot "$systeme" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        bash -c 'cd /tarvane && "$@"' bash "$@"
}

if [ $# -gt 0 ] && [ "$1" != preparer ]; then
    dedans "$@"
    exit
fi
dedans bash scripts/setup.sh suite
[ "${1:-}" = preparer ] && exit 0
# ccache's cache is the system's own, kept with it.
dedans env CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache \
    CCACHE_DIR=/var/cache/ccache CCACHE_BASEDIR=/tarvane CCACHE_NOHASHDIR=1 \
    bash scripts/suite.sh debian13
