# Shared helpers of the end-to-end tests; sourced by each test_*.sh that run-in-x.sh starts.
# run-in-x.sh exports DISPLAY, QV_APP (the program in a private copy of the installation),
# QV_INSTALL (the build's installation, read-only for tests) and E2E_DIR (the test's temp dir).
# Screen coordinates are pixels; the program's twips are 15 to the pixel.

: "${QV_APP:?run through run-in-x.sh}" "${E2E_DIR:?run through run-in-x.sh}"
QV_DIR=$(dirname "$QV_APP")
QV_TITLE='Maravel Quorvane'
APP_PID=
APP_STATUS=

now_ms() { date +%s%3N; }
# Every wait's deadline is multiplied by this: deadlines are for failing, never a measure, and a
# loaded machine is slow to show a window (E2E_PATIENCE=1 finds the tests that lean on them).
E2E_PATIENCE=${E2E_PATIENCE:-4}
E2E_T0=$(now_ms)
log() { printf '[%6d ms] %s\n' "$(($(now_ms) - E2E_T0))" "$*"; }

fail() {
    echo "FAIL: $*" >&2
    shot failure.png 2>/dev/null || true
    if [[ -s $E2E_DIR/app.log ]]; then
        echo "--- program output (last lines) ---" >&2
        tail -n 15 "$E2E_DIR/app.log" >&2
    fi
    exit 1
}

assert_eq() { # expected actual what
    [[ $1 == "$2" ]] || fail "$3: expected '$1', got '$2'"
    log "ok: $3 = '$2'"
}

