#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test the browser, if any are missing:
#   deps.sh [build|run|test|package]...   (default: all four)
# Runs apt-get as root, or through sudo for an ordinary user.
set -euo pipefail

# Compiler, CMake, Qt, SQLite and libxml2 headers; the web engine's dictionary converter and the
# Brazilian Portuguese dictionary it turns into the spell checker's.
build_packages=(
    cmake ninja-build g++
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-svg-dev libgl-dev
    libsqlite3-dev libxml2-dev
    qt6-webengine-dev-tools hunspell-pt-br
)
# What the built program needs beside the libraries it links: Qt's platform plugins, the skin's
# font, xdg-open for opening sites and documents outside the program, and Qt's Portuguese texts.
run_packages=(
    qt6-qpa-plugins fonts-liberation xdg-utils qt6-translations-l10n
)
# End-to-end tests (X server, window manager, tray host, input and screenshots), the database
# tool, the validators of the desktop entry and the metainfo, the format check, and the fake
# desktop notification service (Python's D-Bus and GLib bindings).
test_packages=(
    clang-format
    xvfb openbox trayer xdotool imagemagick x11-utils
    sqlite3
    desktop-file-utils appstream
    dbus-daemon at-spi2-core python3-pyatspi python3-dbus python3-gi
    clang libclang-rt-14-dev # the fuzz targets (scripts/test-sanitized.sh)
)
# The Debian package (scripts/package.sh): debhelper and dpkg-buildpackage, fakeroot for a build
# as an ordinary user, lintian for the checks, and diffoscope (the small flavour) to explain a
# difference between two builds (tests/reproducible.sh).
package_packages=(
    debhelper dpkg-dev fakeroot lintian diffoscope-minimal
)

packages=()
for group in "${@:-build run test package}"; do
    for g in $group; do
        case $g in
        build) packages+=("${build_packages[@]}") ;;
        run) packages+=("${run_packages[@]}") ;;
        test) packages+=("${test_packages[@]}") ;;
        package) packages+=("${package_packages[@]}") ;;
        *) echo "deps: unknown group '$g' (build, run, test or package)" >&2; exit 2 ;;
        esac
    done
done

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
