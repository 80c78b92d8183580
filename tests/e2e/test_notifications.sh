#!/usr/bin/env bash
# A site allowed to notify: its notifications reach the desktop's notification service (a fake
# one of the test's own, on a private session bus) with the page's title as the source, the body
# escaped and the picture as the image (none for an icon that is no picture); the service's
# click and closing reach the page, and the page's own withdrawal closes it on the desktop.
# With no service on the bus, the notice window shows the text instead. The site's permission is
# stored in table Permissoes before the start, so that no question comes.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

NOTICE='Quorvane - Aviso'
mkdir -p /work/shots 2>/dev/null || true
keep_shot() { cp "$E2E_DIR/$1" "/work/shots/$2" 2>/dev/null || true; }

# ---- a private session bus and the fake service -------------------------------------------------
cat >"$E2E_DIR/bus.conf" <<CONF
<busconfig><type>session</type><listen>unix:dir=$E2E_DIR</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/>
<allow eavesdrop="true"/><allow own="*"/></policy></busconfig>
CONF
dbus-daemon --config-file="$E2E_DIR/bus.conf" --nofork --print-address >"$E2E_DIR/bus.address" \
    2>"$E2E_DIR/bus.log" &
wait_until 5 test -s "$E2E_DIR/bus.address" || fail "the private session bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_DIR/bus.address")
SERVED=$E2E_DIR/notifications.log
: >"$SERVED"
/usr/bin/python3 "$(dirname "$0")/notif_server.py" "$SERVED" >"$E2E_DIR/server.out" 2>&1 &
SERVER_PID=$!
wait_until 5 grep -q ready "$E2E_DIR/server.out" || fail "the fake notification service did not start"
command_to_service() { printf '%s\n' "$1" >>"$SERVED.cmd"; }
told() { grep -c "^GET /p/notif-$1 " "$HTTP_LOG" || true; }

start_httpd
config_sql "UPDATE Tabela1 SET homeURL='$HTTP/p/notif-send.html' WHERE id=1"
config_sql "CREATE TABLE IF NOT EXISTS Permissoes (origem TEXT, recurso TEXT, decisao TEXT, quando INTEGER, PRIMARY KEY(origem, recurso))"
config_sql "INSERT INTO Permissoes VALUES ('$HTTP', 'notificações', 'permitir', 0)"

# ---- the allowed site's notifications reach the service ----------------------------------------
start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear"
wait_until 20 grep -q '^NOTIFY 1' "$SERVED" || fail "no notification reached the service"
IFS=$'\t' read -r id source summary body actions image < <(sed -n 's/^NOTIFY //p' "$SERVED" | head -n1)
assert_eq "Caixa de entrada" "$source" "the notification's source (the page's title)"
assert_eq "Nova mensagem" "$summary" "the notification's summary"
assert_eq 'Olá &lt;b&gt;mundo&lt;/b&gt;\nsegunda linha' "$body" "the notification's body, escaped"
assert_eq "default,Abrir" "$actions" "the notification's actions"
assert_eq "32x32" "$image" "the notification's picture"
wait_until 10 bash -c "grep -q '^CLOSE 2' '$SERVED'" || fail "the withdrawn notification was not closed on the desktop"
second=$(sed -n 's/^NOTIFY 2\t//p' "$SERVED")
assert_eq "-" "${second##*$'\t'}" "the picture of an icon that is no picture"
wait_until 5 bash -c "(( \$(grep -c '^GET /p/notif-shown ' '$HTTP_LOG') >= 1 ))" || fail "the page did not hear that it was shown"

# Hidden in the tray (its title-bar button), the main window comes back on a click.
window_geometry "$win"
click $((WX + 3510 / 15 + 11)) $((WY + 145 / 15 + 11))
wait_for_no_window "$QV_TITLE" 3 || fail "the tray button did not hide the main window"
command_to_service "click 1"
wait_until 10 bash -c "(( \$(grep -c '^GET /p/notif-clicked ' '$HTTP_LOG') >= 1 ))" || fail "the click did not reach the page"
wait_for_window "$QV_TITLE" 5 >/dev/null || fail "the click did not bring the main window back from the tray"
command_to_service "close 1"
wait_until 10 bash -c "(( \$(grep -c '^GET /p/notif-closed ' '$HTTP_LOG') >= 1 ))" || fail "the closing did not reach the page"
assert_eq 1 "$(told clicked)" "clicks the page heard"
assert_eq 1 "$(told closed)" "closings the page heard"
assert_eq 0 "$(count_windows "$NOTICE")" "notices while the service shows the notifications"
cp "$SERVED" /work/shots/notif-served.txt 2>/dev/null || true
stop_app

# ---- with no service on the bus, the notice tells it --------------------------------------------
kill "$SERVER_PID"
wait "$SERVER_PID" 2>/dev/null || true
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "the main window did not appear again"
wait_for_window "$NOTICE" 20 >/dev/null || fail "no notice without a notification service"
shot notice.png
keep_shot notice.png notif-notice-fallback.png
sleep 1
assert_eq 1 "$(count_windows "$NOTICE")" "notices without a notification service (the second merges)"
stop_app
log "ok: notifications"
