#!/usr/bin/env bash
# Tarvane.exe, as the Windows folder holds it, under Wine on Xvfb with trayer: Wine docks the
# icon of Shell_NotifyIconA into the XEmbed tray. Hidden start; a left click shows the window
# with the focus in Francs; 100 gives 15,24; every right click on the icon opens the menu, with
# the window shown and active as with it hidden, and its A propos opens the About box, which
# closes; a second copy warns and leaves; Quitter ends it with status 0 and takes the icon away.
#   e2e_wine.sh FOLDER PREFIX    (the Windows folder, a Wine prefix to copy)
source "$(dirname "$0")/../e2e/harness.sh"
source "$(dirname "$0")/wine_harness.sh"
e2e_begin wine_tray
dossier=$(realpath "$1")

e2e_start_x
e2e_start_tray
wine_prepare "$2"
E2E_PROGRAM_DIR=$dossier e2e_start_program "$WINE_LAUNCHER" "$dossier/Tarvane.exe"
wine_wait_icon
e2e_screenshot started
e2e_find_window Tarvane && e2e_fail "the window is shown at start with a tray there"

e2e_click_icon 1
e2e_wait_window Tarvane
window=$E2E_WINDOW
e2e_screenshot shown
wine_point_at "$window" # Wine gives keys to the window under the pointer on a bare X server
e2e_type 100
e2e_key Return Return Return
e2e_key Tab
e2e_expect_field "15,24" "Euros after 100 francs, Enter, Enter, Enter"
e2e_key shift+Tab
e2e_expect_field 100 "Francs after converting"
e2e_screenshot converted

wine_find_about() {
    local w
    for w in $(e2e_top_level_windows); do
        [ "$w" = "$window" ] && continue
        [ "$w" = "$E2E_POPUP" ] && continue
        e2e_override_redirect "$w" && continue
        E2E_ABOUT=$w
        return 0
    done
    return 1
}
wine_close_about() {
    wine_point_at "$E2E_ABOUT"
    e2e_key alt+F4
    e2e_wait_until "$E2E_TIMEOUT" "the About box to close" e2e_hidden "$E2E_ABOUT"
    e2e_running "$E2E_PID" || e2e_fail "closing the About box ended the program"
}

# The menu on the icon while the window is active; its A propos, chosen by its key.
wine_right_clicks_open_menu 20 "the window shown and active"
e2e_click_icon 3
e2e_wait_popup
e2e_key a
e2e_wait_until "$E2E_TIMEOUT" "the About box from the active window" wine_find_about
wine_close_about

# A second copy: its warning, then it leaves; the first one goes on with its one icon.
e2e_launch second env -C "$dossier" "$WINE_LAUNCHER" "$dossier/Tarvane.exe"
second=$E2E_LAST_PID
wine_find_box() {
    local w
    for w in $(timeout 5 xdotool search --onlyvisible --pid "$second" 2>/dev/null || true); do
        E2E_BOX=$(e2e_hex "$w")
        return 0
    done
    return 1
}
e2e_wait_until "$E2E_TIMEOUT" "the second copy's warning" wine_find_box
e2e_screenshot second_copy_warning
wine_point_at "$E2E_BOX"
e2e_key Return
wine_second_ended() { ! e2e_running "$second"; }
e2e_wait_until "$E2E_TIMEOUT" "the second copy to leave" wine_second_ended
status=0
wait "$second" || status=$?
e2e_expect_eq "$status" 0 "the second copy's exit status"
e2e_expect_eq "$(wine_icons | wc -l)" 1 "icons in the tray after the second copy left"

# The window's Q puts it away; the menu on the icon, its A propos clicked, the About box, closed.
wine_point_at "$window"
e2e_key alt+q
e2e_wait_until "$E2E_TIMEOUT" "Q to hide the window" e2e_hidden "$window"
wine_right_clicks_open_menu 20 "the window hidden"
e2e_click_icon 3
e2e_wait_popup
e2e_screenshot menu
e2e_click_menu_item 1 2
e2e_wait_until "$E2E_TIMEOUT" "the About box" wine_find_about
e2e_screenshot about
wine_point_at "$E2E_ABOUT"
e2e_key ctrl+Tab # the version block's texts, for the pictures
e2e_screenshot about_infos
wine_close_about

e2e_click_icon 3
e2e_wait_popup
e2e_click_menu_item 2 2
e2e_wait_exit 20
e2e_expect_eq "$E2E_STATUS" 0 "exit status after Quitter"
e2e_wait_until "$E2E_TIMEOUT" "the icon to leave the tray" wine_no_icon
e2e_screenshot gone
