#!/usr/bin/env bash
# The page's keys: Ctrl+F finds as one types (the count in the find window, Enter and
# Shift+Enter through the matches, Escape clears the highlight); Ctrl+D saves the page to the
# site list once; Ctrl+P prints it to a PDF in the download folder, never over a file;
# Ctrl+Shift+Delete asks first and keeps the site list; a misspelled word in a text field gets
# the dictionary's suggestions in the right-click menu.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

FIND='Quorvane - Localizar'
QUESTION='Quorvane - Aviso'
set_download_dir
start_httpd
config_sql "UPDATE Tabela1 SET left=1500, top=1200, homeURL='$HTTP/texto' WHERE id=1"

# Pixels of the find highlight (yellow matches, the orange active one) in the browser area.
highlighted() { # shot-name
    shot "$1"
    echo $(($(count_colour "$1" "260x300+$((MX + 22))+$((MY + 66))" '#FFFF00') +
        $(count_colour "$1" "260x300+$((MX + 22))+$((MY + 66))" '#FF9632')))
}
wait_for_file() { # path seconds
    local deadline=$(($(now_ms) + $2 * 1000))
    until [[ -s $1 ]]; do
        (($(now_ms) < deadline)) || fail "$1 did not appear"
        sleep 0.1
    done
}

start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear"
window_geometry "$win"
MX=$WX MY=$WY
until grep -q '^GET /texto ' "$HTTP_LOG"; do sleep 0.1; done
sleep 2
click $((MX + 150)) $((MY + 300))

# ---- find in the page -----------------------------------------------------------------------
assert_eq 0 "$(highlighted before-find.png)" "highlight before finding"
xdotool key ctrl+f
fid=$(wait_for_window "$FIND" 10) || fail "Ctrl+F opened no find window"
window_geometry "$fid"
assert_eq 233x72 "${WW}x$WH" "find window size"
((WX > MX && WX + WW < MX + 304 && WY > MY && WY + WH < MY + 490)) ||
    fail "the find window is not over the main window"
xdotool type --delay 60 quorvane
sleep 1.5
(($(highlighted find.png) > 0)) || fail "typing found nothing"
# Enter and Shift+Enter move through the matches: the count label changes and comes back.
count_box="200x17+$((WX + 16))+$((WY + 44))"
convert "$E2E_DIR/find.png" -crop "$count_box" +repage "$E2E_DIR/count1.png"
xdotool key Return
sleep 0.8
shot find-next.png
convert "$E2E_DIR/find-next.png" -crop "$count_box" +repage "$E2E_DIR/count2.png"
if cmp -s "$E2E_DIR/count1.png" "$E2E_DIR/count2.png"; then fail "Enter did not move to the next match"; fi
xdotool key shift+Return
sleep 0.8
shot find-back.png
convert "$E2E_DIR/find-back.png" -crop "$count_box" +repage "$E2E_DIR/count3.png"
[[ $(compare -metric AE "$E2E_DIR/count1.png" "$E2E_DIR/count3.png" null: 2>&1) == 0 ]] ||
    fail "Shift+Enter did not come back to the first match"
xdotool key Escape
wait_for_no_window "$FIND" 5 || fail "Escape did not close the find window"
sleep 0.8
assert_eq 0 "$(highlighted after-find.png)" "highlight after Escape"

# ---- save the page to the site list ---------------------------------------------------------
rows=$(links_sql "SELECT count(*) FROM Tabela1")
xdotool key ctrl+d
expect_notice saved-site
assert_eq "Texto d'agua|$HTTP/texto" "$(links_sql "SELECT titulo1||'|'||url FROM Tabela1 ORDER BY id DESC LIMIT 1")" "saved row"
xdotool key ctrl+d
expect_notice saved-again
assert_eq $((rows + 1)) "$(links_sql "SELECT count(*) FROM Tabela1")" "rows after Ctrl+D twice"

# ---- print to PDF ---------------------------------------------------------------------------
xdotool key ctrl+p
expect_notice printed
wait_for_file "$DL/Texto d'agua.pdf" 20
assert_eq '%PDF' "$(head -c4 "$DL/Texto d'agua.pdf")" "the printed file is a PDF"
xdotool key ctrl+p
expect_notice printed-again
wait_for_file "$DL/Texto d'agua (1).pdf" 20
assert_eq 2 "$(find "$DL" -mindepth 1 | wc -l)" "files in the download folder (no part left)"

# ---- clear browsing data --------------------------------------------------------------------
config_before=$(config_sql "SELECT * FROM Tabela1")
xdotool key ctrl+shift+Delete
wait_for_window "$QUESTION" 10 >/dev/null || fail "Ctrl+Shift+Delete asked nothing"
sleep 0.3
shot clear-question.png
xdotool key Escape
wait_for_no_window "$QUESTION" 5 || fail "Escape did not close the question"
xdotool key ctrl+shift+Delete
wait_for_window "$QUESTION" 10 >/dev/null || fail "Ctrl+Shift+Delete asked nothing the second time"
sleep 0.3
xdotool key Return
# The notice carries the question's title: wait until the question's taller window is gone.
deadline=$(($(now_ms) + 10000))
while id=$(visible_windows "$QUESTION" | tail -n1) && [[ -n $id ]]; do
    window_geometry "$id"
    ((WH != 113)) && break
    (($(now_ms) < deadline)) || fail "SIM did not close the question"
    sleep 0.05
done
expect_notice cleared
assert_eq $((rows + 1)) "$(links_sql "SELECT count(*) FROM Tabela1")" "rows after clearing"
assert_eq "$config_before" "$(config_sql "SELECT * FROM Tabela1")" "configuration after clearing"

# ---- spelling -------------------------------------------------------------------------------
click $((MX + 150)) $((MY + 66 + 20)) # the link at the top of the page
until grep -q '^GET /campo ' "$HTTP_LOG"; do sleep 0.1; done
sleep 1.5
click $((MX + 150)) $((MY + 90))
xdotool key End
sleep 1.5
xdotool mousemove $((MX + 190)) $((MY + 88)) sleep 0.15 click 3
sleep 1
shot spelling.png
# The first suggestion replaces the word.
click $((MX + 210)) $((MY + 97))
deadline=$(($(now_ms) + 10000))
until grep -q '^GET /valor/Eu%20gosto%20de%20casa ' "$HTTP_LOG"; do
    (($(now_ms) < deadline)) || fail "the first suggestion did not replace the misspelled word"
    sleep 0.1
done

stop_app
log "page keys ok"
