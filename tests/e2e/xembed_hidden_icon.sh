#!/usr/bin/env bash
# XEmbed trays that take the icon into a window of their own: the icon counts only while that
# window is on screen.
# - A tray that never maps it shows nothing: within 3 s the window is on screen, with a task-bar
#   button since no icon could bring it back.
# - A tray that maps it half a second after taking the icon shows it: the program stays in the
#   tray. When the tray unmaps that window, the window is on screen within 3 s.
#   xembed_hidden_icon.sh TARVANE FAUX_PLATEAU
source "$(dirname "$0")/harness.sh"
e2e_begin xembed_hidden_icon

# Starts the fake tray with that option, then the program; sets E2E_FAUX_PID.
start_beside_fake() { # cache|montre
    e2e_launch "faux-tray-$1" "$faux" "--$1"
    E2E_FAUX_PID=$E2E_LAST_PID
    E2E_FAUX_LOG=$E2E_WORK/faux-tray-$1.log
    e2e_wait_until "$E2E_TIMEOUT" "the fake tray to take the selection" grep -q '^ready' \
        "$E2E_FAUX_LOG"
    e2e_start_program "$program"
}

# The window of the fake tray that holds the icon: sets E2E_HOLDER.
holder_known() { E2E_HOLDER=$(awk '/^window / {print $2}' "$E2E_FAUX_LOG") && [ -n "$E2E_HOLDER" ]; }

program=$1
faux=$2
e2e_start_x

start_beside_fake cache
e2e_wait_until "$E2E_TIMEOUT" "the fake tray to take the icon" holder_known
e2e_window_within 3 "beside a tray that holds the icon in a window it never maps"
xprop -id "$E2E_WINDOW" _NET_WM_STATE | grep -q SKIP_TASKBAR &&
    e2e_fail "no icon shown, and yet no task-bar button"
e2e_stop "$E2E_PID"
E2E_PID=
e2e_stop "$E2E_FAUX_PID"

start_beside_fake montre
e2e_wait_until "$E2E_TIMEOUT" "the fake tray to take the icon" holder_known
e2e_wait_until "$E2E_TIMEOUT" "the fake tray to show the icon" e2e_viewable "$E2E_HOLDER"
sleep 3 # past the wait for an area
e2e_find_window Tarvane && e2e_fail "the window is shown while a tray shows the icon"
e2e_log "ok: the program stays in the tray that shows its icon"
timeout 5 xdotool windowunmap "$E2E_HOLDER"
e2e_window_within 3 "once the tray no longer shows the icon"
