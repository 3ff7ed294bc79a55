#!/usr/bin/env bash
# One copy per user, with the real program: eight copies started at once leave one running; after
# kill -9 of that one a new start succeeds at once; a copy started from another directory, from
# another file, is refused. It runs on its own X server with no tray, where the program shows its
# window from the start; the refused copies' warnings are dismissed by pressing their OK button
# with the keyboard, as a user would. Every wait polls with a deadline.
#
#   copie_unique.sh /path/to/Tarvane
# shellcheck source=../../e2e/harness.sh
source "$(dirname "$0")/../../e2e/harness.sh"
e2e_begin copie_unique

programme=$(realpath "$1")
delai=${TARVANE_DELAI:-120} # seconds, for eight programs starting on a busy machine

# The lock lives in the user's runtime directory, which the program gets from this test
# ($E2E_WORK/run): a Tarvane running on this desktop or in another test neither disturbs it nor
# is disturbed.
travail=$E2E_WORK
attendre() { e2e_wait_until "$delai" "$@"; } # QUOI COMMANDE...

# Every call to the X server is bounded, so that a server in trouble fails the test, never hangs it.
x() { timeout 5 xdotool "$@" 2>/dev/null; }

# The visible windows of a process with the given title: " " is the second-copy warning (its title
# is empty; a lone blank keeps the X server from showing the program's name there), "Tarvane" the
# main window.
fenetres() { # PID TITRE
    local fenetre
    for fenetre in $(x search --all --onlyvisible --pid "$1"); do
        [ "$(x getwindowname "$fenetre")" = "$2" ] && echo "$fenetre"
    done
    return 0
}
a_fenetre() { [ -n "$(fenetres "$1" "$2")" ]; }

# Presses Enter in every warning on screen: their one button, OK, is the default one.
valider_avertissements() { # PID...
    local pid fenetre
    for pid in "$@"; do
        for fenetre in $(fenetres "$pid" " "); do
            x windowfocus --sync "$fenetre" key Return || true
        done
    done
}

lancer() { # EXECUTABLE REPERTOIRE JOURNAL -> pid in $lance
    # shellcheck disable=SC2016 # expanded by the inner shell
    e2e_launch "$3" sh -c 'cd "$1" && exec "$2"' sh "$2" "$1"
    lance=$E2E_LAST_PID
}

code_de_sortie() { # PID -> $code, its exit code, once it has ended (run in this shell: a
    code=0       # subshell cannot wait for this shell's children)
    wait "$1" 2>/dev/null || code=$?
}

# ---- An X server of our own, without any tray
e2e_start_x
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$travail/run"
mkdir "$travail/ici" "$travail/ailleurs"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
# On a real X server Qt loads libxkbcommon-x11, which hands strndup() a counted string without a
# terminating NUL: legal, but refused by AddressSanitizer's strict string checks.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi

# ---- Eight copies at once: one keeps running, seven warn and end
copies=()
for n in 1 2 3 4 5 6 7 8; do
    lancer "$programme" "$travail/ici" "copie$n"
    copies+=("$lance")
done

sept_refusees() {
    valider_avertissements "${copies[@]}"
    local pid en_vie=0
    for pid in "${copies[@]}"; do
        e2e_running "$pid" && en_vie=$((en_vie + 1))
    done
    [ "$en_vie" -le 1 ]
}
attendre "seven copies refused" sept_refusees

premiere=""
for pid in "${copies[@]}"; do
    if e2e_running "$pid"; then
        premiere=$pid
    else
        code_de_sortie "$pid"
        [ "$code" = 0 ] || e2e_fail "a refused copy ended with exit code $code"
    fi
done
[ -n "$premiere" ] || e2e_fail "no copy is running"
attendre "the running copy's window" a_fenetre "$premiere" Tarvane
e2e_log "ok: eight at once leave one running ($premiere), seven refused with exit code 0"

# ---- kill -9: the lock goes with the process, a new start succeeds at once
kill -KILL "$premiere"
code_de_sortie "$premiere"
lancer "$programme" "$travail/ici" "apres_kill"
suivante=$lance
demarree() {
    a_fenetre "$suivante" " " && e2e_fail "refused after kill -9 of the running copy"
    e2e_running "$suivante" || e2e_fail "ended instead of starting after kill -9"
    a_fenetre "$suivante" Tarvane
}
attendre "a start after kill -9" demarree
e2e_log "ok: after kill -9 a new copy starts"

# ---- Another directory and another file of the same program: still refused
cp "$programme" "$travail/ailleurs/Autre"
lancer "$travail/ailleurs/Autre" "$travail/ailleurs" "ailleurs"
ailleurs=$lance
attendre "the warning of the copy started elsewhere" a_fenetre "$ailleurs" " "
a_fenetre "$ailleurs" Tarvane && e2e_fail "the copy started elsewhere shows its window"
finie() {
    valider_avertissements "$ailleurs"
    ! e2e_running "$ailleurs"
}
attendre "the end of the copy started elsewhere" finie
code_de_sortie "$ailleurs"
[ "$code" = 0 ] || e2e_fail "the copy started elsewhere ended with exit code $code"
e2e_running "$suivante" || e2e_fail "the running copy has stopped"
e2e_log "ok: a copy from another directory is refused, the running one goes on"

# ---- A request to end from the system leaves through the program's own shutdown
kill -TERM "$suivante"
attendre "the end on SIGTERM" eval '! e2e_running "$suivante"'
code_de_sortie "$suivante"
[ "$code" = 0 ] || e2e_fail "SIGTERM ended the program with exit code $code"
e2e_log "ok: SIGTERM ends the program with exit code 0"
