#!/usr/bin/env bash
# An X client that owns the XEmbed tray selection and never docks anything: within 3 s the window
# is on screen. Once it leaves and a real tray comes, the icon docks and Q hides the window.
#   xembed_never_docks.sh TARVANE FAUX_PLATEAU
source "$(dirname "$0")/harness.sh"
e2e_begin xembed_never_docks

e2e_start_x
e2e_launch faux-tray "$2"
fake=$E2E_LAST_PID
e2e_wait_until "$E2E_TIMEOUT" "the fake tray to take the selection" grep -q '^ready' \
    "$E2E_WORK/faux-tray.log"
e2e_start_program "$1"
e2e_wait_until 3 "the window on screen beside a tray that never docks" e2e_find_window Tarvane
e2e_log "ok: window shown"

e2e_stop "$fake"
e2e_start_tray
e2e_wait_icon
timeout 5 xdotool windowfocus "$E2E_WINDOW"
e2e_key alt+q
e2e_wait_until "$E2E_TIMEOUT" "the window to hide" e2e_hidden "$E2E_WINDOW"
e2e_log "PASSED: xembed_never_docks"
