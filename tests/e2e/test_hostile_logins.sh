#!/usr/bin/env bash
# Logins are asked only where the user can judge them: a page that points a frame, an image and
# a fetch at another site answering 401 every half second brings no login window; the page's
# own login asks, and the main window's keys and buttons (Alt+Home, Ctrl+L, the close image) end
# it and then act; Alt+F4 closes it as Escape does; a frame of the page's own site asks once,
# and after Escape its realm stays silent until the user reloads; a long host keeps its end in
# view and the realm is shown as text, never as markup.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

LOGIN='Quorvane - Autenticação'
GOTO='Quorvane - Ir para'
start_httpd
config_sql "UPDATE Tabela1 SET left=1500, top=1200, homeURL='$HTTP/p/login-home.html' WHERE id=1"

requests() { grep -c "^GET $1 " "$HTTP_LOG" || true; }
loads() { trace_count "WebBrowser2 DocumentComplete"; }
# Link n of the home page: 40-pixel blocks from the top of the browser area.
click_link() { click $((MX + 22 + 130)) $((MY + 66 + 20 + 40 * $1)); }
home_loaded_after() { # loads-before
    wait_trace_count "WebBrowser2 DocumentComplete" "$1"
    wait_until 10 test "$(requests /p/login-home.html)" -gt "$HOMES" || fail "the home page was not loaded again"
    HOMES=$(requests /p/login-home.html)
}
# Fails when a login window shows at any moment of the next <seconds>.
no_login_for() { # seconds what
    local deadline=$(($(now_ms) + $1 * 1000))
    while (($(now_ms) < deadline)); do
        (($(count_windows "$LOGIN") == 0)) || { shot "$2.png"; fail "a login window came: $2"; }
        sleep 0.1
    done
    log "ok: no login window for $1 s ($2)"
}
login_up() { # what
    LID=$(wait_for_window "$LOGIN" 10) || fail "no login window: $1"
    sleep 0.3
}

start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear"
window_geometry "$win"
MX=$WX MY=$WY
wait_until 10 test "$(requests /p/login-home.html)" -gt 0 || fail "the home page was not asked for"
wait_page_drawn home.png || fail "the home page was not drawn"
HOMES=$(requests /p/login-home.html)

# ---- frames, images and fetches of another site ---------------------------------------------
click_link 0
wait_until 10 test "$(requests /p/login-frames.html)" -gt 0 || fail "the frames page was not asked for"
before=$(requests /login401)
no_login_for 6 "another site's frames"
assert_between 20 1000 $(($(requests /login401) - before)) "401 answers to the frames page in 6 s"
shot other-site.png

# ---- the page's own login: Alt+Home ends it and goes home -----------------------------------
n=$(loads)
xdotool key --clearmodifiers alt+Home
home_loaded_after "$n"
click_link 1
login_up "the page's own login"
window_geometry "$LID"
LX=$WX LY=$WY
shot own-login.png
n=$(loads)
xdotool key --clearmodifiers alt+Home
wait_for_no_window "$LOGIN" 5 || fail "Alt+Home did not end the login window"
home_loaded_after "$n"
no_login_for 1 "after Alt+Home"

# ---- Ctrl+L ends it and opens the address window; Alt+F4 closes it as Escape ----------------
click_link 1
login_up "the page's own login, again"
xdotool key --clearmodifiers ctrl+l
wait_for_no_window "$LOGIN" 5 || fail "Ctrl+L did not end the login window"
wait_for_window "$GOTO" 10 >/dev/null || fail "Ctrl+L opened no address window after the login"
xdotool key Escape
wait_for_no_window "$GOTO" 5 || fail "Escape did not close the address window"
n=$(loads)
click $((MX + 31)) $((MY + 52))
home_loaded_after "$n"
click_link 1
login_up "the page's own login, for Alt+F4"
xdotool key --clearmodifiers alt+F4
wait_for_no_window "$LOGIN" 5 || fail "Alt+F4 did not close the login window"
sleep 1
app_running || fail "Alt+F4 on the login window ended the program"
assert_eq 1 "$(count_windows "$QV_TITLE")" "main windows after Alt+F4 on the login"
no_login_for 2 "the page's realm after Alt+F4"
xdotool windowactivate --sync "$win" key --clearmodifiers F5
login_up "the page's own login after the user's reload"
xdotool key Escape
wait_for_no_window "$LOGIN" 5 || fail "Escape did not close the page's login window"

# ---- a frame of the page's own site: once, and not again after Escape until a reload ----------
n=$(loads)
click $((MX + 31)) $((MY + 52))
home_loaded_after "$n"
click_link 2
login_up "a frame of the page's own site"
xdotool key Escape
wait_for_no_window "$LOGIN" 5 || fail "Escape did not close the frame's login window"
before=$(requests /login401)
no_login_for 4 "the same realm after Escape"
assert_between 5 1000 $(($(requests /login401) - before)) "the frame's 401 answers after Escape"
xdotool windowactivate --sync "$win" key --clearmodifiers F5
login_up "the frame's login after the user's reload"
xdotool key Escape
wait_for_no_window "$LOGIN" 5 || fail "Escape did not close the frame's login window after F5"

# ---- a long host: its end shows; the realm is text ------------------------------------------
n=$(loads)
click $((MX + 31)) $((MY + 52))
home_loaded_after "$n"
click_link 3
login_up "a long host"
window_geometry "$LID"
shot long-host.png
convert "$E2E_DIR/long-host.png" -crop "${WW}x$WH+$WX+$WY" +repage "$E2E_DIR/long-host-window.png"
# The close image acts after the login has ended: the program ends.
click $((MX + 271)) $((MY + 20))
wait_app_exit 10 || fail "the close image did not end the program while a login waited"
assert_eq 0 "$APP_STATUS" "exit status after the close image"
log "PASS"
