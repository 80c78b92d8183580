#!/usr/bin/env bash
# The program against a bare QtWebEngine window (bench/bare_webengine.cpp) showing the same page
# from 127.0.0.1, in one private X session (Xvfb, openbox, trayer), rounds interleaved:
#   - start-up: until the window is mapped, and until the page is drawn;
#   - memory of the whole process tree (PSS and anonymous);
#   - idle: CPU of the whole process tree and wake-ups of the main thread per second, shown with
#     the pointer elsewhere, then hidden (the program in the tray, the bare window hidden).
# Prints every round, the medians and the ratios program / bare.
# Usage: bench/side_by_side.sh [installdir] [rounds] [idle-seconds]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

if [[ -z ${BENCH_INNER:-} ]]; then
    install=${1:-$here/build/quorvane}
    bare=${BENCH_BARE:-$(dirname "$install")/bench/bare_webengine}
    [[ -x $bare ]] || { echo "no $bare: build the bench folder first" >&2; exit 2; }
    BENCH_INNER=1 BENCH_BARE=$(realpath "$bare") BENCH_ROUNDS=${2:-3} BENCH_IDLE=${3:-10} \
        exec "$here/tests/e2e/run-in-x.sh" "$here/bench/side_by_side.sh" "$install"
fi

source "$here/tests/e2e/lib.sh"
rounds=$BENCH_ROUNDS
idle=$BENCH_IDLE
results=$E2E_DIR/results

# ---- the page, served on 127.0.0.1 -------------------------------------------------------------
mkdir -p "$E2E_DIR/www"
cat >"$E2E_DIR/www/index.html" <<'HTML'
<!doctype html><html><head><meta charset="utf-8"><title>Página de teste</title></head>
<body style="font-family:sans-serif;background:#fdf6e3">
<h1 style="color:#268bd2">Página de teste</h1>
<p style="color:#859900">Um texto curto, com cores, para que a página desenhada se distinga do fundo.</p>
<div style="background:linear-gradient(90deg,#b58900,#dc322f,#6c71c4);height:60px"></div>
</body></html>
HTML
port=$((20000 + RANDOM % 20000))
python3 -m http.server --bind 127.0.0.1 --directory "$E2E_DIR/www" "$port" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
url=http://127.0.0.1:$port/index.html
for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done
config_sql "UPDATE Tabela1 SET homeURL='$url', left=4500, top=1500, minimizado=0 WHERE id=1"

