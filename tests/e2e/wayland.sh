#!/usr/bin/env bash
# On Wayland (weston, headless) with no tray: the window is shown, and Tarvane prints nothing at
# all on its standard error, from start to end.
#   wayland.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin wayland

e2e_start_weston
e2e_start_accessibility
e2e_start_program "$1"

e2e_wait_until "$E2E_TIMEOUT" "the window to show" e2e_find_accessible filler Tarvane
# Whatever start-up leaves to the event loop has run by now.
sleep 1
e2e_running "$E2E_PID" || e2e_fail "Tarvane ended on its own"
kill -TERM "$E2E_PID"
e2e_expect_clean_exit SIGTERM
e2e_expect_eq "$(cat "$E2E_WORK/program-stderr.log")" "" "standard error of Tarvane"
