#!/usr/bin/env python3
"""A small local web server for the end-to-end tests (standard library only).

    httpd.py LOGFILE        binds 127.0.0.1 on a free port, prints the port on its first line

Every request is appended to LOGFILE as "METHOD PATH AUTHORIZED" (AUTHORIZED is 1 when the
request carried the right basic-auth credentials), followed by "GPC PATH" when it carried
"Sec-GPC: 1". Routes:

  /links            a page of big, stacked links (one 40-pixel block each, top first):
                    0 /file/normal, 1 /file/empty, 2 /file/cut, 3 /file/hostile,
                    4 /doc.pdf, 5 /auth/basic, 6 /auth/never, 7 mailto:, 8 ssh:, 9 /auto
  /file/normal      an attachment "relatorio.txt" of 2 MB
  /file/empty       an attachment "vazio.txt" of 0 bytes
  /file/cut         an attachment "cortado.bin" that announces 1 MB and closes after 64 KB
  /file/hostile     an attachment whose suggested name is "../../fora\\x01.txt"
  /doc.pdf          a one-page PDF
  /auth/basic       basic authentication, realm "Roteador", user "maria", password "segredo":
                    a green page when right, else 401 with a red page
  /cofre            401 with a red page, whatever is sent (realm "Cofre")
  /auto             a page that, 1.5 s after it has loaded, sends itself to ssh://auto.example
  /slow?ms=N        a page that is answered after N milliseconds (default 3000)
  /texto            a page titled "Texto d'agua": a 40-pixel link to /campo at the top, then
                    the word "quorvane" 17 times, on white
  /campo            a text field holding a misspelled Portuguese word ("caza"), focused; each
                    change of its text is sent as a request for /valor/TEXT (URL-encoded)
  /pagina?t=TITLE   a page titled TITLE
  /busca?q=WORDS    a search's results, titled "Resultados: WORDS"
  /tarde            a page titled "Cedo" that takes the title "Título tardio" 1 s after loading
  /p/NAME           the page tests/e2e/pages/NAME as it is (a test's own page of a few lines)
  /attach/NAME      an attachment named NAME of a few bytes
  /login401?realm=R 401 asking for basic authentication in realm R, whatever is sent
"""
import base64
import html
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlparse

GOOD_AUTH = "Basic " + base64.b64encode(b"maria:segredo").decode()
LINKS = [
    ("/file/normal", "relatorio.txt"), ("/file/empty", "vazio.txt"),
    ("/file/cut", "cortado.bin"), ("/file/hostile", "nome hostil"), ("/doc.pdf", "PDF"),
    ("/auth/basic", "login"), ("/cofre", "401 sempre"),
    ("mailto:ana@example.com?subject=Oi", "e-mail"), ("ssh://servidor.example/", "ssh"),
    ("/auto", "auto"),
]
PAGES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pages")
COLOURS = ["#c33", "#3c3", "#33c", "#cc3", "#3cc", "#c3c", "#963", "#369", "#693", "#936"]


def report_body():
    return b"".join(b"linha %07d do relatorio\n" % i for i in range(87382))[: 2 * 1024 * 1024]


def pdf_body():
    objs = [b"<< /Type /Catalog /Pages 2 0 R >>",
            b"<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
            b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Contents 4 0 R"
            b" /Resources << /Font << /F1 5 0 R >> >> >>",
            None,
            b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"]
    text = b"BT /F1 36 Tf 40 150 Td (PDF de teste) Tj ET"
    objs[3] = b"<< /Length %d >>\nstream\n%s\nendstream" % (len(text), text)
    out, offsets = b"%PDF-1.4\n", []
    for n, body in enumerate(objs, 1):
        offsets.append(len(out))
        out += b"%d 0 obj\n%s\nendobj\n" % (n, body)
    xref = len(out)
    out += b"xref\n0 %d\n0000000000 65535 f \n" % (len(objs) + 1)
    out += b"".join(b"%010d 00000 n \n" % o for o in offsets)
    out += b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objs) + 1, xref)
    return out


def coloured_page(colour, text):
    return ("<!doctype html><meta charset=utf-8><body style='margin:0;background:%s'>"
            "<h1>%s</h1>" % (colour, text)).encode()


def text_page():
    words = " ".join("palavra quorvane texto" for _ in range(17))
    return ("<!doctype html><meta charset=utf-8><title>Texto d'agua</title>"
            "<body style='margin:0;background:#fff;font:16px sans-serif'><a href=/campo style="
            "'display:block;height:40px;background:#369;color:#fff'>campo</a><p>%s" % words).encode()


