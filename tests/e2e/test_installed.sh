#!/usr/bin/env bash
# The installed program, run by an ordinary user from a prefix it cannot write: its databases go
# to $XDG_DATA_HOME/quorvane/BD/, seeded from the shipped ones, and a saved site lands there. A
# data folder that cannot be made stops the start with a message naming it and status 1.
# As root (CI) the program runs as nobody with a home made here.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

prefix=$E2E_DIR/prefix
cmake --install "$(dirname "$QV_INSTALL")" --prefix "$prefix" >"$E2E_DIR/install.log"
home=$E2E_DIR/user
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
if (($(id -u) == 0)); then
    chmod 711 "$E2E_DIR"
    chown -R nobody "$home"
    as_user=(runuser -u nobody --)
else
    chmod -R a-w "$prefix"
    trap 'chmod -R u+w "$prefix"' EXIT
    as_user=()
fi
run_installed() { # [VAR=value...]: starts bin/quorvane as the user, in the background
    "${as_user[@]}" env HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" \
        XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/runtime" "$@" \
        "$prefix/bin/quorvane" >>"$E2E_DIR/app.log" 2>&1 &
    APP_PID=$!
    log "started $prefix/bin/quorvane as ${as_user[2]:-$(id -un)} (pid $APP_PID)"
}
user_db=$home/data/quorvane/BD/QV_Links.mdb

# ---- an unusable $XDG_DATA_HOME: a message that names the folder, and status 1 -----------------
touch "$E2E_DIR/not-a-folder"
run_installed XDG_DATA_HOME="$E2E_DIR/not-a-folder"
box=$(wait_for_window "$QV_TITLE" 8) || fail "no message for an unusable data folder"
shot bad-data-home.png
grep -qF "pasta de dados \"$E2E_DIR/not-a-folder/quorvane/BD/\"" "$E2E_DIR/app.log" ||
    fail "the message does not name the folder"
xdotool windowactivate --sync "$box" key Return
wait_app_exit 5 || fail "the program did not end after the message"
assert_eq 1 "$APP_STATUS" "exit status with an unusable data folder"

# ---- a site saved through the administration window goes to the per-user folder --------------
run_installed
main=$(wait_for_window "$QV_TITLE" 10) || fail "the installed program did not show its main window"
window_geometry "$main"
[[ -f $user_db && -f $home/data/quorvane/BD/QV_Config.mdb ]] || fail "the per-user folder was not seeded"
log "ok: per-user folder seeded: $(ls "$home/data/quorvane/BD" | tr '\n' ' ')"
sleep 1
shot installed-main.png
click $((WX + 2815 / 15 + 8)) $((WY + 6840 / 15 + 8))
wait_for_no_window "$QV_TITLE" 3 2 || fail "the administration window did not take the main window's place"
adm=$(visible_windows "$QV_TITLE")
window_geometry "$adm"
click $((WX + 150)) $((WY + 273))
xdotool type --delay 20 "Salvo pelo usuario"
click $((WX + 150)) $((WY + 314))
xdotool type --delay 20 "https://exemplo.invalid/"
click $((WX + 3045 / 15 + 9)) $((WY + 5000 / 15 + 9))
wait_for_window 'Quorvane - Aviso' 3 >/dev/null || fail "no notice after inserting"
shot installed-insert.png
assert_eq 1 "$(sqlite3 "$user_db" "SELECT count(*) FROM Tabela1 WHERE titulo1='Salvo pelo usuario'")" \
    "the new site in the per-user QV_Links.mdb"
cmp -s "$(dirname "$QV_INSTALL")/assets/shipped/QV_Links.mdb" "$prefix/lib/quorvane/BD/QV_Links.mdb" ||
    fail "the installed QV_Links.mdb changed"
log "ok: the installed databases are untouched"
