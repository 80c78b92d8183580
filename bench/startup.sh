#!/usr/bin/env bash
# Measures the browser as a user runs it, in a private X server (Xvfb + openbox):
#   - time from start until the main window is mapped, and until the home page is drawn;
#   - memory of the whole process tree (PSS, so shared pages count once; and RSS);
#   - CPU used by the idle program (hover timers running) over IDLE seconds.
# Usage: bench/startup.sh [installdir] [idle-seconds]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
install=${1:-$here/build/quorvane}
idle=${2:-60}
work=$(mktemp -d)
cp -a "$install" "$work/quorvane"
rm -f "$work/quorvane/BD/quorvane.lock"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
cleanup() { kill "${app:-}" "$ob" "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
sleep 0.5
openbox --startup "touch $work/ob.ready" >/dev/null 2>&1 &
ob=$!
for _ in $(seq 100); do [ -f "$work/ob.ready" ] && break; sleep 0.05; done

now() { date +%s.%N; }
tree() { # the program and all its descendants
  local p=$1; echo "$p"
  for c in $(pgrep -P "$p" || true); do tree "$c"; done
}

start=$(now)
"$work/quorvane/quorvane" >"$work/log" 2>&1 &
app=$!
mapped=""
for _ in $(seq 200); do
  if xdotool search --onlyvisible --name '^Maravel Quorvane$' >/dev/null 2>&1; then mapped=$(now); break; fi
  sleep 0.02
done
[ -n "$mapped" ] || { echo "window never appeared"; cat "$work/log"; exit 1; }
geo=$(xdotool search --onlyvisible --name '^Maravel Quorvane$' getwindowgeometry | awk '/Position/{print $2}')
x=${geo%,*}; y=${geo#*,}
# The page is drawn once the browser area holds more than the black skin.
drawn=""
for _ in $(seq 300); do
  colors=$(import -window root -crop 260x380+$((x + 22))+$((y + 66)) +repage png:- 2>/dev/null \
             | convert png:- -format %k info: 2>/dev/null || echo 0)
  if [ "${colors:-0}" -gt 20 ]; then drawn=$(now); break; fi
  sleep 0.05
done
echo "window mapped after:   $(echo "$mapped - $start" | bc) s"
[ -n "$drawn" ] && echo "home page drawn after: $(echo "$drawn - $start" | bc) s (first show is delayed 1 s by design)"
sleep 2
pss=0; rss=0
for p in $(tree "$app"); do
  [ -r /proc/$p/smaps_rollup ] || continue
  pss=$((pss + $(awk '/^Pss:/{print $2}' /proc/$p/smaps_rollup)))
  rss=$((rss + $(awk '/^Rss:/{print $2}' /proc/$p/smaps_rollup)))
done
echo "processes:             $(tree "$app" | wc -l)"
echo "memory (PSS):          $((pss / 1024)) MiB   (RSS sum $((rss / 1024)) MiB)"
ticks() { local t=0; for p in $(tree "$app"); do
  [ -r /proc/$p/stat ] && t=$((t + $(awk '{print $14 + $15}' /proc/$p/stat))); done; echo $t; }
hz=$(getconf CLK_TCK)
t0=$(ticks); sleep "$idle"; t1=$(ticks)
echo "idle CPU over ${idle}s:  $(echo "scale=2; 100 * ($t1 - $t0) / $hz / $idle" | bc) % of one core"
