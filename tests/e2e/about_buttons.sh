#!/usr/bin/env bash
# The menu's "A propos" opens the About box; each of its seven buttons hands its target once to
# the desktop's opener (a recording xdg-open first on PATH): the e-mail address and the web sites
# as they are, the documents as absolute, percent-encoded file:// URLs in the current directory
# (here one with a blank and accents), the help file included even though none exists.
# With "autre-codage", the current directory's name is in another encoding than the session's
# (Latin-1 in UTF-8), and beside it is the name that decoding it would give, which any account
# could make: the documents are still the user's own.
#   about_buttons.sh TARVANE [autre-codage]
source "$(dirname "$0")/harness.sh"
e2e_begin "about_buttons${2:+_$2}"

e2e_start_x
e2e_start_tray
e2e_start_accessibility
e2e_fake_opener 0
if [ "${2:-}" = autre-codage ]; then
    E2E_PROGRAM_DIR=$E2E_WORK/r$'\xe9'sum
    mkdir "$E2E_PROGRAM_DIR" "$E2E_WORK/r"$'\xef\xbf\xbd'sum
    directory="file://${E2E_WORK}/r%E9sum"
else
    E2E_PROGRAM_DIR="$E2E_WORK/Mes documents/Été"
    mkdir -p "$E2E_PROGRAM_DIR"
    directory="file://${E2E_WORK}/Mes%20documents/%C3%89t%C3%A9"
fi
[[ $E2E_WORK =~ ^[A-Za-z0-9/._-]+$ ]] || e2e_fail "$E2E_WORK would need encoding itself"
e2e_start_program "$1"
e2e_wait_icon

e2e_open_about
about=$E2E_WINDOW
e2e_screenshot about
e2e_expect_eq "$(e2e_opener_calls)" 0 "calls of xdg-open before any button"

e2e_click_accessible "page tab" "Assistance technique"
e2e_screenshot support
e2e_click_accessible "push button" "M'envoyer un E-Mail : etienne.exemple@example.org"
e2e_expect_opened 1 "mailto:etienne.exemple@example.org" "opened by EMail"
e2e_click_accessible "push button" "Visiter mon site : http://www.example.org/tarvane/"
e2e_expect_opened 2 "http://www.example.org/tarvane/" "opened by Internet"

e2e_click_accessible "page tab" "V.E.Lk"
e2e_screenshot velk
e2e_click_accessible "push button" "Lire Le_VELk_.txt"
e2e_expect_opened 3 "$directory/Le_velk_.txt" "opened by SSCommand1"
e2e_click_accessible "push button" "Lire Adhésion.txt"
e2e_expect_opened 4 "$directory/Adhesion.txt" "opened by SSCommand2"
e2e_click_accessible "push button" "Lire Le_VELk_.hlp"
e2e_expect_opened 5 "$directory/Le_Velk_.hlp" "opened by SSCommand3"
e2e_click_accessible "push button" "Lire Le_VELk_.htm"
e2e_expect_opened 6 "$directory/Le_Velk_.htm" "opened by SSCommand4"
e2e_click_accessible "push button" "Visiter le site de VELk : http://velk.example.com/"
e2e_expect_opened 7 "http://velk.example.com/" "opened by SSCommand5"
e2e_screenshot velk_after_clicks

e2e_viewable "$about" || e2e_fail "the About box closed after its buttons"
# The box is back on page 1, where its door closes it.
e2e_click_accessible "page tab" Tarvane
e2e_click_accessible "push button" Fermer
e2e_wait_until "$E2E_TIMEOUT" "the About box to close" e2e_hidden "$about"
e2e_expect_eq "$(e2e_opener_calls)" 7 "calls of xdg-open in all, one a button"
