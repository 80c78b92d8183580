#!/usr/bin/env bash
# Bookmark files through Qt's file dialogs, by keyboard alone: Ctrl+I in the administration
# window imports a browser's export (the path typed in the dialog's name box), Ctrl+E exports the
# list, and the exported file imports back as nothing new.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

NOTICE='Quorvane - Aviso'
links_sql "INSERT INTO Tabela1 (titulo1, url) VALUES ('Ja salvo', 'https://ja.example/')"
before=$(links_sql "SELECT count(*) FROM Tabela1")
mkdir -p "$E2E_DIR/docs"
in=$E2E_DIR/docs/export-chromium.html
out=$E2E_DIR/docs/saida.html
cat >"$in" <<'HTML'
<!DOCTYPE NETSCAPE-Bookmark-file-1>
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks</H1>
<DL><p>
    <DT><H3 PERSONAL_TOOLBAR_FOLDER="true">Barra de favoritos</H3>
    <DL><p>
        <DT><A HREF="https://um.example/" ADD_DATE="1700000000">Aaa Um &amp; Dois</A>
        <DT><A HREF="https://ja.example/">repetido</A>
    </DL><p>
    <DT><A HREF="https://tres.example/?a=1&amp;b=2">Aab Três</A>
    <DT><A HREF="javascript:alert(1)">script</A>
</DL><p>
HTML

# Types a path into the file dialog's name box (it has the focus) and accepts; a second Return
# when the first one only took the name box's completion.
answer_dialog() { # title shot-name path
    local dialog
    dialog=$(wait_for_window "$1" 8) || fail "no dialog \"$1\""
    sleep 0.5
    shot "dialog-$2.png"
    xdotool key --window "$dialog" ctrl+a
    xdotool type --delay 15 "$3"
    sleep 0.3
    xdotool key Return
    if ! wait_for_no_window "$1" 2; then
        xdotool key Return
        wait_for_no_window "$1" 8 || fail "the dialog \"$1\" did not close"
    fi
}

start_app_in_admin

# ---- import ------------------------------------------------------------------------------------
xdotool key ctrl+i
answer_dialog "Importar favoritos" import "$in"
wait_for_window "$NOTICE" 10 >/dev/null || fail "no notice after the import"
sleep 0.3
shot import-notice.png
assert_eq $((before + 2)) "$(links_sql "SELECT count(*) FROM Tabela1")" "rows after the import"
assert_eq "Aaa Um & Dois|https://um.example/
Aab Três|https://tres.example/?a=1&b=2" \
    "$(links_sql "SELECT titulo1||'|'||url FROM Tabela1 WHERE titulo1 LIKE 'Aa%' ORDER BY id")" \
    "imported rows"
wait_for_no_window "$NOTICE" 8 || fail "the notice did not close by itself"
shot list-after-import.png

# ---- export ------------------------------------------------------------------------------------
xdotool key ctrl+e
answer_dialog "Exportar favoritos" export "$out"
wait_for_window "$NOTICE" 10 >/dev/null || fail "no notice after the export"
shot export-notice.png
[[ -f $out ]] || fail "no exported file at $out"
assert_eq "<!DOCTYPE NETSCAPE-Bookmark-file-1>" "$(head -n1 "$out")" "first line of the export"
assert_eq "$(links_sql "SELECT count(*) FROM Tabela1")" "$(grep -c '<DT><A HREF=' "$out")" \
    "links in the export"
grep -qF '<DT><A HREF="https://tres.example/?a=1&amp;b=2" ADD_DATE="' "$out" ||
    fail "the exported address is not escaped as the browsers write it"
assert_eq "" "$(find "$E2E_DIR/docs" -name '*saida*' ! -name saida.html)" "temporary files left"
wait_for_no_window "$NOTICE" 8 || fail "the notice did not close by itself"

# ---- the export back in: nothing new -----------------------------------------------------------
total=$(links_sql "SELECT count(*) FROM Tabela1")
xdotool key ctrl+i
answer_dialog "Importar favoritos" reimport "$out"
wait_for_window "$NOTICE" 10 >/dev/null || fail "no notice after importing the export"
assert_eq "$total" "$(links_sql "SELECT count(*) FROM Tabela1")" "rows after importing the export"
wait_for_no_window "$NOTICE" 8 || fail "the notice did not close by itself"
stop_app
