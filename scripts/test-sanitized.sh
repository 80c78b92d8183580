#!/usr/bin/env bash
# The second build: everything compiled by clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, plus the libFuzzer targets (fuzz/), into build-sanitize/ (or
# $QV_SAN_BUILD_DIR). Runs the unit tests once under the sanitizers and each fuzz target for
# $QV_FUZZ_SECONDS (default 30) over its corpus. Exits with ctest's status.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QV_SAN_BUILD_DIR:-$root/build-sanitize}

"$root/scripts/deps.sh"
# Qt and the web engine keep memory until exit by design: leaks are not what this run looks for.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DQV_FUZZ=ON -DQV_FUZZ_SECONDS="${QV_FUZZ_SECONDS:-30}" "${launcher[@]}"
cmake --build "$build" -j "${QV_JOBS:-2}"
cd "$build"
ctest --output-on-failure -L 'unit|fuzz' "$@"
