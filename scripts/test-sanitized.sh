#!/usr/bin/env bash
# The sanitizer runs: the program and its unit tests built again with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-sanitize/ ($QV_SAN_BUILD_DIR), the unit tests run once
# there; then the libFuzzer targets (fuzz/) built by clang into build-fuzz/ ($QV_FUZZ_BUILD_DIR),
# each run for $QV_FUZZ_SECONDS (default 30) over its corpus. Exits non-zero if either fails.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
san=${QV_SAN_BUILD_DIR:-$root/build-sanitize}
fuzz=${QV_FUZZ_BUILD_DIR:-$root/build-fuzz}

"$root/scripts/deps.sh"
# Qt and the web engine keep memory until exit by design: leaks are not what these runs look for.
# The web engine's own Chromium code frees some objects through a base class of another size
# (new-delete-type-mismatch inside libQt6WebEngineCore, not in this program).
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:new_delete_type_mismatch=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
launcher=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
status=0

cmake -S "$root" -B "$san" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON -DQV_WERROR=ON "${launcher[@]}"
cmake --build "$san" -j "${QV_JOBS:-2}"
(cd "$san" && ctest --output-on-failure -L unit) || status=$?

cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DQV_FUZZ=ON -DQV_WERROR=ON -DQV_FUZZ_SECONDS="${QV_FUZZ_SECONDS:-30}" "${launcher[@]}"
cmake --build "$fuzz" -j "${QV_JOBS:-2}" --target fuzz_targets
(cd "$fuzz" && ctest --output-on-failure -L fuzz) || status=$?
exit "$status"
