#!/usr/bin/env bash
# One copy per user, with the real program: eight copies started at once leave one running; after
# kill -9 of that one a new start succeeds at once; a copy started from another directory, from
# another file, is refused. It runs on its own X server with no tray, where the program shows its
# window from the start; the refused copies' warnings are dismissed by pressing their OK button
# with the keyboard, as a user would. Every wait polls with a deadline.
#
#   copie_unique.sh /path/to/Tarvane
set -euo pipefail

programme=$(realpath "$1")
delai=${TARVANE_DELAI:-120} # seconds, for eight programs starting on a busy machine

# The lock lives in the user's runtime directory, which the program gets from this test
# ($travail/run, below): a Tarvane running on this desktop or in another test neither disturbs it
# nor is disturbed.

journal() { printf '[copie_unique %s] %s\n' "$(date +%T.%3N)" "$*" >&2; }

travail=$(mktemp -d "${TMPDIR:-/tmp}/tarvane-copie.XXXXXX")
lances=()
xvfb=""

nettoyer() {
    local pid
    for pid in "${lances[@]}"; do
        kill -KILL "$pid" 2>/dev/null || true
    done
    # Terminated, not killed, the X server removes its lock and socket files; a server that does
    # not end is killed all the same.
    if [ -n "$xvfb" ] && kill -TERM "$xvfb" 2>/dev/null; then
        local limite=$((SECONDS + 5))
        while vivant "$xvfb" && [ "$SECONDS" -lt "$limite" ]; do
            sleep 0.05
        done
        kill -KILL "$xvfb" 2>/dev/null || true
    fi
    wait 2>/dev/null || true
    rm -rf "$travail"
}
trap nettoyer EXIT
trap 'exit 143' TERM INT HUP # so that clean-up runs when the test is stopped from outside

echouer() {
    journal "FAILED: $*"
    local log
    for log in "$travail"/*.log; do
        [ -s "$log" ] || continue
        journal "---- $(basename "$log")"
        tail -n 20 "$log" >&2
    done
    exit 1
}

# attendre QUOI COMMANDE... : polls COMMANDE every 50 ms until it succeeds, or fails the test.
attendre() {
    local quoi=$1
    shift
    local limite=$((SECONDS + delai))
    until "$@"; do
        [ "$SECONDS" -lt "$limite" ] || echouer "timed out after ${delai}s waiting for: $quoi"
        sleep 0.05
    done
}

vivant() { # PID: running, not a zombie waiting to be reaped
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) } # the state follows the command name, which is in parentheses
    [[ $stat != Z* ]]
}

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
    (cd "$2" && exec "$1") >"$travail/$3.log" 2>&1 &
    lance=$!
    lances+=("$lance")
}

code_de_sortie() { # PID -> $code, its exit code, once it has ended (run in this shell: a
    code=0       # subshell cannot wait for this shell's children)
    wait "$1" 2>/dev/null || code=$?
}

# ---- An X server of our own, without any tray
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$travail/ecran" 2>"$travail/xvfb.log" &
xvfb=$!
attendre "the X server" test -s "$travail/ecran"
export DISPLAY=":$(cat "$travail/ecran")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$travail/run"
mkdir -m 700 "$XDG_RUNTIME_DIR" "$travail/ici" "$travail/ailleurs"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
# On a real X server Qt loads libxkbcommon-x11, which hands strndup() a counted string without a
# terminating NUL: legal, but refused by AddressSanitizer's strict string checks.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
journal "X server on $DISPLAY"

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
        vivant "$pid" && en_vie=$((en_vie + 1))
    done
    [ "$en_vie" -le 1 ]
}
attendre "seven copies refused" sept_refusees

premiere=""
for pid in "${copies[@]}"; do
    if vivant "$pid"; then
        premiere=$pid
    else
        code_de_sortie "$pid"
        [ "$code" = 0 ] || echouer "a refused copy ended with exit code $code"
    fi
done
[ -n "$premiere" ] || echouer "no copy is running"
attendre "the running copy's window" a_fenetre "$premiere" Tarvane
journal "ok: eight at once leave one running ($premiere), seven refused with exit code 0"

# ---- kill -9: the lock goes with the process, a new start succeeds at once
kill -KILL "$premiere"
code_de_sortie "$premiere"
lancer "$programme" "$travail/ici" "apres_kill"
suivante=$lance
demarree() {
    a_fenetre "$suivante" " " && echouer "refused after kill -9 of the running copy"
    vivant "$suivante" || echouer "ended instead of starting after kill -9"
    a_fenetre "$suivante" Tarvane
}
attendre "a start after kill -9" demarree
journal "ok: after kill -9 a new copy starts"

# ---- Another directory and another file of the same program: still refused
cp "$programme" "$travail/ailleurs/Autre"
lancer "$travail/ailleurs/Autre" "$travail/ailleurs" "ailleurs"
ailleurs=$lance
attendre "the warning of the copy started elsewhere" a_fenetre "$ailleurs" " "
a_fenetre "$ailleurs" Tarvane && echouer "the copy started elsewhere shows its window"
finie() {
    valider_avertissements "$ailleurs"
    ! vivant "$ailleurs"
}
attendre "the end of the copy started elsewhere" finie
code_de_sortie "$ailleurs"
[ "$code" = 0 ] || echouer "the copy started elsewhere ended with exit code $code"
vivant "$suivante" || echouer "the running copy has stopped"
journal "ok: a copy from another directory is refused, the running one goes on"

# ---- A request to end from the system leaves through the program's own shutdown
kill -TERM "$suivante"
attendre "the end on SIGTERM" eval '! vivant "$suivante"'
code_de_sortie "$suivante"
[ "$code" = 0 ] || echouer "SIGTERM ended the program with exit code $code"
journal "ok: SIGTERM ends the program with exit code 0"
