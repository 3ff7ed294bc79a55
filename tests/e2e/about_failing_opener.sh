#!/usr/bin/env bash
# An opener that fails changes nothing on screen: the same clicks leave the About box exactly as
# they do with an opener that succeeds, open, on the same page, with no message.
#   about_failing_opener.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin about_failing_opener

e2e_start_x
e2e_start_tray
e2e_start_accessibility

click_document_button() { # OPENER_STATUS
    e2e_fake_opener "$1"
    e2e_start_program "$program"
    e2e_wait_icon
    e2e_open_about
    about=$E2E_WINDOW
    e2e_click_accessible "page tab" "V.E.Lk"
    e2e_click_accessible "push button" "Lire Le_VELk_.txt"
    e2e_wait_until "$E2E_TIMEOUT" "the opener to be called" e2e_opener_called 1
    e2e_viewable "$about" || e2e_fail "the About box closed (opener status $1)"
    e2e_screenshot "opener_status_$1"
    timeout 10 import -display "$DISPLAY" -window "$about" "$E2E_OUT/about_opener_status_$1.png"
    windows[$1]=$(e2e_top_level_windows | wc -l)
    e2e_stop "$E2E_PID"
    E2E_PID=
}

program=$1
click_document_button 0
click_document_button 4 # xdg-open's status when the action failed

e2e_expect_eq "${windows[4]}" "${windows[0]}" "top-level windows shown after a failed opening"
difference=$(compare -metric AE "$E2E_OUT/about_opener_status_0.png" \
    "$E2E_OUT/about_opener_status_4.png" null: 2>&1) || true
# ImageMagick 6 prints the count alone, 7.1.2 the count and its normalised value: "0 (0)".
e2e_expect_eq "${difference%% *}" 0 "pixels of the About box that differ after a failed opening"
