#!/usr/bin/python3
"""Start-up of tessoral.exe against Wine's own notepad.exe: wall time from the launch to the
window mapped on the display, the two interleaved under one wineserver, median of the rounds.
Runs inside a Wine session:

    scripts/wine-run.sh --session bench/windows_startup.py build/windows/app/win32/tessoral.exe [ROUNDS]
"""

import statistics
import subprocess
import sys
import time

ROUNDS = int(sys.argv[2]) if len(sys.argv) > 2 else 10
POLL = 0.005  # seconds between looks for the window
PROGRAMS = {
    "tessoral.exe": (["wine", sys.argv[1]], "^TSRL  Ver 1.01$"),
    "notepad.exe": (["wine", "notepad.exe"], "Notepad$"),
}
QUIET = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}


def mapped(title):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], **QUIET).returncode == 0


def start_up(command, title):
    start = time.monotonic()
    program = subprocess.Popen(command, **QUIET)
    while not mapped(title):
        time.sleep(POLL)
    elapsed = time.monotonic() - start
    program.terminate()
    program.wait()
    while mapped(title):  # gone before the next launch
        time.sleep(POLL)
    return elapsed


for command, title in PROGRAMS.values():  # warm the file cache and the wineserver
    start_up(command, title)
times = {name: [] for name in PROGRAMS}
for _ in range(ROUNDS):
    for name, (command, title) in PROGRAMS.items():
        times[name].append(start_up(command, title))
medians = {name: statistics.median(values) for name, values in times.items()}
for name, median in medians.items():
    print("%-13s median %6.1f ms over %d runs" % (name, median * 1000, ROUNDS))
print("ratio tessoral.exe / notepad.exe: %.2f" % (medians["tessoral.exe"] / medians["notepad.exe"]))
