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
wait_page_drawn before-admin.png || fail "the home page was not drawn"

click $((WX + 2815 / 15 + 8)) $((WY + 6840 / 15 + 8))
adm=$(wait_for_window "$QV_TITLE" 10 2) || fail "the administration window did not appear over the main window"
[[ $adm != "$main" ]] || fail "the main window is on top of the administration window"
wait_until 30 windows_are "$QV_TITLE" "$adm" ||
    fail "the main window was not hidden after the administration window opened"
# The administration window shows first; the main window hides 250 ms after the end of its
# load armed the hand-over.
armed=$(trace_after "Form2_Lista.TimerHideForm started")
shown=$(trace_after "Form2_Lista shown" "$(trace_after "Form2_Lista loaded" "$armed")")
hidden=$(trace_after "Form1_Ini hidden" "$shown")
assert_delay 250 "$armed" "$hidden" "from the administration window's load until the main window hides"
window_geometry "$adm"
assert_eq "300,100 304x490" "$WX,$WY ${WW}x$WH" "administration window geometry"
shot admin.png

# Move the administration window: the main window is to come back at its new place.
drag $((WX + 100)) $((WY + 365)) $((WX + 160)) $((WY + 405))
wait_until 5 at_place "$adm" 360 140 || true
window_geometry "$adm"
assert_eq "360,140" "$WX,$WY" "administration window after dragging"

# The list starts 96 px below the window's top; rows are 16 px high.
double_click $((WX + 100)) $((WY + 96 + 7))
wait_until 30 windows_are "$QV_TITLE" "$main" ||
    fail "the main window did not come back alone after a double click on a site"
# The hand-back: the main window shows 1000 ms after the double click armed it, over the
# administration window, which is unloaded 250 ms later.
armed=$(trace_after "Form2_Lista.TimerShowForm started" "$hidden")
back=$(trace_after "Form1_Ini shown" "$armed")
gone=$(trace_after "Form2_Lista unloaded" "$back")
assert_delay 1000 "$armed" "$back" "from the double click until the main window comes back"
assert_delay 250 "$back" "$gone" "from the main window's return until the administration window goes"
window_geometry "$main"
assert_eq "360,140 304x490" "$WX,$WY ${WW}x$WH" "main window after the hand-back"

# The chosen local page replaces the home page in the browser area.
convert "$E2E_DIR/before-admin.png" -crop "260x380+322+166" +repage "$E2E_DIR/home-page.png"
page_changed() {
    shot after-open.png
    convert "$E2E_DIR/after-open.png" -crop "260x380+$((WX + 22))+$((WY + 66))" +repage \
        "$E2E_DIR/opened-page.png"
    changed=$(crop_diff home-page.png opened-page.png 260x380+0+0)
    ((changed > 2000))
}
wait_until 20 page_changed ||
    fail "the browser still shows the home page after opening a site ($changed pixels changed)"
log "ok: the browser shows the opened site ($changed pixels differ from the home page)"
stop_app
