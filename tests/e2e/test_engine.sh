#!/usr/bin/env bash
# The engine's behaviour in the one view, against pages of our own: a local page that cannot
# read other local files, permissions refused at once, the languages asked for, new-window links
# as pages of their own, full screen and back, the load line during a slow response, and the browser keys.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

# ---- a small server: pages by path, every request logged, the slow one held half-way ---------
cat >"$E2E_DIR/server.py" <<'PY'
import sys, time, http.server
PAGES = {
    "/start": ("#00A000", '<a href="/second" target="_blank" style="display:block;height:150px">novo</a>'
               '<div id="fs" style="height:180px;margin-top:50px" '
               'onclick="document.fullscreenElement ? document.exitFullscreen() '
               ': document.documentElement.requestFullscreen()">tela cheia</div>'
               "<script>const r=(k,v)=>fetch('/report?'+k+'='+v);"
               "navigator.geolocation.getCurrentPosition(()=>r('geo','granted'),e=>r('geo','refused'+e.code));"
               "Notification.requestPermission().then(p=>r('notify',p));</script>"),
    "/second": ("#A00000", '<a href="/slow" style="display:block;height:350px">lento</a>'),
    "/slow": ("#0000A0", "lento"),
}
class H(http.server.BaseHTTPRequestHandler):
    def log_message(self, *a): pass
    def do_GET(self):
        with open(sys.argv[2], "a") as log:
            log.write("%s\nlanguage %s\n" % (self.path, self.headers.get("Accept-Language")))
        colour, body = PAGES.get(self.path.split("?")[0], ("#000", ""))
        page = ('<!DOCTYPE html><html><body style="margin:0;background:%s">%s</body></html>'
                % (colour, body)).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Cache-Control", "no-store")
        self.send_header("Content-Length", str(len(page)))
        self.end_headers()
        if self.path == "/slow":
            self.wfile.write(page[:40]); self.wfile.flush(); time.sleep(3)
            page = page[40:]
        self.wfile.write(page)
s = http.server.ThreadingHTTPServer(("127.0.0.1", 0), H)
open(sys.argv[1], "w").write(str(s.server_address[1]))
s.serve_forever()
PY
: >"$E2E_DIR/requests.log"
python3 "$E2E_DIR/server.py" "$E2E_DIR/port" "$E2E_DIR/requests.log" &
SERVER_PID=$!
trap 'kill $SERVER_PID 2>/dev/null || true' EXIT
for _ in $(seq 50); do [[ -s $E2E_DIR/port ]] && break; sleep 0.1; done
PORT=$(cat "$E2E_DIR/port")
SITE=http://127.0.0.1:$PORT
requested() { grep -c "^$1\$" "$E2E_DIR/requests.log" || true; }
wait_requested() { # path count timeout-seconds
    local deadline=$(($(now_ms) + $3 * 1000 * E2E_PATIENCE))
    while (($(requested "$1") < $2)); do
        (($(now_ms) < deadline)) || fail "expected $2 requests of $1, got $(requested "$1")"
        sleep 0.1
    done
}

# ---- a local page keeps its own picture and style, cannot read other files ------------------
# It paints itself green (its style sheet) when all is as it should be, red with the findings if not.
mkdir -p "$E2E_DIR/local"
echo 'body{margin:0;background:#00A000}#mark{width:33px}#out{word-break:break-all}iframe{height:40px}' >"$E2E_DIR/local/style.css"
echo '<svg xmlns="http://www.w3.org/2000/svg" width="20" height="20"/>' >"$E2E_DIR/local/pic.svg"
echo 'segredo' >"$E2E_DIR/local/other.htm"
cat >"$E2E_DIR/local/home.htm" <<'HTML'
<!DOCTYPE html><html><head><link rel="stylesheet" href="style.css"></head><body>
<div id="mark"></div><img id="pic" src="pic.svg"><iframe id="fr" src="other.htm"></iframe>
<p id="out"></p><script>
const want = {img: 'ok', css: 'ok', frame: 'refused', fetch: 'refused', xhr: 'refused'}, res = {};
function done(k, v) {
  res[k] = v;
  document.getElementById('out').textContent = JSON.stringify(res);
  if (Object.keys(res).length == 5 && JSON.stringify(res) != JSON.stringify(want))
    document.body.style.background = '#A00000';
}
const read = t => t.includes('root:') ? 'read' : 'empty';
window.onload = () => {
  done('img', document.getElementById('pic').naturalWidth > 0 ? 'ok' : 'missing');
  done('css', getComputedStyle(document.getElementById('mark')).width == '33px' ? 'ok' : 'missing');
  try { document.getElementById('fr').contentDocument.body.innerText; done('frame', 'read'); }
  catch (e) { done('frame', 'refused'); }
  fetch('file:///etc/passwd').then(r => r.text()).then(t => done('fetch', read(t)),
                                                      () => done('fetch', 'refused'));
  const x = new XMLHttpRequest();
  x.onload = () => done('xhr', read(x.responseText));
  x.onerror = () => done('xhr', 'refused');
  try { x.open('GET', 'file:///etc/passwd'); x.send(); } catch (e) { done('xhr', 'refused'); }
};
</script></body></html>
HTML
config_sql "UPDATE Tabela1 SET homeURL='file://$E2E_DIR/local/home.htm' WHERE id=1"
start_app
win=$(wait_for_window "$QV_TITLE" 8) || fail "the main window did not appear"
window_geometry "$win"
BX=$((WX + 22)) BY=$((WY + 66)) # the browser area, 260 x 380
in_view() { # colour what
    local deadline=$(($(now_ms) + 8000 * E2E_PATIENCE)) got
    while :; do
        shot view.png
        got=$(pixel view.png $((BX + 200)) $((BY + 330)))
        [[ $got == "$1" ]] && break
        (($(now_ms) < deadline)) || fail "$2: expected $1 in the view, got $got"
        sleep 0.2
    done
    log "ok: $2"
}
in_view "srgb(0,160,0)" "local page with its picture and style, other files refused"
stop_app

