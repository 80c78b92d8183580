#!/usr/bin/env bash
# The administration window takes the main window's place, the main window hides shortly after;
# a double click on a saved site hands back: the main window returns where the administration
# window stands, opens the site, and the administration window goes away.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# A local page that sorts first, so that the first row opens something visibly different.
links_sql "INSERT INTO Tabela1 (titulo1, url) VALUES ('Aaa página de erro', 'erro404.htm')"

start_app
main=$(wait_for_window "$QV_TITLE" 8) || fail "the main window did not appear"
window_geometry "$main"
sleep 1.5
shot before-admin.png
browser_area="260x380+$((WX + 22))+$((WY + 66))"

click $((WX + 2815 / 15 + 8)) $((WY + 6840 / 15 + 8))
clicked=$(now_ms)
adm=$(wait_for_window "$QV_TITLE" 3 2) || fail "the administration window did not appear over the main window"
both=$(now_ms)
[[ $adm != "$main" ]] || fail "the main window is on top of the administration window"
until [[ $(visible_windows "$QV_TITLE") == "$adm" ]]; do
    (($(now_ms) - clicked < 3000)) || fail "the main window was not hidden after the administration window opened"
    sleep 0.02
done
hidden=$(now_ms)
log "administration window shown $((both - clicked)) ms after the click, main hidden $((hidden - both)) ms later"
# The main window hides 250 ms after the administration window has loaded.
assert_between 200 1500 $((hidden - clicked)) "time from the click until the main window hides (ms)"
window_geometry "$adm"
assert_eq "300,100 304x490" "$WX,$WY ${WW}x$WH" "administration window geometry"
shot admin.png

# Move the administration window: the main window is to come back at its new place.
drag $((WX + 100)) $((WY + 365)) $((WX + 160)) $((WY + 405))
sleep 0.3
window_geometry "$adm"
assert_eq "360,140" "$WX,$WY" "administration window after dragging"

# The list starts 96 px below the window's top; rows are 16 px high.
double_click $((WX + 100)) $((WY + 96 + 7))
opened=$(now_ms)
until [[ $(visible_windows "$QV_TITLE") == *"$main"* ]]; do
    (($(now_ms) - opened < 3000)) || fail "the main window did not come back after a double click on a site"
    sleep 0.02
done
back=$(now_ms)
until [[ $(visible_windows "$QV_TITLE") == "$main" ]]; do
    (($(now_ms) - opened < 4000)) || fail "the administration window did not go away after handing back"
    sleep 0.02
done
gone=$(now_ms)
log "main window back $((back - opened)) ms after the double click, administration gone $((gone - back)) ms later"
assert_between 700 2500 $((back - opened)) "time until the main window comes back (ms)"
window_geometry "$main"
assert_eq "360,140 304x490" "$WX,$WY ${WW}x$WH" "main window after the hand-back"

# The chosen local page replaces the home page in the browser area.
sleep 1.5
shot after-open.png
browser_area="260x380+$((WX + 22))+$((WY + 66))"
before_area="260x380+322+166"
convert "$E2E_DIR/before-admin.png" -crop "$before_area" +repage "$E2E_DIR/home-page.png"
convert "$E2E_DIR/after-open.png" -crop "$browser_area" +repage "$E2E_DIR/opened-page.png"
changed=$(crop_diff home-page.png opened-page.png 260x380+0+0)
((changed > 2000)) || fail "the browser still shows the home page after opening a site ($changed pixels changed)"
log "ok: the browser shows the opened site ($changed pixels differ from the home page)"
stop_app
