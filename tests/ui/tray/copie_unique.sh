#!/usr/bin/env bash
# One copy per user, with the real program: eight copies started at once leave one running; after
# kill -9 of that one a new start succeeds at once; a copy started from another directory, from
# another file, or in another network namespace with or without XDG_RUNTIME_DIR (in either
# order), is refused. It runs on its own X server with no tray, where the program shows its
# window from the start; the refused copies' warnings are dismissed by pressing their OK button
# with the keyboard, as a user would. Every wait polls with a deadline.
#
#   copie_unique.sh /path/to/Tarvane
# shellcheck source=../../e2e/harness.sh
source "$(dirname "$0")/../../e2e/harness.sh"
e2e_begin copie_unique

programme=$(realpath "$1")
delai=${TARVANE_DELAI:-120} # seconds, for eight programs starting on a busy machine

# The lock lives in /run/user/<uid>, which the harness makes afresh for this test alone: a
# Tarvane running on this desktop or in another test neither disturbs it nor is disturbed.
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

# Starts EXECUTABLE in REPERTOIRE, through COMMANDE if given (another namespace, another
# environment).
lancer() { # EXECUTABLE REPERTOIRE JOURNAL [COMMANDE...] -> pid in $lance
    local executable=$1 repertoire=$2 journal=$3
    shift 3
    # shellcheck disable=SC2016 # expanded by the inner shell
    e2e_launch "$journal" "$@" sh -c 'cd "$1" && exec "$2"' sh "$repertoire" "$executable"
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

# A copy started by lancer while EN_COURS runs: its warning shows, never its window, and it ends
# with exit code 0 once the warning's OK is pressed; the running copy goes on.
refusee() { # EN_COURS QUOI EXECUTABLE REPERTOIRE JOURNAL [COMMANDE...]
    local en_cours=$1 quoi=$2
    shift 2
    lancer "$@"
    local refus=$lance
    attendre "the warning of the copy $quoi" avertie "$refus" "$quoi"
    attendre "the end of the copy $quoi" finie "$refus"
    code_de_sortie "$refus"
    [ "$code" = 0 ] || e2e_fail "the copy $quoi ended with exit code $code"
    e2e_running "$en_cours" || e2e_fail "the running copy has stopped"
    e2e_log "ok: the copy $quoi is refused, the running one goes on"
}
avertie() { # PID QUOI
    a_fenetre "$1" Tarvane && e2e_fail "the copy $2 runs beside the other: its window is shown"
    a_fenetre "$1" " "
}
finie() { # PID
    valider_avertissements "$1"
    ! e2e_running "$1"
}

# ---- Another directory and another file of the same program: still refused
cp "$programme" "$travail/ailleurs/Autre"
refusee "$suivante" "started elsewhere" "$travail/ailleurs/Autre" "$travail/ailleurs" ailleurs

# ---- Another network namespace (a sandbox), where the abstract name of the running copy is out
# of sight, with or without a runtime directory in the environment: still refused, whatever was
# removed meanwhile or is read-only (there, in a mount namespace of the copy's own).
refusee "$suivante" "in another network namespace without XDG_RUNTIME_DIR" \
    "$programme" "$travail/ici" reseau_sans_xdg env -u XDG_RUNTIME_DIR unshare --net
rm -f "$travail/run/org.example.Tarvane.lock"
refusee "$suivante" "in another network namespace, the runtime directory emptied" \
    "$programme" "$travail/ici" reseau_vide unshare --net
# shellcheck disable=SC2016 # expanded by the inner shell
refusee "$suivante" "in another network namespace, the runtime directories read-only" \
    "$programme" "$travail/ici" reseau_lecture_seule unshare --net --mount sh -c \
    'mount -o remount,bind,ro /run/user && mount --bind -o ro "$0" "$0" && exec "$@"' \
    "$travail/run"

# ---- A request to end from the system leaves through the program's own shutdown
kill -TERM "$suivante"
attendre "the end on SIGTERM" eval '! e2e_running "$suivante"'
code_de_sortie "$suivante"
[ "$code" = 0 ] || e2e_fail "SIGTERM ended the program with exit code $code"
e2e_log "ok: SIGTERM ends the program with exit code 0"

# ---- The other order: a copy without XDG_RUNTIME_DIR in another network namespace first, then
# one with it in this namespace, is refused
lancer "$programme" "$travail/ici" "sans_xdg" env -u XDG_RUNTIME_DIR unshare --net
sans_xdg=$lance
attendre "the window of the copy without XDG_RUNTIME_DIR" a_fenetre "$sans_xdg" Tarvane
refusee "$sans_xdg" "with XDG_RUNTIME_DIR, beside one without it in another network namespace" \
    "$programme" "$travail/ici" avec_xdg
kill -TERM "$sans_xdg"
attendre "the end on SIGTERM" eval '! e2e_running "$sans_xdg"'
