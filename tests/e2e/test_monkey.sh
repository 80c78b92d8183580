#!/usr/bin/env bash
# Random clicks, double clicks, drags, keys (Tab, Enter, Escape, Delete, Space, Alt+F4) and tray
# clicks on whatever program window shows, for MONKEY_SECONDS (60), from MONKEY_SEED (printed).
# After every step: the program runs, or ended through a close (then it is started again); a
# window is on screen, minimized, or a tray icon is shown; both databases pass their integrity
# check; and no row changed through a step aimed at the main window or the tray (the only rows
# that change are those the administration window and its confirmation write).
set -euo pipefail
source "$(dirname "$0")/lib.sh"

seconds=${MONKEY_SECONDS:-60}
seed=${MONKEY_SEED:-$(($(date +%s) % 32768))}
RANDOM=$seed
echo "monkey: seed $seed, $seconds s (run again with MONKEY_SEED=$seed)"
fake_default_handler # what would open outside the program is only written down

steps=0 restarts=0 main_win=
declare -A kinds=()

start_monkey_app() {
    start_app
    local deadline=$(($(now_ms) + 30000 * E2E_PATIENCE))
    until [[ -n $(program_windows) ]] || (($(count_tray_icons) > 0)); do
        if ! app_running; then
            wait_app_exit 1 || true
            fail "seed $seed: the program ended at its start with status $APP_STATUS"
        fi
        (($(now_ms) < deadline)) || fail "seed $seed: nothing on screen 30 s after a start"
        sleep 0.1
    done
    main_win=$(visible_windows "$QV_TITLE" | tail -n1)
}

# Polls up to 5 s (windows hand over in 250 ms, a first show waits 1 s, an ending program
# takes its time): a window, a tray icon, a minimized window, or the program gone.
reachable() {
    local deadline=$(($(now_ms) + 5000 * E2E_PATIENCE))
    while :; do
        app_running || return 0
        [[ -n $(program_windows) ]] && return 0
        (($(count_tray_icons) > 0)) && return 0
        program_window_iconic && return 0
        (($(now_ms) < deadline)) || return 1
        sleep 0.1
    done
}

# One random step; sets ACTION (what was done) and AIMED (main, other or tray).
step() {
    local wins target r x y
    wins=$(program_windows)
    target=$(xdotool getactivewindow 2>/dev/null || true)
    grep -qx "${target:-none}" <<<"$wins" || target=$(tail -n1 <<<"$wins")
    r=$((RANDOM % 100))
    if [[ -z $target ]] || ((r >= 95)); then
        local icons icon
        icons=$(tray_icons)
        if [[ -n $icons ]]; then
            icon=$(sed -n "$((RANDOM % $(grep -c . <<<"$icons") + 1))p" <<<"$icons")
            ACTION="tray $((RANDOM % 2 ? 1 : 3))-click" AIMED=tray
            click ${icon% *} ${icon#* } "${ACTION:5:1}"
            return
        fi
        local iconic
        for iconic in $(xdotool search --pid "$APP_PID" --name Quorvane 2>/dev/null); do
            window_iconic "$iconic" || continue
            ACTION="restore from the window list" AIMED=other
            xdotool windowactivate "$iconic" 2>/dev/null || true
            return
        done
        ACTION=nothing AIMED=tray
        return
    fi
    AIMED=other
    [[ $target == "$main_win" ]] && AIMED=main
    window_geometry "$target"
    x=$((WX + RANDOM % WW)) y=$((WY + RANDOM % WH))
    if ((r < 45)); then
        ACTION="click $x,$y"; click "$x" "$y"
    elif ((r < 60)); then
        ACTION="double click $x,$y"; double_click "$x" "$y"
    elif ((r < 65)); then
        local tx=$((x + RANDOM % 81 - 40)) ty=$((y + RANDOM % 81 - 40))
        ACTION="drag $x,$y to $tx,$ty"; drag "$x" "$y" "$tx" "$ty"
    else
        local keys=(Tab Tab Tab shift+Tab Return space Escape Delete alt+F4)
        local k=${keys[RANDOM % ${#keys[@]}]}
        ACTION="key $k"
        xdotool key --window "$target" "$k" 2>/dev/null || xdotool key "$k"
    fi
}

check() {
    local exited=
    reachable || fail "seed $seed step $steps ($ACTION on $AIMED): no window, no tray icon"
    if ! app_running; then
        wait_app_exit 1 || true
        [[ $APP_STATUS == 0 && $AIMED == main && $ACTION =~ ^(click|double|key) ]] ||
            fail "seed $seed step $steps ($ACTION on $AIMED): the program ended with status $APP_STATUS"
        exited=1
    fi
    local db
    for db in "$QV_DIR/BD/QV_Config.mdb" "$QV_DIR/BD/QV_Links.mdb"; do
        [[ $(integrity "$db") == ok ]] || fail "seed $seed step $steps ($ACTION): $db fails its check"
    done
    local rows
    rows=$(db_rows)
    if [[ $rows != "$ROWS" && $AIMED != other ]]; then
        diff <(echo "$ROWS") <(echo "$rows") >&2 || true
        fail "seed $seed step $steps ($ACTION on $AIMED): rows changed that no action asked to change"
    fi
    ROWS=$rows
    if [[ -n $exited ]]; then
        log "step $steps: ended through a close ($ACTION); starting again"
        restarts=$((restarts + 1))
        # The window manager acts on Alt+F4 while it is down; a press whose window went away
        # must not close the next window too.
        xdotool keyup alt F4 2>/dev/null || true
        sleep 0.3
        start_monkey_app
    fi
}

start_monkey_app
ROWS=$(db_rows)
end=$(($(now_ms) + seconds * 1000))
while (($(now_ms) < end)); do
    steps=$((steps + 1))
    step
    kinds[${ACTION%% *}]=$((${kinds[${ACTION%% *}]:-0} + 1))
    sleep 0.$((RANDOM % 4 + 1))
    check
    ((steps % 50)) || log "step $steps: $ACTION"
done
summary=
for k in "${!kinds[@]}"; do summary+=" $k=${kinds[$k]}"; done
echo "monkey: seed $seed, $steps steps, $restarts restarts after a close, no fault;$summary"
stop_app
