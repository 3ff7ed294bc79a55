#!/usr/bin/env bash
# The NSIS installer under Wine: its pages speak French, on a Windows in English too (the first
# one's caption); a silent install (/S) puts the program, its libraries and its documents into
# Program Files with a Start-menu entry that starts it in that folder and no start at logon (the
# offer's answer in silence is no); the installed program docks its icon and ends by its menu's
# Quitter; a silent uninstall leaves nothing behind, files nor registry.
#   installeur_wine.sh INSTALLER PREFIX
source "$(dirname "$0")/../e2e/harness.sh"
source "$(dirname "$0")/wine_harness.sh"
e2e_begin wine_installer
installeur=$(realpath "$1")

e2e_start_x
e2e_start_tray
wine_prepare "$2"
c=$E2E_WORK/wine/drive_c
cle='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvane'
# What the prefix holds, less what Windows itself changes meanwhile (temporary files, logs).
etat() {
    (cd "$c" && find . \( -ipath '*/temp' -o -ipath './windows' \) -prune -o -print | sort)
}

# Started as a user starts it, on a Windows in English, its first page says who it installs in
# French, as the program speaks; left there.
e2e_launch installeur-pages env WINEPREFIX="$E2E_WORK/wine" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8 LANG=C.UTF-8 wine "$installeur"
pages=$E2E_LAST_PID
page_francaise() {
    timeout 5 xdotool search --onlyvisible --name '^Installation de Tarvane$' >/dev/null
}
e2e_wait_until 30 "the installer's first page, in French" page_francaise
e2e_screenshot installer_first_page
e2e_stop "$pages"

etat >"$E2E_WORK/avant"

"$WINE_LAUNCHER" "$installeur" /S >>"$E2E_WORK/installeur.log" 2>&1
dossier="$c/Program Files/Tarvane"
for fichier in Tarvane.exe Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll qt.conf \
    translations/qtbase_fr.qm Le_velk_.txt Adhesion.txt Le_Velk_.htm Uninstall.exe; do
    [ -f "$dossier/$fichier" ] || e2e_fail "not installed: $fichier"
done
raccourcis=$(cd "$c" && find . -iname 'Tarvane.lnk' | sort)
e2e_log "shortcuts: $raccourcis"
grep -qi 'start menu/programs/tarvane/tarvane.lnk' <<<"$raccourcis" ||
    e2e_fail "no Start-menu entry"
grep -qi '/startup/' <<<"$raccourcis" && e2e_fail "a silent install starts Tarvane at logon"
# The entry starts the program in its folder, where the About box finds the documents.
grep -qa 'P.r.o.g.r.a.m. .F.i.l.e.s.\\.T.a.r.v.a.n.e\|Program Files\\Tarvane' \
    "$c/$(grep -i 'start menu/programs/tarvane/tarvane.lnk' <<<"$raccourcis")" ||
    e2e_fail "the Start-menu entry names no folder of the program"
"$WINE_LAUNCHER" reg query "$cle" >/dev/null 2>&1 || e2e_fail "no uninstall entry in the registry"

E2E_PROGRAM_DIR=$dossier e2e_start_program "$WINE_LAUNCHER" "$dossier/Tarvane.exe"
wine_wait_icon
e2e_screenshot installed_program
e2e_click_icon 3
e2e_wait_popup
e2e_click_menu_item 2 2
e2e_wait_exit 20
e2e_expect_eq "$E2E_STATUS" 0 "the installed program's exit status after Quitter"

# The uninstaller copies itself to the temporary folder and goes on from there.
"$WINE_LAUNCHER" "$dossier/Uninstall.exe" /S >>"$E2E_WORK/installeur.log" 2>&1
desinstalle() {
    [ ! -e "$dossier" ] && ! "$WINE_LAUNCHER" reg query "$cle" >/dev/null 2>&1
}
e2e_wait_until 30 "the uninstaller to remove the program's folder and its entry" desinstalle
etat >"$E2E_WORK/apres"
diff "$E2E_WORK/avant" "$E2E_WORK/apres" >"$E2E_WORK/reste.txt" ||
    e2e_fail "left behind: $(tr '\n' ' ' <"$E2E_WORK/reste.txt")"
e2e_log "nothing left behind"
