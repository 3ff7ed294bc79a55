#!/usr/bin/env bash
# Under a real window manager (openbox), which draws its own buttons: the window can be neither
# resized nor maximised and has no task-bar button while the tray has the icon; minimised all the
# same, it comes back on Activate (a left click on the icon), viewable, with the focus in Francs;
# the window manager's close box hides the window and the program goes on in the tray.
#   openbox.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin openbox

e2e_start_x
e2e_start_wm
e2e_start_accessibility
e2e_start_sni_host
e2e_start_program "$1"
e2e_wait_sni_item

e2e_sni activate
e2e_wait_window Tarvane
window=$E2E_WINDOW
e2e_screenshot framed

# Openbox ignores the Motif hints' minimise bit by design; the rest it follows.
actions=$(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)
grep -qE "MAXIMIZE|RESIZE" <<<"$actions" && e2e_fail "openbox offers to resize: $actions"
xprop -id "$window" _NET_WM_STATE | grep -q SKIP_TASKBAR ||
    e2e_fail "the window has a task-bar button while the tray has its icon"

timeout 5 xdotool windowminimize "$window"
e2e_wait_until "$E2E_TIMEOUT" "the window to minimise" e2e_hidden "$window"
e2e_sni activate
e2e_wait_until "$E2E_TIMEOUT" "the minimised window to come back" e2e_viewable "$window"
e2e_expect_focus "text: Francs"
e2e_screenshot restored

# As openbox's close box does: the window manager asks the window to close.
timeout 5 wmctrl -i -c "$window"
e2e_wait_until "$E2E_TIMEOUT" "the close box to hide the window" e2e_hidden "$window"
sleep 0.5
e2e_running "$E2E_PID" || e2e_fail "the close box ended the program"
e2e_sni_registered || e2e_fail "the item left the tray when the window closed"
e2e_sni activate
e2e_wait_until "$E2E_TIMEOUT" "the window to show again" e2e_viewable "$window"
