"""A loopback SMTP server for the gateway tests, on top of aiosmtpd.

Usage: /usr/bin/python3 smtp_server.py STORE_DIR

Listens on 127.0.0.1 on a free port and prints the port on the first line of
standard output. Refuses a sender whose address starts with "refused" and a
recipient whose address starts with "unknown" (550), and a message that
contains "REJECT-THIS" after its text (554). Every accepted message is
stored in STORE_DIR as NNN.eml (the message bytes as received, dot-stuffing
undone) and NNN.envelope (sender, then one recipient a line).
"""

import asyncio
import os
import sys

from aiosmtpd.smtp import SMTP


class StoringHandler:
    def __init__(self, store):
        self.store = store
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


async def main(store):
    handler = StoringHandler(store)
    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: SMTP(handler, hostname="tarn-test", decode_data=False), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


if __name__ == "__main__":
    asyncio.run(main(sys.argv[1]))
