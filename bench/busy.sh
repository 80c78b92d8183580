#!/usr/bin/env bash
# A load beside the test suite, as a busy desktop gives it: busy.sh [workers] -- command...
# Starts <workers> (default: the number of cores) processes that spin the CPU, runs the command,
# stops them, and exits with the command's status. Used to check that no test leans on timing:
#   bench/busy.sh 4 -- scripts/test.sh
set -euo pipefail
workers=${1:-$(nproc)}
[[ ${2:-} == -- ]] || { echo "usage: busy.sh [workers] -- command..." >&2; exit 2; }
shift 2
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
for _ in $(seq "$workers"); do
    (while :; do :; done) &
    pids+=($!)
done
echo "busy: $workers spinning processes beside: $*" >&2
status=0
"$@" || status=$?
exit "$status"
