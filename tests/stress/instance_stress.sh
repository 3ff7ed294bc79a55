#!/usr/bin/env bash
# One copy per user, under stress, with the real program on Xvfb with trayer:
# - rounds of copies started at the same instant (held at a barrier, then released together),
#   half of them as in a sandbox (another network namespace, another XDG_RUNTIME_DIR): exactly one
#   survives, docks its icon and holds the lock; every other one shows its warning,
#   and ends with status 0 once the warning's OK is pressed (Return, through xdotool);
# - kill -9, SIGTERM and SIGABRT of the running copy: a copy started right after holds the lock
#   within one second, then docks its icon;
# - a copy started with another TMPDIR, another current directory, both, from another file of the
#   program (another name in another directory), or as in a sandbox whose runtime directories are
#   read-only (nothing can be created there), is refused while one runs;
# - another account holding the lock's abstract name changes nothing: the copies meet at the
#   directory alone (as root: it runs as nobody).
#
#   instance_stress.sh TARVANE [ROUNDS [COPIES]]     (default 20 rounds of 20 copies)
set -euo pipefail

# The lock lives in /run/user/<uid>, which the harness makes afresh for this test alone: a Tarvane
# in use on this machine, or started by another test, neither disturbs it nor is disturbed.

# shellcheck source=../e2e/harness.sh
source "$(dirname "$0")/../e2e/harness.sh"
e2e_begin instance_stress

here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
class=$(basename "$program") # Qt names the windows' class after the executable
other=Autre                  # the program copied under that name
rounds=${2:-20}
copies=${3:-20}
# How soon a start must hold the lock once the previous copy has gone; generous for a loaded
# machine or a sanitizer build, tight enough to catch a lock that outlives its holder.
start_bound_ms=1000
ulimit -c 0 # SIGABRT ends a copy here: no core files

e2e_start_x
e2e_start_tray
mkdir -p "$E2E_WORK/elsewhere" "$E2E_WORK/tmp-other"
cp "$program" "$E2E_WORK/elsewhere/$other"

