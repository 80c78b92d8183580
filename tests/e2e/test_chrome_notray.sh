#!/usr/bin/env bash
# e2e: no-tray
# Without a tray host, hiding to the tray minimizes instead, so the window can always be reached
# again; starting "minimized" starts iconic.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

start_app
win=$(wait_for_window "$QV_TITLE" 8) || fail "the main window did not appear"
window_geometry "$win"
sleep 0.5

click $((WX + 3510 / 15 + 11)) $((WY + 145 / 15 + 11))
wait_for_no_window "$QV_TITLE" 3 || fail "the tray button left the window on screen"
window_iconic "$win" || fail "without a tray the hidden window is not minimized (iconic)"
log "ok: the tray button minimized the window"
xdotool windowactivate --sync "$win" 2>/dev/null
win=$(wait_for_window "$QV_TITLE" 3) || fail "the minimized window could not be restored"
window_geometry "$win"
assert_eq "300,100" "$WX,$WY" "position after restoring"
stop_app

config_sql "UPDATE Tabela1 SET minimizado=1 WHERE id=1"
start_app
sleep 4
win=$(xdotool search --name "^$QV_TITLE\$" 2>/dev/null | head -n1) || fail "no main window at all"
window_iconic "$win" || fail "started minimized without a tray, the window is not iconic"
assert_eq 0 "$(count_windows "$QV_TITLE")" "windows on screen when started minimized without a tray"
xdotool windowactivate --sync "$win" 2>/dev/null
win=$(wait_for_window "$QV_TITLE" 3) || fail "the window started minimized could not be restored"
window_geometry "$win"
assert_eq "300,100 304x490" "$WX,$WY ${WW}x$WH" "first show of the window started minimized"
stop_app
