#!/usr/bin/env bash
# Crash safety through the real windows: inserts and updates from the administration window,
# the program killed with kill -9 at a random moment after the button is pressed, N times.
# After each kill both files pass integrity_check and the site table is the one before the kill,
# or that with exactly the one change asked for (never a partial row).
# Usage: tests/e2e/run-in-x.sh bench/crash_windows.sh build/quorvane   (N from CRASH_N, 100)
set -euo pipefail
source "$(dirname "$0")/../tests/e2e/lib.sh"

n=${CRASH_N:-100}
dump() { links_sql "SELECT id||'|'||titulo1||'|'||url FROM Tabela1 ORDER BY id"; }
check_files() {
    local db
    for db in QV_Links QV_Config; do
        assert_eq ok "$(sqlite3 "$QV_DIR/BD/$db.mdb" 'PRAGMA integrity_check')" "integrity of $db"
    done
}

open_admin() {
    start_app
    local main
    main=$(wait_for_window "$QV_TITLE" 20) || fail "the main window did not appear"
    window_geometry "$main"
    sleep 0.5
    click $((WX + 2815 / 15 + 8)) $((WY + 6840 / 15 + 8))
    wait_for_no_window "$QV_TITLE" 5 2 || fail "the administration window did not take over"
    window_geometry "$(visible_windows "$QV_TITLE")"
}

applied=0
for ((i = 1; i <= n; i++)); do
    before=$(dump)
    open_admin
    title="0upd $i d'x" url="https://k$i.invalid/?a='$i'&b=$RANDOM"
    if ((i % 2)); then
        title="K$i ins d'x"
        button=$((WX + 3045 / 15 + 9))
    else
        click $((WX + 100)) $((WY + 96 + 7)) # the first row
        button=$((WX + 3500 / 15 + 8))
    fi
    click $((WX + 150)) $((WY + 273)) && xdotool key ctrl+a type --delay 5 "$title"
    click $((WX + 150)) $((WY + 314)) && xdotool key ctrl+a type --delay 5 "$url"
    # The press lands 30 ms from now and its write a few ms later; the kill comes anywhere in
    # the 80 ms around them, so both outcomes occur.
    (sleep 0.03 && xdotool mousemove "$button" $((WY + 5000 / 15 + 9)) click 1) &
    sleep "0.$(printf '%03d' $((RANDOM % 80)))"
    kill -9 "$APP_PID"
    wait 2>/dev/null || true
    check_files
    after=$(dump)
    changed=$(diff <(echo "$before") <(echo "$after") | grep '^>' | cut -c3- || true)
    if [[ -n $changed ]]; then
        [[ $changed == *"|$title|$url" && $changed != *$'\n'* ]] ||
            fail "kill $i: the table changed other than asked: $changed"
        removed=$(diff <(echo "$before") <(echo "$after") | grep -c '^<' || true)
        assert_eq $((i % 2 ? 0 : 1)) "$removed" "rows replaced at kill $i"
        applied=$((applied + 1))
    else
        assert_eq "$before" "$after" "table at kill $i"
    fi
done
log "ok: $n kills through the windows: $applied changes stored whole, $((n - applied)) not stored, none partial"
