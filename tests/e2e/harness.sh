# End-to-end harness: a real X server (Xvfb), a real XEmbed tray (trayer), real input (xdotool),
# fields read back through the clipboard (xclip), tooltips, focus and the controls' names and
# places read through the accessibility bus (AT-SPI; Qt does not put pop-up menus there),
# screenshots (ImageMagick). Sourced by each test script:
#
#   source "$(dirname "$0")/harness.sh"
#   e2e_begin name_of_the_test
#   e2e_start_x; e2e_start_tray; e2e_start_accessibility
#   e2e_start_program /path/to/program
#   e2e_wait_icon; e2e_click_icon 1; ...
#
# Every wait polls with a bounded deadline; nothing sleeps for a fixed long time. Everything that
# is started is stopped when the script ends, however it ends: by the exit trap, and if the
# script itself is killed, by the parent-death signal that each process is started with.
#
# Functions that start processes set global variables instead of printing: they must run in the
# script's own shell (never inside $(...) or a pipeline), whose death the processes watch.

set -euo pipefail
set -E

# Whatever desktop the tests are run from, each starts from an environment of its own: nothing of
# the caller's display, buses, runtime and configuration directories, session or Qt settings
# reaches what it starts (an accessibility registry would open the caller's display).
unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET XAUTHORITY DBUS_SESSION_BUS_ADDRESS \
    AT_SPI_BUS_ADDRESS XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME \
    XDG_STATE_HOME SESSION_MANAGER XDG_SESSION_TYPE XDG_SESSION_DESKTOP XDG_CURRENT_DESKTOP \
    DESKTOP_SESSION GDK_BACKEND GTK_MODULES
unset "${!QT_@}"

# Each test runs in network and mount namespaces of its own: the program's one-copy lock, its
# session bus and the accessibility bus are then out of reach of the user's own copies of
# Tarvane and of other test runs. Abstract sockets belong to the network namespace; the lock's
# directory, /run/user/<uid>, is made afresh on a file system of this mount namespace alone,
# which every start of the test shares. So is /tmp/.X11-unix: each test's X server is display :0
# in its own network namespace, and a copy started in yet another one reaches it through its
# socket file, which another test's server would otherwise replace.
# The picture tour (E2E_NAMESPACES_OPTIONAL) also runs where the system allows no namespace, a
# container without privileges or a plain chroot: it needs no more than the virtual screen on a
# free display, the private bus and the runtime directory of its own that every run has.
if [ -z "${E2E_NAMESPACE:-}" ]; then
    export E2E_NAMESPACE=new
    if [ "$(id -u)" -eq 0 ] && unshare --net --mount true 2>/dev/null; then
        exec unshare --net --mount -- bash "$0" "$@"
    fi
    if unshare --user --map-root-user --net --mount true 2>/dev/null; then
        exec unshare --user --map-root-user --net --mount -- bash "$0" "$@"
    fi
    if [ -z "${E2E_NAMESPACES_OPTIONAL:-}" ]; then
        echo "[e2e] the system refuses this user network and mount namespaces" \
            "(unshare --user --net --mount): run the end-to-end tests as root, or allow" \
            "unprivileged user namespaces" >&2
        exit 1
    fi
    echo "[e2e] no network or mount namespace allowed here: running in the system's own" >&2
    E2E_NAMESPACE=none
fi
if [ "$E2E_NAMESPACE" = new ]; then
    export E2E_NAMESPACE=1
    if [ -d /run/user ]; then
        mount -t tmpfs -o mode=0755 tarvane-e2e /run/user
    else
        # Nowhere to mount one: /run is overlaid, its changes kept on a file system of our own.
        e2e_haut=$(mktemp -d "${TMPDIR:-/tmp}/tarvane-e2e-run.XXXXXX")
        mount -t tmpfs -o mode=0755 tarvane-e2e "$e2e_haut"
        mkdir -p "$e2e_haut/haut/user" "$e2e_haut/travail"
        mount -t overlay tarvane-e2e \
            -o "lowerdir=/run,upperdir=$e2e_haut/haut,workdir=$e2e_haut/travail" /run
        umount -l "$e2e_haut" # the overlay keeps it
        rmdir "$e2e_haut"
    fi
    mkdir -m 0700 "/run/user/$(id -u)"
    mkdir -p -m 1777 /tmp/.X11-unix
    mount -t tmpfs -o mode=1777 tarvane-e2e /tmp/.X11-unix
fi

E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_PYTHON=/usr/bin/python3 # Debian's, which has python3-dbus
E2E_TIMEOUT=${E2E_TIMEOUT:-10}
E2E_PIDS=()
E2E_STEP=0

e2e_log() { printf '[e2e %s] %s\n' "$(date +%T.%3N)" "$*" >&2; }

