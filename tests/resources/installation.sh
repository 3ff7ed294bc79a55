#!/usr/bin/env bash
# What `cmake --install` puts on a system, installed into a scratch DESTDIR under /usr.
#   installation.sh fichiers BUILD_DIR      every expected file, icons at their sizes, the
#                                           desktop entry naming what was installed
#   installation.sh validateurs BUILD_DIR   the desktop entry and the AppStream file pass their
#                                           validators; the screenshots they name exist
set -euo pipefail
mode=$1 build=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share
id=org.example.Tarvane
entry=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml

failures=0 checks=0
check() { # WHAT COMMAND...
    local what=$1
    shift
    checks=$((checks + 1))
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAILED: $what"
        failures=$((failures + 1))
    fi
}

# The desktop entry's value for KEY (the untranslated one).
entry_value() { sed -n "s/^$1=//p" "$entry"; }

png_size() { file -b "$1" | sed -n 's/^PNG image data, \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }

case $mode in
fichiers)
    check "executable bin/Tarvane" test -x "$root/usr/bin/Tarvane"
    check "no library search path of its own" \
        eval '! readelf -d "$root/usr/bin/Tarvane" | grep -q "R\(UN\)\{0,1\}PATH"'
    check "copyright, changelog and manual page" test -f "$share/doc/tarvane/copyright" -a \
        -f "$share/doc/tarvane/changelog.gz" -a -f "$share/man/man1/Tarvane.1.gz"
    check "desktop entry" test -f "$entry"
    check "AppStream file" test -f "$metainfo"
    for size in 16 32 48; do
        icon=$share/icons/hicolor/${size}x$size/apps/$id.png
        check "icon of ${size}x$size pixels" test "$(png_size "$icon" 2>/dev/null)" = "${size}x$size"
    done
    check "scalable icon" grep -q '<svg' "$share/icons/hicolor/scalable/apps/$id.svg"
    for document in "$source_dir"/resources/documents/*; do
        check "companion document $(basename "$document")" \
            cmp -s "$document" "$share/tarvane/$(basename "$document")"
    done
    # The menu must find what the entry names, and start the program among its documents.
    check "entry's Exec is the installed program" test -x "$root/usr/bin/$(entry_value Exec)"
    check "entry's Icon is the installed icon" \
        test -f "$share/icons/hicolor/scalable/apps/$(entry_value Icon).svg"
    check "entry's Path is the documents' folder" test "$(entry_value Path)" = /usr/share/tarvane
    check "AppStream file launches the installed entry" \
        grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
    ;;
validateurs)
    for tool in desktop-file-validate appstreamcli; do
        command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/setup.sh test"; exit 1; }
    done
    check "desktop-file-validate" desktop-file-validate "$entry"
    check "appstreamcli validate --no-net" appstreamcli validate --no-net "$metainfo"
    check "appstreamcli validate-tree --no-net" appstreamcli validate-tree --no-net "$root"
    # The pictures the AppStream file names are those the picture tour keeps in docs/images.
    while read -r name; do
        check "screenshot $name is in docs/images" test -f "$source_dir/docs/images/$name"
    done < <(sed -n 's|.*<image type="source">https://www.example.org/tarvane/images/\([^<]*\)</image>.*|\1|p' "$metainfo")
    ;;
*)
    echo "unknown mode: $mode"
    exit 2
    ;;
esac
echo "$((checks - failures)) passed, $failures failed"
[ "$checks" -gt 0 ] && [ "$failures" -eq 0 ]
