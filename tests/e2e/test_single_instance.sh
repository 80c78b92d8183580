#!/usr/bin/env bash
# One program per data folder: two starts at the same moment leave one; a later start brings the
# window back from the tray as a left click on the icon does and ends with status 0; a lock and
# socket left by a killed program do not stop the next start.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# ---- two starts at the same moment -------------------------------------------------------------
start_app
first=$APP_PID
start_app
second=$APP_PID
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "no main window after two starts"
ended=
for _ in $(seq 200); do
    for APP_PID in $first $second; do
        app_running || { ended=$APP_PID; break 2; }
    done
    sleep 0.1
done
[[ -n $ended ]] || fail "both starts are still running"
wait_app_exit 1
assert_eq 0 "$APP_STATUS" "exit status of the start that found the other"
APP_PID=$((first + second - ended))
app_running || fail "neither start remained"
sleep 1
assert_eq 1 "$(count_windows "$QV_TITLE")" "main windows after two starts"
win=$(visible_windows "$QV_TITLE")
assert_eq 'WM_CLASS(STRING) = "quorvane", "Quorvane"' "$(xprop -id "$win" WM_CLASS)" "window class"
kept=$APP_PID

# ---- hidden in the tray, a later start brings the window back ----------------------------------
window_geometry "$win"
click $((WX + 3510 / 15 + 11)) $((WY + 145 / 15 + 11))
wait_for_no_window "$QV_TITLE" 3 || fail "the tray button did not hide the window"
wait_tray_icons 1 3 || fail "no tray icon after hiding to the tray"
start_app
wait_app_exit 10 || fail "the later start did not end"
assert_eq 0 "$APP_STATUS" "exit status of the later start"
win=$(wait_for_window "$QV_TITLE" 3) || fail "the later start did not bring the window back"
wait_tray_icons 0 3 || fail "the tray icon stayed after the window came back"
shot raised.png
log "ok: the window is back and the icon gone"

# ---- a killed program's lock and socket ---------------------------------------------------------
kill -KILL "$kept"
wait_for_no_window "$QV_TITLE" 3 || fail "the killed program's window stayed"
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "a start after a killed program did not show its window"
log "ok: started over a stale lock and socket"
stop_app
