#!/usr/bin/env bash
# An X client that owns the XEmbed tray selection and never docks anything: within 3 s the window
# is on screen, with a task-bar button since no icon could bring it back, and stays there. When
# a real tray replaces that client, the icon docks there and stays.
#   xembed_never_docks.sh TARVANE FAUX_PLATEAU
source "$(dirname "$0")/harness.sh"
e2e_begin xembed_never_docks

e2e_start_x
e2e_launch faux-tray "$2"
E2E_FAUX_PID=$E2E_LAST_PID
e2e_wait_until "$E2E_TIMEOUT" "the fake tray to take the selection" grep -q '^ready' \
    "$E2E_WORK/faux-tray.log"
e2e_start_program "$1"
e2e_window_within 3 "beside a tray that never docks"
xprop -id "$E2E_WINDOW" _NET_WM_STATE | grep -q SKIP_TASKBAR &&
    e2e_fail "no tray, and yet no task-bar button"

sleep 1
e2e_find_window Tarvane || e2e_fail "the window went away beside a tray that never docks"

# A real tray takes the selection as soon as the fake leaves: the icon docks and stays.
e2e_stop "$E2E_FAUX_PID"
e2e_start_tray
e2e_wait_icon
sleep 2.5 # past the wait for an area
e2e_find_icon || e2e_fail "the icon left the tray that took it"
