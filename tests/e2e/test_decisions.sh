#!/usr/bin/env bash
# The sites' decisions, seen and forgotten: Ctrl+Shift+P lists those of table Permissoes newest
# first over the main window, Down chooses, Delete forgets the chosen one at once (its row goes
# from the table, the others stay), Escape closes; Ctrl+Shift+Delete, after its "SIM", asks
# whether to forget the rest too, and only a second "SIM" does, leaving the saved sites.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

DECISIONS='Quorvane - Permissões'
QUESTION='Quorvane - Aviso'
start_httpd
config_sql "UPDATE Tabela1 SET left=1500, top=1200, homeURL='$HTTP/texto' WHERE id=1"
long=http://$(printf 'a%.0s' $(seq 300)).chamadas.example.org:8443
config_sql "CREATE TABLE Permissoes (origem TEXT, recurso TEXT, decisao TEXT, quando INTEGER,
                                     PRIMARY KEY(origem, recurso));
            INSERT INTO Permissoes VALUES ('http://webmail.example.com', 'downloads', 'permitir', 1790000000),
                                          ('$long', 'câmera e microfone', 'negar', 1791000000),
                                          ('http://chat.example.net', 'cookies de terceiros', 'permitir', 1789000000)"
sites=$(links_sql "SELECT count(*) FROM Tabela1")
decisions() { config_sql "SELECT origem || ' ' || recurso FROM Permissoes ORDER BY quando DESC"; }

start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear"
window_geometry "$win"
MX=$WX MY=$WY
sleep 1
open_decisions() {
    xdotool windowactivate --sync "$win" key --clearmodifiers ctrl+shift+p
    list=$(wait_for_window "$DECISIONS" 10) || fail "Ctrl+Shift+P opened no decisions window"
    sleep 0.5
}

# ---- the list, and Delete on the second row ------------------------------------------------
open_decisions
window_geometry "$list"
assert_eq 290x306 "${WW}x$WH" "decisions window size"
assert_between "$MX" $((MX + 304 - 290)) "$WX" "decisions window over the main window"
shot decisions.png
xdotool key Down
sleep 0.2
xdotool key Delete
wait_for_output 10 "$(printf '%s\n' "$long câmera e microfone" "http://chat.example.net cookies de terceiros")" \
    "the decisions left after Delete" decisions
shot decisions-after-delete.png
xdotool key Escape
wait_for_no_window "$DECISIONS" 5 || fail "Escape did not close the decisions window"

# ---- Ctrl+Shift+Delete: the second question, then nothing is left --------------------------
xdotool windowactivate --sync "$win" key --clearmodifiers ctrl+shift+Delete
wait_for_window "$QUESTION" 10 >/dev/null || fail "Ctrl+Shift+Delete asked nothing"
sleep 0.3
xdotool key Return
# The history is cleared before the second question comes, in a window of the same title.
wait_for_output 10 0 "history after the first SIM" history_sql "SELECT count(*) FROM Historico"
id=$(wait_for_window "$QUESTION" 10) || fail "no second question"
sleep 0.3
shot forget-question.png
assert_eq 2 "$(config_sql "SELECT count(*) FROM Permissoes")" "decisions while the second question is up"
xdotool key Return
expect_notice cleared-and-forgotten
assert_eq 0 "$(config_sql "SELECT count(*) FROM Permissoes")" "decisions after the second SIM"
assert_eq "$sites" "$(links_sql "SELECT count(*) FROM Tabela1")" "saved sites after clearing"

# ---- the empty list -------------------------------------------------------------------------
open_decisions
shot decisions-empty.png
xdotool key Return
wait_for_no_window "$DECISIONS" 5 || fail "Enter did not close the decisions window"
log "ok"
