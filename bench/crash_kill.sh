#!/usr/bin/env bash
# Kills the crash driver (bench/crash_driver.cpp) with kill -9 at random moments, N times, on a
# copy of the installation's databases (the history and session files are made by their first
# writes), and checks the files after each kill.
# Usage: bench/crash_kill.sh [N=1000] [BUILD_DIR=build]
set -euo pipefail

n=${1:-1000}
build=$(cd "${2:-$(dirname "$0")/../build}" && pwd)
driver=$build/bench/crash_driver
work=$(mktemp -d /tmp/qv-crash.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/BD"
cp "$build"/quorvane/BD/QV_*.mdb "$work/BD/"
"$driver" init "$work"

for ((i = 1; i <= n; i++)); do
    "$driver" run "$work" &
    pid=$!
    sleep "0.$(printf '%03d' $((RANDOM % 400)))"
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    if ! "$driver" check "$work"; then
        keep=/tmp/qv-crash-failed-$$
        cp -r "$work" "$keep"
        echo "crash_kill: the check failed after kill $i; files kept in $keep" >&2
        exit 1
    fi
done
sites=$(sqlite3 "$work/BD/QV_Links.mdb" 'select count(*) from Tabela1' 2>/dev/null || echo '?')
pages=$(sqlite3 "$work/BD/QV_Historico.mdb" 'select count(*) from Historico' 2>/dev/null || echo '?')
open=$(sqlite3 "$work/BD/QV_Sessao.mdb" 'select count(*) from Paginas where fechada=0' 2>/dev/null || echo '?')
echo "crash_kill: $n kills, every check passed ($sites sites, $pages visited pages, $open open pages at the end)"
