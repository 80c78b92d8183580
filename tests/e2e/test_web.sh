#!/usr/bin/env bash
# Everyday browsing against a local web server: downloads arrive whole in the download folder
# under a free name, with a notice, and bad ones leave nothing behind; a PDF shows in the view;
# basic authentication asks in the login window (Escape gives the server's 401 page, three
# wrong answers end the asking); mailto: reaches the default handler after a click, ssh: only
# after "SIM", and never when a page navigates on its own; every request says Sec-GPC: 1.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

NOTICE='Quorvane - Aviso'
LOGIN='Quorvane - Autenticação'
set_download_dir
start_httpd
fake_default_handler
config_sql "UPDATE Tabela1 SET left=1500, top=1200, homeURL='$HTTP/links' WHERE id=1"

requests() { grep -c "^GET $1 ${2:-.}\$" "$HTTP_LOG" || true; }
wait_request() { # path [authorized]
    local deadline=$(($(now_ms) + 10000 * E2E_PATIENCE))
    until (($(requests "$@") > 0)); do
        (($(now_ms) < deadline)) || fail "the server never saw $1"
        sleep 0.05
    done
}
# Link n of the links page: 40-pixel blocks from the top of the browser area.
click_link() { click $((MX + 22 + 130)) $((MY + 66 + 10 + 40 * $1)); }
go_home() {
    local loads
    loads=$(trace_count "WebBrowser2 DocumentComplete")
    click $((MX + 31)) $((MY + 52))
    wait_trace_count "WebBrowser2 DocumentComplete" "$loads"
}
opened_lines() { [[ -s $OPENED ]] && (($(wc -l <"$OPENED") >= $1)); }

start_app
win=$(wait_for_window "$QV_TITLE" 10) || fail "the main window did not appear"
window_geometry "$win"
MX=$WX MY=$WY
wait_request /links
wait_page_drawn links.png || fail "the links page was not drawn"
grep -qx "GPC /links" "$HTTP_LOG" || fail "the page's request did not carry Sec-GPC: 1"

# ---- downloads ------------------------------------------------------------------------------
python3 -c "import urllib.request,sys; sys.stdout.buffer.write(urllib.request.urlopen('$HTTP/file/normal').read())" >"$E2E_DIR/expected.txt"
click_link 0
expect_notice download-done
cmp "$DL/relatorio.txt" "$E2E_DIR/expected.txt" || fail "the download did not arrive whole"
click_link 0
expect_notice download-again
cmp "$DL/relatorio (1).txt" "$E2E_DIR/expected.txt" || fail "the second download is not 'relatorio (1).txt'"
for n in 1 2 3; do
    click_link $n
    expect_notice "download-bad-$n"
done
assert_eq "fora.txt relatorio (1).txt relatorio.txt" "$(ls -A "$DL" | sort | paste -sd' ')" \
    "download folder after an empty, a cut and a hostile download"
[[ -z $(find "$E2E_DIR" -name 'fora*' -not -path "$DL/*") ]] || fail "a file was written outside the download folder"

# ---- PDF in the view ------------------------------------------------------------------------
click_link 4
wait_request /doc.pdf
sleep 3
shot pdf.png
assert_eq 0 "$(count_windows "$NOTICE")" "notices after opening a PDF"
assert_eq 3 "$(ls -A "$DL" | wc -l)" "files in the download folder after opening a PDF"
go_home

# ---- basic authentication -------------------------------------------------------------------
click_link 5
id=$(wait_for_window "$LOGIN" 10) || fail "no login window"
sleep 0.3
window_geometry "$id"
LX=$WX LY=$WY
shot login.png
xdotool key Escape
wait_for_no_window "$LOGIN" 5 || fail "Escape did not close the login window"
expect_page CC0000 "page after Escape (the server's 401 page)"
go_home
click_link 5
wait_for_window "$LOGIN" 10 >/dev/null || fail "no login window the second time"
click $((LX + 100)) $((LY + 58))
xdotool type maria
click $((LX + 100)) $((LY + 87))
xdotool type segredo
shot login-filled.png
xdotool key Return
wait_request /auth/basic 1
expect_page 00CC00 "page after a right login"
go_home
click_link 6
for n in 1 2 3; do
    wait_for_window "$LOGIN" 10 >/dev/null || fail "no login window for wrong answer $n"
    sleep 0.3
    click $((LX + 100)) $((LY + 58))
    xdotool type "errado$n"
    xdotool key Return
    for _ in $(seq 100); do (($(requests /cofre) > n)) && break; sleep 0.05; done
done
sleep 2
assert_eq 0 "$(count_windows "$LOGIN")" "login windows after three wrong answers"
assert_eq 4 "$(requests /cofre)" "requests for an address that refuses every login"
expect_page CC0000 "page after three wrong answers"
go_home

# ---- other schemes --------------------------------------------------------------------------
click_link 7
wait_until 10 opened_lines 1 || true
assert_eq 'mailto:ana@example.com?subject=Oi' "$(cat "$OPENED")" "what the default handler got"
click_link 8
id=$(wait_for_window "$NOTICE" 10) || fail "no question for ssh:"
sleep 0.3
window_geometry "$id"
assert_eq 233x113 "${WW}x$WH" "question size"
shot question.png
xdotool key Escape
wait_for_no_window "$NOTICE" 5 || fail "Escape did not close the question"
sleep 1
assert_eq 1 "$(wc -l <"$OPENED")" "handler calls after NÃO"
click_link 8
wait_for_window "$NOTICE" 10 >/dev/null || fail "no question for ssh: the second time"
sleep 0.3
xdotool key Return
wait_until 10 opened_lines 2 || true
assert_eq 'ssh://servidor.example/' "$(tail -n1 "$OPENED")" "what the default handler got after SIM"
click_link 9
wait_request /auto
sleep 3.5
assert_eq 0 "$(count_windows "$NOTICE")" "questions after a page sent itself to ssh:"
assert_eq 2 "$(wc -l <"$OPENED")" "handler calls after a page sent itself to ssh:"
shot end.png
