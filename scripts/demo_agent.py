#!/usr/bin/env python3
"""A stand-in agent for the demo installation made by "tarn-admin demo DIR".

It plays the agent of the computer "demo-agent" in the installation's data
directory: it lists the computer and its watched service in TARN.CFG, says in
its information file that it runs, appends an error line for the service to
its agent log file now and then, answers every command file (TARNnnn.TRA) with
a result file (TARNnnn.RLT, "0" = done), and once creates the alarm file that
the demo's log file audition watches.

It also plays the mail server of the demo's notification: when the
installation's Internet mail server is on loopback (127.0.0.1:PORT, as the
demo sets it), it listens there, keeps every message it receives in
DIR/demo/mail/NNN.eml and prints its recipients and subject. Ends on SIGINT
or SIGTERM.

usage: demo_agent.py DIR [--error-every SECONDS] [--first-error-after SECONDS]
"""
import argparse
import email
import email.policy
import fcntl
import os
import signal
import sqlite3
import sys
import time
import urllib.parse

COMPUTER = "demo-agent"
SERVICE_MODULE = "spoolsv.exe"
SERVICE_NAME = "Spooler"


def stamp(moment=None):
    return time.strftime("%Y%m%d%H%M%S", time.localtime(moment))


def write_atomically(path, text):
    temporary = path + ".tmp"
    with open(temporary, "w", newline="") as handle:
        handle.write(text)
    os.replace(temporary, path)


def append_error_line(log_file):
    line = ";".join([stamp(), COMPUTER, "1", SERVICE_NAME, SERVICE_MODULE, "1", "2", "0",
                     "Der Dienst Druckwarteschlange wurde unerwartet beendet"])
    with open(log_file, "a", newline="") as handle:
        # The console holds the file locked while it reads and marks it; wait for it.
        while True:
            try:
                fcntl.lockf(handle, fcntl.LOCK_EX | fcntl.LOCK_NB)
                break
            except OSError:
                time.sleep(0.2)
        handle.write(line + "\r\n")
        handle.flush()
        fcntl.lockf(handle, fcntl.LOCK_UN)
    print("demo agent: error line written", flush=True)


def answer_commands(exchange):
    for name in sorted(os.listdir(exchange)):
        if not (name.startswith("TARN") and name.endswith(".TRA")):
            continue
        command_file = os.path.join(exchange, name)
        with open(command_file, newline="") as handle:
            command = [line.strip() for line in handle if line.lower().startswith("command1=")]
        os.remove(command_file)
        write_atomically(os.path.join(exchange, name[:-4] + ".RLT"), "[Results]\r\nResult1=0\r\n")
        print("demo agent: carried out", command[0][9:] if command else "(no command)", flush=True)


def configured_mail_server(home):
    """The installation's Internet mail server as (host, port) when it is on loopback."""
    uri = "file:%s?mode=ro" % urllib.parse.quote(os.path.join(home, "TARN.MDB"))
    try:
        with sqlite3.connect(uri, uri=True) as database:
            row = database.execute("SELECT MAILSERVER FROM NOTIFY_SERVICE_CFG_SMTP").fetchone()
    except sqlite3.Error:
        return None
    host, _, port = ((row or [""])[0] or "").strip().partition(":")
    if host not in ("127.0.0.1", "localhost") or not (port or "25").isdigit():
        return None
    return "127.0.0.1", int(port or "25")


class MailShower:
    """Keeps and shows every message the console's gateway hands over."""

    def __init__(self, store):
        self.store = store
        self.count = 0

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        path = os.path.join(self.store, "%03d.eml" % self.count)
        with open(path + ".tmp", "wb") as out:
            out.write(envelope.original_content)
        os.replace(path + ".tmp", path)
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        print("demo mail server: mail for %s: %s (%s)"
              % (", ".join(envelope.rcpt_tos), message.get("Subject", ""), path), flush=True)
        return "250 OK"


def start_mail_server(home):
    address = configured_mail_server(home)
    if address is None:
        return None
    try:
        from aiosmtpd.controller import Controller
    except ImportError:
        print("demo mail server: python3-aiosmtpd is missing; the demo's mail cannot be sent",
              flush=True)
        return None
    store = os.path.join(home, "demo", "mail")
    os.makedirs(store, exist_ok=True)
    controller = Controller(MailShower(store), hostname=address[0], port=address[1])
    try:
        controller.start()
    except Exception as error:  # the port is taken, or the server did not come up
        print("demo mail server: cannot listen on %s:%d (%s)" % (address + (error,)), flush=True)
        return None
    print("demo mail server: listening on %s:%d, messages kept in %s" % (address + (store,)),
          flush=True)
    return controller


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("directory", help="the installation directory of the demo")
    parser.add_argument("--error-every", type=float, default=90.0,
                        help="seconds between two error lines")
    parser.add_argument("--first-error-after", type=float, default=20.0,
                        help="seconds until the first error line")
    options = parser.parse_args()

    home = os.path.abspath(options.directory)
    data = os.path.join(home, "data")
    exchange = os.path.join(data, COMPUTER)
    if not os.path.isdir(data):
        sys.exit("demo agent: %s is not an installation (no data directory)" % home)
    os.makedirs(exchange, exist_ok=True)
    write_atomically(os.path.join(data, "TARN.CFG"),
                     "[Server]\r\nServer1=%s\r\n[%s]\r\nService1=%s;%s;Druckwarteschlange\r\n"
                     % (COMPUTER, COMPUTER, SERVICE_MODULE, SERVICE_NAME))
    write_atomically(os.path.join(exchange, COMPUTER + ".INI"),
                     "[Information]\r\nTARNStartDate=%s\r\nComputerStartDate=%s\r\n" % (stamp(), stamp()))

    # The console stops watching an agent whose log file is missing: it exists from the start.
    open(os.path.join(exchange, COMPUTER + ".log"), "a").close()

    mail_server = start_mail_server(home)
    running = [True]
    signal.signal(signal.SIGTERM, lambda *_: running.__setitem__(0, False))
    signal.signal(signal.SIGINT, lambda *_: running.__setitem__(0, False))
    started = time.time()
    next_error = started + options.first_error_after
    alarm_file = os.path.join(home, "demo", "alarm.flag")
    alarm_due = started + 40
    print("demo agent: playing %s in %s" % (COMPUTER, data), flush=True)
    while running[0]:
        now = time.time()
        if now >= next_error:
            append_error_line(os.path.join(exchange, COMPUTER + ".log"))
            next_error = now + options.error_every
        if alarm_due and now >= alarm_due:
            os.makedirs(os.path.dirname(alarm_file), exist_ok=True)
            open(alarm_file, "a").close()
            print("demo agent: alarm file created", flush=True)
            alarm_due = None
        answer_commands(exchange)
        time.sleep(1)
    if mail_server:
        mail_server.stop()
    print("demo agent: ended", flush=True)


if __name__ == "__main__":
    main()