# Marks the test failed: a screenshot of the moment, the logs of what was started, then exit.
e2e_fail() {
    e2e_log "FAILED: $*"
    if [ -n "${DISPLAY:-}" ] && [ -n "${E2E_OUT:-}" ]; then
        timeout 5 import -display "$DISPLAY" -window root "$E2E_OUT/failure.png" 2>/dev/null || true
        e2e_log "screenshot: $E2E_OUT/failure.png"
    elif [ "${E2E_HOST:-}" = gnome-wayland ] && [ -n "${E2E_OUT:-}" ] &&
        e2e_ecran shell-screenshot "$E2E_OUT/failure.png"; then
        e2e_log "screenshot: $E2E_OUT/failure.png"
    elif [ -n "${E2E_WAYLAND_DISPLAY:-}" ] && [ -n "${E2E_OUT:-}" ] &&
        timeout 5 env XDG_RUNTIME_DIR="$E2E_WORK/run" WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" \
            grim "$E2E_OUT/failure.png" 2>/dev/null; then
        # Compositors that let clients take screenshots: sway, not weston.
        e2e_log "screenshot: $E2E_OUT/failure.png"
    fi
    local log
    for log in "${E2E_WORK:-/nonexistent}"/*.log; do
        [ -s "$log" ] || continue
        e2e_log "---- $(basename "$log")"
        tail -n 40 "$log" >&2
    done
    exit 1
}

# The test cannot run on this machine: CTest reports it skipped (status 77), with the reason.
e2e_skip() {
    echo "skipped: $*"
    exit 77
}

# Under set -e a failed command ends the test; say which, with the screenshot and the logs.
e2e_failed_command() { # STATUS WHERE COMMAND
    [ "$BASHPID" = $$ ] || return 0
    e2e_fail "command failed with status $1 at $2: $3"
}

e2e_expect_eq() { # ACTUAL EXPECTED WHAT
    if [ "$1" != "$2" ]; then
        e2e_fail "$3: got '$1', expected '$2'"
    fi
    e2e_log "ok: $3 = '$1'"
}

# Polls COMMAND every 50 ms until it succeeds; fails the test after SECONDS. A command may
# leave in E2E_SEEN what it saw, for the failure message. Clocks are read as integer
# microseconds, ${EPOCHREALTIME//[!0-9]/}: EPOCHREALTIME has the locale's decimal separator,
# a comma in French, which arithmetic would take for its comma operator.
e2e_wait_until() { # SECONDS WHAT COMMAND...
    local seconds=$1 what=$2
    shift 2
    local deadline=$((${EPOCHREALTIME//[!0-9]/} + seconds * 1000000))
    E2E_SEEN=
    until "$@"; do
        # What the program's end cannot bring: its end itself, and a peer's own answers (a
        # click on Quitter ends the program before the compositor says it took the click).
        if [ -n "${E2E_PID:-}" ] && [ "$1" != e2e_ended ] && [ "$1" != e2e_pointer_answered ] &&
            ! e2e_running "$E2E_PID"; then
            e2e_fail "the program ended while waiting for: $what"
        fi
        if [ "${EPOCHREALTIME//[!0-9]/}" -gt "$deadline" ]; then
            e2e_fail "timed out after ${seconds}s waiting for: $what${E2E_SEEN:+ (last seen: $E2E_SEEN)}"
        fi
        sleep 0.05
    done
}

# Like e2e_wait_until, for work whose length the machine's load sets: fails only once the
# program has used no processor time for SECONDS, as a hung program does.
e2e_wait_while_working() { # SECONDS WHAT COMMAND...
    local seconds=$1 what=$2 stat used last='' deadline
    shift 2
    until "$@"; do
        { read -r stat <"/proc/$E2E_PID/stat"; } 2>/dev/null ||
            e2e_fail "the program ended while waiting for: $what"
        read -r -a stat <<<"${stat##*) }" # from field 3, the state
        used=$((stat[11] + stat[12]))      # user and system time
        if [ "$used" != "$last" ]; then
            last=$used
            deadline=$((${EPOCHREALTIME//[!0-9]/} + seconds * 1000000))
        elif [ "${EPOCHREALTIME//[!0-9]/}" -gt "$deadline" ]; then
            e2e_fail "the program idle for ${seconds}s while waiting for: $what"
        fi
        sleep 0.05
    done
}

# ---------------------------------------------------------------------------------------------
# Set-up and clean-up

e2e_begin() { # TEST_NAME
    E2E_NAME=$1
    local tool
    for tool in Xvfb xdotool xclip xprop xwininfo xdpyinfo import setpriv dbus-daemon \
        "$E2E_PYTHON"; do
        command -v "$tool" >/dev/null || e2e_fail "$tool is missing: run scripts/setup.sh test"
    done
    E2E_OUT=${TARVANE_TEST_OUTPUT:-$PWD/test-output}/e2e/$E2E_NAME
    rm -rf "$E2E_OUT"
    mkdir -p "$E2E_OUT"
    # Work directories of earlier runs that were killed outright: each run holds a lock on its
    # own for as long as it lives (a process id would not do: runs in other pid namespaces
    # share this directory). A directory younger than a minute may not be locked yet.
    local stale
    while IFS= read -r -d '' stale; do
        [ -e "$stale/lock" ] && flock -n "$stale/lock" true 2>/dev/null && rm -rf "$stale"
    done < <(find "${TMPDIR:-/tmp}" -maxdepth 1 -name 'tarvane-e2e.*' -type d -mmin +1 -print0 \
        2>/dev/null)
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/tarvane-e2e.XXXXXX")
    # Held by this shell only: the processes it starts are not given it.
    exec {E2E_LOCK}>"$E2E_WORK/lock"
    flock -n "$E2E_LOCK"
    mkdir -p "$E2E_WORK/home" "$E2E_WORK/bin"
    mkdir -m 700 "$E2E_WORK/run"
    # Every process started here carries this mark, so that clean-up finds even those that
    # were started by them and left their parent (the desktop bus's services, detached openers).
    E2E_MARK="TARVANE_E2E_RUN=$E2E_NAME.$$.$RANDOM"
    trap e2e_cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    trap 'exit 129' HUP
    trap 'e2e_failed_command $? "${BASH_SOURCE[0]##*/}:$LINENO" "$BASH_COMMAND"' ERR
    e2e_log "test $E2E_NAME, output in $E2E_OUT"
}

