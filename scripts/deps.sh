#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the browser, if any are missing.
# Runs apt-get as root, or through sudo for an ordinary user.
set -euo pipefail

packages=(
    cmake ninja-build g++
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-svg-dev libqt6svg6
    libsqlite3-dev sqlite3 libgl-dev
    fonts-liberation poppler-utils
    xvfb xauth openbox trayer xdotool imagemagick x11-utils
    clang libclang-rt-14-dev # the sanitized build and the fuzz targets (scripts/test-sanitized.sh)
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [[ $status == installed ]] || missing+=("$p")
done
((${#missing[@]} == 0)) && exit 0

echo "deps: installing ${missing[*]}"
if ! command -v apt-get >/dev/null; then
    echo "deps: apt-get not found; install these packages by hand: ${missing[*]}" >&2
    exit 1
fi
if (($(id -u) == 0)); then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "deps: not root and no sudo; as root run: apt-get install ${missing[*]}" >&2
    exit 1
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
