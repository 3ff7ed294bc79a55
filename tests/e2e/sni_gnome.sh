#!/usr/bin/env bash
# GNOME Shell's host opens the item's menu on a single left click and activates the item only on
# a double click: there the menu's opening brings the window too, with the focus in Francs, so
# that one click reaches it; the menu stays as it is. The AboutToShow(0) that the host asks of
# every new item, with no click, brings nothing.
#   sni_gnome.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin sni_gnome

e2e_start_x
e2e_start_accessibility
e2e_start_sni_host --gnome
e2e_start_program "$1"
e2e_wait_sni_item
e2e_wait_until "$E2E_TIMEOUT" "the host to ask AboutToShow" grep -q '^read' \
    "$E2E_WORK/sni-host-$E2E_SNI_STARTS.log"
sleep 0.5
e2e_expect_eq "$(e2e_top_level_windows)" "" "windows shown after start-up and the host's look"

e2e_sni open-menu
e2e_wait_window Tarvane
e2e_expect_focus "text: Francs"
e2e_wait_sni_menu $'A propos\tenabled\nQuitter\tenabled' "the menu beside the window"
