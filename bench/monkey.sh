#!/usr/bin/env bash
# The long run of the end-to-end monkey test: 30 minutes (MONKEY_SECONDS) of random input in a
# private X server, at low priority. Prints the seed, the steps and any fault.
# Usage: bench/monkey.sh [installdir]   (MONKEY_SEED=n repeats a run)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export MONKEY_SECONDS=${MONKEY_SECONDS:-1800}
exec nice -n 10 "$here/tests/e2e/run-in-x.sh" "$here/tests/e2e/test_monkey.sh" \
    "${1:-$here/build/quorvane}"
