#!/usr/bin/env bash
# A page asks for the camera: one question names its origin; "Bloquear" makes the page's promise
# reject and is remembered, so that after a restart the page is refused again without a
# question. Another origin's page is allowed with Enter: its capture goes through (the engine's
# own stand-in camera) and a line over the page says that the camera is in use.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

ASK='Quorvane - Permissão'
# No camera under Xvfb: the engine's stand-in devices, so that the page's request reaches us.
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:-} --use-fake-device-for-media-stream"
start_httpd
PAGE=/p/perm-camera.html
config_sql "UPDATE Tabela1 SET left=1500, top=1200, homeURL='$HTTP$PAGE' WHERE id=1"
mkdir -p /work/shots 2>/dev/null || true
keep_shot() { cp "$E2E_DIR/$1" "/work/shots/$2" 2>/dev/null || true; }
decisions() { config_sql "SELECT origem || ' ' || recurso || ' ' || decisao FROM Permissoes ORDER BY 1" 2>/dev/null || true; }
results() { grep -c "^GET /p/perm-result-$1 " "$HTTP_LOG" || true; }

# ---- one question; "Bloquear" rejects the page's promise and is kept ---------------------------
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "the main window did not appear"
win=$(wait_for_window "$ASK" 20) || fail "no question about the camera"
sleep 0.5
shot question.png
keep_shot question.png perm-question.png
assert_eq 1 "$(count_windows "$ASK")" "questions up for one request"
assert_eq 0 "$(grep -c '^GET /p/perm-result-' "$HTTP_LOG" || true)" "answers the page got before the user's"
window_geometry "$win"
# "Bloquear": 1860..2715 by 1230..1440 twips.
click $((WX + 152)) $((WY + 89))
wait_for_no_window "$ASK" 5 || fail "the question did not close on Bloquear"
wait_until 10 bash -c "grep -q '^GET /p/perm-result-rejected-NotAllowedError ' '$HTTP_LOG'" ||
    fail "the page's request was not refused: $(grep perm-result "$HTTP_LOG" || true)"
assert_eq 0 "$(results resolved)" "captures after Bloquear"
assert_eq "$HTTP câmera negar" "$(decisions)" "the decision kept"
stop_app

# ---- after a restart: refused at once, no question -----------------------------------------------
: >"$E2E_DIR/app.log"
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "the main window did not appear again"
wait_until 20 bash -c "(( \$(grep -c '^GET /p/perm-result-rejected-NotAllowedError ' '$HTTP_LOG') >= 2 ))" ||
    fail "the page was not refused again after the restart"
sleep 1
assert_eq 0 "$(count_windows "$ASK")" "questions after the remembered refusal"
assert_eq 0 "$(trace_count "PermissionForm loaded")" "questions shown after the restart"
assert_eq 0 "$(results resolved)" "captures after the restart"
stop_app

# ---- another origin, allowed with Enter: the capture goes through and the page says so ---------
OTHER=${HTTP/127.0.0.1/localhost}
config_sql "UPDATE Tabela1 SET homeURL='$OTHER$PAGE' WHERE id=1"
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "the main window did not appear a third time"
wait_for_window "$ASK" 20 >/dev/null || fail "no question for the other origin"
sleep 0.5
xdotool key Return
wait_for_no_window "$ASK" 5 || fail "the question did not close on Enter"
wait_until 10 bash -c "grep -q '^GET /p/perm-result-resolved ' '$HTTP_LOG'" ||
    fail "the allowed capture did not go through: $(grep perm-result "$HTTP_LOG" || true)"
sleep 1
shot capturing.png
keep_shot capturing.png perm-capturing.png
# The line over the top of the page (the main window stands at 100,80).
(( $(count_colour capturing.png 240x12+130+148 '#404040') > 500 )) ||
    fail "no line over the page while it holds the camera"
assert_eq "$HTTP câmera negar
$OTHER câmera permitir" "$(decisions)" "the decisions kept"
stop_app
