#!/usr/bin/env bash
# Takes the README's pictures of the six windows from the real program under Xvfb:
#   tools/screenshots.sh [installdir] [outdir]
# Defaults: build/quorvane and docs/screenshots. Each picture is the window cut from the screen.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
installdir=$(realpath -m "${1:-$here/build/quorvane}")
SHOTS_OUT=${SHOTS_OUT:-$(realpath -m "${2:-$here/docs/screenshots}")}
export SHOTS_OUT
mkdir -p "$SHOTS_OUT"

if [[ ${SHOTS_IN_X:-0} != 1 ]]; then
    SHOTS_IN_X=1 exec "$here/tests/e2e/run-in-x.sh" "$(realpath "$0")" "$installdir"
fi

source "$here/tests/e2e/lib.sh"
# Saved sites and visited pages for the address window's suggestions.
links_sql "INSERT INTO Tabela1 (titulo1,url) VALUES ('Receitas da Vovó', 'https://receitas.example.com.br/vovo'),
           ('Rede Cultura ao vivo', 'https://rede.example.org/cultura')"
history_sql "CREATE TABLE Historico (id INTEGER PRIMARY KEY, url TEXT UNIQUE, titulo TEXT, visitas INTEGER, ultima INTEGER);
             INSERT INTO Historico (url,titulo,visitas,ultima) VALUES
             ('https://www.debian.org/releases/', 'Debian -- Releases', 12, 1765000000),
             ('https://pt.wikipedia.org/wiki/Receita', 'Receita – Wikipédia, a enciclopédia livre', 5, 1765100000),
             ('https://html.duckduckgo.com/html/?q=receita de pão', 'receita de pão at DuckDuckGo', 2, 1765200000),
             ('https://www.prefeitura.example.gov.br/', 'Prefeitura – Serviços ao cidadão', 1, 1765300000)"
# The window under the given twips, cut from the screen into the output folder.
keep() { # name x y w h
    import -window root -crop "$4x$5+$2+$3" +repage "$SHOTS_OUT/$1.png"
    log "saved $SHOTS_OUT/$1.png"
}
at() { echo $((WX + $1 / 15 + 8)) $((WY + $2 / 15 + 8)); }

start_app
main=$(wait_for_window "$QV_TITLE" 8) || fail "the main window did not appear"
window_geometry "$main"
sleep 3 # the home page is drawn
keep main "$WX" "$WY" 304 490

click $(at 2815 6840)
wait_for_no_window "$QV_TITLE" 3 2 || fail "the administration window did not replace the main window"
adm=$(visible_windows "$QV_TITLE")
window_geometry "$adm"
click $((WX + 100)) $((WY + 96 + 8 + 16))
sleep 0.5
keep admin "$WX" "$WY" 304 490

click $(at 3915 4980)
sleep 1
# The confirmation sits 525 and 1830 twips from the administration window's corner.
keep confirm $((WX + 35)) $((WY + 122)) 240 100
click $((WX + 35 + 2015 / 15 + 10)) $((WY + 122 + 930 / 15 + 5))
sleep 0.5

click $(at 3045 5000) # nothing typed: the notice says so
sleep 0.8
keep notice $((WX + 35)) $((WY + 122)) 240 100
sleep 3

click $(at 3900 145) # close: the main window comes back
wait_for_window "$QV_TITLE" 3 >/dev/null || fail "the main window did not come back"
sleep 1
click $(at 3565 6840)
sleep 1.5
keep about "$WX" "$WY" 304 490
click $(at 3900 145)
sleep 1.5
click $(at 3190 6840)
sleep 1.5
keep help "$WX" "$WY" 304 490
click $(at 3900 145)
sleep 1.5

main=$(wait_for_window "$QV_TITLE" 3) || fail "the main window did not come back"
xdotool windowactivate --sync "$main" key --clearmodifiers ctrl+l
goto=$(wait_for_window 'Quorvane - Ir para' 5) || fail "Ctrl+L opened no address window"
sleep 0.5
xdotool type --delay 60 're'
xdotool key Down
sleep 0.8
window_geometry "$goto"
keep goto "$WX" "$WY" "$WW" "$WH"
stop_app
