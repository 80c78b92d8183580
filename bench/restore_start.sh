#!/usr/bin/env bash
# Start-up to the shown page drawn: a normal start on the home page against a start that
# restores 20 pages left behind by a kill (the shown one loads, the others wait), rounds
# interleaved, in a private X session; prints every round, the medians and the ratio.
# Usage: bench/restore_start.sh [installdir] [rounds]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

if [[ -z ${BENCH_INNER:-} ]]; then
    BENCH_INNER=1 BENCH_ROUNDS=${2:-5} \
        exec "$here/tests/e2e/run-in-x.sh" "$here/bench/restore_start.sh" "${1:-$here/build/quorvane}"
fi

source "$here/tests/e2e/lib.sh"
start_httpd
config_sql "UPDATE Tabela1 SET left=200, top=100, minimizado=0, homeURL='$HTTP/p/pages-a.html' WHERE id=1"
session=$QV_DIR/BD/QV_Sessao.mdb
kill_app() { kill -KILL "$APP_PID"; wait "$APP_PID" 2>/dev/null || true; }
# Sets T: milliseconds from the start until the centre of the page is <colour>.
timed_start() { # colour
    local t0 win
    t0=$(now_ms)
    start_app
    win=$(wait_for_window "$QV_TITLE" 20) || fail "no main window"
    window_geometry "$win"
    MX=$WX MY=$WY
    wait_until 30 page_is "$1" || fail "the page was not drawn ($(page_colour))"
    T=$(($(now_ms) - t0))
}

# The 20 pages a kill leaves behind: the home page and 19 handed over, the last one shown.
start_app
wait_for_window "$QV_TITLE" 20 >/dev/null
sleep 2
addresses=()
for i in $(seq 19); do addresses+=("$HTTP/p/pages-c.html?$i"); done
"$QV_APP" "${addresses[@]}" >>"$E2E_DIR/app.log" 2>&1
sleep 4
kill_app
# The set is in the write-ahead journal until a checkpoint: one file of it, made by sqlite3.
pages=$(sqlite3 "$session" 'SELECT count(*) FROM Paginas WHERE fechada = 0')
sqlite3 "$session" "VACUUM INTO '$E2E_DIR/left-behind.mdb'"
log "pages left behind: $pages"

normal=() restored=()
for r in $(seq "$BENCH_ROUNDS"); do
    rm -f "$session" "$session-wal" "$session-shm"
    timed_start FF0000
    normal+=("$T")
    kill_app
    rm -f "$session" "$session-wal" "$session-shm"
    cp "$E2E_DIR/left-behind.mdb" "$session"
    timed_start 00FF00
    restored+=("$T")
    kill_app
    log "round $r: normal ${normal[-1]} ms, restoring $pages pages ${restored[-1]} ms"
done
median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
n=$(median "${normal[@]}") s=$(median "${restored[@]}")
echo "start to the shown page drawn, median of $BENCH_ROUNDS: normal $n ms, restoring $pages pages $s ms, ratio $(awk -v a="$s" -v b="$n" 'BEGIN {printf "%.2f", a / b}')"
