#!/usr/bin/python3
"""Runs a command beside a mail server on the loopback address, for the mail tests.

    loopback_smtp.py -- command [args...]

The server listens on 127.0.0.1 only, on a port the system chooses, and tells the
command through the environment:
  KESTRIX_SMTP_PORT       the server's port
  KESTRIX_SMTP_DEAD_PORT  a loopback port where nothing listens
  KESTRIX_SMTP_SPOOL      a folder (a path of this machine) where each message
                          accepted is kept as N.eml (the data as received), N.rcpt
                          (the sender, then each recipient, one a line) and, for
                          each attachment, N.attachment-K (its decoded bytes)
Recipients whose name begins with "refused" are answered 550. The folder is removed
afterwards; the exit status is the command's.
"""
import asyncio
import email
import email.policy
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading

from aiosmtpd.smtp import SMTP


class Spool:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.split("@")[0].startswith("refused"):
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        data = envelope.original_content or envelope.content
        with open(base + ".rcpt", "w") as f:
            f.write("\n".join([envelope.mail_from] + envelope.rcpt_tos) + "\n")
        message = email.message_from_bytes(data, policy=email.policy.compat32)
        for k, part in enumerate(p for p in message.walk() if p.get_filename()):
            with open(base + ".attachment-%d" % (k + 1), "wb") as f:
                f.write(part.get_payload(decode=True) or b"")
        # Written last: the test waits for this file.
        with open(base + ".eml.part", "wb") as f:
            f.write(data)
        os.replace(base + ".eml.part", base + ".eml")
        return "250 Message accepted for delivery"


def dead_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def main():
    args = sys.argv[1:]
    if args[:1] == ["--"]:
        args = args[1:]
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    folder = tempfile.mkdtemp(prefix="kestrix-smtp-")
    loop = asyncio.new_event_loop()
    spool = Spool(folder)
    server = loop.run_until_complete(loop.create_server(
        lambda: SMTP(spool, hostname="loopback.test"), "127.0.0.1", 0))
    port = server.sockets[0].getsockname()[1]
    thread = threading.Thread(target=loop.run_forever, daemon=True)
    thread.start()
    env = dict(os.environ, KESTRIX_SMTP_PORT=str(port), KESTRIX_SMTP_DEAD_PORT=str(dead_port()),
               KESTRIX_SMTP_SPOOL=folder)
    try:
        return subprocess.call(args, env=env)
    finally:
        loop.call_soon_threadsafe(loop.stop)
        thread.join(10)
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
