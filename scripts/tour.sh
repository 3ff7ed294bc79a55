#!/usr/bin/env bash
# The picture tour: runs Tarvane on a virtual screen (Xvfb) with a real tray (trayer), goes
# through what a new user does (the icon, the window, converting 100 francs, the menu, each page
# of the About box) and saves a picture of each step into docs/images/, which README.md and the
# AppStream file show; then the window and the About box again under a dark desktop palette
# (qt6ct's "darker" scheme). The pictures are replaced only once the whole tour has gone through.
#   scripts/tour.sh [PROGRAM [FOLDER]]
#     PROGRAM  default: build/release/app/Tarvane, built by scripts/run.sh
#     FOLDER   where the pictures go, default: docs/images
set -euo pipefail
racine=$(cd "$(dirname "$0")/.." && pwd)
programme=${1:-$racine/build/release/app/Tarvane}
if [ ! -x "$programme" ]; then
    echo "No program at $programme: build it first (bash scripts/run.sh)." >&2
    exit 1
fi
programme=$(realpath "$programme")
images=${2:-$racine/docs/images}

# Logs, and a picture of the screen if a step fails.
export TARVANE_TEST_OUTPUT=${TARVANE_TEST_OUTPUT:-$racine/build/tour}
# In namespaces of its own where the system allows them, in the system's own elsewhere.
export E2E_NAMESPACES_OPTIONAL=1
# shellcheck source=../tests/e2e/harness.sh
source "$racine/tests/e2e/harness.sh"
e2e_begin tour

# Saves the part of the screen that holds WINDOWS, with a margin, as $E2E_OUT/NAME.png.
photo() { # NAME WINDOW...
    local name=$1 window x0=100000 y0=100000 x1=0 y1=0 marge=16
    shift
    for window; do
        e2e_geometry "$window"
        x0=$((E2E_X < x0 ? E2E_X : x0))
        y0=$((E2E_Y < y0 ? E2E_Y : y0))
        x1=$((E2E_X + E2E_W > x1 ? E2E_X + E2E_W : x1))
        y1=$((E2E_Y + E2E_H > y1 ? E2E_Y + E2E_H : y1))
    done
    x0=$((x0 > marge ? x0 - marge : 0))
    y0=$((y0 > marge ? y0 - marge : 0))
    x1=$((x1 + marge < ECRAN_L ? x1 + marge : ECRAN_L))
    y1=$((y1 + marge < ECRAN_H ? y1 + marge : ECRAN_H))
    timeout 10 import -display "$DISPLAY" -window root \
        -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage "$E2E_OUT/$name.png"
    e2e_log "picture $name.png"
}

# The program's tooltip, once shown: sets BULLE.
bulle_montree() {
    local window
    for window in $(e2e_top_level_windows); do
        if xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q TOOLTIP; then
            BULLE=$window
            return 0
        fi
    done
    return 1
}

# Shows the About box's page with that tab and waits until it is drawn.
page() { # TAB
    e2e_click_accessible "page tab" "$1"
    e2e_wait_until "$E2E_TIMEOUT" "page $1" page_montree "$1"
}

page_montree() { # TAB: the page, named after its tab, is showing
    e2e_accessible_tree | awk -F '\t' -v nom="$1" \
        '$2 != "page tab" && $3 == nom && $5 ~ /showing/ {found = 1} END {exit !found}'
}

# A left click on the icon shows the window, with the focus in Francs: sets fenetre.
ouvrir_fenetre() {
    e2e_click_icon 1
    e2e_wait_window Tarvane
    fenetre=$E2E_WINDOW
    e2e_expect_focus "text: Francs"
}

# The window put away with its narrow button.
masquer_fenetre() {
    e2e_click_accessible "push button" "Masquer la fenêtre"
    e2e_wait_until "$E2E_TIMEOUT" "the window to hide" e2e_hidden "$fenetre"
}

# 100 francs converted in the shown window: Enter goes to Euros, then to Convertir, which Enter
# presses; the focus is left back in Francs, its amount selected.
convertir_100() {
    e2e_type 100
    e2e_key Return Return
    e2e_expect_focus "push button: Convertir"
    e2e_key Return
    e2e_expect_focus "text: Francs"
    e2e_key Tab
    e2e_expect_field "15,24" "Euros after converting 100 francs"
    e2e_key shift+Tab
}

# The box closed by its door, the program ended by its menu's Quitter.
fermer_et_quitter() { # ABOUT_BOX
    page Tarvane
    e2e_click_accessible "push button" Fermer
    e2e_wait_until "$E2E_TIMEOUT" "the About box to close" e2e_hidden "$1"
    e2e_click_icon 3
    e2e_wait_popup
    e2e_click_menu_item 2 2
    e2e_wait_exit
    e2e_expect_eq "$E2E_STATUS" 0 "exit status after Quitter"
}

