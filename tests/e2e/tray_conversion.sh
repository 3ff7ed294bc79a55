#!/usr/bin/env bash
# A left click on the icon shows the window "Tarvane", centred, with the keyboard focus in
# Francs; 100, Enter, Enter, Enter converts and writes 15,24 into Euros, leaving 100 as typed.
#   tray_conversion.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin tray_conversion

e2e_start_x
e2e_start_tray
e2e_start_accessibility
e2e_start_program "$1"
e2e_wait_icon

e2e_click_icon 1
e2e_wait_window Tarvane
e2e_screenshot shown
e2e_expect_eq "$(e2e_focus_window)" "$E2E_WINDOW" "window with the keyboard focus"
e2e_expect_focus "text: Francs"
e2e_geometry "$E2E_WINDOW"
# Halves of a pixel are rounded either way.
e2e_expect_eq "$(((2 * E2E_X + E2E_W - 1280) / 2)),$(((2 * E2E_Y + E2E_H - 800) / 2))" "0,0" \
    "offset of the window's centre from the centre of the 1280x800 screen"

e2e_type 100
e2e_expect_field 100 "Francs after typing"
e2e_key Return
e2e_expect_focus "text: Euros"
e2e_key Return
e2e_expect_focus "push button: Convertir"
e2e_key Return
e2e_expect_focus "text: Francs"
e2e_screenshot converted

e2e_key Tab
e2e_expect_focus "text: Euros"
e2e_expect_field "15,24" "Euros after converting 100 francs"
e2e_key shift+Tab
e2e_expect_focus "text: Francs"
e2e_expect_field 100 "Francs after converting"
