#!/usr/bin/env bash
# Over the accessibility bus (AT-SPI): image buttons are push buttons named by their trimmed
# tooltips, the administration window's boxes and list have names, and neither the hidden
# carrier labels ("0", "index.htm") nor decorative pictures are shown to assistive technology.
set -euo pipefail
if [[ -z ${QV_A11Y_BUS:-} ]]; then
    export QV_A11Y_BUS=1
    exec dbus-run-session -- "$0" "$@"
fi
source "$(dirname "$0")/lib.sh"

start_atspi
sleep 0.5

tree() { /usr/bin/python3 "$(dirname "$0")/atspi_tree.py" quorvane >"$E2E_DIR/$1" 2>&1 ||
    fail "no tree over AT-SPI: $(cat "$E2E_DIR/$1")"; }
# A tree read while the window is still being built may lack names: read it again until the
# name is there or the deadline passes.
tree_has() { grep -qP "$2" "$E2E_DIR/$1" || { tree "$1"; grep -qP "$2" "$E2E_DIR/$1"; }; }
has() { wait_until 10 tree_has "$1" "$2" || fail "$3 (tree in $E2E_DIR/$1)"; log "ok: $3"; }
hasnt() { ! grep -qP "$2" "$E2E_DIR/$1" || fail "$3: $(grep -P "$2" "$E2E_DIR/$1" | head -n3)"; log "ok: $3"; }

start_app
win=$(wait_for_window "$QV_TITLE" 15) || fail "the main window did not appear"
sleep 1
tree main.txt
for name in 'Início' 'Retornar' 'Avançar' 'Administração' 'Ajuda' 'Sobre o Quorvane' \
    'Conheça o meu site e o meu trabalho' 'Minimizar' 'Minimizar para o Tray' 'Fechar'; do
    has main.txt "\tpush button\t$name\t" "the button \"$name\""
done
hasnt main.txt '\t(label|static)\t(0|index\.htm)\t' "carrier labels are not shown"
hasnt main.txt '\t(image|icon|unknown|panel|label)\t\t' "no unnamed pictures, shapes or labels"

window_geometry "$win"
click $((WX + (2815 + 120) / 15)) $((WY + (6840 + 120) / 15))
wait_for_window "$QV_TITLE" 3 2 >/dev/null || true
sleep 1
tree admin.txt
has admin.txt '\ttext\tTítulo\t' 'the title box is named'
has admin.txt '\ttext\tURL \(site\)\t' 'the address box is named'
has admin.txt '\tlist\tSites salvos\t' 'the list is named'
has admin.txt '\tpush button\tDeletar item\t' 'the delete button is named'
stop_app
