#!/usr/bin/env bash
# Installs what is missing, builds, and starts the browser from build/quorvane/.
# Without a display it runs the browser for a few seconds in a virtual X server, saves a
# screenshot and prints where it is.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}
app=$build/quorvane/quorvane

"$root/scripts/deps.sh"
"$root/scripts/build.sh" quorvane

if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
    exec "$app"
fi

seconds=6
shot=$build/run-screenshot.png
echo "run: there is no display (DISPLAY is not set), so the browser runs for $seconds seconds"
echo "run: in a virtual X server (Xvfb with openbox) and a screenshot is taken."

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-run.XXXXXX")
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill -TERM "${pids[i]}" 2>/dev/null || true
    done
    for i in "${pids[@]}"; do wait "$i" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || { echo "run: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# openbox manages windows only after its start-up command has run.
openbox --startup "touch $work/ready" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [[ -e $work/ready ]] && break
    sleep 0.1
done
trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 \
    --transparent false >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

"$app" >"$work/quorvane.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
sleep "$seconds"
if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid" && status=0 || status=$?
    echo "run: the browser ended early (status $status); its output:" >&2
    cat "$work/quorvane.log" >&2
    exit 1
fi
import -window root "$shot"
echo "run: screenshot saved to $shot"
kill -TERM "$app_pid"
wait "$app_pid" 2>/dev/null || true
echo "run: browser stopped"
