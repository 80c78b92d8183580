#!/usr/bin/env bash
# Start-up: the main window shows about a second after start, at the stored place and fixed size,
# with the start page rendered; its close image ends the program cleanly. A configuration
# database without its record is reported and the program ends with a failure status.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# Another stored position than the shipped one: 1500 x 1200 twips = 100 x 80 pixels.
config_sql "UPDATE Tabela1 SET left=1500, top=1200 WHERE id=1"

start_app
sleep 0.7
assert_eq 0 "$(count_windows "$QV_TITLE")" "windows visible 0.7 s after start"
win=$(wait_for_window "$QV_TITLE" 6) || fail "the main window did not appear"
# Hidden while it loads, shown one second after its load armed the first show (the load goes
# on after that: its end is no start for the second).
armed=$(trace_after "Form1_Ini.TimerShowForm started")
trace_after "Form1_Ini loaded" "$armed" >/dev/null
assert_delay 1000 "$armed" "$(trace_after "Form1_Ini shown" "$armed")" "time until the main window shows"

window_geometry "$win"
assert_eq "100,80 304x490" "$WX,$WY ${WW}x$WH" "main window geometry"

# The start page is drawn in the browser area (x 22..282, y 66..446 of the window).
wait_page_drawn main.png || fail "the browser area looks empty ($PAGE_COLOURS colours): no page rendered"
log "ok: browser area shows a page ($PAGE_COLOURS colours)"

# The close image: 3900 twips from the left, 145 from the top, 330 wide.
click $((WX + 3900 / 15 + 11)) $((WY + 145 / 15 + 11))
wait_app_exit 5 || fail "the program did not end within 5 s after its close image was clicked"
assert_eq 0 "$APP_STATUS" "exit status after closing"

# ---- a configuration database without its record ---------------------------------------------
config_sql "DELETE FROM Tabela1 WHERE id=1"
start_app
box=$(wait_for_window "$QV_TITLE" 8) || fail "no error message appeared for the broken configuration"
window_geometry "$box"
[[ "${WW}x$WH" != 304x490 ]] || fail "the main window showed although its configuration is broken"
log "error message box is ${WW}x$WH"
shot broken-config.png
app_running || fail "the program ended before its error message was closed"
xdotool windowactivate --sync "$box" key Return
wait_app_exit 5 || fail "the program did not end after its error message was closed"
((APP_STATUS != 0)) || fail "the program ended with status 0 after a start-up failure"
log "ok: exit status $APP_STATUS after a start-up failure"
grep -q 'QV_Config.mdb' "$E2E_DIR/app.log" || fail "the start-up error does not name QV_Config.mdb"
log "ok: the error names the configuration file"
