#!/usr/bin/python3
"""A CDDB server's HTTP interface on 127.0.0.1, for the program's CD import and preferences.

Prints its port on the first line. The first part of the path picks the server's answers to a
query (the rest of the path is the CGI program's name and does not matter):
  /two       two matches, "rock" and "jazz"
  /exact     one exact match, "misc"
  /nomatch   no match
  /emptylist a list of inexact matches without a single line
  /readfail  one match whose entry is not found
  /corrupt   one match whose entry the server finds corrupt (403)
  /noend     one match whose entry comes without its closing "."
  /garbage   bytes that are no CDDB answer
  /html      a web page, as a portal in between would send
  /silent    takes the request and never answers
Entries are read by category: rock and jazz have an artist, album and three titled tracks, misc
an empty artist and two tracks without a title.

Asked as a proxy (the request names the whole URL), the server wants the user alice with the
password secret, and refuses any other with 407. Every path answers "sites" with a site list of
both protocols, malformed site lines among them.
"""

import base64
import http.server
import sys
import time
import urllib.parse

ENTRIES = {
    "rock": ["DTITLE=First Artist / First Album", "DYEAR=1977", "DGENRE=Rock",
             "TTITLE0=Alpha", "TTITLE1=Beta", "TTITLE2=Gamma"],
    "jazz": ["DTITLE=The Artist / The Album", "DYEAR=1959", "DGENRE=Jazz",
             "TTITLE0=One", "TTITLE1=Two", "TTITLE2=Three"],
    "misc": ["DTITLE= / Nameless", "DYEAR=unknown", "TTITLE0=", "TTITLE1=", "TTITLE2=Last"],
}

SITES = [
    "210 OK, site information follows (until terminating `.')",
    "127.0.0.1 http 80 /~cddb/cddb.cgi N000.00 W000.00 The fake server",
    "cddbp.example cddbp 8880 - N048.12 E016.22 Vienna, Austria",
    "mirror.example HTTP 8080 /cgi/cddb.cgi S033.52 E151.12 Sydney",
    "noport.example http eighty /cgi/cddb.cgi N000.00 E000.00 A port that is no number",
    "short.example http 80 /cgi/cddb.cgi",
    "huge.example http 12345678901234567890 /cgi/cddb.cgi N000.00 E000.00 Too long a port",
    ".",
]


def query(mode, disc):
    if mode == "two":
        return ["211 Found inexact matches, list follows (until terminating `.')",
                "rock %s First Artist / First Album" % disc,
                "jazz %s The Artist / The Album" % disc, "."]
    if mode == "exact":
        return ["200 misc %s / Nameless" % disc]
    if mode == "readfail":
        return ["211 Found inexact matches, list follows (until terminating `.')",
                "blues %s Lost / Entry" % disc, "."]
    if mode in ("corrupt", "noend"):
        return ["211 Found inexact matches, list follows (until terminating `.')",
                "rock %s First Artist / First Album" % disc, "."]
    if mode == "emptylist":
        return ["211 Found inexact matches, list follows (until terminating `.')", "."]
    return ["202 No match for disc ID %s." % disc]


def read(mode, category, disc):
    if mode == "corrupt":
        return ["403 Database entry is corrupt."]
    if category not in ENTRIES:
        return ["401 %s %s No such CD entry in database." % (category, disc)]
    lines = (["210 %s %s CD database entry follows (until terminating `.')" % (category, disc),
              "DISCID=%s" % disc] + ENTRIES[category])
    return lines if mode == "noend" else lines + ["."]


def answer(mode, words):
    if words[:1] == ["sites"]:
        return SITES
    if words[:2] == ["cddb", "query"]:
        return query(mode, words[2] if len(words) > 2 else "")
    if words[:2] == ["cddb", "read"] and len(words) > 3:
        return read(mode, words[2], words[3])
    return ["500 Command syntax error"]


GARBAGE = bytes(range(256)) * 4
PAGE = (b"<!DOCTYPE html>\n<html><head><title>Sign in</title></head>\n"
        b"<body><p>Sign in to use the network.</p></body></html>\n")
PROXY_USER = "Basic " + base64.b64encode(b"alice:secret").decode("ascii")


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("http://") and \
                self.headers.get("Proxy-Authorization") != PROXY_USER:
            self.send_response(407)
            self.send_header("Proxy-Authenticate", 'Basic realm="proxy"')
            self.send(b"", "text/plain")
            return
        url = urllib.parse.urlsplit(self.path)
        mode = url.path.strip("/").split("/")[0]
        if mode == "silent":
            time.sleep(120)
            return
        self.send_response(200)
        if mode == "garbage":
            self.send(GARBAGE, "application/octet-stream")
            return
        if mode == "html":
            self.send(PAGE, "text/html")
            return
        fields = urllib.parse.parse_qs(url.query, encoding="latin-1")
        words = fields.get("cmd", [""])[0].split(" ")
        body = "".join(line + "\r\n" for line in answer(mode, words)).encode("latin-1")
        self.send(body, "text/plain")

    def send(self, body, content_type):
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
