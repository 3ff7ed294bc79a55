#!/usr/bin/env bash
# What a user of Orca, the screen reader, hears of the conversion window, shown at start (openbox,
# no tray): the fields and the button by name; 1234 francs converted, the amount read whole when
# the focus comes back to Francs, then the result, 188,12 euros, without the focus leaving Francs;
# the result read whole in Euros; each refusal's message box, with no result spoken for it.
#   orca.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin orca

e2e_start_x
e2e_start_wm
e2e_start_accessibility
e2e_start_orca
e2e_start_program "$1"
e2e_wait_window Tarvane

# Orca 43 (Debian 12) and 48 (Debian 13) word a few things differently.
texte="(zone de )?texte"

e2e_expect_spoken "Francs $texte\\." "the focus in Francs at start"
e2e_type 1234
e2e_wait_until "$E2E_TIMEOUT" "1234 in Francs" e2e_focused_text_is 1234
e2e_key Return
e2e_expect_spoken "Euros $texte\\." "Enter in Francs"
e2e_key Return
e2e_expect_spoken "Convertir bouton\\." "Enter in Euros"

e2e_key Return
e2e_expect_spoken "Francs $texte\\." "the focus back in Francs after the conversion"
e2e_expect_spoken "1234\\." "the amount typed, read whole"
e2e_expect_spoken "(notification )?188,12 euros\\.?" "the result, spoken after the focus"
e2e_expect_focus "text: Francs"

e2e_key Tab
e2e_expect_spoken "Euros $texte\\." "Tab to Euros"
e2e_expect_spoken "188,12 sélectionné\\." "the result in Euros, read whole"

# Both fields filled: the box says that one must be empty.
avant_refus=$E2E_ORCA_FROM
e2e_key alt+c
e2e_expect_spoken "alerte Tarvane 1\\.0\\." "the box for two filled fields"
e2e_expect_spoken "L'une des deux zones de saisie doit être vide !!!" "its text"
e2e_key Return
e2e_expect_spoken "Francs $texte\\." "the focus back in Francs after the box"

# Emptied, then letters typed in Francs: the box says that francs are numbers.
e2e_key alt+e
e2e_wait_until "$E2E_TIMEOUT" "Effacer to empty Francs" e2e_focused_text_is ""
e2e_type abc
e2e_wait_until "$E2E_TIMEOUT" "abc in Francs" e2e_focused_text_is abc
e2e_key Return Return Return
e2e_expect_spoken "alerte Tarvane 1\\.0\\." "the box for letters in Francs"
e2e_expect_spoken "La saisie des Francs doit être du numérique !!!" "its text"
e2e_key Return
e2e_expect_spoken "Francs $texte\\." "the focus back in Francs after the box"
e2e_expect_focus "text: Francs"

# Nothing was announced for the refusals.
sleep 1
annonces=$(e2e_orca_spoken "$avant_refus" |
    grep -E "^(notification )?-?[0-9]+,[0-9]{2} (euros?|francs?)\\.?$" || true)
e2e_expect_eq "$annonces" "" "results spoken since the refusals"
