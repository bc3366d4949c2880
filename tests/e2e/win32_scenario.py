#!/usr/bin/python3
"""The Windows program under Wine, driven with real X input; run inside a Wine session:
win32_scenario.py TESSORAL_EXE PROBE_EXE [SCREENSHOT.png]
With SCREENSHOT, also saves the framed window once the typical use has shown its result."""

import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no cache beside the sources

from bells import Bells

EXE, PROBE = sys.argv[1:3]
SCREENSHOT = sys.argv[3] if len(sys.argv) > 3 else None
ROW_ERROR = "Error!  Input not a number or out of range!"
PATIENCE = 20.0  # seconds for the window to show what a step did
# What a screen reader is told in the steps below, in order, in the words Orca speaks on Linux.
SAID = ["256"] + [ROW_ERROR + ", Operand 1 hex, " + text
                  for text in ("G1", "G1", "70 characters", "empty")]
SAID += ["00, Adding, Exceeds capacity of a Long data type!"]


def probe(*args):
    try:
        result = subprocess.run(["wine", PROBE, *args], capture_output=True, text=True,
                                timeout=PATIENCE / 2)
    except subprocess.TimeoutExpired:
        return 1, ""  # asked again until the step's patience runs out
    return result.returncode, result.stdout


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def click(name):
    code, out = probe(name)
    assert code == 0, "no control %s" % name
    xdotool("mousemove", "--sync", *out.split(), "click", "1")


def expect(**wanted):
    deadline = time.monotonic() + PATIENCE
    while True:
        code, out = probe()
        seen = dict(line.split("=", 1) for line in out.splitlines()) if code == 0 else {}
        seen["beeps"] = str(bells.count)
        if all(seen.get(k) == v for k, v in wanted.items()):
            return seen
        if time.monotonic() > deadline:
            sys.exit("expected %s, saw %s" % (wanted, seen))
        time.sleep(0.2)


def heard(count, focus=False):
    """The listener's lines, once there are COUNT: "listening" and a text per live-region event,
    or a line per focus event."""
    deadline = time.monotonic() + PATIENCE
    while True:
        lines = [l for l in open(said.name).read().splitlines() if l.startswith("focus=") == focus]
        if len(lines) >= count or time.monotonic() > deadline:
            return lines
        time.sleep(0.2)


bells = Bells()
said = tempfile.NamedTemporaryFile()
listener = subprocess.Popen(["wine", PROBE, "listen"], stdout=said, stderr=subprocess.DEVNULL)
heard(1)  # hooked before the program starts
other = None  # another program, activated in between
program = subprocess.Popen(["wine", EXE], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
try:
    dpi = int(expect(Text1Dec="0", Text3Bin="0" * 32, focus="Text1Dec", beeps="0")["dpi"])
    client = "%dx%d" % (round(6015 * dpi / 1440), round(3420 * dpi / 1440))
    expect(client=client, fit="Text1Bin Text2Bin Text3Bin")
    # A screen reader is told of the focused box at start, and again when the window is activated
    # after another program (moved off the title bar once it is active).
    assert heard(1, focus=True) == ["focus=Text1Dec"], heard(1, focus=True)
    other = subprocess.Popen(["wine", "notepad"], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    xdotool("search", "--sync", "--onlyvisible", "--name", "Notepad$", "windowactivate", "--sync",
            "%1", "windowmove", "%1", "600", "600")
    shell = subprocess.run(["xdotool", "search", "--name", "^TSRL", "getwindowgeometry", "--shell"],
                           capture_output=True, text=True, check=True).stdout
    at = {k: int(v) for k, v in (line.split("=") for line in shell.split())}
    # A click on the title bar, just above the client area.
    xdotool("mousemove", "--sync", str(at["X"] + at["WIDTH"] // 2), str(at["Y"] - 5), "click", "1")
    expect(focus="Text1Dec")
    focused = heard(3, focus=True)
    assert focused == ["focus=Text1Dec", "focus=other", "focus=Text1Dec"], focused

    # The typical use: 200, Enter, 56, Enter, click +.
    for action, argument in (("type", "200"), ("key", "Return"), ("type", "56"), ("key", "Return")):
        xdotool(action, argument)
    expect(Text2Hex="00000038", focus="Command1")
    click("Plus")
    expect(Text3Dec="256", Text3Hex="00000100", Text3Bin=format(256, "032b"),
           fit="Text1Bin Text2Bin Text3Bin")
    if SCREENSHOT:
        window = subprocess.run(["xdotool", "search", "--name", "^TSRL"], capture_output=True,
                                text=True, check=True).stdout.split()[0]
        subprocess.run(["import", "-silent", "-frame", "-window", window, SCREENSHOT], check=True)

    # A bad hex text: the row reports it, beeps and keeps the focus. The click that gave the
    # box the focus left its whole text selected, so the typing replaced it.
    click("Text1Hex")
    expect(focus="Text1Hex")
    xdotool("type", "G1")
    xdotool("key", "Tab")
    expect(Text1Bin=ROW_ERROR, beeps="1", focus="Text1Hex", Text1Dec="200", Text1Hex="G1")
    # A press on a button whose LostFocus sends the focus back does not click: no 200 - 56.
    click("Minus")
    expect(beeps="2", focus="Text1Hex")
    time.sleep(1.0)  # the button-up, which would click, is long past by then
    expect(Text3Dec="256", focus="Text1Hex")
    # A long text rejected, then an overflow: 2147483647 + 56.
    xdotool("type", "1" * 70)
    xdotool("key", "Tab")
    expect(Text1Bin=ROW_ERROR, beeps="3", focus="Text1Hex")
    xdotool("key", "BackSpace", "Tab")  # the whole text was selected again
    expect(Text1Hex="", beeps="4", focus="Text1Hex")
    xdotool("type", "7FFFFFFF")
    click("Plus")
    expect(Text1Dec="2147483647", Text3Hex="Adding", beeps="5")
    expect(said="")  # once heard, the live region empties without a word more
    told = heard(1 + len(SAID))[1:]  # the listener hears a little after the window shows
    assert told == SAID, "a screen reader was told %s" % told
    print("passed")
finally:
    for process in filter(None, (program, listener, other)):
        process.terminate()
        process.wait(timeout=PATIENCE)
