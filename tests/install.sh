#!/usr/bin/env bash
# The installed tree and the Debian package:
#   install.sh <build-dir> <application-id> <version>
# Installs into a temporary prefix and checks the tree (the installation folder as a unit, the
# link in bin/, the icons, untouched shipped databases, a reinstall keeping an existing one),
# validates the desktop entry and the metainfo, builds the package and checks its contents.
set -euo pipefail
build=$(realpath "${1:?usage: install.sh <build-dir> <application-id> <version>}")
id=${2:?} version=${3:?}
tmp=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-install.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install"; }
files=(lib/quorvane/quorvane lib/quorvane/BD/QV_Config.mdb lib/quorvane/BD/QV_Links.mdb
    lib/quorvane/Web/index.htm lib/quorvane/Web/erro404.htm
    lib/quorvane/ReadMe/ReadMe_Licenca-de-utilizacao.pdf lib/quorvane/qtwebengine_dictionaries/pt_BR.bdic
    share/applications/$id.desktop share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg)
for size in 16 24 32 48 64 128 256; do
    files+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for f in "${files[@]}"; do
    [[ -s $prefix/$f ]] || fail "missing in the installed tree: $f"
done
ok "${#files[@]} files in place"
for size in 16 24 32 48 64 128 256; do
    got=$(identify -format '%m %wx%h' "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png")
    [[ $got == "PNG ${size}x$size" ]] || fail "icon ${size}x$size is '$got'"
done
ok "icons are PNG at their sizes"
[[ -L $prefix/bin/quorvane && $(realpath "$prefix/bin/quorvane") == "$prefix/lib/quorvane/quorvane" ]] ||
    fail "bin/quorvane does not lead to lib/quorvane/quorvane"
ok "bin/quorvane -> $(readlink "$prefix/bin/quorvane")"
for db in QV_Config QV_Links; do
    cmp -s "$build/assets/shipped/$db.mdb" "$prefix/lib/quorvane/BD/$db.mdb" ||
        fail "the installed $db.mdb is not the shipped one"
done
[[ $(ls "$prefix/lib/quorvane/BD") == $'QV_Config.mdb\nQV_Links.mdb' ]] ||
    fail "BD/ holds more than the two databases: $(ls "$prefix/lib/quorvane/BD")"
ok "installed databases are the shipped ones"

# A reinstall over an installation folder in use keeps its databases.
sqlite3 "$prefix/lib/quorvane/BD/QV_Links.mdb" "INSERT INTO Tabela1 (titulo1, url) VALUES ('kept', 'k')"
cmake --install "$build" --prefix "$prefix" >"$tmp/reinstall.log"
[[ $(sqlite3 "$prefix/lib/quorvane/BD/QV_Links.mdb" "SELECT count(*) FROM Tabela1 WHERE titulo1='kept'") == 1 ]] ||
    fail "a reinstall replaced an existing database"
ok "a reinstall keeps an existing database"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
grep -qx "StartupWMClass=Quorvane" "$prefix/share/applications/$id.desktop" || fail "StartupWMClass"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
ok "desktop entry and metainfo validate"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/pkg" >"$tmp/cpack.log" || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$tmp/pkg/quorvane_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $(basename "$deb") (cpack made: $(ls "$tmp/pkg"))"
dpkg-deb -c "$deb" | awk '{print $6}' >"$tmp/contents"
for f in usr/bin/quorvane "${files[@]/#/usr/}"; do
    grep -qx "./$f" "$tmp/contents" || fail "missing in the package: $f"
done
ok "$(basename "$deb"): $(wc -l <"$tmp/contents") entries"
depends=$(dpkg-deb -f "$deb" Depends)
for p in xdg-utils libqt6webenginecore6 libsqlite3-0; do
    [[ $depends == *"$p"* ]] || fail "the package does not depend on $p: $depends"
done
ok "Depends: $depends"
