#!/usr/bin/env bash
# Cross-builds Tarvane for 64-bit Windows with Debian's mingw-w64 and leaves:
#   build/windows/Tarvane/        what a Windows machine needs to run it
#   build/windows/Tarvane-<version>-win64.zip, and the NSIS installer beside it
#
# Qt for Windows is built once from Debian's own source of the build machine's Qt, and
# GoogleTest likewise, into a cache outside the clone that every clone of this machine reuses:
#   ${TARVANE_CACHE:-/var/cache/tarvane}/qt-<version>-<flags' hash>/ and gtest-<version>-<hash>/
# Remove that folder to build them afresh.
#
#   scripts/windows.sh            the cross-build, its folder, zip and installer
#   scripts/windows.sh dependances   only Qt and GoogleTest for Windows (into the cache)
#   scripts/windows.sh tests         the cross-build, then every test under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
etape=${1:-tout}

bash scripts/setup.sh windows

cache=${TARVANE_CACHE:-/var/cache/tarvane}
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)    # 6.4.2+dfsg-10
qt_amont=${qt_version%%+*}                                    # 6.4.2
# What of Qt the program and its tests use: Core, Gui, Widgets and Test, the Windows platform
# plugin, the offscreen one for the GUI tests, the Windows style. Debian's tarball has no
# wintab.h (tablets) and no OpenGL is wanted; direct2d off needs directwrite3 off. Optimized
# for size, and without the widgets and documents no window of the program has (graphics
# scenes, MDI, wizards, file, colour, font and date pickers, undo stacks, Markdown and ODF):
# smaller libraries to load, and a fresh machine's CI builds them in less time.
qt_options=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DFEATURE_optimize_size=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF
    -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
    -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF -DFEATURE_fontconfig=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
    -DFEATURE_graphicsview=OFF -DFEATURE_mdiarea=OFF -DFEATURE_wizard=OFF
    -DFEATURE_filedialog=OFF -DFEATURE_filesystemmodel=OFF -DFEATURE_colordialog=OFF
    -DFEATURE_fontdialog=OFF -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF
    -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF -DFEATURE_undogroup=OFF
    -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_textodfwriter=OFF
    -DFEATURE_testlib=ON
)
empreinte=$(printf '%s\n' "$qt_version" "${qt_options[@]}" | sha256sum | cut -c1-12)
qt_prefixe=$cache/qt-$qt_amont-$empreinte

gtest_version=$(dpkg-query -W -f='${Version}' googletest)
gtest_empreinte=$(printf '%s\n' "$gtest_version" posix shared | sha256sum | cut -c1-12)
gtest_prefixe=$cache/gtest-${gtest_version%%-*}-$gtest_empreinte

construire_qt() {
    [ -f "$qt_prefixe/.complet" ] && return 0
    echo "== Qt $qt_amont for Windows, once, into $qt_prefixe"
    local travail
    travail=$(mktemp -d "$cache/qt-travail.XXXXXX")
    # The source of the build machine's own Qt, from Debian's archive.
    if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
       ! grep -qs '^deb-src' /etc/apt/sources.list; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
            > /etc/apt/sources.list.d/tarvane-deb-src.sources
        apt-get update -qq
    fi
    (cd "$travail" && apt-get source --download-only -qq "qt6-base=$qt_version" >/dev/null)
    tar -C "$travail" -xf "$travail"/qt6-base_*.orig.tar.xz
    rm -rf "$qt_prefixe"
    cmake -S "$travail"/qtbase-everywhere-src-* -B "$travail/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$qt_prefixe" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -dumpmachine)/cmake" \
        -DCMAKE_C_COMPILER_LAUNCHER= -DCMAKE_CXX_COMPILER_LAUNCHER= \
        "${qt_options[@]}" > "$travail/configure.log"
    cmake --build "$travail/build" --parallel "$jobs"
    cmake --install "$travail/build" > /dev/null
    touch "$qt_prefixe/.complet"
    rm -rf "$travail"
}

construire_gtest() {
    [ -f "$gtest_prefixe/.complet" ] && return 0
    echo "== GoogleTest for Windows, once, into $gtest_prefixe"
    local travail
    travail=$(mktemp -d "$cache/gtest-travail.XXXXXX")
    cmake -S /usr/src/googletest -B "$travail" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$gtest_prefixe" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF \
        > /dev/null
    cmake --build "$travail" --parallel "$jobs"
    cmake --install "$travail" > /dev/null
    touch "$gtest_prefixe/.complet"
    rm -rf "$travail"
}

mkdir -p "$cache"
construire_qt
construire_gtest
[ "$etape" = dependances ] && exit 0

# Tarvane and its tests, cross-built against them.
export TARVANE_QT_WINDOWS=$qt_prefixe TARVANE_GTEST_WINDOWS=$gtest_prefixe
sortie=$root/build/windows
arbre=$sortie/arbre
echo "== Tarvane for Windows, in $arbre"
mkdir -p "$sortie"
TARVANE_QT_HOTE_CMAKE=/usr/lib/$(gcc -dumpmachine)/cmake # the build machine's Qt tools
export TARVANE_QT_HOTE_CMAKE
cmake --preset windows > "$sortie/configure.log" || { cat "$sortie/configure.log"; exit 1; }
cmake --build --preset windows

# The folder a Windows machine runs it from, its zip and its installer.
rm -rf "$sortie/Tarvane"
cmake --install "$arbre" --prefix "$sortie/Tarvane" --strip > /dev/null
(cd "$arbre" && cpack -G "ZIP;NSIS" > "$sortie/cpack.log") || { cat "$sortie/cpack.log"; exit 1; }
cp "$arbre"/paquets/Tarvane-*-win64.zip "$arbre"/paquets/Tarvane-*-win64.exe "$sortie"/
echo "== Left in $sortie: Tarvane/ (Tarvane.exe and what it needs)," \
    "$(cd "$sortie" && ls Tarvane-*-win64.zip Tarvane-*-win64.exe | tr '\n' ' ')"

[ "$etape" = tests ] || exit 0

# The tests under Wine: the unit tests on a virtual screen of their own (Wine's shell needs one),
# the end-to-end ones each on theirs.
echo "== Tests under Wine"
export WINEPREFIX=$arbre/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The prefix made once, off screen; then the tests on a screen of their own.
bash tests/windows/wine.sh cmd /c exit 0
# That server and its shell stay a few seconds, with no screen: a test started meanwhile would
# share a shell that has no notification area. The tests' first program starts them anew.
wineserver -k 2>/dev/null || true
wineserver --wait 2>/dev/null || true
xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24 -nolisten tcp" \
    ctest --preset windows --parallel "$jobs"
