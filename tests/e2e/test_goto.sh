#!/usr/bin/env bash
# The address window (Ctrl+L) against the local web server: an address typed without a scheme
# opens and is recorded in the history with its title; words become a search through the
# search template of the configuration (table Ajustes); a title that arrives after the load is
# recorded too; the suggestions show saved sites (first) and visited pages, Down and Enter open
# one (a saved address with blanks before it as the site list opens it: the page, not a local
# path); "javascript:" is refused with a notice and the page stays; Escape closes.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

GOTO='Quorvane - Ir para'
NOTICE='Quorvane - Aviso'
start_httpd
PORT=${HTTP##*:}
config_sql "UPDATE Tabela1 SET left=1500, top=1200, homeURL='$HTTP/pagina?t=Inicio' WHERE id=1"
config_sql "CREATE TABLE Ajustes (chave TEXT PRIMARY KEY, valor TEXT);
            INSERT INTO Ajustes VALUES ('pesquisa', '$HTTP/busca?q=%s')"
links_sql "INSERT INTO Tabela1 (titulo1,url) VALUES ('Receitas da Vovó', '$HTTP/pagina?t=Vov%C3%B3'),
           ('Com brancos antes', '  $HTTP/pagina?t=Brancos')"

requests() { grep -c "^GET $1 " "$HTTP_LOG" || true; }
visits() { history_sql "SELECT coalesce(sum(visitas),0) FROM Historico"; }
# The engine reports addresses with their letters decoded ("pão", not "p%C3%A3o").
row_of() { history_sql "SELECT titulo || ' ' || visitas FROM Historico WHERE url LIKE '$1'"; }
open_goto() {
    xdotool windowactivate --sync "$win" key --clearmodifiers ctrl+l
    goto=$(wait_for_window "$GOTO" 10) || fail "Ctrl+L opened no address window"
    sleep 0.3
}
type_text() { xdotool type --delay 40 "$1"; }

start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear"
window_geometry "$win"
MX=$WX MY=$WY
wait_for_output 15 "Inicio 1" "the home page in the history" row_of "$HTTP/pagina?t=Inicio"

# ---- an address without a scheme ------------------------------------------------------------
open_goto
window_geometry "$goto"
assert_eq 290x306 "${WW}x$WH" "address window size"
assert_between "$MX" $((MX + 304 - 290)) "$WX" "address window over the main window"
type_text "127.0.0.1:$PORT/pagina?t=Digitada"
xdotool key Return
wait_for_no_window "$GOTO" 5 || fail "Enter did not close the address window"
wait_for_output 15 "Digitada 1" "the typed address, recorded" row_of "$HTTP/pagina?t=Digitada"

# ---- words: a search through the configured template ----------------------------------------
open_goto
type_text "receita de pão"
xdotool key Return
wait_for_output 15 "Resultados: receita de pão 1" "the search, recorded" \
    row_of "$HTTP/busca?q=receita%"

# ---- a title that comes after the load ------------------------------------------------------
open_goto
type_text "$HTTP/tarde"
xdotool key Return
wait_for_output 15 "Título tardio 1" "the late title, recorded" row_of "$HTTP/tarde"

# ---- suggestions: the saved site first, then the history -------------------------------------
open_goto
type_text "RE"
sleep 1
shot goto.png
window_geometry "$goto"
convert "$E2E_DIR/goto.png" -crop "${WW}x$WH+$WX+$WY" +repage "$E2E_DIR/goto-window.png"
type_text " VOV"
sleep 0.5
before=$(requests /pagina)
xdotool key Down Return
wait_for_no_window "$GOTO" 5 || fail "Enter on a suggestion did not close the address window"
wait_for_output 15 "Vovó 1" "the saved site picked, opened and recorded" \
    row_of "$HTTP/pagina?t=Vov_"
(($(requests /pagina) > before)) || fail "the suggestion was not opened"

# ---- a saved address with blanks before it opens the page, not a local path -----------------
open_goto
type_text "brancos"
sleep 1
xdotool key Down Return
wait_for_no_window "$GOTO" 5 || fail "Enter on a suggestion did not close the address window"
wait_for_output 15 "Brancos 1" "the saved address with blanks, opened and recorded" \
    row_of "$HTTP/pagina?t=Brancos"

# ---- refused and empty texts: the page stays ------------------------------------------------
open_goto
count=$(visits)
type_text "  JavaScript:alert(1)"
xdotool key Return
wait_for_window "$NOTICE" 10 >/dev/null || fail "javascript: got no notice"
wait_for_no_window "$NOTICE" 8 || fail "the notice did not close"
assert_eq 1 "$(count_windows "$GOTO")" "address window after the refusal"
xdotool key ctrl+a BackSpace Return
sleep 1
assert_eq 1 "$(count_windows "$GOTO")" "address window after Enter on an empty box"
xdotool key Escape
wait_for_no_window "$GOTO" 5 || fail "Escape did not close the address window"
sleep 1
assert_eq "$count" "$(visits)" "visits after a refused and an empty text"
assert_eq ok "$(integrity "$QV_DIR/BD/QV_Historico.mdb")" "history file"
stop_app
