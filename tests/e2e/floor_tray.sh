#!/usr/bin/env bash
# The harness proves itself on the floor program: its icon docks into trayer with its tooltip,
# its window stays hidden, a right click opens its menu, and Quitter ends it with status 0.
#   floor_tray.sh FLOOR_PROGRAM
source "$(dirname "$0")/harness.sh"
e2e_begin floor_tray

e2e_start_x
e2e_start_tray
e2e_start_accessibility
e2e_start_program "$1"

e2e_wait_icon
e2e_screenshot docked
e2e_find_window Plancher && e2e_fail "the floor's window is shown; it must stay hidden"

e2e_read_tooltip
e2e_screenshot tooltip
e2e_expect_eq "$E2E_TOOLTIP" "Plancher Tarvane" "tooltip of the icon"

e2e_click_icon 3
e2e_wait_popup
e2e_screenshot menu
e2e_click_menu_item 1 1
e2e_expect_clean_exit Quitter
e2e_expect_icon_left
e2e_screenshot gone
