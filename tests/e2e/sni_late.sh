#!/usr/bin/env bash
# A StatusNotifierItem tray that comes and goes while Tarvane runs. With none at start the
# window is shown; a host that appears 1.5 s later gets the item, and Q then hides the window.
# The host going away while the window is hidden leaves the window shown within 3 s;
# the host coming back gets the item again, and Q hides the window again.
#   sni_late.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin sni_late

e2e_start_x
e2e_start_bus
e2e_start_program "$1"
e2e_wait_window Tarvane
window=$E2E_WINDOW
e2e_screenshot no_tray

# A panel that comes up after the programs of the session.
sleep 1.5
e2e_start_sni_host
e2e_wait_sni_item
e2e_hide_with_q "$window"
e2e_screenshot hidden_in_tray

e2e_stop_sni_host
e2e_wait_until 3 "the window to show once the tray host left" e2e_viewable "$window"
e2e_screenshot host_gone

e2e_start_sni_host
e2e_wait_sni_item
e2e_hide_with_q "$window"
e2e_screenshot host_back
