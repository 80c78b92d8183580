#!/usr/bin/env bash
# Configures (RelWithDebInfo, Ninja) and builds into build/ (or $QV_BUILD_DIR): all targets, or
# the ones named as arguments.
# At most $QV_JOBS (default 2) compile jobs: a WebEngine build is heavy on memory.
# Developers' and CI's builds treat warnings as errors (QV_WERROR); a package build does not.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}

# A compiler cache, where one is installed, makes rebuilds and other checkouts' builds quick.
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_WERROR=ON "${launcher[@]}"
# Targets to build may be named (scripts/run.sh builds only the program); default: all.
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "${QV_JOBS:-2}" "${targets[@]}"
