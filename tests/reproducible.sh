#!/usr/bin/env bash
# The Debian package is reproducible: two builds of the same sources through scripts/package.sh,
# in folders of other names and lengths, started at other times, under another time zone, locale
# and umask, give byte-identical .deb files (cmp). A difference is explained by diffoscope, whose
# report the failure prints (and keeps, with the packages, in the folder it names).
# Both builds compile from scratch (scripts/package.sh uses no compiler cache), so the check takes
# two full builds, and it is run by hand (before a release, after a change to the build), not by
# the suite:
#   tests/reproducible.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tmp=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-reproducible.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    trap - EXIT
    echo "the packages and logs stay in $tmp" >&2
    exit 1
}

build_once() { # <name> [VAR=value...]: one package build into $tmp/<name>
    local name=$1
    shift
    mkdir -p "$tmp/$name-work"
    env "$@" TMPDIR="$tmp/$name-work" QV_BUILD_DIR="$tmp/$name" "$root/scripts/package.sh" \
        >"$tmp/$name.log" 2>&1 || { tail -n 40 "$tmp/$name.log"; fail "package build $name"; }
    echo "ok: build $name: $(grep -o '[0-9]* s in all' "$tmp/$name.log")"
}

build_once first TZ=UTC LC_ALL=C.UTF-8
# A second later at the least, so that any clock that leaks into the package shows.
sleep 2
(umask 0002 && build_once second-in-a-longer-folder-name TZ=America/Sao_Paulo LC_ALL=C CCACHE_DISABLE=1)

shopt -s nullglob
debs=("$tmp"/first/*.deb)
((${#debs[@]} > 0)) || fail "the first build made no package"
for deb in "${debs[@]}"; do
    other=$tmp/second-in-a-longer-folder-name/$(basename "$deb")
    [[ -f $other ]] || fail "the second build made no $(basename "$deb")"
    if ! cmp "$deb" "$other"; then
        command -v diffoscope >/dev/null || fail "$(basename "$deb") differs (no diffoscope)"
        diffoscope --text "$tmp/diffoscope.txt" "$deb" "$other" >/dev/null 2>&1 || true
        head -n 80 "$tmp/diffoscope.txt" >&2
        fail "$(basename "$deb") differs between the builds (diffoscope: $tmp/diffoscope.txt)"
    fi
    echo "ok: $(basename "$deb") is the same in both builds ($(stat -c %s "$deb") bytes," \
        "sha256 $(sha256sum "$deb" | cut -c1-16)…)"
done
