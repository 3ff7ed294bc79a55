#!/usr/bin/env bash
# On a StatusNotifierItem tray present at start: Tarvane starts hidden and registers its item
# with its tooltip; Activate shows the window and a second Activate keeps it shown; the exported
# menu lists "A propos" then "Quitter"; while the About box that "A propos" opens is up, both
# items are disabled, and enabled again when it closes; "Quitter" ends with status 0 and the item
# leaves.
#   sni_start.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin sni_start

e2e_start_x
e2e_start_accessibility
e2e_start_sni_host
e2e_start_program "$1"

e2e_wait_sni_item
e2e_expect_eq "$(e2e_sni tooltip)" "Tarvane Francs/Euros/Francs" "tooltip of the item"
# A host that draws the menu itself and activates on a left click: the menu brings no window.
e2e_sni open-menu
sleep 0.5
e2e_expect_eq "$(e2e_top_level_windows)" "" "windows shown after start-up and the menu's opening"

e2e_sni activate
e2e_wait_window Tarvane
window=$E2E_WINDOW
e2e_expect_focus "text: Francs"
e2e_sni activate
# The second call has been answered; give its effect, if any, time to show.
sleep 0.5
e2e_viewable "$window" || e2e_fail "a second Activate hid the window"
e2e_screenshot shown

e2e_wait_sni_menu $'A propos\tenabled\nQuitter\tenabled' "menu before the About box"
e2e_sni click "A propos"
e2e_wait_window Tarvane DIALOG
about=$E2E_WINDOW
e2e_screenshot about
e2e_wait_sni_menu $'A propos\tdisabled\nQuitter\tdisabled' "menu while the About box is open"
e2e_click_accessible "push button" Fermer
e2e_wait_until "$E2E_TIMEOUT" "the About box to close" e2e_hidden "$about"
e2e_wait_sni_menu $'A propos\tenabled\nQuitter\tenabled' "menu after the About box closed"

e2e_sni click Quitter
e2e_expect_clean_exit Quitter
e2e_wait_until "$E2E_TIMEOUT" "the item to leave the tray host" e2e_sni_unregistered
