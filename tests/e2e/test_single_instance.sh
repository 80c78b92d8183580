#!/usr/bin/env bash
# One program per data folder: two starts at the same moment leave one; a later start brings the
# window back from the tray as a left click on the icon does and ends with status 0; a lock and
# socket left by a killed program do not stop the next start; the addresses of a later start open
# in the running program (javascript: gets a notice), those of a first start too, out of the tray.
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

# ---- "quorvane ADDRESS": the running program opens it, also from the tray ----------------------
start_httpd
window_geometry "$win"
MX=$WX MY=$WY
# Hands over and ends at once (the running program answers once it has read the addresses).
later() { # argument...
    start_app "$@"
    wait_app_exit 10 || fail "the later start with '$*' did not end"
    assert_eq 0 "$APP_STATUS" "exit status of the later start with '$*'"
    APP_PID=$kept
}
later "$HTTP/p/cor.html?00A000"
expect_page 00A000 "the address of a later start"
click $((MX + 3510 / 15 + 11)) $((MY + 145 / 15 + 11))
wait_for_no_window "$QV_TITLE" 3 || fail "the tray button did not hide the window"
later "$HTTP/p/cor.html?0000A0"
wait_for_window "$QV_TITLE" 3 >/dev/null || fail "a later start's address left the window in the tray"
expect_page 0000A0 "the address of a later start, from the tray"
shot handed-over.png
# A file is read against the later start's folder, not the running program's.
mkdir -p "$E2E_DIR/elsewhere"
sed 's/location.search.slice(1)/"A0A000"/' "$(dirname "$0")/pages/cor.html" >"$E2E_DIR/elsewhere/página.html"
(cd "$E2E_DIR/elsewhere" && timeout 10 "$QV_APP" página.html >>"$E2E_DIR/app.log" 2>&1) ||
    fail "the later start with a relative file failed"
expect_page A0A000 "a file relative to the later start's folder"
loads=$(trace_count "WebBrowser2 DocumentComplete")
later 'javascript:alert(1)'
expect_notice refused-javascript
assert_eq "$loads" "$(trace_count "WebBrowser2 DocumentComplete")" "pages loaded for a refused address"
expect_page A0A000 "the page after a refused address"
log "ok: later starts hand their addresses over; javascript: is refused with a notice"

# ---- a killed program's lock and socket ---------------------------------------------------------
kill -KILL "$kept"
wait_for_no_window "$QV_TITLE" 3 || fail "the killed program's window stayed"
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "a start after a killed program did not show its window"
log "ok: started over a stale lock and socket"
stop_app

# ---- a first start with an address comes out of the tray to show it ----------------------------
config_sql "UPDATE Tabela1 SET minimizado=1"
start_app "$HTTP/p/cor.html?00A000"
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "a start minimized kept the address hidden"
expect_page 00A000 "the address of a first start minimized to the tray"
wait_tray_icons 0 3 || fail "the tray icon stayed after a first start with an address"
stop_app
