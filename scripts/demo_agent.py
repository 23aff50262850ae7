#!/usr/bin/env python3
"""A stand-in agent for the demo installation made by "tarn-admin demo DIR".

It plays the agent of the computer "demo-agent" in the installation's data
directory: it lists the computer and its watched service in TARN.CFG, says in
its information file that it runs, appends an error line for the service to
its agent log file now and then, answers every command file (TARNnnn.TRA) with
a result file (TARNnnn.RLT, "0" = done), and once creates the alarm file that
the demo's log file audition watches. Ends on SIGINT or SIGTERM.

usage: demo_agent.py DIR [--error-every SECONDS]
"""
import argparse
import fcntl
import os
import signal
import sys
import time

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


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("directory", help="the installation directory of the demo")
    parser.add_argument("--error-every", type=float, default=90.0,
                        help="seconds between two error lines (the first comes after 20 s)")
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

    running = [True]
    signal.signal(signal.SIGTERM, lambda *_: running.__setitem__(0, False))
    signal.signal(signal.SIGINT, lambda *_: running.__setitem__(0, False))
    started = time.time()
    next_error = started + 20
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
    print("demo agent: ended", flush=True)


if __name__ == "__main__":
    main()
