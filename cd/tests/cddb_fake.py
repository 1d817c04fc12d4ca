#!/usr/bin/python3
"""A CDDB server's HTTP interface on 127.0.0.1, for the CDDB client's tests.

Usage: cddb_fake.py [FOLDER]. Prints its port on the first line. The CGI path picks how it
behaves:
  /~cddb/cddb.cgi   a CDDB server (below)
  /html             a web page with status 200
  /empty            status 200 and nothing in the body
  /raw              no HTTP at all: a line protocol banner, then the connection closes
  /silent           takes the request and never answers
  /trickle          a header, then a byte of the body every tenth of a second
  /chunked          the CDDB server's answers, in chunks of 10 bytes
  /unterminated     a match list without its closing "."
  /nosites          the sites command finds no site information
  anything else     404

The CDDB server answers a query by the disc's track count:
  1 no match; 2 an inexact list of two (the second with the category "a&b"); 3 an exact match
  (rock); 4 a list whose one entry cannot be read; 5 a list without a single match; 6 a list of
  malformed lines ending in two readable matches; 7 an exact match (jazz).
A read is answered by the category; "misc" and anything unknown is not found. Answers are in
ISO-8859-1, as the protocol's level 5 has them.

A POST to /~cddb/submit.cgi is a submission: without one of its header fields (or with one
empty) it is answered 500, with an unknown category or submit mode or a disc id that is not 8
hexadecimal digits 501, else 200. Each one that is answered becomes N.head in FOLDER (its
submission fields and Content-Length as "name: value" lines, as sent) and N.body (the body).
"""

import http.server
import os
import re
import sys
import time
import urllib.parse

LIST_HEAD = "Found inexact matches, list follows (until terminating `.')"

ENTRIES = {
    "rock": [
        "# xmcd",
        "#",
        "# Revision: 7",
        "DISCID={id}",
        "DTITLE=Bj\xf6rk Gu\xf0mundsd\xf3ttir / Exact",
        "DTITLE= Album",
        "TTITLE0=Opening",
        "TTITLE2=Long title",
        "TTITLE2= continued",
        "EXTD=Line one\\nLine two",
        "PLAYORDER=",
    ],
    "a&b": [
        "DISCID={id}",
        "DTITLE=Odd Category / Second Album",
        "TTITLE0=One",
        "TTITLE1=Two",
    ],
    "jazz": [
        "DISCID={id}",
        "DTITLE=Second Artist / Second Album",
        "DYEAR=1959",
        "TTITLE0=So What",
    ],
    "garbage": [
        "#",
        "# Revision: x",
        "DTITLE",
        "DTITLE=",
        "TTITLE=no number",
        "TTITLE999=far away",
        "TTITLE-1=negative",
        "TTITLE0x=hex",
        "EXTT=none",
        "E",
        "P" * 3000,
        "T\x00T\xff",
        "DTITLE=" + "\\" * 101,
    ],
    "html": ["<html><body>Not an entry</body></html>"],
}


def query_answer(words):
    count = int(words[3]) if len(words) > 3 and words[3].isdigit() else -1
    disc = words[2] if len(words) > 2 else ""
    if count == 1:
        return ["202 No match for disc ID %s." % disc]
    if count == 2:
        return ["211 " + LIST_HEAD, "rock %s Inexact Artist / First Album" % disc,
                "a&b 1234abcd Odd Category / Second Album", "."]
    if count == 3:
        return ["200 rock %s Exact Artist / Exact Album" % disc]
    if count == 4:
        return ["210 Found exact matches, list follows (until terminating `.')",
                "misc %s Missing / Entry" % disc, "."]
    if count == 5:
        return ["211 " + LIST_HEAD, "."]
    if count == 6:
        return ["211 " + LIST_HEAD, "", "   ", "9", "12", "123456789", "x" * 5000,
                "\x00\x01", "rock", "\xe9 \xfc", "garbage %s Bad / Lines" % disc,
                "html %s Web / Page" % disc, "."] + ["after the end"] * 3
    if count == 7:
        return ["200 jazz %s Second Artist / Second Album" % disc]
    return ["500 Command syntax error"]


def read_answer(words):
    category = words[2] if len(words) > 2 else ""
    disc = words[3] if len(words) > 3 else ""
    if category not in ENTRIES:
        return ["401 %s %s No such CD entry in database." % (category, disc)]
    head = "210 %s %s CD database entry follows (until terminating `.')" % (category, disc)
    return [head] + [line.replace("{id}", disc) for line in ENTRIES[category]] + ["."]