# Another account takes the lock's abstract name, listening and never accepting: the copies pass
# it over, and every round is decided by the directory's lock alone.
if [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null; then
    e2e_launch squatter setpriv --reuid=65534 --regid=65534 --clear-groups "$E2E_PYTHON" -c '
import socket, sys, time
s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
s.bind("\0org.example.Tarvane-" + sys.argv[1])
s.listen(1)
time.sleep(100000)' "$(id -u)"
    e2e_log "another account (nobody) holds the abstract name"
fi

# The environment of every copy, as in the end-to-end tests, without a session bus.
environment=(
    "$E2E_MARK" DISPLAY="$DISPLAY" QT_QPA_PLATFORM=xcb
    HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" TMPDIR="${TMPDIR:-/tmp}"
    PATH="/usr/local/bin:/usr/bin:/bin" LANG=fr_FR.UTF-8 LANGUAGE=fr
)
for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
    if [ -n "${!name:-}" ]; then
        environment+=("$name=${!name}")
    fi
done
if [ -n "${ASAN_OPTIONS:-}" ]; then
    environment+=("ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0") # see harness.sh
fi

# Starts a copy of EXECUTABLE (default: the program) in DIRECTORY with the extra VARIABLE=VALUE
# settings, through COMMAND if given; sets STARTED.
start_copy() { # NAME DIRECTORY [VARIABLE=VALUE...] [COMMAND...]
    local name=$1 directory=$2
    shift 2
    # shellcheck disable=SC2016 # expanded by the inner shell
    e2e_launch "$name" env -i "${environment[@]}" "$@" \
        sh -c 'cd "$1" && exec "$2"' sh "$directory" "${EXECUTABLE:-$program}"
    STARTED=$E2E_LAST_PID
}

# A sandbox's copy: in a network namespace of its own, where no other copy's abstract name is in
# sight, with a runtime directory of its own in XDG_RUNTIME_DIR.
mkdir -m 700 "$E2E_WORK/run-sandbox"
sandboxed=()
for setting in "${environment[@]}"; do
    [[ $setting == XDG_RUNTIME_DIR=* ]] || sandboxed+=("$setting")
done
sandboxed+=(XDG_RUNTIME_DIR="$E2E_WORK/run-sandbox")

# Starts COUNT copies held at a barrier: each one blocks reading a line from a FIFO before it
# execs the program, and the lines are written all at once when every copy is waiting. Every
# other copy starts as a sandbox's. Sets GROUP to their process ids.
start_together() { # ROUND COUNT
    local fifo=$E2E_WORK/barrier ready=$E2E_WORK/ready n
    rm -f "$fifo" "$ready"
    mkfifo "$fifo"
    : >"$ready"
    exec 7<>"$fifo" # held open: a copy late to the barrier still finds its line
    GROUP=()
    for ((n = 1; n <= $2; n++)); do
        if ((n % 2)); then
            copy=(env -i "${environment[@]}")
        else
            copy=(env -i "${sandboxed[@]}" unshare --net)
        fi
        # shellcheck disable=SC2016 # expanded by the inner shell
        e2e_launch "round$1-copy$n" "${copy[@]}" \
            sh -c 'echo >>"$2"; read -r _ <"$1"; cd "$3" && exec "$4"' \
            sh "$fifo" "$ready" "$E2E_WORK" "$program" 7>&-
        GROUP+=("$E2E_LAST_PID")
    done
    e2e_wait_until "$E2E_TIMEOUT" "$2 copies at the barrier" ready_count "$2"
    printf '%*s' "$2" '' | tr ' ' '\n' >&7
    exec 7>&-
}
ready_count() { [ "$(wc -l <"$E2E_WORK/ready")" -eq "$1" ]; }

# The shown top-level windows of a process, none for a copy at rest in the tray.
windows_of() { # PID
    local window
    for window in $(timeout 5 xdotool search --onlyvisible --pid "$1" 2>/dev/null || true); do
        window=$(e2e_hex "$window")
        e2e_top_level "$window" || continue
        e2e_override_redirect "$window" && continue
        echo "$window"
    done
}

# Running and not a zombie; read without starting a process, as the polls below run often.
alive() { # PID
    local stat
    { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}

# The warnings on screen, one "WINDOW PID" line each: the shown top-level dialogs of the program's
# class (a starting copy's tray icon is top-level too for a moment, until the tray takes it).
warnings_shown() {
    local window pid
    for window in $(timeout 5 xdotool search --onlyvisible --maxdepth 1 --class "^($class|$other)\$" \
        2>/dev/null || true); do
        xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null |
            grep -q _NET_WM_WINDOW_TYPE_DIALOG || continue
        pid=$(timeout 5 xdotool getwindowpid "$window" 2>/dev/null) || continue
        echo "$window $pid"
    done
}

# Presses Return in every warning on screen and notes which copies showed one. True once at most
# one copy of GROUP runs.
declare -A WARNED
dismiss_warnings() {
    local window pid running=0 windows=()
    while read -r window pid; do
        WARNED[$pid]=1
        windows+=("$window")
    done < <(warnings_shown)
    if [ ${#windows[@]} -gt 0 ]; then
        timeout 10 "$E2E_PYTHON" "$here/valider.py" "${windows[@]}" || true
    fi
    for pid in "${GROUP[@]}"; do
        alive "$pid" && running=$((running + 1))
    done
    E2E_SEEN="$running copies running"
    [ "$running" -le 1 ]
}

# The one-copy lock: flock() on the runtime directory itself, shown in /proc/locks as
# "FLOCK ADVISORY WRITE <pid> <device>:<inode>".
lock_directory=/run/user/$(id -u)
lock_holder() {
    local identity _n kind _advisory mode pid device
    # The kernel's form: major and minor device numbers in hexadecimal, then the inode.
    identity=$(stat -c '%Hd %Ld %i' "$lock_directory" 2>/dev/null) || return 1
    # shellcheck disable=SC2086 # three numbers
    identity=$(printf '%02x:%02x:%s' $identity)
    while read -r _n kind _advisory mode pid device _rest; do
        if [ "$kind" = FLOCK ] && [ "$mode" = WRITE ] && [ "$device" = "$identity" ]; then
            echo "$pid"
            return 0
        fi
    done </proc/locks
    return 1
}

# /proc/locks is the whole machine's and read in pieces: a line can slip past a reader while other
# locks come and go, so a lock not seen is looked for again for a while.
holds_lock() { # PID
    for _ in $(seq 40); do
        [ "$(lock_holder)" = "$1" ] && return 0
        sleep 0.05
    done
    return 1
}

# Waits for PID to end (it has been signalled); sets E2E_STATUS.
reap() { # PID
    E2E_PID=$1
    e2e_wait_exit
}

expect_docked() { # PID: its icon docks in the tray, and no warning shows
    E2E_PID=$1
    e2e_wait_icon
    e2e_expect_eq "$(windows_of "$1")" "" "windows shown by the running copy $1"
}

# ---- Rounds of simultaneous starts
begin=$SECONDS
for ((round = 1; round <= rounds; round++)); do
    start_together "$round" "$copies"
    e2e_log "round $round: $copies copies released"
    WARNED=()
    e2e_wait_until 60 "all but one copy of round $round to be refused" dismiss_warnings
    survivor=
    for pid in "${GROUP[@]}"; do
        if e2e_running "$pid"; then
            survivor=$pid
            continue
        fi
        [ -n "${WARNED[$pid]:-}" ] || e2e_fail "copy $pid of round $round ended without a warning"
        status=0
        wait "$pid" || status=$?
        [ "$status" -eq 0 ] || e2e_fail "refused copy $pid of round $round ended with status $status"
    done
    [ -n "$survivor" ] || e2e_fail "no copy of round $round survived"
    [ -z "${WARNED[$survivor]:-}" ] || e2e_fail "the surviving copy $survivor showed a warning"
    expect_docked "$survivor"
    holds_lock "$survivor" || e2e_fail "the surviving copy $survivor does not hold the lock"
    kill -TERM "$survivor"
    reap "$survivor"
    e2e_expect_eq "$E2E_STATUS" 0 "status of round $round's survivor after SIGTERM"
    e2e_log "ok: round $round, $copies copies at once: one survivor ($survivor), $((copies - 1)) refused"
done
e2e_log "$rounds rounds of $copies copies in $((SECONDS - begin)) s"

# ---- However the running copy ends, the next start takes the lock at once
start_copy first "$E2E_WORK"
running=$STARTED
expect_docked "$running"
for signal in KILL TERM ABRT; do
    kill -s "$signal" "$running"
    reap "$running"
    e2e_log "copy $running ended by SIG$signal with status $E2E_STATUS"
    start_copy "after-$signal" "$E2E_WORK"
    running=$STARTED
    started_at=${EPOCHREALTIME//[!0-9]/}
    # The previous copy is gone and reaped, and only this one runs: whoever holds the lock now
    # is this copy, which is checked once the lock shows.
    until lock_holder >/dev/null; do
        alive "$running" || e2e_fail "the copy started after SIG$signal ended"
        if [ $((${EPOCHREALTIME//[!0-9]/} - started_at)) -gt $((start_bound_ms * 1000)) ]; then
            e2e_fail "the copy started after SIG$signal holds no lock after ${start_bound_ms} ms"
        fi
        sleep 0.01
    done
    e2e_log "the lock is held $(((${EPOCHREALTIME//[!0-9]/} - started_at) / 1000)) ms after the start"
    holds_lock "$running" || e2e_fail "the lock is not held by the copy started after SIG$signal"
    expect_docked "$running"
    e2e_log "ok: after SIG$signal a new copy holds the lock and docks its icon"
done

# ---- Another temporary directory or current directory: still refused
refused_copy() { # WHAT DIRECTORY [VARIABLE=VALUE...]
    local what=$1
    shift
    start_copy "other-${what// /-}" "$@"
    local copy=$STARTED
    GROUP=("$copy")
    WARNED=()
    e2e_wait_until "$E2E_TIMEOUT" "the warning of the copy with $what" copy_warned "$copy"
    E2E_PID=$copy
    e2e_find_icon && e2e_fail "the copy with $what docked an icon"
    E2E_PID=$running
    e2e_wait_until "$E2E_TIMEOUT" "the copy with $what to end" copy_dismissed "$copy"
    status=0
    wait "$copy" || status=$?
    e2e_expect_eq "$status" 0 "status of the copy with $what once warned"
    e2e_running "$running" || e2e_fail "the running copy ended"
    holds_lock "$running" || e2e_fail "the running copy lost the lock"
}
copy_warned() { warnings_shown | grep -q " $1\$"; }
copy_dismissed() {
    dismiss_warnings
    ! e2e_running "$1"
}

refused_copy "another TMPDIR" "$E2E_WORK" TMPDIR="$E2E_WORK/tmp-other"
refused_copy "another current directory" "$E2E_WORK/elsewhere"
refused_copy "both changed" "$E2E_WORK/elsewhere" TMPDIR="$E2E_WORK/tmp-other"
EXECUTABLE=$E2E_WORK/elsewhere/$other refused_copy "another file" "$E2E_WORK/elsewhere"
# In a network namespace and a mount namespace of its own: the abstract name is out of sight,
# and the lock's directory, like the runtime directory it is given, is read-only.
# shellcheck disable=SC2016 # expanded by the inner shell
refused_copy "read-only runtime directories" "$E2E_WORK" unshare --net --mount sh -c \
    'mount -o remount,bind,ro /run/user && mount --bind -o ro "$0" "$0" && exec "$@"' \
    "$E2E_WORK/run"
e2e_log "ok: copies with another TMPDIR, current directory or file, or read-only runtime" \
    "directories in a sandbox, are refused"
