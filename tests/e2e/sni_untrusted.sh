#!/usr/bin/env bash
# StatusNotifierItem watchers that lag or lie: whatever they say, within 3 s Tarvane has either
# its item with a live host or its window on screen, and a termination request is obeyed at once.
# - a watcher that outlives its panel and keeps saying a host is registered (no host name on the
#   bus): the window is shown at start; the panel coming gets the item; the panel killed shows
#   the window again;
# - "host registered" as a string, then as an int32: the window is shown;
# - a watcher that answers once, then hangs: the window is shown, SIGTERM ends it within 1 s;
# - a watcher that answers late, then a panel that comes after: the window, then the item;
# - a burst of 100,000 host signals: the item stays, the window hidden, memory within 10 MB.
#   sni_untrusted.sh TARVANE
source "$(dirname "$0")/harness.sh"
e2e_begin sni_untrusted
program=$1

start_panel() {
    e2e_launch panel "$E2E_PYTHON" -u "$E2E_HERE/hote_sni.py" host
    E2E_PANEL_PID=$E2E_LAST_PID
    e2e_wait_until "$E2E_TIMEOUT" "the panel to own its host name" grep -q '^ready' \
        "$E2E_WORK/panel.log"
}

end_case() {
    e2e_stop "$E2E_PID"
    E2E_PID=
    e2e_stop_sni_host
}

memory_kb() { awk '/^VmRSS/ {print $2}' "/proc/$E2E_PID/status"; }

e2e_start_x
e2e_start_bus

# ---- A watcher that outlives its panel
e2e_start_sni_host --no-host
e2e_start_program "$program"
e2e_window_within 3 "a watcher without a live host"
start_panel
e2e_wait_sni_item 3
e2e_hide_with_q "$E2E_WINDOW"
kill -KILL "$E2E_PANEL_PID"
e2e_window_within 3 "the panel killed, its watcher still saying yes"
end_case

# ---- Wrong types
for type in string int32; do
    e2e_start_sni_host --host-type "$type"
    e2e_start_program "$program"
    e2e_window_within 3 "\"host registered\" as $type"
    end_case
done

# ---- Answers once, then hangs
e2e_start_sni_host --hang-after 1
e2e_start_program "$program"
e2e_window_within 3 "a watcher that hangs after its first answer"
kill -TERM "$E2E_PID"
e2e_expect_clean_exit SIGTERM 1
e2e_stop_sni_host

# ---- Answers late, then the panel comes
e2e_start_sni_host --no-host --late 2.6
e2e_start_program "$program"
e2e_window_within 3 "a watcher that answers after 2.6 s"
sleep 1
start_panel
e2e_wait_sni_item 3
e2e_hide_with_q "$E2E_WINDOW"
kill -KILL "$E2E_PANEL_PID"
end_case

# ---- A burst
# AddressSanitizer holds freed blocks in a 256 MB quarantine, which would be counted as growth.
e2e_start_sni_host
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=0:thread_local_quarantine_size_kb=0" \
    e2e_start_program "$program"
e2e_wait_sni_item 3
sleep 3
before=$(memory_kb)
e2e_sni burst 100000
sleep 2
after=$(memory_kb)
e2e_log "memory before the burst ${before} kB, after ${after} kB"
[ "$after" -le $((before + 10240)) ] || e2e_fail "memory grew by $((after - before)) kB"
e2e_sni_registered || e2e_fail "the item left during the burst"
e2e_find_window Tarvane && e2e_fail "the window showed during the burst"
end_case
