#!/usr/bin/env bash
# Enter and Escape leave the About box open; its door closes it, and the program stays in the
# tray with its window as it was: hidden, then, on a second showing of the box, shown.
#   about_close.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin about_close

e2e_start_x
e2e_start_tray
e2e_start_accessibility
e2e_start_program "$1"
e2e_wait_icon

open_about() {
    e2e_open_about
    about=$E2E_WINDOW
    e2e_expect_eq "$(e2e_focus_window)" "$about" "window with the keyboard focus"
}

close_about() {
    # The door, the button named "Fermer", shown on page 1 only.
    e2e_click_accessible "push button" Fermer
    e2e_wait_until "$E2E_TIMEOUT" "the About box to close" e2e_hidden "$about"
    e2e_running "$E2E_PID" || e2e_fail "closing the About box ended the program"
    e2e_find_icon || e2e_fail "the icon left the tray when the About box closed"
}

# With the window hidden.
open_about
e2e_key Escape Return
# A later click that is seen to act shows that both keys were handled before it.
e2e_click_accessible "page tab" Historique
e2e_wait_until "$E2E_TIMEOUT" "page Historique" e2e_find_accessible text Historique
e2e_viewable "$about" || e2e_fail "Enter or Escape closed the About box"
e2e_screenshot after_enter_escape
e2e_click_accessible "page tab" Tarvane
close_about
e2e_screenshot closed_window_hidden
e2e_find_window Tarvane && e2e_fail "closing the About box showed the window"

# With the window shown.
e2e_click_icon 1
e2e_wait_window Tarvane
window=$E2E_WINDOW
open_about
e2e_screenshot about_over_window
close_about
e2e_viewable "$window" || e2e_fail "closing the About box hid the window"
e2e_screenshot closed_window_shown