# ---- measuring a process tree -------------------------------------------------------------------
tree() {
    local p=$1 c
    echo "$p"
    for c in $(pgrep -P "$p" || true); do tree "$c"; done
}
# CPU time of each process of the tree (all its threads), in nanoseconds: "pid ns" lines.
cpu_ns() {
    local p t n
    for p in $(tree "$1"); do
        n=0
        for t in /proc/$p/task/*/schedstat; do
            read -r t _ <"$t" 2>/dev/null || continue
            n=$((n + t))
        done
        echo "$p $n"
    done
}
# Context switches of the main thread: each time it went to sleep or was put aside.
switches() { awk '/ctxt_switches/ {n += $2} END {print n}' "/proc/$1/task/$1/status"; }
memory_kib() { # pid field -> sum over the tree
    local p n=0
    for p in $(tree "$1"); do
        [[ -r /proc/$p/smaps_rollup ]] || continue
        n=$((n + $(awk -v f="$2:" '$1 == f {print $2}' "/proc/$p/smaps_rollup")))
    done
    echo "$n"
}
# Prints "cpu-percent wakeups-per-second" over the idle seconds. A process that ends meanwhile
# takes its time with it; one that starts counts whole.
idle_sample() {
    local c0 s0 t0 c1 s1 t1
    c0=$(cpu_ns "$1") s0=$(switches "$1") t0=$(date +%s%N)
    sleep "$idle"
    c1=$(cpu_ns "$1") s1=$(switches "$1") t1=$(date +%s%N)
    awk -v s=$((s1 - s0)) -v t=$((t1 - t0)) '
        NR == FNR { before[$1] = $2; next }
        { c += $2 - ($1 in before ? before[$1] : 0) }
        END { printf "%.3f %.1f\n", 100 * c / t, s * 1e9 / t }' <(echo "$c0") <(echo "$c1")
    [[ -z ${BENCH_DETAIL:-} ]] || awk 'NR == FNR { b[$1] = $2; next }
        { getline comm <("/proc/" $1 "/comm"); printf "%s %s %.1f ms\n", $1, comm, ($2 - b[$1]) / 1e6 }' \
        <(echo "$c0") <(echo "$c1") >>"$E2E_DIR/detail.log"
}

# Waits until the rectangle WxH+X+Y of the screen holds more than the window's plain colours.
wait_drawn() {
    local i colors
    for i in $(seq 400); do
        colors=$(import -window root -crop "$1" +repage png:- 2>/dev/null |
            convert png:- -format %k info: 2>/dev/null || echo 0)
        ((${colors:-0} > 20)) && return 0
        sleep 0.05
    done
    return 1
}

# One run: kind (program|bare) -> appends "kind mapped drawn pss anon cpu_shown wk_shown
# cpu_hidden wk_hidden" to the results.
run_one() {
    local kind=$1 title pid t0 win mapped drawn crop
    move 1000 700
    t0=$(now_ms)
    if [[ $kind == program ]]; then
        title=$QV_TITLE
        "$QV_APP" >>"$E2E_DIR/app.log" 2>&1 &
    else
        title=bare
        "$BENCH_BARE" "$url" >>"$E2E_DIR/bare.log" 2>&1 &
    fi
    pid=$!
    win=$(wait_for_window "$title" 30) || fail "$kind: no window"
    mapped=$(($(now_ms) - t0))
    window_geometry "$win"
    crop="200x300+$((WX + 50))+$((WY + 80))"
    wait_drawn "$crop" || fail "$kind: the page was never drawn"
    drawn=$(($(now_ms) - t0))
    sleep 3
    shot "$kind.png"
    local pss anon shown hidden
    pss=$(memory_kib "$pid" Pss) anon=$(memory_kib "$pid" Anonymous)
    move 1000 700
    sleep 1
    shown=$(idle_sample "$pid")
    if [[ $kind == program ]]; then
        click $((WX + 3510 / 15 + 11)) $((WY + 145 / 15 + 11)) # the tray button
        wait_for_no_window "$title" 5 || fail "program: not hidden in the tray"
    else
        kill -USR1 "$pid"
        wait_for_no_window "$title" 5 || fail "bare: not hidden"
    fi
    move 1000 700
    sleep 3 # the engine's own work right after hiding is over
    hidden=$(idle_sample "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    sleep 1
    echo "$kind $mapped $drawn $((pss / 1024)) $((anon / 1024)) $shown $hidden" | tee -a "$results"
}

echo "kind mapped_ms drawn_ms pss_MiB anon_MiB cpu%_shown wakeups/s_shown cpu%_hidden wakeups/s_hidden"
for r in $(seq "$rounds"); do
    if ((r % 2)); then run_one bare; run_one program; else run_one program; run_one bare; fi
done

awk '
function median(k, c,   n, i, j, t, v) {
    n = cnt[k]
    for (i = 1; i <= n; i++) v[i] = val[k, c, i]
    for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}
{ k = $1; cnt[k]++; for (c = 2; c <= NF; c++) val[k, c, cnt[k]] = $c }
END {
    split("mapped_ms drawn_ms pss_MiB anon_MiB cpu%_shown wakeups/s_shown cpu%_hidden wakeups/s_hidden", name)
    printf "\nmedians of %d rounds     program       bare      ratio   difference\n", cnt["program"]
    for (c = 2; c <= 9; c++) {
        p = median("program", c); b = median("bare", c)
        printf "%-22s %10.3f %10.3f %10s %+12.3f\n", name[c - 1], p, b, (b > 0 ? sprintf("%.2fx", p / b) : "-"), p - b
    }
}' "$results"
