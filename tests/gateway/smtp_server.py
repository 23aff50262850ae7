"""A loopback SMTP server for the gateway tests, on top of aiosmtpd.

Usage: /usr/bin/python3 smtp_server.py STORE_DIR [--starttls CERT KEY |
       --implicit-tls CERT KEY] [--login USER:PASSWORD] [--data-delay SECONDS]

Listens on 127.0.0.1 on a free port and prints the port on the first line of
standard output. Refuses a sender whose address starts with "refused" and a
recipient whose address starts with "unknown" (550), and a message that
contains "REJECT-THIS" after its text (554). Every accepted message is
stored in STORE_DIR as NNN.eml (the message bytes as received, dot-stuffing
undone) and NNN.envelope (sender, then one recipient a line).

--starttls requires STARTTLS before anything else, --implicit-tls speaks TLS
from the first byte (both with the certificate CERT and its key KEY), and
--login requires authentication (after TLS) with that user and password.
--data-delay makes the server take that long to answer each message's text
(a slow server; other connections are served meanwhile).
"""

import argparse
import asyncio
import os
import ssl

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


class StoringHandler:
    def __init__(self, store, data_delay):
        self.store = store
        self.data_delay = data_delay
        self.count = 0

    async def handle_MAIL(self, server, session, envelope, address, mail_options):
        if address.startswith("refused"):
            return "550 5.7.1 Sender refused"
        envelope.mail_from = address
        envelope.mail_options.extend(mail_options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.startswith("unknown"):
            return "550 5.1.1 No such user"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        await asyncio.sleep(self.data_delay)
        if b"REJECT-THIS" in envelope.original_content:
            return "554 5.6.0 Message refused"
        self.count += 1
        base = os.path.join(self.store, "%03d" % self.count)
        with open(base + ".envelope", "w") as out:
            out.write("\n".join([envelope.mail_from] + envelope.rcpt_tos) + "\n")
        # Written last and renamed, so a reader never sees half a message.
        with open(base + ".tmp", "wb") as out:
            out.write(envelope.original_content)
        os.rename(base + ".tmp", base + ".eml")
        return "250 OK"


def tls_context(files):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(files[0], files[1])
    return context


def make_authenticator(login):
    user, password = login.encode().split(b":", 1)

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = isinstance(auth_data, LoginPassword) and (
            auth_data.login == user and auth_data.password == password)
        return AuthResult(success=ok, handled=False)

    return authenticate


async def main(arguments):
    handler = StoringHandler(arguments.store, arguments.data_delay)
    options = {"hostname": "tarn-test", "decode_data": False}
    if arguments.starttls:
        options.update(tls_context=tls_context(arguments.starttls), require_starttls=True)
    if arguments.login:
        # An implicit TLS connection is encrypted from the start; the server
        # only counts STARTTLS as TLS, so it must not ask for it then.
        options.update(authenticator=make_authenticator(arguments.login), auth_required=True,
                       auth_require_tls=not arguments.implicit_tls)
    implicit = tls_context(arguments.implicit_tls) if arguments.implicit_tls else None
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(handler, **options), "127.0.0.1", 0, ssl=implicit)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("store")
    parser.add_argument("--starttls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--implicit-tls", nargs=2, metavar=("CERT", "KEY"))
    parser.add_argument("--login")
    parser.add_argument("--data-delay", type=float, default=0)
    asyncio.run(main(parser.parse_args()))