FIELD_PAGE = ("<!doctype html><meta charset=utf-8><title>Campo</title><body style='margin:8px'>"
              "<textarea id=t spellcheck=true lang=pt-BR style='width:90%;height:80px;"
              "font:20px sans-serif' autofocus oninput=\"fetch('/valor/'+encodeURIComponent(this.value))\">"
              "Eu gosto de caza</textarea>").encode()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send(self, status, body, ctype="text/html; charset=utf-8", headers=()):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def attachment(self, name, body, announced=None):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Disposition", 'attachment; filename="%s"' % name)
        self.send_header("Content-Length", str(len(body) if announced is None else announced))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urlparse(self.path)
        authorized = self.headers.get("Authorization") == GOOD_AUTH
        with open(self.server.log, "a") as log:
            log.write("GET %s %d\n" % (url.path, authorized))
            if self.headers.get("Sec-GPC") == "1":
                log.write("GPC %s\n" % url.path)
        route = {
            "/links": self.links, "/file/normal": lambda: self.attachment("relatorio.txt", report_body()),
            "/file/empty": lambda: self.attachment("vazio.txt", b""),
            "/file/cut": self.cut, "/file/hostile": lambda: self.attachment("../../fora\x01.txt", b"x" * 10),
            "/doc.pdf": lambda: self.send(200, pdf_body(), "application/pdf"),
            "/auth/basic": lambda: self.auth(authorized), "/cofre": lambda: self.auth(False, "Cofre"),
            "/auto": self.auto, "/slow": lambda: self.slow(url.query),
            "/texto": lambda: self.send(200, text_page()),
            "/campo": lambda: self.send(200, FIELD_PAGE),
            "/pagina": lambda: self.titled(parse_qs(url.query).get("t", [""])[0], "#cde"),
            "/busca": lambda: self.titled("Resultados: " + parse_qs(url.query).get("q", [""])[0], "#ffc"),
            "/tarde": self.late_title,
            "/login401": lambda: self.auth(False, parse_qs(url.query).get("realm", ["Teste"])[0]),
        }.get(url.path)
        if not route and url.path.startswith("/p/"):
            route = lambda: self.page_file(url.path[3:])
        if not route and url.path.startswith("/attach/"):
            route = lambda: self.attachment(url.path[8:], b"conteudo\n")
        if route:
            route()
        else:
            self.send(404, coloured_page("#fff", "404"))

    def links(self):
        rows = "".join("<a href='%s' style='display:block;height:40px;background:%s;color:#fff;"
                       "font:16px sans-serif'>%s</a>" % (href, COLOURS[i], text)
                       for i, (href, text) in enumerate(LINKS))
        self.send(200, ("<!doctype html><meta charset=utf-8><body style='margin:0'>%s" % rows).encode())

    def cut(self):
        self.attachment("cortado.bin", b"y" * 65536, announced=1024 * 1024)
        self.wfile.flush()
        self.close_connection = True

    def auth(self, authorized, realm="Roteador"):
        if authorized:
            self.send(200, coloured_page("#0c0", "Bem-vinda"))
        else:
            self.send(401, coloured_page("#c00", "Acesso negado"),
                      headers=[("WWW-Authenticate", 'Basic realm="%s"' % realm)])

    def auto(self):
        self.send(200, b"<!doctype html><body style='margin:0;background:#ccc'>auto<script>"
                       b"setTimeout(function(){location.href='ssh://auto.example/'},1500)</script>")

    def titled(self, title, colour):
        text = html.escape(title)
        self.send(200, ("<!doctype html><meta charset=utf-8><title>%s</title>"
                        "<body style='margin:0;background:%s'><h1>%s</h1>" % (text, colour, text)).encode())

    def late_title(self):
        self.send(200, "<!doctype html><meta charset=utf-8><title>Cedo</title><body>tarde<script>"
                       "setTimeout(function(){document.title='Título tardio'},1000)</script>".encode())

    def page_file(self, name):
        path = os.path.join(PAGES, os.path.basename(name))
        if not os.path.isfile(path):
            return self.send(404, coloured_page("#fff", "404"))
        with open(path, "rb") as f:
            self.send(200, f.read())

    def slow(self, query):
        time.sleep(int(parse_qs(query).get("ms", ["3000"])[0]) / 1000)
        self.send(200, coloured_page("#ccc", "lenta"))


def main():
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.log = sys.argv[1] if len(sys.argv) > 1 else "/dev/null"
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
