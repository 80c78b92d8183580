#!/usr/bin/env bash
# Several pages in the one view: Ctrl+T opens one with the address window over it, a middle
# click opens a link behind, target=_blank in front; Ctrl+W goes back to the opener as it was;
# Ctrl+Tab and Ctrl+1..9 go round; Ctrl+Shift+T brings the last closed back. A script's window
# without a click is refused; a click that opens a hundred opens one.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

start_httpd
config_sql "UPDATE Tabela1 SET left=200, top=100, homeURL='$HTTP/p/pages-a.html' WHERE id=1"
RED=FF0000 BLUE=0000FF GREEN=00FF00 MAGENTA=FF00FF

start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear"
window_geometry "$win"
MX=$WX MY=$WY
expect_page "$RED" "the home page"
sleep 1
shot home.png
# The page's own top-left corner in the window.
PX=$((MX + 20)) PY=$((MY + 67))

# typed text that must survive a page in front
click $((PX + 50)) $((PY + 308))
xdotool type 'texto digitado'
click $((PX + 100)) $((PY + 25))
expect_page "$BLUE" "target=_blank in front"
shot blank.png
xdotool key ctrl+w
expect_page "$RED" "Ctrl+W back on the opener"
shot back.png

# a middle click opens behind; Ctrl+Tab, Ctrl+1 and Ctrl+9 go round (A, C)
click $((PX + 100)) $((PY + 75)) 2
wait_until 10 grep -q '^GET /p/pages-c.html ' "$HTTP_LOG" || fail "the middle click opened nothing"
sleep 1
expect_page "$RED" "a middle click leaves the page in front"
xdotool key ctrl+Tab
expect_page "$GREEN" "Ctrl+Tab shows the page behind"
xdotool key ctrl+1
expect_page "$RED" "Ctrl+1 the first page"
xdotool key ctrl+9
expect_page "$GREEN" "Ctrl+9 the last page"
xdotool key ctrl+shift+Tab
expect_page "$RED" "Ctrl+Shift+Tab the previous page"

# Ctrl+Shift+T brings B back, with its own history
xdotool key ctrl+shift+t
expect_page "$BLUE" "Ctrl+Shift+T reopens the page closed last"

# Ctrl+T: a new page on the home page with the address window over it; Escape stays there
xdotool key ctrl+t
wait_for_window 'Quorvane - Ir para' 5 >/dev/null || fail "Ctrl+T opened no address window"
xdotool key Escape
wait_for_no_window 'Quorvane - Ir para' 5 || fail "Escape left the address window"
expect_page "$RED" "Ctrl+T's page is on the home page"
sleep 1

# a click that opens a hundred windows opens one page
b_loads() { grep -c '^GET /p/pages-b.html ' "$HTTP_LOG" || true; }
before=$(b_loads)
click $((PX + 100)) $((PY + 125))
expect_page "$BLUE" "the window the click opened"
sleep 2
assert_eq 1 $(($(b_loads) - before)) "windows opened by one click"

# windows a script asks for on load and from a timer are refused
xdotool key ctrl+t
wait_for_window 'Quorvane - Ir para' 5 >/dev/null || fail "Ctrl+T opened no address window"
before=$(b_loads)
xdotool type "$HTTP/p/pages-popup.html"
xdotool key Return
expect_page "$MAGENTA" "the page that opens windows by itself"
sleep 2
expect_page "$MAGENTA" "a window without a click does not replace the page"
assert_eq 0 $(($(b_loads) - before)) "windows opened without a click"
shot popup.png

# the pages window lists them, the one shown marked; Enter on another shows it
xdotool key ctrl+shift+a
wait_for_window 'Quorvane - Páginas' 5 >/dev/null || fail "Ctrl+Shift+A opened no pages window"
sleep 0.5
shot pages-window.png
xdotool key Up Return
wait_for_no_window 'Quorvane - Páginas' 5 || fail "Enter left the pages window open"
expect_page "$BLUE" "Enter in the pages window shows the page chosen"

# ---- nothing lost: killed, the next start brings the pages back, the shown one first -------
# The shown page goes on to C: its back list holds B.
xdotool key ctrl+l
wait_for_window 'Quorvane - Ir para' 5 >/dev/null || fail "Ctrl+L opened no address window"
xdotool type "$HTTP/p/pages-c.html"
xdotool key Return
expect_page "$GREEN" "the page shown went on"
sleep 3 # the session is stored within two seconds of a change
pages_sql() { sqlite3 "$QV_DIR/BD/QV_Sessao.mdb" "$1"; }
assert_eq 6 "$(pages_sql 'SELECT count(*) FROM Paginas WHERE fechada = 0')" "pages stored"
kill -KILL "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
loads() { grep -c '^GET /p/' "$HTTP_LOG" || true; }
before=$(loads)
start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not come back"
expect_notice restored
expect_page "$GREEN" "the page shown comes back first"
(($(loads) - before <= 1)) || fail "pages behind were loaded at the restore: $(($(loads) - before))"
xdotool key alt+Left
expect_page "$BLUE" "its back list came back with it"
xdotool key ctrl+1
expect_page "$RED" "the first page, loaded when first shown"
xdotool key ctrl+shift+a
wait_for_window 'Quorvane - Páginas' 5 >/dev/null || fail "Ctrl+Shift+A opened no pages window"
sleep 0.5
shot restored-pages.png
xdotool key Escape

# ---- a normal end: the next start shows the home page, as always ----------------------------
xdotool key ctrl+9
expect_page "$MAGENTA" "Ctrl+9 after the restore: the last page"
window_geometry "$win"
click $((WX + 269)) $((WY + 20))
wait_app_exit 10 || fail "the close image did not end the program"
assert_eq 0 "$(pages_sql 'SELECT count(*) FROM Paginas WHERE fechada = 0')" "pages stored after a normal end"
start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear"
expect_page "$RED" "after a normal end, the home page"
sleep 1.5
assert_eq 0 "$(count_windows 'Quorvane - Aviso')" "notices after a normal end"

# ---- a renderer killed behind: that page says so, the page shown lives on ---------------------
before=$(renderers | sort)
xdotool key ctrl+t
wait_for_window 'Quorvane - Ir para' 5 >/dev/null || fail "Ctrl+T opened no address window"
xdotool type "${HTTP/127.0.0.1/localhost}/p/pages-c.html" # another site: a renderer of its own
xdotool key Return
expect_page "$GREEN" "a page of another site"
xdotool key ctrl+1
expect_page "$RED" "back on the first page"
other=$(comm -13 <(echo "$before") <(renderers | sort))
[[ -n $other ]] || fail "no renderer of its own for the other site"
kill -KILL $other
sleep 1
expect_page "$RED" "the page shown, after the renderer behind was killed"
xdotool key ctrl+2
says_lost() { ! page_is "$GREEN" && ! page_is "$RED"; }
wait_until 10 says_lost || fail "the page behind does not say its renderer ended"
shot renderer-ended-behind.png
xdotool key F5
expect_page "$GREEN" "F5 loads the lost page again"
