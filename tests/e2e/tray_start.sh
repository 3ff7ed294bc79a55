#!/usr/bin/env bash
# After start-up Tarvane shows nothing but its icon, docked in the tray, whose tooltip reads
# "Tarvane Francs/Euros/Francs" in full and without the blanks that pad it.
#   tray_start.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin tray_start

e2e_start_x
e2e_start_tray
e2e_start_accessibility
e2e_start_program "$1"

e2e_wait_icon
e2e_screenshot docked
e2e_expect_eq "$(e2e_top_level_windows)" "" "windows shown after start-up besides the icon"

e2e_read_tooltip
e2e_screenshot tooltip
e2e_expect_eq "$E2E_TOOLTIP" "Tarvane Francs/Euros/Francs" "tooltip of the icon"
e2e_running "$E2E_PID" || e2e_fail "Tarvane ended on its own"
