#!/usr/bin/env bash
# Window chrome of the main window with a tray host: dragging the surface, the close button's
# hover picture, minimizing, hiding to the tray and coming back by either mouse button, and
# starting hidden in the tray.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

title_button() { # left-twips -> sets BX BY to the middle of that title-bar button
    BX=$((WX + $1 / 15 + 11)) BY=$((WY + 145 / 15 + 11))
}

start_app
win=$(wait_for_window "$QV_TITLE" 8) || fail "the main window did not appear"
window_geometry "$win"
assert_eq "300,100" "$WX,$WY" "start position"
sleep 1

# ---- drag from a spot of the black surface that the browser does not cover -------------------
drag $((WX + 150)) $((WY + 470)) $((WX + 250)) $((WY + 520))
wait_until 5 at_place "$win" 400 150 2 || true
window_geometry "$win"
assert_near 400 "$WX" 2 "left after dragging 100 px right"
assert_near 150 "$WY" 2 "top after dragging 50 px down"

# ---- hover: the close button shows its highlighted picture within a few ticks -----------------
close_area="22x22+$((WX + 260))+$((WY + 9))"
# The hover timer ticks every 100 ms: wait for the look, do not count on the tick.
close_looks() { # shot.png -> sets changed (pixels differing from hover-off.png)
    shot "$1"
    changed=$(crop_diff hover-off.png "$1" "$close_area")
}
highlighted() { close_looks hover-on.png; ((changed > 20)); }
plain() { close_looks hover-gone.png; ((changed == 0)); }
move $((WX + 150)) $((WY + 470))
sleep 0.3
shot hover-off.png
title_button 3900
move "$BX" "$BY"
wait_until 5 highlighted || fail "the close button did not change under the pointer ($changed pixels)"
log "ok: close button highlighted under the pointer ($changed pixels changed)"
move $((WX + 150)) $((WY + 470))
wait_until 5 plain || true
assert_eq 0 "$changed" "pixels of the close button differing from the plain picture after the pointer left"

# ---- hide to the tray; a left press on the icon brings the window back and removes the icon --
title_button 3510
click "$BX" "$BY"
wait_for_no_window "$QV_TITLE" 3 || fail "the tray button did not hide the window"
wait_tray_icons 1 3 || fail "no tray icon after hiding to the tray ($(count_tray_icons) icons)"
shot in-tray.png
log "ok: hidden, one tray icon"
read -r ix iy < <(tray_icons)
click "$ix" "$iy"
win=$(wait_for_window "$QV_TITLE" 3) || fail "a left click on the tray icon did not restore the window"
window_geometry "$win"
assert_eq "400,150" "$WX,$WY" "position after restoring from the tray"
wait_tray_icons 0 3 || fail "the tray icon stayed after a left click"
log "ok: left click restored the window and removed the icon"

# ---- again; the main window's icon stays after a right click ---------------------------------
title_button 3510
click "$BX" "$BY"
wait_for_no_window "$QV_TITLE" 3 || fail "the tray button did not hide the window a second time"
wait_tray_icons 1 3 || fail "no tray icon after hiding a second time"
read -r ix iy < <(tray_icons)
click "$ix" "$iy" 3
wait_for_window "$QV_TITLE" 3 >/dev/null || fail "a right click on the tray icon did not restore the window"
sleep 0.5
assert_eq 1 "$(count_tray_icons)" "tray icons after a right click on the main window's icon"
shot right-click.png
# ---- minimize, then restore through the window manager -----------------------------------------
title_button 3120
click "$BX" "$BY"
wait_for_no_window "$QV_TITLE" 3 || fail "the minimize button did not minimize the window"
window_iconic "$win" || fail "the minimized window is not iconic"
log "ok: minimized"
xdotool windowactivate --sync "$win" 2>/dev/null
win=$(wait_for_window "$QV_TITLE" 3) || fail "the minimized window could not be restored"
window_geometry "$win"
assert_eq "400,150" "$WX,$WY" "position after restoring from minimized"


# A window once minimized and restored by the window manager must not map iconic from the tray.
title_button 3510
click "$BX" "$BY"
wait_tray_icons 1 3 || fail "no tray icon after hiding a restored window"
read -r ix iy < <(tray_icons)
click "$ix" "$iy"
wait_for_window "$QV_TITLE" 3 >/dev/null || fail "the tray left the once-minimized window iconic"
log "ok: the tray restores a window that was minimized before"
stop_app

# ---- start hidden in the tray -----------------------------------------------------------------
config_sql "UPDATE Tabela1 SET minimizado=1 WHERE id=1"
start_app
wait_tray_icons 1 8 || fail "no tray icon when starting minimized"
sleep 2
assert_eq 0 "$(count_windows "$QV_TITLE")" "windows shown when starting minimized"
shot start-minimized.png
read -r ix iy < <(tray_icons)
click "$ix" "$iy"
win=$(wait_for_window "$QV_TITLE" 3) || fail "the tray icon did not show the window started minimized"
window_geometry "$win"
assert_eq "300,100 304x490" "$WX,$WY ${WW}x$WH" "first show from the tray"
wait_tray_icons 0 3 || fail "the tray icon stayed after the first show"
stop_app
