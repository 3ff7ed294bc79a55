#!/usr/bin/env bash
# A second left click on the icon leaves the shown window as it is, focus included; the
# window's own Q button only hides it, and the icon brings it back with both fields as they were.
#   tray_show_hide.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin tray_show_hide

e2e_start_x
e2e_start_tray
e2e_start_accessibility
e2e_start_program "$1"
e2e_wait_icon

e2e_click_icon 1
e2e_wait_window Tarvane
e2e_type 100
e2e_key Return Return Return
e2e_key Tab
e2e_expect_focus "text: Euros"

e2e_click_icon 1
e2e_click_icon 1 # and a double click's second press
e2e_screenshot clicked_again
e2e_find_window Tarvane || e2e_fail "a second click on the icon hid the window"
e2e_expect_focus "text: Euros"
e2e_expect_field "15,24" "Euros after clicking the icon again"

e2e_key alt+q
e2e_wait_until "$E2E_TIMEOUT" "the window to hide" eval '! e2e_find_window Tarvane'
e2e_screenshot hidden
e2e_running "$E2E_PID" || e2e_fail "the window's Q button ended the program"
e2e_find_icon || e2e_fail "the icon left the tray when the window was hidden"

e2e_click_icon 1
e2e_wait_window Tarvane
e2e_screenshot shown_again
e2e_expect_focus "text: Francs"
e2e_expect_field 100 "Francs after hiding and showing"
e2e_key Tab
e2e_expect_field "15,24" "Euros after hiding and showing"