# ---- permissions are refused at once -----------------------------------------------------------
# The user refused both before: the remembered decisions answer without a question.
config_sql "UPDATE Tabela1 SET homeURL='$SITE/start' WHERE id=1"
config_sql "CREATE TABLE IF NOT EXISTS Permissoes (origem TEXT, recurso TEXT, decisao TEXT, quando INTEGER, PRIMARY KEY(origem, recurso));
            INSERT INTO Permissoes VALUES ('$SITE', 'notificações', 'negar', 0), ('$SITE', 'localização', 'negar', 0)"
start_app
wait_requested /report?notify=denied 1 15
wait_requested /report?geo=refused1 1 5
log "ok: location and notifications refused at once"
assert_eq "language pt-BR,pt;q=0.9,en;q=0.8" "$(grep -m1 '^language' "$E2E_DIR/requests.log")" \
    "languages the engine asks for"

# ---- a new-window link opens a page in front; Ctrl+W returns; F5 and Ctrl+R reload -------
click $((BX + 100)) $((BY + 50))
in_view "srgb(160,0,0)" "the target=_blank link opened a page in front"
before=$(requested /second)
xdotool key F5
wait_requested /second $((before + 1)) 5
xdotool key ctrl+r
wait_requested /second $((before + 2)) 5
log "ok: F5 and Ctrl+R reloaded"
xdotool key ctrl+w
in_view "srgb(0,160,0)" "Ctrl+W went back to the page that asked"
click $((BX + 100)) $((BY + 50)) 2
sleep 1
in_view "srgb(0,160,0)" "a middle click opened the link behind"
xdotool key ctrl+Tab
in_view "srgb(160,0,0)" "Ctrl+Tab showed it"
xdotool key ctrl+w
in_view "srgb(0,160,0)" "back on the first page again"

# ---- full screen, left by Escape and by the page's own exit ------------------------------------
corners_are() { shot fullscreen.png; [[ "$(pixel fullscreen.png 3 3) $(pixel fullscreen.png 1020 764)" == "$1" ]]; }
left_full_screen() { shot after-fullscreen.png; [[ $(pixel after-fullscreen.png 3 3) != "srgb(0,160,0)" ]]; }
for leave in Escape page; do
    click $((BX + 100)) $((BY + 300))
    wait_until 5 corners_are "srgb(0,160,0) srgb(0,160,0)" || true
    assert_eq "srgb(0,160,0) srgb(0,160,0)" "$(pixel fullscreen.png 3 3) $(pixel fullscreen.png 1020 764)" \
        "screen corners in full screen"
    if [[ $leave == Escape ]]; then xdotool key Escape; else click 100 300; fi
    wait_until 5 left_full_screen || fail "$leave did not leave full screen"
    window_geometry "$(wait_for_window "$QV_TITLE" 3)"
    assert_eq "$((BX - 22)),$((BY - 66)),304,490" "$WX,$WY,$WW,$WH" "main window after $leave left full screen"
    in_view "srgb(0,160,0)" "the page back in the main window"
done

# ---- the load line: present while a slow response comes in, gone when stopped or done --------
line="260x2+$BX+$BY"
click $((BX + 100)) $((BY + 50))
in_view "srgb(160,0,0)" "second page for the slow link"
# The slow page holds its response for 3 s: the line shows within that time.
load_line() { # shot.png -> sets cyan
    shot "$1"
    cyan=$(count_colour "$1" "$line" '#00FAFA')
}
load_line_on() { load_line "$1"; ((cyan > 0)); }
load_line_off() { load_line "$1"; ((cyan == 0)); }
click $((BX + 100)) $((BY + 100))
wait_until 3 load_line_on loading.png || fail "no load line during a slow response"
log "ok: load line of $cyan pixels during the slow response"
xdotool key Escape
wait_until 5 load_line_off stopped.png || true
assert_eq 0 "$cyan" "load line pixels after Escape"
xdotool key F5
wait_until 3 load_line_on loading-again.png || fail "no load line on reload"
in_view "srgb(0,0,160)" "the slow page arrived"
wait_until 5 load_line_off loaded.png || true
assert_eq 0 "$cyan" "load line pixels after the load"

stop_app
