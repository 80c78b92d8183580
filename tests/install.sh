#!/usr/bin/env bash
# The installed tree and the Debian package:
#   install.sh <build-dir> <application-id> <version>
# Installs into a temporary prefix and checks the tree (the installation folder as a unit, the
# link in bin/, the icons, untouched shipped databases, a reinstall keeping an existing one),
# validates the desktop entry and the metainfo, builds the Debian package through
# scripts/package.sh (which runs lintian) and checks its contents.
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
installed=("${files[@]}" share/man/man1/quorvane.1)
for size in 16 24 32 48 64 128 256; do
    files+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
for f in "${installed[@]}"; do
    [[ -s $prefix/$f ]] || fail "missing in the installed tree: $f"
done
ok "${#installed[@]} files in place"
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
# --strict: an issue above the pedantic hints (a warning, an info) fails too.
appstreamcli validate --no-net --strict "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
ok "desktop entry and metainfo validate"

# The desktop entry makes the program the default web browser, for a user of no particular
# desktop (xdg-settings' generic way: mimeapps.list), in folders of this test's own.
(
    unset BROWSER XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
    export XDG_CONFIG_HOME=$tmp/xdg-config XDG_DATA_HOME=$tmp/xdg-data XDG_DATA_DIRS=$prefix/share
    export PATH=$prefix/bin:$PATH
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
    xdg-settings set default-web-browser "$id.desktop" || fail "xdg-settings set default-web-browser"
    [[ $(xdg-settings check default-web-browser "$id.desktop") == yes ]] ||
        fail "xdg-settings does not take $id.desktop for the default browser"
    for type in x-scheme-handler/http x-scheme-handler/https text/html; do
        [[ $(xdg-mime query default "$type") == "$id.desktop" ]] || fail "default for $type"
    done
)
ok "xdg-settings makes $id.desktop the default web browser"

# The Debian package, built by scripts/package.sh (in a copy of the source tree; lintian must
# find no error and no warning) into a folder of this test's own.
QV_BUILD_DIR=$tmp/pkg "$(dirname "$0")/../scripts/package.sh" >"$tmp/package.log" 2>&1 ||
    { cat "$tmp/package.log"; fail "scripts/package.sh"; }
grep '^package:' "$tmp/package.log"
deb=$tmp/pkg/quorvane_${version}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $(basename "$deb") (the package build made: $(ls "$tmp/pkg"))"
dpkg-deb -c "$deb" | awk '{print $6}' >"$tmp/contents"
# The package keeps the folders beside the executable in /usr/share/quorvane/, with links to them.
packaged=("${files[@]/#lib\/quorvane\/BD/share/quorvane/BD}")
packaged=("${packaged[@]/#lib\/quorvane\/Web/share/quorvane/Web}")
packaged=("${packaged[@]/#lib\/quorvane\/ReadMe/share/quorvane/ReadMe}")
for f in usr/bin/quorvane "${packaged[@]/#/usr/}" usr/lib/quorvane/{BD,Web,ReadMe} \
    usr/share/man/man1/quorvane.1.gz usr/share/doc/quorvane/copyright \
    usr/share/doc/quorvane/changelog.gz; do
    grep -qx "./$f" "$tmp/contents" || fail "missing in the package: $f"
done
for d in BD Web ReadMe; do
    [[ $(dpkg-deb -c "$deb" | awk -v f="./usr/lib/quorvane/$d" '$6 == f {print $8}') == \
        "../../share/quorvane/$d" ]] || fail "usr/lib/quorvane/$d is not a link to share/quorvane/$d"
done
ok "$(basename "$deb"): $(wc -l <"$tmp/contents") entries"
depends=$(dpkg-deb -f "$deb" Depends)
for p in xdg-utils libqt6webenginecore6 libsqlite3-0; do
    [[ $depends == *"$p"* ]] || fail "the package does not depend on $p: $depends"
done
ok "Depends: $depends"

# The package offers itself as x-www-browser and gnome-www-browser at priority 30 and takes the
# offer back when removed: its own scripts, run against the unpacked package with
# update-alternatives kept in a root of this test's own.
root=$tmp/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -e "$deb" "$tmp/control"
mkdir -p "$root/var/lib/dpkg/alternatives" "$root/etc/alternatives" "$tmp/alt-bin"
printf '#!/bin/sh\nexec /usr/bin/update-alternatives --root "%s" "$@"\n' "$root" >"$tmp/alt-bin/update-alternatives"
chmod +x "$tmp/alt-bin/update-alternatives"
alternatives() { PATH=$tmp/alt-bin:$PATH "$@"; }
alternatives "$tmp/control/postinst" configure >/dev/null || fail "postinst configure"
for name in x-www-browser gnome-www-browser; do
    alternatives update-alternatives --query "$name" | grep -qx 'Priority: 30' ||
        fail "no $name alternative of priority 30 after postinst"
    [[ $(readlink "$root/usr/bin/$name") == /etc/alternatives/$name &&
        $(readlink "$root/etc/alternatives/$name") == /usr/bin/quorvane ]] ||
        fail "/usr/bin/$name does not lead to /usr/bin/quorvane"
done
alternatives "$tmp/control/prerm" upgrade >/dev/null || fail "prerm upgrade"
alternatives update-alternatives --query x-www-browser >/dev/null || fail "an upgrade removed the alternative"
alternatives "$tmp/control/prerm" remove >/dev/null || fail "prerm remove"
for name in x-www-browser gnome-www-browser; do
    ! alternatives update-alternatives --query "$name" >/dev/null 2>&1 ||
        fail "the $name alternative stayed after prerm remove"
done
ok "postinst offers x-www-browser and gnome-www-browser at priority 30, prerm takes them back"
