#!/usr/bin/env bash
# A termination request ends Tarvane the way the menu's Quitter does: status 0 and the icon gone
# from the tray. One start for each signal given.
#   tray_terminate.sh TARVANE SIGNAL...
source "$(dirname "$0")/harness.sh"
e2e_begin tray_terminate

e2e_start_x
e2e_start_tray
program=$1
shift
for signal in "$@"; do
    e2e_start_program "$program"
    e2e_wait_icon
    e2e_click_icon 1
    e2e_wait_window Tarvane
    kill -s "$signal" "$E2E_PID"
    e2e_expect_clean_exit "SIG$signal"
    e2e_expect_icon_left
done
