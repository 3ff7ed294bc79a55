#!/usr/bin/env bash
# On a real desktop's tray, started as a session starts it: GNOME Shell with its AppIndicator
# extension, xfce4-panel's notification area, plasmashell over kded (on X or on KWin's Wayland),
# Cinnamon over xapp-sn-watcher, MATE's, LXQt's or Budgie's panel, or waybar on sway. The icon shows and is still there 6 s after start; three starts in a row
# show no window; a click on the icon brings the window with the focus in Francs, and 100
# converts to 15,24; "Quitter", clicked in the host's own menu, ends with status 0 and takes the
# icon away. Started again, with the panel killed the window shows within 3 s, and the panel back
# shows the icon again. On GNOME
# Shell on Wayland, where the shell is the screen, its tray extension goes and comes back instead
# of the panel. There and on KWin another application's window holds the keyboard before each
# left click on the icon, and a closed window brought by a double click, and a minimised one by
# a click, come with the focus in Francs (on GNOME Shell, leaving no start-up sequence pending).
#   real_host.sh TARVANE HOST [POINTEUR_WAYLAND]   (HOST: one of e2e_start_real_host's)
source "$(dirname "$0")/harness.sh"
source "$(dirname "$0")/hotes_reels.sh"
e2e_begin "real_host_$2"

e2e_start_real_host "$2" "${3:-}"
case $E2E_HOST in gnome-wayland | kde-wayland) e2e_start_other_window ;; esac
e2e_host_png panel

for start in 1 2 3; do
    e2e_start_program "$1"
    started=${EPOCHREALTIME//[!0-9]/}
    e2e_wait_host_icon
    if [ "$start" -eq 1 ]; then
        e2e_host_png icon
        left=$(((started + 6000000 - ${EPOCHREALTIME//[!0-9]/}) / 1000))
        [ "$left" -le 0 ] || sleep "$((left / 1000)).$(printf %03d $((left % 1000)))"
        e2e_host_expect_icon "6 s after start"
    else
        # Long enough for a program that gives up on its icon to show its window instead.
        sleep 1.5
    fi
    e2e_host_expect_no_window "after start $start, no click"
    if [ "$start" -lt 3 ]; then
        kill -TERM "$E2E_PID"
        e2e_expect_clean_exit SIGTERM
        e2e_wait_host_icon_gone
    fi
done

e2e_host_click_icon 1
e2e_host_window_within "$E2E_TIMEOUT" "after a click on the icon"
e2e_host_close_menu
e2e_host_png shown
e2e_expect_focus "text: Francs"
e2e_host_type 100
e2e_host_key Return
e2e_expect_focus "text: Euros"
e2e_host_key Return
e2e_host_key Return
e2e_expect_focus "text: Francs"
e2e_host_key Tab
e2e_expect_focus "text: Euros"
e2e_host_expect_field "15,24" "Euros after converting 100 francs"

if [ "$E2E_HOST" = gnome-wayland ] || [ "$E2E_HOST" = kde-wayland ]; then
    # The close box hides the window; a double click brings it back with the activation token
    # that the host handed the program, which takes it up: GNOME Shell shows a busy pointer as
    # long as a token is unused.
    e2e_host_window_do close
    e2e_wait_until "$E2E_TIMEOUT" "the window to close" e2e_not e2e_host_window_shown
    e2e_host_click_icon 1 2
    e2e_host_window_within "$E2E_TIMEOUT" "after a double click on the icon"
    e2e_expect_focus "text: Francs"
    [ "$E2E_HOST" != gnome-wayland ] ||
        e2e_wait_until 2 "no start-up sequence pending after the double click" \
            e2e_no_startup_pending
    # Minimised, it comes back on a click.
    e2e_host_window_do minimise
    e2e_wait_until "$E2E_TIMEOUT" "the window to be minimised" e2e_not e2e_host_window_shown
    e2e_host_click_icon 1
    e2e_host_window_within "$E2E_TIMEOUT" "minimised, after a click on the icon"
    e2e_host_close_menu
    e2e_expect_focus "text: Francs"
    e2e_host_png wayland-window "$(e2e_shell_window_geometry)"
fi

e2e_host_open_menu
e2e_host_png menu
e2e_host_click_menu_item 2 2
e2e_expect_clean_exit "Quitter in $E2E_HOST's menu"
e2e_wait_host_icon_gone
e2e_expect_eq "$(e2e_host_items)" "" "items left with the watcher"

e2e_start_program "$1"
e2e_wait_host_icon
e2e_stop_panel
e2e_host_window_within 3 "with the panel gone"
e2e_host_png panel_gone
e2e_start_panel
e2e_wait_host_icon 20
e2e_host_png panel_back
