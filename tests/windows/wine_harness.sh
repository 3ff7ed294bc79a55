# What the end-to-end tests under Wine add to tests/e2e/harness.sh: a Wine prefix of the test's
# own (copied from a made one, so that its wineserver and its tray belong to this X server), a
# French locale of its own, and the icon found where Wine docks it: Wine's desktop process
# (explorer.exe) owns the window that trayer embeds.

# Copies PREFIX into the work directory and writes $WINE_LAUNCHER, which runs a Windows program
# there with the test's display and the French regional settings, marked as this run's, so that
# clean-up ends whatever Wine starts for it.
wine_prepare() { # PREFIX
    local modele
    modele=$(realpath -m "$1") # Wine takes no relative prefix
    # Made once, by whichever test comes first, then only copied.
    (
        flock 9
        if [ ! -f "$modele/system.reg" ]; then
            WINEPREFIX=$modele WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= \
                wineboot --init >/dev/null 2>&1
            WINEPREFIX=$modele wineserver --wait
        fi
    ) 9>"$modele.lock"
    cp -a "$modele" "$E2E_WORK/wine"
    mkdir -p "$E2E_WORK/locale"
    localedef -i fr_FR -f UTF-8 "$E2E_WORK/locale/fr_FR.UTF-8" 2>/dev/null ||
        [ -d "$E2E_WORK/locale/fr_FR.UTF-8" ] || e2e_fail "no French locale could be made"
    WINE_LAUNCHER=$E2E_WORK/bin/wine-tarvane
    cat >"$WINE_LAUNCHER" <<LANCEUR
#!/bin/sh
export WINEPREFIX="$E2E_WORK/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$E2E_WORK/locale" LC_ALL=fr_FR.UTF-8 LANG=fr_FR.UTF-8
export $E2E_MARK
exec wine "\$@"
LANCEUR
    chmod +x "$WINE_LAUNCHER"
    e2e_launch wineserver env WINEPREFIX="$E2E_WORK/wine" wineserver --foreground --persistent
}

# The icons docked in trayer's panel: windows of Wine's desktop process in its sockets.
wine_icons() {
    xwininfo -tree -id "$E2E_TRAY_PANEL" | awk '/"explorer.exe"/ {print $1}'
}
wine_no_icon() { [ -z "$(wine_icons)" ]; }
wine_find_icon() {
    E2E_ICON=$(wine_icons | head -n 1)
    [ -n "$E2E_ICON" ] && e2e_viewable "$E2E_ICON"
}

wine_wait_icon() {
    e2e_wait_until 30 "Wine to dock the program's icon into trayer" wine_find_icon
    e2e_geometry "$E2E_ICON"
    E2E_ICON_X=$((E2E_X + E2E_W / 2))
    E2E_ICON_Y=$((E2E_Y + E2E_H / 2))
    e2e_log "icon $E2E_ICON docked, ${E2E_W}x${E2E_H} centred at $E2E_ICON_X,$E2E_ICON_Y"
}

wine_point_at() { # WINDOW: the pointer in its middle
    e2e_geometry "$1"
    timeout 5 xdotool mousemove $((E2E_X + E2E_W / 2)) $((E2E_Y + E2E_H / 2))
}

# The program's menu shown within SECONDS: sets E2E_POPUP.
wine_popup_within() { # SECONDS
    local deadline=$((${EPOCHREALTIME//[!0-9]/} + $1 * 1000000))
    until e2e_find_popup; do
        [ "${EPOCHREALTIME//[!0-9]/}" -gt "$deadline" ] && return 1
        sleep 0.05
    done
}

# COUNT right clicks on the icon, one after the other: each one opens the program's menu, which
# stays up until Escape closes it. A menu that does not show, or closes by itself, is counted out;
# the count is checked once every click is done.
wine_right_clicks_open_menu() { # COUNT WHAT
    local i ouverts=0 debut=${EPOCHREALTIME//[!0-9]/}
    for ((i = 1; i <= $1; i++)); do
        e2e_click_icon 3
        # A menu that closes by itself does so within milliseconds of showing.
        if wine_popup_within 3 && sleep 0.3 && e2e_viewable "$E2E_POPUP"; then
            ouverts=$((ouverts + 1))
            e2e_key Escape
            e2e_wait_until "$E2E_TIMEOUT" "Escape to close the menu" e2e_hidden "$E2E_POPUP"
        else
            e2e_log "right click $i of $1, $2: no menu stayed up"
        fi
    done
    e2e_log "$1 right clicks, $2, in $(((${EPOCHREALTIME//[!0-9]/} - debut) / 1000)) ms"
    e2e_expect_eq "$ouverts" "$1" "menus opened by $1 right clicks on the icon, $2"
}