assert_near() { # expected actual tolerance what
    local d=$(($2 - $1))
    ((${d#-} <= $3)) || fail "$4: expected $1 (+-$3), got $2"
    log "ok: $4 = $2 (expected $1 +-$3)"
}

assert_between() { # low high actual what
    (($1 <= $3 && $3 <= $2)) || fail "$4: expected between $1 and $2, got $3"
    log "ok: $4 = $3 (in $1..$2)"
}

# ---- the program ------------------------------------------------------------------------------

# The program notes what its windows and timers do ("quorvane.windows: <ms> <name> <event>" lines
# in app.log, <ms> on its monotonic clock). Delays are measured there, on the program's side:
# the test's own clock also counts xdotool's and the shell's time, which a busy machine stretches
# (and xdotool 3.20160805 sleeps its --delay, 100 ms by default, after the last click).
export QT_LOGGING_RULES="${QT_LOGGING_RULES:+$QT_LOGGING_RULES;}quorvane.windows.info=true"

# The program's times (ms) of "<name> <event>", one a line, oldest first.
trace_times() { sed -n "s/^quorvane\.windows: \([0-9]\{1,\}\) $1\$/\1/p" "$E2E_DIR/app.log"; }

# Prints the first time of "<name> <event>" at or after <ms> (default: the first of all); waits up
# to <seconds> (default 10) for the program to note it.
trace_after() { # "name event" [ms] [seconds]
    local deadline=$(($(now_ms) + ${3:-10} * 1000 * E2E_PATIENCE)) t
    while :; do
        for t in $(trace_times "$1"); do
            ((t >= ${2:-0})) && { echo "$t"; return 0; }
        done
        (($(now_ms) < deadline)) || fail "the program did not note '$1'${2:+ after $2}"
        sleep 0.05
    done
}

# How many times the program has noted "<name> <event>" so far.
trace_count() { trace_times "$1" | grep -c . || true; }

# Waits until the program has noted "<name> <event>" more than <n> times (a page load that a
# click started: "WebBrowser2 DocumentComplete").
wait_trace_count() { # "name event" n [seconds]
    local deadline=$(($(now_ms) + ${3:-20} * 1000 * E2E_PATIENCE))
    until (($(trace_count "$1") > $2)); do
        (($(now_ms) < deadline)) || fail "the program did not note '$1' after its ${2}th time"
        sleep 0.05
    done
}

# Fails unless <later> came at least <min> ms after <earlier>, both program times. Only the
# lower bound holds on any machine: a timer never fires early, but a busy one may fire late.
assert_delay() { # min earlier later what
    (($3 - $2 >= $1)) || fail "$4: expected at least $1 ms on the program's clock, got $(($3 - $2))"
    log "ok: $4 = $(($3 - $2)) ms on the program's clock (at least $1)"
}

start_app() { # [argument...]
    "$QV_APP" "$@" >>"$E2E_DIR/app.log" 2>&1 &
    APP_PID=$!
    APP_START_MS=$(now_ms)
    log "started $QV_APP (pid $APP_PID)"
}

app_running() {
    local state
    [[ -n $APP_PID && -r /proc/$APP_PID/stat ]] || return 1
    state=$(awk '{print $3}' "/proc/$APP_PID/stat" 2>/dev/null) || return 1
    [[ $state != Z ]]
}

# Waits up to <seconds> for the program to end; sets APP_STATUS to its exit status.
wait_app_exit() {
    local deadline=$(($(now_ms) + $1 * 1000 * E2E_PATIENCE))
    while app_running; do
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
    APP_STATUS=0
    wait "$APP_PID" || APP_STATUS=$?
    return 0
}

stop_app() {
    app_running || return 0
    kill "$APP_PID" 2>/dev/null || true
    wait_app_exit 5 || kill -KILL "$APP_PID" 2>/dev/null || true
}

# Starts the program and opens the administration window from the main window's button; sets
# MAIN to the main window's id.
start_app_in_admin() {
    start_app
    MAIN=$(wait_for_window "$QV_TITLE" 8) || fail "the main window did not appear"
    window_geometry "$MAIN"
    sleep 1
    click $((WX + 2815 / 15 + 8)) $((WY + 6840 / 15 + 8))
    wait_for_window "$QV_TITLE" 3 2 >/dev/null || fail "the administration window did not appear"
    wait_for_no_window "$QV_TITLE" 3 2 || fail "the main window was not hidden"
}

# ---- windows ----------------------------------------------------------------------------------

# Visible windows whose title is exactly <name>, one id a line, bottom of the stack first.
# xdotool can fail with an X error when a window closes during its search: retry then.
visible_windows() {
    local out= i w stacking err=$E2E_DIR/xdotool.err
    for i in 1 2 3 4 5; do
        out=$(xdotool search --onlyvisible --name "^$1\$" 2>"$err") && break
        # No match is an ordinary answer (status 1, nothing said); an X error is retried.
        [[ -s $err ]] || break
        out=
        sleep 0.05
    done
    [[ -n $out ]] || return 0
    local -A found=()
    for w in $out; do found[$w]=1; done
    stacking=$(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null) || true
    stacking=${stacking#*=}
    for w in ${stacking//,/ }; do
        [[ $w == 0x* ]] || continue
        w=$((w))
        [[ -n ${found[$w]:-} ]] || continue
        echo "$w"
        unset "found[$w]"
    done
    for w in "${!found[@]}"; do echo "$w"; done # not managed by the window manager: last
    return 0
}

count_windows() { visible_windows "$1" | grep -c . || true; }

# Waits until at least <count> (default 1) visible windows carry the title; prints the topmost id.
wait_for_window() { # name timeout-seconds [count]
    local deadline=$(($(now_ms) + $2 * 1000 * E2E_PATIENCE)) ids
    while :; do
        ids=$(visible_windows "$1")
        if [[ -n $ids ]] && (($(grep -c . <<<"$ids") >= ${3:-1})); then
            tail -n1 <<<"$ids"
            return 0
        fi
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
}

# Waits until fewer than <count> (default 1) visible windows carry the title.
wait_for_no_window() { # name timeout-seconds [count]
    local deadline=$(($(now_ms) + $2 * 1000 * E2E_PATIENCE))
    while (($(count_windows "$1") >= ${3:-1})); do
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
}

# Waits up to <seconds> for a command to succeed (a deadline for failing, not a measure: keep it
# generous, a busy machine is slow).
wait_until() { # seconds command...
    local deadline=$(($(now_ms) + $1 * 1000 * E2E_PATIENCE))
    shift
    until "$@"; do
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
}

# Succeeds when the visible windows titled <name> are exactly the ids given, bottom first.
windows_are() { # name id...
    local name=$1
    shift
    [[ $(visible_windows "$name") == "$(printf '%s\n' "$@" | sed '/^$/d')" ]]
}

# The notice shows, is shot, and closes itself.
expect_notice() { # shot-name
    local id
    id=$(wait_for_window 'Quorvane - Aviso' 15) || fail "no notice for $1"
    sleep 0.3
    window_geometry "$id"
    assert_eq 233x93 "${WW}x$WH" "notice size ($1)"
    shot "$1.png"
    wait_for_no_window 'Quorvane - Aviso' 6 || fail "the notice for $1 did not close"
}

# Sets WX WY WW WH to the window's position and size on the screen.
window_geometry() {
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
}

# Succeeds when the window's top left corner is within <tolerance> pixels of x,y.
at_place() { # window x y [tolerance]
    window_geometry "$1"
    local dx=$((WX - $2)) dy=$((WY - $3))
    ((${dx#-} <= ${4:-0} && ${dy#-} <= ${4:-0}))
}

# Succeeds when the window manager holds the window minimized (iconic).
window_iconic() {
    xprop -id "$1" WM_STATE _NET_WM_STATE 2>/dev/null | grep -qE 'Iconic|_NET_WM_STATE_HIDDEN'
}

# ---- tray -------------------------------------------------------------------------------------

# The tray host's panel window (trayer).
tray_panel() { xdotool search --name '^panel$' 2>/dev/null | head -n1; }

# Prints "x y" (screen centre) of each icon the tray holds, one a line.
tray_icons() {
    local panel
    panel=$(tray_panel) || return 0
    [[ -n $panel ]] || return 0
    # Embedded icons are the panel's children of more than one pixel; each line gives the size
    # and, last, the absolute position.
    local re='([0-9]+)x([0-9]+)[-+][0-9]+[-+][0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+)' line
    while read -r line; do
        [[ $line =~ ^0x && $line =~ $re ]] || continue
        ((BASH_REMATCH[1] > 1 && BASH_REMATCH[2] > 1)) || continue
        echo "$((BASH_REMATCH[3] + BASH_REMATCH[1] / 2)) $((BASH_REMATCH[4] + BASH_REMATCH[2] / 2))"
    done < <(xwininfo -id "$panel" -children 2>/dev/null)
    return 0
}

count_tray_icons() { tray_icons | grep -c . || true; }

wait_tray_icons() { # count timeout-seconds
    local deadline=$(($(now_ms) + $2 * 1000 * E2E_PATIENCE))
    while (($(count_tray_icons) != $1)); do
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
}

# ---- pointer and keyboard ---------------------------------------------------------------------

# The pointer stops at the screen edge; a negative number would read as an option to xdotool.
at0() { echo $(($1 < 0 ? 0 : $1)); }
move() { xdotool mousemove "$(at0 "$1")" "$(at0 "$2")"; }
click() { xdotool mousemove "$(at0 "$1")" "$(at0 "$2")" sleep 0.15 click "${3:-1}"; }
double_click() { xdotool mousemove "$(at0 "$1")" "$(at0 "$2")" sleep 0.15 click --repeat 2 --delay 80 1; }
ctrl_click() { xdotool mousemove "$(at0 "$1")" "$(at0 "$2")" sleep 0.15 keydown ctrl click 1 keyup ctrl; }
drag() { # from-x from-y to-x to-y
    xdotool mousemove "$(at0 "$1")" "$(at0 "$2")" sleep 0.1 mousedown 1 sleep 0.2 \
        mousemove "$(at0 $((($1 + $3) / 2)))" "$(at0 $((($2 + $4) / 2)))" sleep 0.1 \
        mousemove "$(at0 "$3")" "$(at0 "$4")" sleep 0.3 mouseup 1
}

# ---- screenshots ------------------------------------------------------------------------------

shot() { import -window root "$E2E_DIR/$1"; }

# Takes screenshots into <shot> until the browser area of the window at WX,WY (260 x 380 at
# 22,66) shows a drawn page (more than 20 colours) and holds still between two shots; sets
# PAGE_COLOURS. Fails after <seconds> (default 20).
wait_page_drawn() { # shot.png [seconds]
    local area="260x380+$((WX + 22))+$((WY + 66))" before=
    PAGE_COLOURS=0
    page_still() {
        shot "$1"
        PAGE_COLOURS=$(convert "$E2E_DIR/$1" -crop "$area" +repage -format %k info:)
        local now
        now=$(convert "$E2E_DIR/$1" -crop "$area" +repage -format %#  info:)
        [[ $PAGE_COLOURS -gt 20 && $now == "$before" ]] && return 0
        before=$now
        sleep 0.2
        return 1
    }
    wait_until "${2:-20}" page_still "$1"
}

# Number of differing pixels between the same rectangle of two screenshots.
crop_diff() { # a.png b.png WxH+X+Y
    local a=$E2E_DIR/.crop-a.png b=$E2E_DIR/.crop-b.png n
    convert "$E2E_DIR/$1" -crop "$3" +repage "$a"
    convert "$E2E_DIR/$2" -crop "$3" +repage "$b"
    n=$(compare -metric AE "$a" "$b" null: 2>&1) || true
    [[ $n =~ ^[0-9]+$ ]] || fail "could not compare $1 and $2: $n"
    echo "$n"
}

# ---- databases (SQLite files, despite their names) ---------------------------------------------

config_sql() { sqlite3 "$QV_DIR/BD/QV_Config.mdb" "$1"; }
links_sql() { sqlite3 "$QV_DIR/BD/QV_Links.mdb" "$1"; }
history_sql() { sqlite3 "$QV_DIR/BD/QV_Historico.mdb" "$1"; }

# Runs a command again until it prints <expected> (fails after <seconds>).
wait_for_output() { # seconds expected what command...
    local deadline=$(($(now_ms) + $1 * 1000)) expected=$2 what=$3 got
    shift 3
    until got=$("$@" 2>/dev/null) && [[ $got == "$expected" ]]; do
        (($(now_ms) < deadline)) || fail "$what: expected '$expected', got '$got'"
        sleep 0.1
    done
    log "ok: $what = '$got'"
}

# "ok" when a database file passes SQLite's integrity check.
integrity() { sqlite3 "$1" 'PRAGMA integrity_check' 2>&1 | head -n1; }

# Every row of both databases, one a line, to compare before and after a step.
db_rows() {
    config_sql 'SELECT * FROM Tabela1 ORDER BY id' 2>&1
    echo ---
    links_sql 'SELECT * FROM Tabela1 ORDER BY id' 2>&1
}

# The program's visible top-level windows, bottom of the stack first.
program_windows() {
    local w
    { visible_windows "$QV_TITLE"; visible_windows 'Quorvane - Aviso'
      visible_windows "$(printf 'Definir qual URL será a página inicial do Quorvane.')"; } |
        while read -r w; do
            [[ -n $w ]] && echo "$w"
        done
}

# Succeeds when a program window is held minimized by the window manager (reachable from its
# window list).
program_window_iconic() {
    local w
    for w in $(xdotool search --pid "$APP_PID" --name 'Quorvane' 2>/dev/null); do
        window_iconic "$w" && return 0
    done
    return 1
}

# The accessibility bus (AT-SPI) for the program started next; the script runs under a session bus
# of its own (dbus-run-session), started again by itself when QV_A11Y_BUS is unset.
start_atspi() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_DIR/atspi.log" 2>&1 &
    ATSPI_LAUNCHER=$!
    trap 'kill $ATSPI_LAUNCHER 2>/dev/null || true' EXIT
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
}

# The colour of one pixel of a screenshot, as "srgb(r,g,b)".
pixel() { convert "$E2E_DIR/$1" -format '%[pixel:p{'"$2,$3"'}]' info:; }

# The colour of the browser area's centre, as ImageMagick names it (MX, MY: the main window's
# corner, which the script has read).
page_colour() {
    shot page.png
    convert "$E2E_DIR/page.png" -crop "1x1+$((MX + 152))+$((MY + 300))" -format '%[hex:p{0,0}]' info:
}
page_is() { [[ $(page_colour) == "$1" ]]; }
# Waits for the page's colour, then says what it is.
expect_page() { # colour what
    wait_until 20 page_is "$1" || true
    assert_eq "$1" "$(page_colour)" "$2"
}
# Number of pixels of exactly <colour> (e.g. '#00FAFA') in a rectangle of a screenshot.
count_colour() { # shot.png WxH+X+Y colour
    convert "$E2E_DIR/$1" -crop "$2" +repage txt:- | grep -ci " $3" || true
}

# The renderers of the program's pages, one pid a line: the engine's zygotes fork them (and
# their command lines stay the zygote's).
renderers() {
    local z
    for z in $(pgrep -P "$APP_PID" -f -- '--type=zygote' || true); do
        pgrep -P "$z" || true
    done
}

# ---- the local web server and the outside world ---------------------------------------------

# Starts tests/e2e/httpd.py on a free port of 127.0.0.1; sets HTTP (its base address) and
# HTTP_LOG (one line per request: "GET PATH AUTHORIZED"). It ends with the test.
start_httpd() {
    local port_file=$E2E_DIR/httpd.port
    HTTP_LOG=$E2E_DIR/httpd.log
    : >"$HTTP_LOG"
    : >"$port_file"
    python3 "$(dirname "${BASH_SOURCE[0]}")/httpd.py" "$HTTP_LOG" >"$port_file" &
    for _ in $(seq 100); do
        [[ $(wc -l <"$port_file") -ge 1 ]] && break
        sleep 0.05
    done
    HTTP=http://127.0.0.1:$(head -n1 "$port_file")
    [[ $HTTP =~ :[0-9]+$ ]] || fail "the test web server did not start"
    log "web server at $HTTP"
}

# Puts a fake xdg-open first on PATH: what the program hands to the system's default handler
# is appended to $OPENED, one argument a line, and nothing is opened.
fake_default_handler() {
    OPENED=$E2E_DIR/opened.txt
    : >"$OPENED"
    mkdir -p "$E2E_DIR/bin"
    printf '#!/bin/sh\nfor a in "$@"; do printf "%%s\\n" "$a" >>"%s"; done\n' "$OPENED" \
        >"$E2E_DIR/bin/xdg-open"
    chmod +x "$E2E_DIR/bin/xdg-open"
    export PATH=$E2E_DIR/bin:$PATH
}

# Sets the download folder the program is to use (XDG_DOWNLOAD_DIR through user-dirs.dirs),
# by default $E2E_DIR/Baixados; makes it and sets DL to it.
set_download_dir() {
    DL=${1:-$E2E_DIR/Baixados}
    mkdir -p "$XDG_CONFIG_HOME" "$DL"
    printf 'XDG_DOWNLOAD_DIR="%s"\n' "$DL" >"$XDG_CONFIG_HOME/user-dirs.dirs"
}