# Starts COMMAND in the background with its output in $E2E_WORK/NAME.log; sets E2E_LAST_PID.
# The process is sent SIGTERM if this script dies, whatever the way.
e2e_launch() { # NAME COMMAND...
    local name=$1
    shift
    env "$E2E_MARK" setpriv --pdeathsig TERM -- "$@" >"$E2E_WORK/$name.log" 2>&1 </dev/null {E2E_LOCK}>&- &
    E2E_LAST_PID=$!
    E2E_PIDS+=("$E2E_LAST_PID")
}

e2e_running() { # PID: alive and not a zombie
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ]
}

e2e_stop() { # PID: SIGTERM, then SIGKILL after 3 seconds; reaps it
    local pid=$1 i
    if e2e_running "$pid"; then
        kill -TERM "$pid" 2>/dev/null || true
        for i in $(seq 60); do
            e2e_running "$pid" || break
            sleep 0.05
        done
        e2e_running "$pid" && kill -KILL "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null || true
}

# The processes that carry this run's mark, whoever started them.
e2e_marked_pids() {
    local environ pid
    grep -lzxF "$E2E_MARK" /proc/[0-9]*/environ 2>/dev/null | while read -r environ; do
        pid=${environ#/proc/}
        pid=${pid%/environ}
        [ "$pid" = $$ ] || echo "$pid"
    done
}

e2e_cleanup() {
    local status=$? i pid
    trap - EXIT ERR
    set +e
    # The program first, while the X server and the tray it talks to are still there;
    # the X server last.
    if [ -n "${E2E_PID:-}" ]; then
        e2e_stop "$E2E_PID"
    fi
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        e2e_stop "${E2E_PIDS[i]}"
    done
    for pid in $(e2e_marked_pids); do
        e2e_log "stopping leftover process $pid: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
        kill -TERM "$pid" 2>/dev/null
    done
    for i in $(seq 40); do
        [ -z "$(e2e_marked_pids)" ] && break
        sleep 0.05
    done
    for pid in $(e2e_marked_pids); do
        kill -KILL "$pid" 2>/dev/null
    done
    if [ -n "${E2E_WORK:-}" ]; then
        cp "$E2E_WORK"/*.log "$E2E_OUT"/ 2>/dev/null
        rm -rf "$E2E_WORK"
    fi
    if [ "$status" -eq 0 ]; then
        e2e_log "PASSED: $E2E_NAME"
    fi
    exit "$status"
}

# ---------------------------------------------------------------------------------------------
# The desktop: X server, tray, accessibility bus

e2e_start_x() {
    # -displayfd lets the server pick a free display and tell us once it accepts connections.
    env "$E2E_MARK" setpriv --pdeathsig TERM -- \
        Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp -noreset \
        3>"$E2E_WORK/display" >"$E2E_WORK/xvfb.log" 2>&1 </dev/null {E2E_LOCK}>&- &
    E2E_XVFB_PID=$!
    E2E_PIDS+=("$E2E_XVFB_PID")
    e2e_wait_until "$E2E_TIMEOUT" "Xvfb to announce its display" grep -q . "$E2E_WORK/display"
    DISPLAY=":$(head -n 1 "$E2E_WORK/display")"
    export DISPLAY
    e2e_wait_until "$E2E_TIMEOUT" "Xvfb on $DISPLAY to answer" timeout 2 xdpyinfo >/dev/null 2>&1
    E2E_ROOT=$(xwininfo -root | awk '/Window id:/ {print $4}')
    e2e_log "Xvfb $E2E_XVFB_PID on $DISPLAY"
}

e2e_tray_owned() {
    local owner
    owner=$(timeout 2 "$E2E_PYTHON" "$E2E_HERE/sonde.py" owner _NET_SYSTEM_TRAY_S0) || return 1
    [ "$owner" != 0x0 ]
}

e2e_start_tray() {
    # Debian's testing release goes without trayer at times: its tests are then skipped.
    if ! command -v trayer >/dev/null; then
        apt-cache show trayer >/dev/null 2>&1 || e2e_skip "trayer is not in this release's archive"
        e2e_fail "trayer is missing: run scripts/setup.sh test"
    fi
    e2e_launch trayer env HOME="$E2E_WORK/home" DISPLAY="$DISPLAY" \
        trayer --edge top --align right --widthtype request --height 32 \
        --SetDockType true --transparent false
    E2E_TRAY_PID=$E2E_LAST_PID
    e2e_wait_until "$E2E_TIMEOUT" "trayer to own _NET_SYSTEM_TRAY_S0" e2e_tray_owned
    E2E_TRAY_PANEL=$(timeout 5 xdotool search --classname '^panel$' | head -n 1)
    [ -n "$E2E_TRAY_PANEL" ] || e2e_fail "trayer's panel window not found"
    E2E_TRAY_PANEL=$(e2e_hex "$E2E_TRAY_PANEL")
    e2e_log "trayer $E2E_TRAY_PID owns the system tray; panel window $E2E_TRAY_PANEL"
}

# The desktop's session bus, private to the test, handed to the program.
e2e_start_bus() {
    "$E2E_PYTHON" -c 'import dbus' 2>/dev/null ||
        e2e_fail "python3-dbus is missing: run scripts/setup.sh test"
    e2e_launch dbus env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
        ${DISPLAY:+DISPLAY="$DISPLAY"} dbus-daemon --session --nofork --nopidfile --print-address=1
    E2E_BUS_PID=$E2E_LAST_PID
    e2e_wait_until "$E2E_TIMEOUT" "the desktop bus to start" grep -q '^unix:' "$E2E_WORK/dbus.log"
    export DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(grep -m 1 '^unix:' "$E2E_WORK/dbus.log")
    E2E_BUS=1
}

# A StatusNotifierItem tray: a host of the test's own on the session bus (hote_sni.py), which
# owns the watcher's name until it is stopped, with the options of "hote_sni.py serve" if given.
# A second start after a stop is the host coming back.
e2e_start_sni_host() { # [OPTIONS...]
    "$E2E_PYTHON" -c 'import gi' 2>/dev/null ||
        e2e_fail "python3-gi is missing: run scripts/setup.sh test"
    [ -n "${E2E_BUS:-}" ] || e2e_start_bus
    E2E_SNI_STARTS=$((${E2E_SNI_STARTS:-0} + 1))
    e2e_launch "sni-host-$E2E_SNI_STARTS" "$E2E_PYTHON" -u "$E2E_HERE/hote_sni.py" serve "$@"
    E2E_SNI_PID=$E2E_LAST_PID
    e2e_wait_until "$E2E_TIMEOUT" "the tray host to own the watcher's name" \
        grep -q '^ready' "$E2E_WORK/sni-host-$E2E_SNI_STARTS.log"
    e2e_log "tray host $E2E_SNI_PID owns org.kde.StatusNotifierWatcher"
}

e2e_stop_sni_host() {
    e2e_stop "$E2E_SNI_PID"
    e2e_log "tray host $E2E_SNI_PID stopped"
}

# Asks the tray host's questions (hote_sni.py: items, tooltip, activate, menu, click LABEL).
e2e_sni() { timeout 10 "$E2E_PYTHON" "$E2E_HERE/hote_sni.py" "$@" 2>>"$E2E_WORK/sni.log"; }
# Floods (burst, readers, flips) run at their sender's pace, which the machine's load sets: the
# test's own time limit bounds them.
e2e_sni_flood() { timeout 120 "$E2E_PYTHON" "$E2E_HERE/hote_sni.py" "$@" 2>>"$E2E_WORK/sni.log"; }

e2e_sni_registered() { E2E_SEEN=$(e2e_sni items) && [ -n "$E2E_SEEN" ]; }
e2e_sni_unregistered() { E2E_SEEN=$(e2e_sni items) && [ -z "$E2E_SEEN" ]; }

# Waits until the program's item is registered with the host; within SECONDS if given.
# shellcheck disable=SC2120 # the default bound suits most callers
e2e_wait_sni_item() { # [SECONDS]
    e2e_wait_until "${1:-$E2E_TIMEOUT}" "the program's item to register with the tray host" \
        e2e_sni_registered
    e2e_log "item registered: $E2E_SEEN"
}

# Waits until the exported menu reads EXPECTED (lines of label <TAB> enabled|disabled).
e2e_wait_sni_menu() { # EXPECTED WHAT
    E2E_EXPECTED_MENU=$1
    e2e_wait_until "$E2E_TIMEOUT" "$2" e2e_sni_menu_is_expected
    e2e_log "ok: $2: $(tr '\t\n' ' ;' <<<"$1")"
}

e2e_sni_menu_is_expected() {
    E2E_SEEN=$(e2e_sni menu) && [ "$E2E_SEEN" = "$E2E_EXPECTED_MENU" ]
}

# openbox as the window manager: it frames windows with its own buttons, minimises and closes.
e2e_start_wm() {
    command -v openbox >/dev/null || e2e_fail "openbox is missing: run scripts/setup.sh test"
    e2e_launch openbox env HOME="$E2E_WORK/home" DISPLAY="$DISPLAY" openbox --sm-disable
    E2E_WM_PID=$E2E_LAST_PID
    e2e_wait_until "$E2E_TIMEOUT" "openbox to manage the screen" e2e_wm_running
    e2e_log "openbox $E2E_WM_PID manages $DISPLAY"
}

e2e_wm_running() { timeout 2 wmctrl -m 2>/dev/null | grep -qi openbox; }

# A Wayland compositor without a screen (weston's headless back end) instead of an X server.
e2e_start_weston() {
    command -v weston >/dev/null || e2e_fail "weston is missing: run scripts/setup.sh test"
    E2E_WAYLAND_DISPLAY=tarvane-e2e-$$
    e2e_launch weston env -u DISPLAY HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
        weston --backend=headless-backend.so --socket="$E2E_WAYLAND_DISPLAY" --idle-time=0 \
        --width=1280 --height=800
    e2e_wait_until "$E2E_TIMEOUT" "weston to open its socket" \
        test -S "$E2E_WORK/run/$E2E_WAYLAND_DISPLAY"
    e2e_log "weston $E2E_LAST_PID on $E2E_WAYLAND_DISPLAY"
}

# A private desktop bus whose accessibility services let the harness read what Qt shows
# (tooltips, the controls' names, places and focus) as text. Call before starting the program.
e2e_start_accessibility() {
    [ -x /usr/libexec/at-spi-bus-launcher ] ||
        e2e_fail "at-spi2-core is missing: run scripts/setup.sh test"
    [ -n "${E2E_BUS:-}" ] || e2e_start_bus
    # Start the accessibility bus now, so that the program finds it when it starts.
    timeout 10 dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null
    E2E_ACCESSIBILITY=1
}

# Orca, the screen reader, listening on the accessibility bus, with its speech handed to
# speech-dispatcher and espeak-ng (which speak to no sound card here); every utterance is in its
# debug log, $E2E_ORCA_LOG, which orca_journal.py reads back. In French, as the program's users
# hear it. Orca refuses to start while another copy of its own runs as this user anywhere on the
# machine, so it runs in a process namespace of its own, which ends with it. Call before starting
# the program, which then turns its accessibility on because a reader asks, not because the
# harness forces it.
e2e_start_orca() {
    command -v orca >/dev/null || e2e_fail "orca is missing: run scripts/setup.sh test"
    command -v speech-dispatcher >/dev/null ||
        e2e_fail "speech-dispatcher is missing: run scripts/setup.sh test"
    [ -n "${E2E_BUS:-}" ] || e2e_start_bus
    E2E_ORCA_LOG=$E2E_WORK/orca-debug.log
    E2E_ORCA_FROM=0
    mkdir -p "$E2E_WORK/orca" "$E2E_WORK/home/.config/speech-dispatcher"
    # speech-dispatcher's sound to ALSA's null device: on a machine without a sound card its
    # usual outputs never finish an utterance, and Orca waits on the first for ever.
    { cat /etc/speech-dispatcher/speechd.conf
      printf 'AudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
    } >"$E2E_WORK/home/.config/speech-dispatcher/speechd.conf"
    e2e_launch orca env -i HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
        PATH=/usr/local/bin:/usr/bin:/bin DISPLAY="$DISPLAY" \
        DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" LANG=fr_FR.UTF-8 LANGUAGE=fr \
        unshare --pid --fork --kill-child --mount-proc \
        "$E2E_PYTHON" "$E2E_HERE/orca_journal.py" run "$E2E_ORCA_LOG" \
        --user-prefs "$E2E_WORK/orca" --disable braille
    E2E_ORCA_PID=$E2E_LAST_PID
    # Its start reads every application on the bus, and speaks: slow on a loaded machine.
    e2e_wait_until 60 "Orca to start" e2e_orca_started
    E2E_READER=1
    e2e_log "Orca $E2E_ORCA_PID listens; its log: $E2E_ORCA_LOG"
}

# Orca 43 and 48 say it each their way.
e2e_orca_started() {
    grep -qE "ORCA: (Startup complete|Starting Atspi main event loop)" "$E2E_ORCA_LOG" 2>/dev/null
}

# What Orca has said since the last utterance that e2e_expect_spoken found, or since line FROM
# of its log, one utterance a line.
e2e_orca_spoken() { # [FROM]
    "$E2E_PYTHON" "$E2E_HERE/orca_journal.py" spoken "$E2E_ORCA_LOG" "${1:-$E2E_ORCA_FROM}"
}

# Waits until Orca says an utterance that PATTERN (a Python regular expression) matches whole,
# after the one found last: a series of calls expects utterances in that order.
e2e_expect_spoken() { # PATTERN WHAT
    E2E_SPOKEN_PATTERN=$1
    e2e_wait_until "$E2E_TIMEOUT" "Orca to say /$1/: $2" e2e_orca_said
    E2E_ORCA_FROM=${E2E_SAID%%$'\t'*}
    e2e_log "ok: $2: Orca said '${E2E_SAID#*$'\t'}'"
}

e2e_orca_said() {
    E2E_SAID=$("$E2E_PYTHON" "$E2E_HERE/orca_journal.py" said "$E2E_ORCA_LOG" "$E2E_ORCA_FROM" \
        "$E2E_SPOKEN_PATTERN") && return 0
    E2E_SEEN=$(e2e_orca_spoken "$E2E_ORCA_FROM" | tail -n 8 | paste -sd "|")
    return 1
}

# ---------------------------------------------------------------------------------------------
# The program under test

# Starts PROGRAM with a clean environment: French settings, the X server, the private bus if
# any, $E2E_WORK/bin first on PATH (for fakes), then the NAME=VALUE entries of the array
# E2E_PROGRAM_ENV if set (a desktop's theme). Runs in $E2E_PROGRAM_DIR (default: $E2E_WORK).
e2e_start_program() { # PROGRAM [ARGS...]
    local environment=(
        HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run"
        PATH="$E2E_WORK/bin:/usr/local/bin:/usr/bin:/bin"
        LANG=fr_FR.UTF-8 LANGUAGE=fr
    )
    if [ -n "${E2E_WAYLAND_DISPLAY:-}" ]; then
        environment+=(WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" QT_QPA_PLATFORM=wayland)
    else
        environment+=(DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb)
    fi
    # Qt reads the regional settings from these variables even when the C library lacks them.
    if locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
        environment+=(LC_ALL=fr_FR.UTF-8)
    fi
    if [ -n "${E2E_BUS:-}" ]; then
        environment+=(DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS")
    fi
    if [ -n "${E2E_ACCESSIBILITY:-}" ] && [ -z "${E2E_READER:-}" ]; then
        environment+=(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
    fi
    local name
    for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
        if [ -n "${!name:-}" ]; then
            environment+=("$name=${!name}")
        fi
    done
    # On a real X server Qt loads libxkbcommon-x11, which hands strndup() a counted string
    # without a terminating NUL: legal, but refused by ASan's strict string checks.
    if [ -n "${ASAN_OPTIONS:-}" ]; then
        environment+=("ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0")
    fi
    if [ -n "${E2E_PROGRAM_ENV+set}" ]; then
        environment+=("${E2E_PROGRAM_ENV[@]}")
    fi
    (
        cd "${E2E_PROGRAM_DIR:-$E2E_WORK}"
        exec env -i "$E2E_MARK" "${environment[@]}" setpriv --pdeathsig TERM -- "$@"
    ) >"$E2E_WORK/program.log" 2>"$E2E_WORK/program-stderr.log" </dev/null {E2E_LOCK}>&- &
    E2E_PID=$!
    e2e_log "started $(basename "$1") as $E2E_PID in ${E2E_PROGRAM_DIR:-$E2E_WORK}"
}

e2e_ended() { ! e2e_running "$E2E_PID"; }

# Waits until the program has ended; sets E2E_STATUS to its exit status.
# shellcheck disable=SC2120 # the default bound suits most callers
e2e_wait_exit() { # [SECONDS]
    e2e_wait_until "${1:-$E2E_TIMEOUT}" "process $E2E_PID to end" e2e_ended
    E2E_STATUS=0
    wait "$E2E_PID" || E2E_STATUS=$?
    e2e_log "process $E2E_PID ended with status $E2E_STATUS"
    E2E_PID=
}

# Waits until the program has ended, within SECONDS if given, and expects status 0.
e2e_expect_clean_exit() { # WHAT [SECONDS]
    e2e_wait_exit "${2:-$E2E_TIMEOUT}"
    e2e_expect_eq "$E2E_STATUS" 0 "exit status after $1"
}

# The program's icon leaves the tray, and trayer stays up.
e2e_expect_icon_left() {
    e2e_wait_until "$E2E_TIMEOUT" "the icon to leave the tray" e2e_icon_gone
    e2e_running "$E2E_TRAY_PID" || e2e_fail "trayer did not survive the icon's departure"
}

# ---------------------------------------------------------------------------------------------
# Windows

# Window ids are handled in hexadecimal, as xwininfo prints them; xdotool prints decimal.
e2e_hex() { printf '0x%x\n' "$1"; }

e2e_parent() { # WINDOW
    xwininfo -children -id "$1" | awk '/Parent window id:/ {print $4}'
}

e2e_viewable() { # WINDOW
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# The program's windows that are mapped, descendants of the root included.
e2e_program_windows() {
    local window
    for window in $(timeout 5 xdotool search --onlyvisible --pid "$E2E_PID" 2>/dev/null || true); do
        e2e_hex "$window"
    done
}

# A window of the screen's top level: a child of the root, or under a window manager, a window
# that it manages (which it has put in a frame of its own and marked with WM_STATE).
e2e_top_level() { # WINDOW
    [ "$(e2e_parent "$1")" = "$E2E_ROOT" ] && return 0
    [ -n "${E2E_WM_PID:-}" ] && xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state'
}

# The program's shown top-level windows: its windows, menus, tooltips; not its docked icon.
e2e_top_level_windows() {
    local window
    for window in $(e2e_program_windows); do
        if e2e_top_level "$window"; then
            echo "$window"
        fi
    done
}

e2e_find_icon() {
    local window
    for window in $(e2e_program_windows); do
        xprop -id "$window" _XEMBED_INFO 2>/dev/null | grep -q '= ' || continue
        e2e_top_level "$window" && continue
        # Docked: reparented into the tray's panel.
        [ "$(e2e_parent "$(e2e_parent "$window")")" = "$E2E_TRAY_PANEL" ] || continue
        E2E_ICON=$window
        return 0
    done
    return 1
}

# Waits until the program's icon is docked in trayer; sets E2E_ICON, E2E_ICON_X/Y (its centre).
e2e_wait_icon() {
    e2e_wait_until "$E2E_TIMEOUT" "the program's icon to dock into trayer" e2e_find_icon
    e2e_geometry "$E2E_ICON"
    E2E_ICON_X=$((E2E_X + E2E_W / 2))
    E2E_ICON_Y=$((E2E_Y + E2E_H / 2))
    e2e_log "icon $E2E_ICON docked, ${E2E_W}x${E2E_H} centred at $E2E_ICON_X,$E2E_ICON_Y"
}

e2e_icon_gone() { ! xwininfo -tree -id "$E2E_TRAY_PANEL" | grep -q " $E2E_ICON "; }

e2e_geometry() { # WINDOW: sets E2E_X, E2E_Y (absolute), E2E_W, E2E_H
    local info
    info=$(xwininfo -id "$1")
    E2E_X=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    E2E_Y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    E2E_W=$(awk '/Width:/ {print $2}' <<<"$info")
    E2E_H=$(awk '/Height:/ {print $2}' <<<"$info")
}

e2e_click_icon() { # BUTTON (1 left, 3 right)
    e2e_click "$E2E_ICON_X" "$E2E_ICON_Y" "$1"
}

e2e_click() { # X Y BUTTON
    # No --sync: it waits forever when the pointer is already there. The server handles the
    # motion before the click anyway.
    timeout 5 xdotool mousemove "$1" "$2" click "$3"
}

e2e_override_redirect() { # WINDOW
    xwininfo -id "$1" | grep -q 'Override Redirect State: yes'
}

# A shown top-level window of the program with that exact title, not a tooltip or a menu (which
# Qt names after the program); with TYPE (DIALOG, UTILITY...), only a window of that type.
e2e_find_window() { # NAME [TYPE]
    local window
    for window in $(timeout 5 xdotool search --onlyvisible --pid "$E2E_PID" --name "^$1\$" \
        2>/dev/null || true); do
        window=$(e2e_hex "$window")
        e2e_top_level "$window" || continue
        e2e_override_redirect "$window" && continue
        if [ -n "${2:-}" ] && ! xprop -id "$window" _NET_WM_WINDOW_TYPE |
            grep -q "= _NET_WM_WINDOW_TYPE_$2\b"; then
            continue
        fi
        E2E_WINDOW=$window
        return 0
    done
    return 1
}

e2e_wait_window() { # NAME [TYPE]: sets E2E_WINDOW
    e2e_wait_until "$E2E_TIMEOUT" "window '$1' to show" e2e_find_window "$@"
    e2e_log "window '$1' ${2:-} shown: $E2E_WINDOW"
}

e2e_hidden() { ! e2e_viewable "$1"; }

# The program's window "Tarvane" on screen within SECONDS: sets E2E_WINDOW.
e2e_window_within() { # SECONDS WHAT
    e2e_wait_until "$1" "the window on screen: $2" e2e_find_window Tarvane
    e2e_log "ok: window shown: $2"
}

# The window's own Q button hides WINDOW, and the program goes on.
e2e_hide_with_q() { # WINDOW
    timeout 5 xdotool windowfocus "$1"
    e2e_key alt+q
    e2e_wait_until "$E2E_TIMEOUT" "the window to hide" e2e_hidden "$1"
    e2e_running "$E2E_PID" || e2e_fail "Q ended the program"
}

# "A propos" chosen by its key in the icon's menu: sets E2E_WINDOW to the About box.
e2e_open_about() {
    e2e_click_icon 3
    e2e_wait_popup
    e2e_key a
    e2e_wait_window Tarvane DIALOG
}

# A menu or any other pop-up of the program: a top-level override-redirect window that is not
# a tooltip.
e2e_find_popup() {
    local window
    for window in $(e2e_program_windows); do
        e2e_top_level "$window" || continue
        e2e_override_redirect "$window" || continue
        xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q TOOLTIP && continue
        E2E_POPUP=$window
        return 0
    done
    return 1
}

e2e_wait_popup() { # sets E2E_POPUP
    e2e_wait_until "$E2E_TIMEOUT" "a pop-up menu of the program" e2e_find_popup
    e2e_log "pop-up $E2E_POPUP shown"
}

# Clicks item INDEX (from 1) of the COUNT items of the open pop-up menu. Qt does not expose
# pop-up menus on the accessibility bus, so the items are found by geometry: a menu without
# separators stacks items of equal height.
e2e_click_menu_item() { # INDEX COUNT [BUTTON]
    e2e_geometry "$E2E_POPUP"
    e2e_click $((E2E_X + E2E_W / 2)) $((E2E_Y + (2 * $1 - 1) * E2E_H / (2 * $2))) "${3:-1}"
}

e2e_focus_window() { e2e_hex "$(timeout 5 xdotool getwindowfocus)"; }

# ---------------------------------------------------------------------------------------------
# Keyboard, clipboard, screen

e2e_type() { timeout 10 xdotool type --delay 30 -- "$1"; }
e2e_key() { timeout 5 xdotool key --delay 30 "$@"; }

# Reads the text of the field that has the focus: select all, copy, read the clipboard. The
# clipboard first holds a marker of ours, so that a copy that did not happen is not mistaken
# for the field's text.
e2e_read_field() { # sets E2E_TEXT
    E2E_MARKER="<<e2e clipboard $RANDOM>>"
    printf '%s' "$E2E_MARKER" >"$E2E_WORK/marker"
    e2e_launch xclip xclip -quiet -selection clipboard -in "$E2E_WORK/marker"
    local holder=$E2E_LAST_PID
    e2e_wait_until "$E2E_TIMEOUT" "xclip to own the clipboard" e2e_clipboard_holds_marker
    e2e_key ctrl+a ctrl+c
    e2e_wait_until "$E2E_TIMEOUT" "the field's text in the clipboard" e2e_clipboard_copied
    e2e_stop "$holder"
}

e2e_clipboard() { timeout 2 xclip -out -selection clipboard 2>/dev/null; }
e2e_clipboard_holds_marker() { [ "$(e2e_clipboard)" = "$E2E_MARKER" ]; }
e2e_clipboard_copied() { E2E_TEXT=$(e2e_clipboard) && [ "$E2E_TEXT" != "$E2E_MARKER" ]; }

# Reads the focused field (see e2e_read_field) and compares it with EXPECTED.
e2e_expect_field() { # EXPECTED WHAT
    e2e_read_field
    e2e_expect_eq "$E2E_TEXT" "$1" "$2"
}

# Saves the whole screen as $E2E_OUT/NN-NAME.png.
e2e_screenshot() { # NAME
    E2E_STEP=$((E2E_STEP + 1))
    local file
    file=$(printf '%s/%02d-%s.png' "$E2E_OUT" "$E2E_STEP" "$1")
    timeout 10 import -display "$DISPLAY" -window root "$file"
    e2e_log "screenshot $file"
}

# ---------------------------------------------------------------------------------------------
# Accessibility: what the program shows, as text

# Prints the program's accessible objects: depth, role, name, extents, tab-separated.
e2e_accessible_tree() {
    [ -n "${E2E_ACCESSIBILITY:-}" ] || e2e_fail "e2e_start_accessibility was not called"
    timeout 10 "$E2E_PYTHON" "$E2E_HERE/sonde.py" tree "$E2E_PID" 2>>"$E2E_WORK/sonde.log"
}

e2e_accessible_names() { # ROLE: the names of the program's objects with that role
    e2e_accessible_tree | awk -F '\t' -v role="$1" '$2 == role {print $3}'
}

# The role and name of the program's object that has the keyboard focus.
e2e_accessible_focus() {
    e2e_accessible_tree | awk -F '\t' '$5 ~ /focused/ {print $2 ": " $3}'
}

# Whether the text of the program's focused object (a field's) is EXPECTED.
e2e_focused_text_is() { # EXPECTED
    E2E_SEEN=$(timeout 10 "$E2E_PYTHON" "$E2E_HERE/sonde.py" text "$E2E_PID" \
        2>>"$E2E_WORK/sonde.log") && [ "$E2E_SEEN" = "$1" ]
}

# Waits until the keyboard focus is on the object described as "ROLE: NAME".
e2e_expect_focus() { # "ROLE: NAME"
    E2E_EXPECTED_FOCUS=$1
    e2e_wait_until "$E2E_TIMEOUT" "the focus on '$1'" e2e_focus_is_expected
    e2e_log "ok: focus on '$1'"
}

e2e_focus_is_expected() {
    E2E_SEEN=$(e2e_accessible_focus) && [ "$E2E_SEEN" = "$E2E_EXPECTED_FOCUS" ]
}

# Hovers the icon and reads the tooltip that the program shows; sets E2E_TOOLTIP.
e2e_read_tooltip() {
    timeout 5 xdotool mousemove 0 400
    timeout 5 xdotool mousemove "$E2E_ICON_X" "$E2E_ICON_Y"
    e2e_wait_until "$E2E_TIMEOUT" "the icon's tooltip" e2e_tooltip_shown
}

e2e_tooltip_shown() { E2E_TOOLTIP=$(e2e_accessible_names "tool tip") && [ -n "$E2E_TOOLTIP" ]; }

# Clicks the centre of the program's shown accessible object with that role and name.
e2e_click_accessible() { # ROLE NAME [BUTTON]
    local x y w h
    e2e_wait_until "$E2E_TIMEOUT" "a shown $1 named '$2'" e2e_find_accessible "$1" "$2"
    IFS=, read -r x y w h <<<"$E2E_EXTENTS"
    e2e_click $((x + w / 2)) $((y + h / 2)) "${3:-1}"
}

e2e_find_accessible() { # ROLE NAME: sets E2E_EXTENTS (x,y,width,height)
    E2E_EXTENTS=$(e2e_accessible_tree | awk -F '\t' -v role="$1" -v name="$2" \
        '$2 == role && $3 == name && $5 ~ /showing/ {print $4; exit}')
    [ -n "$E2E_EXTENTS" ]
}

# ---------------------------------------------------------------------------------------------
# Fakes

# Puts a fake xdg-open first on the program's PATH: it records each call's arguments, one call
# a line, tab-separated, in $E2E_OPENER_CALLS, and ends with STATUS (0: success).
e2e_fake_opener() { # STATUS
    E2E_OPENER_CALLS=$E2E_WORK/xdg-open.calls
    : >"$E2E_OPENER_CALLS"
    cat >"$E2E_WORK/bin/xdg-open" <<FAKE
#!/bin/sh
line=\$1
shift
for argument; do line="\$line\$(printf '\t')\$argument"; done
printf '%s\n' "\$line" >>'$E2E_OPENER_CALLS'
exit $1
FAKE
    chmod +x "$E2E_WORK/bin/xdg-open"
}

e2e_opener_calls() { wc -l <"$E2E_OPENER_CALLS"; }

e2e_opener_called() { # COUNT: the fake has been called COUNT times
    E2E_SEEN="$(e2e_opener_calls) calls"
    [ "$(e2e_opener_calls)" -eq "$1" ]
}

# Waits for call number COUNT of the fake opener and compares its arguments with EXPECTED.
e2e_expect_opened() { # COUNT EXPECTED WHAT
    e2e_wait_until "$E2E_TIMEOUT" "call $1 of xdg-open" e2e_opener_called "$1"
    e2e_expect_eq "$(sed -n "$1p" "$E2E_OPENER_CALLS")" "$2" "$3"
}
