#!/usr/bin/env bash
# Runs one end-to-end test script in a private X session:
#   run-in-x.sh <test-script> <installdir>
# Xvfb on a free display, openbox as window manager and (unless the script carries the line
# "# e2e: no-tray" or E2E_NO_TRAY=1 is set) trayer as tray host. The script gets a copy of the
# installation folder, so that it never changes the build's databases, and a temp dir for its
# screenshots. The temp dir is kept when the test fails (or when E2E_KEEP=1) and its path printed.
set -euo pipefail

script=$(realpath "${1:?usage: run-in-x.sh <test-script> <installdir>}")
installdir=$(realpath "${2:?usage: run-in-x.sh <test-script> <installdir>}")
[[ -x $installdir/quorvane ]] || { echo "run-in-x: no executable in $installdir" >&2; exit 2; }

for tool in Xvfb openbox trayer xdotool xprop xwininfo import compare sqlite3; do
    command -v "$tool" >/dev/null || { echo "run-in-x: $tool is missing (scripts/deps.sh installs it)" >&2; exit 2; }
done

if grep -q '^# e2e: no-tray' "$script"; then
    E2E_NO_TRAY=1
fi
E2E_NO_TRAY=${E2E_NO_TRAY:-0}

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-e2e.XXXXXX")
pids=()
status=1

cleanup() {
    local pid
    # The test's own processes first (its program runs in its own process group), then the session.
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        pid=${pids[i]}
        kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
    done
    sleep 0.3
    for pid in "${pids[@]}"; do
        kill -KILL -- "-$pid" 2>/dev/null || kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [[ $status -eq 0 && ${E2E_KEEP:-0} != 1 ]]; then
        rm -rf "$work"
    else
        echo "run-in-x: screenshots and logs kept in $work" >&2
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A free display chosen by the server itself.
exec 3>"$work/display"
setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || { echo "run-in-x: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }
export DISPLAY=":$(head -n1 "$work/display")"
# The program is to use this X server, whatever platform the caller had chosen.
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# openbox says it runs before it manages windows: wait for its start-up command.
setsid openbox --startup "touch $work/openbox-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [[ -e $work/openbox-ready ]] && break
    sleep 0.1
done
[[ -e $work/openbox-ready ]] || { echo "run-in-x: openbox did not start" >&2; exit 2; }

if [[ $E2E_NO_TRAY != 1 ]]; then
    setsid trayer --edge bottom --align right --widthtype pixel --width 120 --height 24 \
        --transparent false >"$work/trayer.log" 2>&1 &
    pids+=($!)
    # The tray is usable once it owns the tray selection.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 &&
            xdotool search --name '^panel$' >/dev/null 2>&1 && break
        sleep 0.1
    done
fi

# The per-test installation, and private folders for the web engine's profile.
cp -a "$installdir" "$work/install"
# A program running from the build's folder must not make the copy look in use.
rm -f "$work/install/BD/quorvane.lock"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
export QV_INSTALL=$installdir
export QV_APP=$work/install/quorvane
export E2E_DIR=$work
export E2E_NO_TRAY
export XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
export XDG_CACHE_HOME=$work/home/cache XDG_RUNTIME_DIR=$work/runtime
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}

echo "run-in-x: $(basename "$script") on DISPLAY=$DISPLAY, tray: $([[ $E2E_NO_TRAY == 1 ]] && echo no || echo trayer)"
# In its own process group, so that whatever the test started is ended with it.
setsid bash "$script" &
pids+=($!)
set +e
wait "${pids[-1]}"
status=$?
set -e
echo "run-in-x: $(basename "$script") exited with $status"
exit "$status"
