#!/usr/bin/env bash
# A page that starts fifty downloads on its own, without a click: one question names its site;
# "NÃO" leaves the download folder empty and is remembered across a restart, "SIM" lets all fifty
# in with one merged notice, and the notice holds no one back: clicks on the page and keys made
# while it is up reach the main window.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

NOTICE='Quorvane - Aviso'
set_download_dir
start_httpd
config_sql "UPDATE Tabela1 SET left=1500, top=1200, homeURL='$HTTP/p/dl-many.html' WHERE id=1"
mkdir -p /work/shots 2>/dev/null || true
keep_shot() { cp "$E2E_DIR/$1" "/work/shots/$2" 2>/dev/null || true; }
decisions() { config_sql "SELECT origem || ' ' || recurso || ' ' || decisao FROM Permissoes" 2>/dev/null || true; }
attachments() { grep -c '^GET /attach/a-' "$HTTP_LOG" || true; }
clicks() { grep -c '^GET /p/dl-click-' "$HTTP_LOG" || true; }
in_folder() { ls -A "$DL" | wc -l; }

# ---- the question comes once; "NÃO" keeps nothing ----------------------------------------------
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "the main window did not appear"
wait_for_window "$NOTICE" 20 >/dev/null || fail "no question about the page's downloads"
wait_until 10 bash -c "(( \$(grep -c '^GET /attach/a-' '$HTTP_LOG') >= 50 ))" || true
sleep 1
shot question.png
keep_shot question.png dl-question.png
assert_eq 1 "$(count_windows "$NOTICE")" "questions up while fifty downloads wait"
assert_eq 0 "$(in_folder)" "files in the download folder while the question is up"
xdotool key Escape
wait_for_no_window "$NOTICE" 5 || fail "the question did not close on Escape"
sleep 2
assert_eq 0 "$(count_windows "$NOTICE")" "questions or notices after NÃO"
assert_eq 0 "$(in_folder)" "files (or part files) in the download folder after NÃO"
assert_eq "$HTTP downloads negar" "$(decisions)" "the decision kept"
stop_app

# ---- the refusal holds across a restart, with one notice ---------------------------------------
before=$(attachments)
start_app
wait_for_window "$QV_TITLE" 10 >/dev/null || fail "the main window did not appear again"
wait_until 20 bash -c "(( \$(grep -c '^GET /attach/a-' '$HTTP_LOG') >= $before + 50 ))" ||
    fail "the page's downloads were not asked for again"
wait_for_window "$NOTICE" 10 >/dev/null || fail "no notice of the refused downloads"
sleep 1
shot refused.png
assert_eq 1 "$(count_windows "$NOTICE")" "notices of fifty refused downloads"
wait_for_no_window "$NOTICE" 6 || fail "the notice of the refused downloads did not close"
assert_eq 0 "$(in_folder)" "files in the download folder after the remembered refusal"
assert_eq 1 "$(trace_count "PageNotice loaded")" "notices shown for fifty refusals"
stop_app

# ---- "SIM": all fifty arrive, one merged notice that blocks nothing ----------------------------
config_sql "DELETE FROM Permissoes"
: >"$E2E_DIR/app.log"
start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear a third time"
window_geometry "$win"
MX=$WX MY=$WY
wait_for_window "$NOTICE" 20 >/dev/null || fail "no question after the decision was removed"
sleep 0.5
xdotool key Return
wait_until 20 bash -c "(( \$(ls -A '$DL' | wc -l) >= 50 ))" || fail "only $(in_folder) of fifty files arrived"
wait_for_window "$NOTICE" 5 >/dev/null || fail "no notice of the downloads"
shot merged.png
keep_shot merged.png dl-merged-notice.png
assert_eq 1 "$(count_windows "$NOTICE")" "notices up after fifty downloads"
# A click on the page below the notice, one on the notice itself, and a key: all reach the
# main window while the notice is up.
click $((MX + 150)) $((MY + 400))
click $((MX + 150)) $((MY + 160))
xdotool key ctrl+l
wait_for_window 'Quorvane - Ir para' 5 >/dev/null || fail "Ctrl+L did not reach the main window while the notice was up"
assert_eq 1 "$(count_windows "$NOTICE")" "the notice still up during the clicks and the key"
wait_until 5 bash -c "(( \$(grep -c '^GET /p/dl-click-' '$HTTP_LOG') >= 2 ))" || true
assert_eq 2 "$(clicks)" "clicks that reached the page while the notice was up"
xdotool key Escape
wait_for_no_window "$NOTICE" 8 || fail "the merged notice did not close"
assert_eq 1 "$(trace_count "PageNotice loaded")" "notices shown for fifty downloads"
assert_eq 50 "$(ls -A "$DL" | grep -c '^a-[0-9]*\.txt$')" "downloads kept under their names"
assert_eq "$HTTP downloads permitir" "$(decisions)" "the decision kept"
stop_app
