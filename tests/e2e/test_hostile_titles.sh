#!/usr/bin/env bash
# Titles a page chooses: a flood of title changes (about 2,500 a second) costs the disk next to
# nothing and its last title is kept; line separators and a right-to-left override in a title
# reach neither the history nor Ctrl+D's site as they came, and the notice, the site list and the
# suggestions show them as one line that reads in order, also for rows stored that way before.
set -euo pipefail
if [[ -z ${QV_A11Y_BUS:-} ]]; then
    export QV_A11Y_BUS=1
    exec dbus-run-session -- "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"

# What the program shows is read over the accessibility bus (AT-SPI).
start_atspi
tree() { /usr/bin/python3 "$(dirname "$0")/atspi_tree.py" quorvane >"$E2E_DIR/$1" 2>&1 ||
    fail "no tree over AT-SPI: $(cat "$E2E_DIR/$1")"; }
tree_has() { tree "$1"; grep -qP "$2" "$E2E_DIR/$1"; }
shows() { wait_until 10 tree_has "$1" "$2" || fail "$3 (tree in $E2E_DIR/$1)"; log "ok: $3"; }

RLO=$'\u202e'
title_of() { history_sql "SELECT titulo FROM Historico WHERE url LIKE '%/$1%'"; }

start_httpd
# Rows stored before with a line separator and an override: shown cleaned, never rewritten.
links_sql "INSERT INTO Tabela1 (titulo1, url) VALUES ('Antiga ${RLO}fdp.exe', 'http://antiga.example/')"
history_sql "CREATE TABLE Historico (id INTEGER PRIMARY KEY, url TEXT UNIQUE, titulo TEXT,
    visitas INTEGER, ultima INTEGER);
    INSERT INTO Historico (url, titulo, visitas, ultima)
    VALUES ('http://velha.example/', 'Velha'||char(8232)||'qvt4 ${RLO}fdp.exe', 5, 1000)"
stored_before=$(links_sql "SELECT hex(titulo1) FROM Tabela1"; history_sql "SELECT hex(titulo) FROM Historico")
config_sql "UPDATE Tabela1 SET left=1500, top=1200,
    homeURL='$HTTP/p/title-flood.html?for=4000&next=title-bidi.html' WHERE id=1"

start_app
win=$(wait_for_window "$QV_TITLE" 15) || fail "the main window did not appear"
window_geometry "$win"
MX=$WX MY=$WY
wait_trace_count "WebBrowser2 DocumentComplete" 0

# ---- the flood: bytes written by the program in 2 s of it ----------------------------------
sleep 0.5
written() { awk '/^write_bytes/ {print $2}' "/proc/$APP_PID/io"; }
before=$(written)
sleep 2
flood_bytes=$(($(written) - before))
# Every change written cost about 4 MB a second; one a second costs a few pages.
assert_between 0 262144 "$flood_bytes" "bytes written in 2 s of a title flood"
wait_for_output 15 "Enchente acabou" "the flood's last title, in the history" title_of title-flood.html?

# ---- the page's title, cleaned in the history and by Ctrl+D -------------------------------
CLEAN='Fatura de maio qvt4 fdp.exe'
wait_for_output 20 "$CLEAN" "the title with separators and an override, in the history" \
    title_of title-bidi.html
xdotool windowactivate --sync "$win" key --clearmodifiers ctrl+d
wait_for_window 'Quorvane - Aviso' 10 >/dev/null || fail "Ctrl+D gave no notice"
shows notice.txt "\tlabel\tSite adicionado: $CLEAN\t" "the notice names the site in order"
shot notice.png
wait_for_no_window 'Quorvane - Aviso' 6 || fail "the notice did not close"
assert_eq "$CLEAN" "$(links_sql "SELECT titulo1 FROM Tabela1 WHERE url LIKE '%title-bidi%'")" \
    "the title Ctrl+D saved"

# ---- the suggestions: the new rows and the old ones, each one line in order ----------------
xdotool windowactivate --sync "$win" key --clearmodifiers ctrl+l
wait_for_window 'Quorvane - Ir para' 10 >/dev/null || fail "Ctrl+L opened no address window"
sleep 0.3
xdotool type --delay 40 "fdp"
sleep 1.5
shot suggestions.png
xdotool key Escape
wait_for_no_window 'Quorvane - Ir para' 5 || fail "Escape did not close the address window"

# ---- the administration list ---------------------------------------------------------------
click $((MX + 2815 / 15 + 8)) $((MY + 6840 / 15 + 8))
wait_for_window "$QV_TITLE" 5 2 >/dev/null || fail "the administration window did not appear"
shows admin.txt "\tlist item\tAntiga fdp.exe\t" "the list shows an old row in order"
shows admin.txt "\tlist item\t$CLEAN\t" "the list shows Ctrl+D's row"
shot admin.png

stored_after=$(links_sql "SELECT hex(titulo1) FROM Tabela1 WHERE url <> '$HTTP/p/title-bidi.html'"
    history_sql "SELECT hex(titulo) FROM Historico WHERE url LIKE 'http://velha%'")
assert_eq "$stored_before" "$stored_after" "rows stored before, byte for byte"
stop_app