SITES = [
    "210 OK, site information follows (until terminating `.')",
    "127.0.0.1 http 80 /~cddb/cddb.cgi N000.00 W000.00 The fake server",
    "cddbp.example cddbp 8880 - N048.12 E016.22 Vienna, Austria",
    "broken line",
    ".",
]


def cddb_answer(path, query):
    fields = urllib.parse.parse_qs(query, encoding="latin-1", keep_blank_values=True)
    hello = fields.get("hello", [""])[0].split(" ")
    if len(hello) != 4 or fields.get("proto") != ["5"]:
        return ["409 No handshake"]
    words = fields.get("cmd", [""])[0].split(" ")
    if words[0] == "sites":
        return ["401 No site information available."] if path == "/nosites" else SITES
    if path == "/unterminated":
        return ["211 " + LIST_HEAD, "rock 0a0b0c03 Some / Thing"]
    if words[:2] == ["cddb", "query"]:
        return query_answer(words)
    if words[:2] == ["cddb", "read"]:
        return read_answer(words)
    return ["500 Command syntax error"]


SUBMIT_FIELDS = ["Category", "Discid", "User-Email", "Submit-Mode", "X-Cddbd-Note"]
CATEGORIES = {"blues", "classical", "country", "data", "folk", "jazz", "misc", "newage",
              "reggae", "rock", "soundtrack"}


def submission_answer(header):
    if any(not header.get(name, "").strip() for name in SUBMIT_FIELDS):
        return "500 Missing required header information."
    if (header["Category"] not in CATEGORIES or header["Submit-Mode"] not in ("test", "submit")
            or not re.fullmatch("[0-9a-fA-F]{8}", header["Discid"])):
        return "501 Invalid header information."
    return "200 OK, submission has been sent."


class Handler(http.server.BaseHTTPRequestHandler):
    def send_body(self, status, body, content_type="text/plain"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path == "/raw":
            self.wfile.write(b"201 fake CDDBP server v1.0 ready at Mon Jan 01 00:00:00 2024\r\n")
            return
        if url.path == "/silent":
            time.sleep(120)
            return
        if url.path == "/trickle":
            self.send_response(200)
            self.send_header("Content-Length", "600")
            self.end_headers()
            for _ in range(600):
                self.wfile.write(b"2")
                self.wfile.flush()
                time.sleep(0.1)
            return
        if url.path == "/chunked":
            body = "".join(line + "\r\n" for line in cddb_answer(url.path, url.query))
            body = body.encode("latin-1")
            self.send_response(200)
            self.send_header("Transfer-Encoding", "chunked")
            self.end_headers()
            for start in range(0, len(body), 10):
                piece = body[start:start + 10]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
            self.wfile.write(b"0\r\n\r\n")
            return
        if url.path == "/html":
            self.send_body(200, b"<!DOCTYPE html>\n<html><body><p>Welcome</p></body></html>\n",
                           "text/html")
            return
        if url.path == "/empty":
            self.send_body(200, b"")
            return
        if url.path not in ("/~cddb/cddb.cgi", "/unterminated", "/nosites"):
            self.send_body(404, b"<html>Not Found</html>", "text/html")
            return
        lines = cddb_answer(url.path, url.query)
        self.send_body(200, "".join(line + "\r\n" for line in lines).encode("latin-1"))

    def do_POST(self):
        if urllib.parse.urlsplit(self.path).path != "/~cddb/submit.cgi":
            self.send_body(404, b"<html>Not Found</html>", "text/html")
            return
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        # Header values come decoded from ISO-8859-1.
        header = {name: self.headers[name]
                  for name in SUBMIT_FIELDS + ["Content-Length"] if name in self.headers}
        if FOLDER:
            base = os.path.join(FOLDER, str(len(os.listdir(FOLDER)) // 2 + 1))
            with open(base + ".head", "w", encoding="latin-1") as f:
                f.write("".join("%s: %s\n" % item for item in header.items()))
            with open(base + ".body", "wb") as f:
                f.write(body)
        self.send_body(200, (submission_answer(header) + "\r\n").encode("latin-1"))

    def log_message(self, *args):
        pass


FOLDER = sys.argv[1] if len(sys.argv) > 1 else None


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
