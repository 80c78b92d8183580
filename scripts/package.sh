#!/usr/bin/env bash
# Builds the Debian package (debian/) with dpkg-buildpackage -us -uc -b and checks it with lintian
# (no error, no warning); leaves quorvane_<version>_<arch>.deb, its -dbgsym package, the .changes
# and the .buildinfo in build/ (or $QV_BUILD_DIR). Installs the build dependencies first.
#
# The build runs in a copy of the source tree in a temporary folder, so the tree stays clean: the
# files git knows (tracked and new, not ignored) as they are in the working tree; outside a git
# checkout, everything but the build folders. QV_PACKAGE_KEEP=1 keeps the copy and its log.
# DEB_BUILD_OPTIONS gets parallel=$QV_JOBS (default 2) unless it says otherwise.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QV_BUILD_DIR:-$root/build}
start=$SECONDS

"$root/scripts/deps.sh" build run package

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-package.XXXXXX")
if [[ ${QV_PACKAGE_KEEP:-} == 1 ]]; then
    echo "package: the copy stays in $work"
else
    trap 'rm -rf "$work"' EXIT
fi
src=$work/quorvane
mkdir -p "$src"
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # A tracked file deleted in the working tree is left out, not an error.
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        tar -C "$root" --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$src" -xf -
else
    tar -C "$root" --exclude='./build*' --exclude='./obj-*' -cf - . | tar -C "$src" -xf -
fi

version=$(dpkg-parsechangelog -l "$src/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
name=quorvane_${version}_$arch

# No compiler cache: with a base folder, ccache hands the compiler relative names
# ("../../src/x.cpp") where an uncached build names "./src/x.cpp" after -ffile-prefix-map, so the
# debug information, and with it the build id of the stripped program, would differ from a
# distribution's build; without one, the copy's new folder would never hit the cache anyway.
unset CMAKE_CXX_COMPILER_LAUNCHER
[[ ${DEB_BUILD_OPTIONS:-} == *parallel=* ]] ||
    export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }parallel=${QV_JOBS:-2}"

echo "package: building $name.deb in $src (log: $work/$name.build)"
if ! (cd "$src" && dpkg-buildpackage -us -uc -b) >"$work/$name.build" 2>&1; then
    tail -n 60 "$work/$name.build" >&2
    echo "package: dpkg-buildpackage failed; the whole log is $work/$name.build" >&2
    trap - EXIT
    exit 1
fi

mkdir -p "$build"
made=()
for f in "$work"/*.deb "$work/$name.changes" "$work/$name.buildinfo"; do
    cp "$f" "$build/"
    made+=("$build/$(basename "$f")")
done
printf 'package: %s\n' "${made[@]}"

# The .changes names every package of the build: lintian checks them all with it.
lintian --fail-on error,warning --info "$build/$name.changes"
echo "package: lintian found no error and no warning; $((SECONDS - start)) s in all"
