#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (unit tests offscreen,
# end-to-end tests in a private Xvfb). Exits with ctest's status.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}

"$root/scripts/deps.sh"
"$root/scripts/build.sh"
cd "$build"
status=0
ctest --output-on-failure "$@" || status=$?
exit "$status"
