#!/usr/bin/env bash
# What a page that changes its title about 2,500 times a second costs the disk: the bytes the
# program writes (write_bytes of /proc/PID/io, the main process and all its engine processes)
# over 5 s with an idle page, then over 5 s of the flood. Run it in a private X session:
#   tests/e2e/run-in-x.sh bench/title_flood.sh build/quorvane
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.sh"

# "write_bytes syscw" of a process and of every process below it.
io_of_tree() {
    local pids=("$APP_PID") i=0 child bytes=0 calls=0 b c
    while ((i < ${#pids[@]})); do
        for child in $(pgrep -P "${pids[i]}" || true); do pids+=("$child"); done
        i=$((i + 1))
    done
    for i in "${pids[@]}"; do
        read -r b c < <(awk '/^write_bytes/ {b = $2} /^syscw/ {c = $2} END {print b, c}' \
            "/proc/$i/io" 2>/dev/null || echo "0 0")
        bytes=$((bytes + b)) calls=$((calls + c))
    done
    echo "$bytes $calls"
}
io_of_main() { awk '/^write_bytes/ {b = $2} /^syscw/ {c = $2} END {print b, c}' "/proc/$APP_PID/io"; }

measure() { # what
    local m0 t0 m1 t1
    read -r -a m0 < <(io_of_main)
    read -r -a t0 < <(io_of_tree)
    sleep 5
    read -r -a m1 < <(io_of_main)
    read -r -a t1 < <(io_of_tree)
    printf '%-26s main: %9d bytes %7d writes   all processes: %9d bytes %7d writes\n' "$1" \
        $((m1[0] - m0[0])) $((m1[1] - m0[1])) $((t1[0] - t0[0])) $((t1[1] - t0[1]))
}

start_httpd
config_sql "UPDATE Tabela1 SET homeURL='$HTTP/p/title-flood.html?after=9000' WHERE id=1"
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "the main window did not appear"
wait_trace_count "WebBrowser2 DocumentComplete" 0
loaded=$(now_ms)
sleep 2
measure "idle, 5 s"
sleep $(((loaded + 10000 - $(now_ms)) / 1000)).5
measure "title flood, 5 s"
log "history title now: $(history_sql 'SELECT titulo FROM Historico' 2>&1 | tail -n1)"
stop_app