# Like e2e_start_x, on a smaller screen, so that a picture holding both the centred window and
# the tray in the corner is not mostly empty desktop.
ECRAN_L=800 ECRAN_H=480
ecran_virtuel() {
    env "$E2E_MARK" setpriv --pdeathsig TERM -- \
        Xvfb -displayfd 3 -screen 0 "${ECRAN_L}x${ECRAN_H}x24" -dpi 96 -nolisten tcp -noreset \
        3>"$E2E_WORK/display" >"$E2E_WORK/xvfb.log" 2>&1 </dev/null &
    E2E_PIDS+=("$!")
    e2e_wait_until "$E2E_TIMEOUT" "Xvfb to announce its display" grep -q . "$E2E_WORK/display"
    DISPLAY=":$(head -n 1 "$E2E_WORK/display")"
    export DISPLAY
    e2e_wait_until "$E2E_TIMEOUT" "Xvfb on $DISPLAY to answer" timeout 2 xdpyinfo >/dev/null 2>&1
    E2E_ROOT=$(xwininfo -root | awk '/Window id:/ {print $4}')
}

ecran_virtuel
# A desktop's blue rather than the server's black. ImageMagick sets it and then reports a
# failure whatever happened; a black background would do as well.
timeout 10 display -display "$DISPLAY" -window root -size "${ECRAN_L}x$ECRAN_H" 'xc:#3a6ea5' ||
    true
e2e_start_tray
e2e_start_accessibility
# Started among its companion documents, as the desktop's menu starts it.
E2E_PROGRAM_DIR=$racine/resources/documents
e2e_start_program "$programme"
e2e_wait_icon

# 1. The icon in the tray, with its tooltip.
e2e_read_tooltip
e2e_wait_until "$E2E_TIMEOUT" "the tooltip's window" bulle_montree
photo 01-icone "$E2E_TRAY_PANEL" "$BULLE"

# 2. A left click on the icon shows the window.
timeout 5 xdotool mousemove 0 400
ouvrir_fenetre
photo 02-fenetre "$E2E_TRAY_PANEL" "$fenetre"

# 3. 100 francs converted.
convertir_100
photo 03-conversion "$fenetre"

# 4. The window put away with its narrow button, then the icon's menu.
masquer_fenetre
e2e_click_icon 3
e2e_wait_popup
photo 04-menu "$E2E_TRAY_PANEL" "$E2E_POPUP"

# 5 to 9. "A propos", and each page of the box.
e2e_click_menu_item 1 2
e2e_wait_window Tarvane DIALOG
apropos=$E2E_WINDOW
numero=5
for onglet in Tarvane "Infos techniques" Historique "Assistance technique" V.E.Lk; do
    page "$onglet"
    case $onglet in
    Tarvane) nom=tarvane ;;
    "Infos techniques") nom=infos ;;
    Historique) nom=historique ;;
    "Assistance technique") nom=assistance ;;
    V.E.Lk) nom=velk ;;
    esac
    photo "0$numero-apropos-$nom" "$apropos"
    numero=$((numero + 1))
done

fermer_et_quitter "$apropos"

# 10 and 11. Again under a dark palette, which the desktop's platform theme hands to Qt: the
# converted amounts, and the technical information on its white sheet.
sombre=/usr/share/qt6ct/colors/darker.conf
[ -f "$sombre" ] || e2e_fail "qt6ct is missing: run scripts/setup.sh tour"
mkdir -p "$E2E_WORK/config/qt6ct"
cat >"$E2E_WORK/config/qt6ct/qt6ct.conf" <<FIN
[Appearance]
style=Fusion
custom_palette=true
color_scheme_path=$sombre
FIN
E2E_PROGRAM_ENV=(QT_QPA_PLATFORMTHEME=qt6ct XDG_CONFIG_HOME="$E2E_WORK/config")
e2e_start_program "$programme"
e2e_wait_icon
ouvrir_fenetre
convertir_100
photo 10-fenetre-sombre "$fenetre"
masquer_fenetre
e2e_open_about
apropos=$E2E_WINDOW
page "Infos techniques"
photo 11-apropos-infos-sombre "$apropos"
fermer_et_quitter "$apropos"
# A theme that did not load would leave light windows: just inside each, the face must be dark.
for nom in 10-fenetre-sombre 11-apropos-infos-sombre; do
    clarte=$(convert "$E2E_OUT/$nom.png" -crop 1x1+20+20 -colorspace Gray \
        -format '%[fx:int(100*mean)]' info:)
    [ "$clarte" -lt 50 ] || e2e_fail "$nom.png: the window's face is not dark ($clarte% light)"
done

mkdir -p "$images"
rm -f "$images"/*.png
cp "$E2E_OUT"/*.png "$images"/
e2e_log "pictures of the tour in $images"
