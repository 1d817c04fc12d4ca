#!/usr/bin/python3
"""A scripted HTTP server on 127.0.0.1 for the HTTP client's tests.

Prints two port numbers on one line: the server's, and that of a listener whose queue is full
(connecting to it never completes). The path of each request picks the reply; see handle().
"""

import socket
import struct
import sys
import threading
import time
import urllib.parse

CRLF = b"\r\n"


def read_request(conn):
    """The request's header text and its body (by Content-Length)."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk:
            return None, b""
        data += chunk
    head, _, body = data.partition(b"\r\n\r\n")
    length = 0
    for line in head.split(CRLF)[1:]:
        name, _, value = line.partition(b":")
        if name.strip().lower() == b"content-length":
            length = int(value.strip())
    while len(body) < length:
        chunk = conn.recv(65536)
        if not chunk:
            break
        body += chunk
    return head.decode("latin-1"), body


def reply(status, body=b"", fields=(), length=True):
    lines = ["HTTP/1.0 " + status] + list(fields)
    if length:
        lines.append("Content-Length: %d" % len(body))
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body


def send_in_pieces(conn, data, cuts, pause=0.05):
    start = 0
    for cut in list(cuts) + [len(data)]:
        conn.sendall(data[start:cut])
        start = cut
        time.sleep(pause)


def handle(conn, head, body):
    request_line = head.split("\r\n")[0]
    target = request_line.split(" ")[1]
    url = urllib.parse.urlsplit(target)
    path, query = url.path, urllib.parse.parse_qs(url.query, keep_blank_values=True)
    if path in ("/echo", "/"):
        conn.sendall(reply("200 OK", (head + "\r\n").encode("latin-1"),
                           ["Content-Type: text/plain"]))
    elif path == "/post":
        conn.sendall(reply("200 OK", body))
    elif path.startswith("/status/"):
        code = path.split("/")[2]
        conn.sendall(reply(code + " Scripted", b"the body of an error"))
    elif path == "/split":
        data = reply("200 OK", b"split body", ["Content-Type: Text/Plain", "X-Note: two parts"])
        cr = data.index(b"\r\n", 20)
        send_in_pieces(conn, data, [7, 25, cr + 1, len(data) - 3])
    elif path == "/bytewise":
        conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        data = reply("200 OK", b"one byte at a time", ["Content-Type: text/plain"])
        send_in_pieces(conn, data, range(1, len(data)), pause=0.002)
    elif path == "/longline":
        conn.sendall(b"HTTP/1.0 200 OK\r\nX-Long: " + b"a" * (1 << 20) + b"\r\n\r\nbody")
    elif path == "/nolength":
        conn.sendall(reply("200 OK", bytes(range(256)) * 400, length=False))
    elif path == "/short":
        conn.sendall(reply("200 OK", b"x" * 40, ["Content-Length: 100"], length=False))
    elif path == "/reset":
        conn.sendall(reply("200 OK", b"partial", length=False))
        time.sleep(0.1)
        conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
    elif path == "/huge":
        conn.sendall(reply("200 OK", b"y" * 10, ["Content-Length: 3000000000"], length=False))
    elif path == "/big":
        conn.sendall(reply("200 OK", b"z" * int(query["n"][0]), length="nolength" not in query))
    elif path == "/zero":
        conn.sendall(reply("200 OK"))
        time.sleep(0.2)
    elif path == "/slow":
        data = reply("200 OK", b"0123456789" * 5)
        send_in_pieces(conn, data, range(len(data) - 50, len(data), 10), pause=0.15)
    elif path == "/silent":
        time.sleep(10)
    elif path == "/loop":
        conn.sendall(reply("302 Found", fields=["Location: /loop"]))
    elif path.startswith("/chain/"):
        left = int(path.split("/")[2])
        if left == 0:
            conn.sendall(reply("200 OK", b"end of chain"))
        else:
            conn.sendall(reply("302 Found", fields=["Location: /chain/%d" % (left - 1)]))
    elif path.endswith("/redirect"):
        location = query["to"][0]
        conn.sendall(reply("302 Found", b"moved", ["Location: " + location]))
    elif path.endswith(".txt"):
        conn.sendall(reply("200 OK", ("path=" + target).encode("latin-1")))
    elif path == "/garbage":
        conn.sendall(b"HTTP/1.0 abc OK\r\nContent-Length: 2\r\n\r\nno")
    elif path == "/notstatus":
        conn.sendall(b"Hello there\r\n\r\nno")
    elif path == "/badlength":
        conn.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 12ab\r\n\r\nno")
    elif path == "/empty":
        pass
    elif path == "/cr":
        conn.sendall(b"HTTP/1.0 200 CR only\rContent-Length: 7\rX-A: 1\r\rcr body")
    elif path == "/lf":
        conn.sendall(b"HTTP/1.0 200 LF only\nContent-Length: 7\nX-A: 1\n\nlf body")
    elif path == "/html":
        conn.sendall(b"<html><body>no header</body></html>\r\n")
    elif path == "/trickle":
        conn.sendall(reply("200 OK", length=False, fields=["Content-Length: 600"]))
        for _ in range(600):
            conn.sendall(b"t")
            time.sleep(0.1)
    elif path.startswith("/chunked"):
        head = b"HTTP/1.1 200 OK\r\nTransfer-Encoding: %s\r\nContent-Length: 3\r\n\r\n" % (
            query.get("coding", ["chunked"])[0].encode("latin-1"))
        body = {
            "/chunked": b"7;ext=\"a b\"\r\nhello, \r\nD\r\nchunked world\r\n0\r\n"
                        b"X-Trailer: yes\r\n\r\nnot body",
            "/chunked/lf": b"5\nhello\n0\n\n",
            "/chunked/badsize": b"zz\r\nhello\r\n0\r\n\r\n",
            "/chunked/toolong": b"3\r\nhello\r\n0\r\n\r\n",
            "/chunked/cut": b"5\r\nhello\r\n",
        }[path]
        data = head + body
        send_in_pieces(conn, data, range(len(head) - 2, len(data), 3), pause=0.01)
    elif path.startswith("/fields/"):
        conn.sendall(reply("200 OK", b"<p>page</p>", [
            "Content-Type: Text/HTML", "WWW-Authenticate: Basic realm=\"one\"",
            "WWW-Authenticate: Digest realm=\"two\"", "Set-Cookie: id=42; Path=/",
            "Accept-Ranges: bytes", "Content-Range: bytes 10-20/300"]))
    elif path == "/bigheader":
        conn.sendall(b"HTTP/1.0 200 OK\r\n" + (b"X-Filler: " + b"f" * 8000 + b"\r\n") * 40
                     + b"\r\nbody")
    else:
        conn.sendall(reply("404 Not Found", b"nothing here"))


def serve(conn):
    with conn:
        conn.settimeout(15)
        try:
            head, body = read_request(conn)
            if head is not None:
                handle(conn, head, body)
        except OSError:
            pass


def main():
    server = socket.socket()
    server.bind(("127.0.0.1", 0))
    server.listen(64)
    full = socket.socket()
    full.bind(("127.0.0.1", 0))
    full.listen(0)
    fillers = []
    for _ in range(3):
        filler = socket.socket()
        filler.setblocking(False)
        try:
            filler.connect(full.getsockname())
        except BlockingIOError:
            pass
        fillers.append(filler)
    print(server.getsockname()[1], full.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()
        threading.Thread(target=serve, args=(conn,), daemon=True).start()


if __name__ == "__main__":
    sys.exit(main())
