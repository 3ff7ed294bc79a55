#!/usr/bin/env bash
# The Debian package: cpack builds it from the build tree, its control fields are right and its
# dependencies were found, and the program it installs, unpacked into a scratch root, starts on
# Xvfb, docks its icon into trayer and ends through its menu's Quitter with status 0.
#   paquet_deb.sh BUILD_DIR
# shellcheck source=../e2e/harness.sh
source "$(dirname "$0")/../e2e/harness.sh"
build=$1
e2e_begin paquet_deb

for tool in cpack dpkg-deb dpkg-shlibdeps file lintian readelf; do
    command -v "$tool" >/dev/null || e2e_fail "$tool is missing: run scripts/setup.sh test"
done
timeout 100 cpack -G DEB --config "$build/CPackConfig.cmake" -B "$E2E_WORK/paquet" \
    >"$E2E_WORK/cpack.log" 2>&1 || e2e_fail "cpack -G DEB failed"
debs=("$E2E_WORK"/paquet/*.deb)
[ -f "${debs[0]}" ] || e2e_fail "cpack made no .deb"
deb=${debs[0]}
e2e_log "package $(basename "$deb")"

e2e_expect_eq "$(dpkg-deb -f "$deb" Package)" tarvane "package name"
e2e_expect_eq "$(dpkg-deb -f "$deb" Section)" utils "section"
[[ $(dpkg-deb -f "$deb" Maintainer) == *@example.org\> ]] || e2e_fail "maintainer without e-mail"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libc6 "fonts-liberation (>= 1:2) | fonts-liberation2"; do
    [[ $depends == *"$library"[\ ,]* ]] || e2e_fail "Depends lacks $library: $depends"
done
[[ $depends != *libqt6network* ]] || e2e_fail "Depends names Qt Network: $depends"
e2e_log "ok: Depends: $depends"

# Debian's own checker: no error, no warning.
lintian --fail-on error,warning "$deb" >"$E2E_WORK/lintian.log" 2>&1 ||
    e2e_fail "lintian: $(grep -E '^[EW]:' "$E2E_WORK/lintian.log" | head -5)"
e2e_log "ok: lintian accepts the package"

root=$E2E_WORK/racine
dpkg-deb -x "$deb" "$root"
! readelf -d "$root/usr/bin/Tarvane" | grep -q 'R\(UN\)\{0,1\}PATH' ||
    e2e_fail "the packaged program has a library search path of its own"
e2e_expect_eq "$(sed -n 's/^Path=//p' "$root/usr/share/applications/org.example.Tarvane.desktop")" \
    /usr/share/tarvane "folder the menu starts the program in"

e2e_start_x
e2e_start_tray
# Where the menu starts it: among its companion documents.
E2E_PROGRAM_DIR=$root/usr/share/tarvane
e2e_start_program "$root/usr/bin/Tarvane"
e2e_wait_icon
e2e_click_icon 3
e2e_wait_popup
e2e_click_menu_item 2 2 # Quitter
e2e_wait_exit
e2e_expect_eq "$E2E_STATUS" 0 "exit status after Quitter"
e2e_wait_until "$E2E_TIMEOUT" "the icon to leave the tray" e2e_icon_gone
