#!/usr/bin/env bash
# A right click on the icon opens the menu "A propos" / "Quitter" on the button's release, not its
# press; Quitter ends Tarvane with status 0 and its icon leaves the tray, which stays up.
#   tray_quit.sh TARVANE key      window hidden, the button held a while, Quitter by its key Q
#   tray_quit.sh TARVANE click    window shown, Quitter clicked
source "$(dirname "$0")/harness.sh"
e2e_begin "tray_quit_$2"

e2e_start_x
e2e_start_tray
e2e_start_program "$1"
e2e_wait_icon

if [ "$2" = click ]; then
    e2e_click_icon 1
    e2e_wait_window Tarvane
    e2e_click_icon 3
else
    timeout 5 xdotool mousemove "$E2E_ICON_X" "$E2E_ICON_Y" mousedown 3
    sleep 1
    e2e_find_popup && e2e_fail "the menu opened on the press"
    timeout 5 xdotool mouseup 3
fi
e2e_wait_popup
e2e_screenshot menu
case $2 in
key) e2e_key q ;;
click) e2e_click_menu_item 2 2 ;;
*) e2e_fail "unknown way to choose Quitter: $2" ;;
esac

e2e_expect_clean_exit Quitter
e2e_expect_icon_left
e2e_screenshot gone
