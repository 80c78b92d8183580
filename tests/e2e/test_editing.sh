#!/usr/bin/env bash
# Editing the site list through the administration window: inserting from the two text boxes
# (with the notice that closes by itself), then deleting two selected rows after confirming.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

NOTICE='Quorvane - Aviso'
# xdotool types accented letters unreliably under Xvfb (dropped or lowered): ASCII only.
TITLE="Aaa d'agua teste"
URL="https://exemplo.invalid/caminho?a=1&b='2'"
rows_titled() { links_sql "SELECT count(*) FROM Tabela1 WHERE titulo1='${1//\'/\'\'}'"; }
before_total=$(links_sql "SELECT count(*) FROM Tabela1")

start_app_in_admin
main=$MAIN
adm=$(visible_windows "$QV_TITLE")
[[ $adm != "$main" ]] || fail "the main window stayed instead of the administration window"
window_geometry "$adm"
list_area="260x146+$((WX + 22))+$((WY + 96))"
shot list-before.png

# ---- insert ------------------------------------------------------------------------------------
click $((WX + 150)) $((WY + 273))
xdotool type --delay 20 "$TITLE"
click $((WX + 150)) $((WY + 314))
xdotool type --delay 20 "$URL"
sleep 0.2
shot typed.png
click $((WX + 3045 / 15 + 9)) $((WY + 5000 / 15 + 9))
notice=$(wait_for_window "$NOTICE" 3) || fail "no notice after inserting"
shot insert-notice.png
assert_eq 1 "$(rows_titled "$TITLE")" "rows with the new title in QV_Links.mdb"
assert_eq "$URL" "$(links_sql "SELECT url FROM Tabela1 WHERE titulo1='${TITLE//\'/\'\'}'")" \
    "stored address of the new row"
wait_for_no_window "$NOTICE" 6 || fail "the notice did not close by itself"
# Three ticks of one second, counted on the program's clock.
counting=$(trace_after "Form5_Msg.TimerCount started")
assert_delay 3000 "$counting" "$(trace_after "Form5_Msg unloaded" "$counting")" "time the notice stayed"
list_refilled() {
    shot list-after-insert.png
    changed=$(crop_diff list-before.png list-after-insert.png "$list_area")
    ((changed > 100))
}
wait_until 10 list_refilled || fail "the list did not change after inserting ($changed pixels)"
log "ok: the list was refilled ($changed pixels changed)"

# ---- delete two rows: the new one (first by title) and the one after it -----------------------
second=$(links_sql "SELECT titulo1 FROM Tabela1 ORDER BY titulo1 LIMIT 1 OFFSET 1")
click $((WX + 100)) $((WY + 96 + 7))
ctrl_click $((WX + 100)) $((WY + 96 + 7 + 15))
sleep 0.2
shot selected.png
click $((WX + 3915 / 15 + 10)) $((WY + 4980 / 15 + 10))
confirm=$(wait_for_window "$NOTICE" 3) || fail "no confirmation window after the delete button"
window_geometry "$confirm"
log "confirmation window at $WX,$WY ${WW}x$WH"
shot confirm.png
assert_eq 1 "$(rows_titled "$TITLE")" "rows with the new title before confirming"
click $((WX + 975 / 15 + 16)) $((WY + 930 / 15 + 7))
no_rows_titled() { (($(rows_titled "$1") == 0)); }
wait_until 15 no_rows_titled "$TITLE" || fail "confirming with SIM did not delete the selected rows"
assert_eq 0 "$(rows_titled "$second")" "rows titled '$second' after deleting"
assert_eq "$((before_total - 1))" "$(links_sql "SELECT count(*) FROM Tabela1")" \
    "rows left after inserting one and deleting two"
wait_for_window "$NOTICE" 3 >/dev/null || fail "no notice after deleting"
shot delete-notice.png
wait_for_no_window "$NOTICE" 6 || fail "the notice after deleting did not close by itself"
stop_app
