#!/usr/bin/python3
"""An SMTP server on 127.0.0.1 for the SMTP client's tests, built on aiosmtpd.

Usage: smtp_server.py FOLDER. Prints its port. It greets with a banner of three lines; logs in
the user "ann" with the password "s3cret" by PLAIN, LOGIN and CRAM-MD5 (aiosmtpd has no CRAM-MD5:
it is added here, checked with Python's own hmac); refuses EHLO from "old.example", so that the
client must fall back to HELO; refuses every recipient "nobody@...". Each message it accepts
becomes, in FOLDER, N.eml (the bytes after the dots put in front have been taken off again),
N.txt (what Python's email package reads: envelope, header fields, body type, attachments),
N.body (the body text) and N.K.bin (the decoded bytes of attachment K).
"""

import asyncio
import email
import email.policy
import hashlib
import hmac
import logging
import os
import sys
import time

from aiosmtpd.smtp import MISSING, SMTP, AuthResult

USER, PASSWORD = b"ann", b"s3cret"


def authenticate(server, session, envelope, mechanism, auth_data):
    ok = auth_data.login == USER and auth_data.password == PASSWORD
    return AuthResult(success=ok, handled=False, auth_data=auth_data)


class Handler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        if hostname == "old.example":
            return ["502 5.5.2 EHLO not understood"]
        session.host_name = hostname
        return responses

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("nobody@"):
            return "550 5.1.1 No such user"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def auth_CRAM__MD5(self, server, args):
        challenge = "<%d.%d@127.0.0.1>" % (os.getpid(), time.time_ns())
        answer = await server.challenge_auth(challenge)
        if answer is MISSING:
            return AuthResult(success=False, handled=True)
        user, _, digest = answer.rpartition(b" ")
        expected = hmac.new(PASSWORD, challenge.encode(), hashlib.md5).hexdigest().encode()
        ok = user == USER and hmac.compare_digest(digest, expected)
        return AuthResult(success=ok, handled=False)

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        content = envelope.original_content
        with open(base + ".eml", "wb") as f:
            f.write(content)
        message = email.message_from_bytes(content, policy=email.policy.default)
        lines = ["from " + envelope.mail_from] + ["to " + r for r in envelope.rcpt_tos]
        for name in ("From", "To", "Subject", "Sender", "Reply-To"):
            if message[name] is not None:
                lines.append("%s %s" % (name, message[name]))
        lines.append("date %s" % message["Date"].datetime.isoformat())
        body = message.get_body(("plain", "html"))
        lines.append("body %s" % body.get_content_type())
        with open(base + ".body", "w", encoding="latin-1", newline="") as f:
            f.write(body.get_content())
        for k, part in enumerate(message.iter_attachments()):
            lines.append("attachment %d %s %s" % (k, part.get_content_type(), part.get_filename()))
            with open("%s.%d.bin" % (base, k), "wb") as f:
                f.write(part.get_payload(decode=True))
        with open(base + ".txt", "w", encoding="latin-1") as f:
            f.write("\n".join(lines) + "\n")
        return "250 OK"


class BannerSMTP(SMTP):
    """Greets with two more lines before aiosmtpd's own."""

    greeted = False

    async def push(self, status):
        if not self.greeted:
            self.greeted = True
            await super().push("220-Welcome to the test server")
            await super().push("220-Mail for example.org only")
        await super().push(status)


async def main(folder):
    handler = Handler(folder)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: BannerSMTP(handler, hostname="smtp.test", authenticator=authenticate,
                           auth_require_tls=False),
        host="127.0.0.1", port=0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


if __name__ == "__main__":
    logging.getLogger("mail.log").setLevel(logging.ERROR)
    asyncio.run(main(sys.argv[1]))
