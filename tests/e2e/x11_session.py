"""A private X display with a window manager and the real calculator on it, driven the way a
user drives it: keys, typing and clicks through XTEST (xdotool), and box texts read back
through the clipboard (Ctrl+A, Ctrl+C) or, where the focus cannot move, the mouse selection."""

import ctypes
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import time

# Long enough for a sanitized start on a busy two-core machine; reached only when a step fails.
DEADLINE = 20.0
POLL = 0.02
SCREEN = (1024, 768)
TWIPS_PER_PIXEL = 15

# Where each control lies in the window's client area, in twips: left, top, width, height.
CONTROLS = {
    "Text1Dec": (240, 840, 1095, 375),
    "Text1Hex": (1560, 840, 975, 375),
    "Text1Bin": (2760, 840, 3015, 375),
    "Text2Dec": (240, 1440, 1095, 375),
    "Text2Hex": (1560, 1440, 975, 375),
    "Text2Bin": (2760, 1440, 3015, 375),
    "Text3Dec": (240, 2880, 1095, 375),
    "Text3Hex": (1560, 2880, 975, 375),
    "Text3Bin": (2760, 2880, 3015, 375),
    "And": (360, 2040, 750, 615),
    "Or": (1440, 2040, 750, 615),
    "Xor": (2520, 2040, 750, 615),
    "Not": (3600, 2040, 750, 615),
    "Plus": (4800, 1920, 405, 405),
    "Minus": (4800, 2400, 405, 405),
    "Multiply": (5280, 1920, 405, 405),
    "Divide": (5280, 2400, 405, 405),
}

ROWS = {
    1: ("Text1Dec", "Text1Hex", "Text1Bin"),
    2: ("Text2Dec", "Text2Hex", "Text2Bin"),
    3: ("Text3Dec", "Text3Hex", "Text3Bin"),
}

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_driver():
    # A driver killed outright (a CTest time-out) must not leave an X server behind.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


def Keys(*keys):
    return ["key", "--delay", "15", *keys]


_KEYSYMS = {"-": "minus", " ": "space"}


def Type(text):
    # As keys rather than xdotool's type, which cannot be followed by another step.
    return Keys(*(_KEYSYMS.get(c, c) for c in text))


def Click(control, button=1):
    left, top, width, height = CONTROLS[control]
    x = (left + width // 2) // TWIPS_PER_PIXEL
    y = (top + height // 2) // TWIPS_PER_PIXEL
    return lambda window: ["mousemove", "--window", window, str(x), str(y), "click", str(button)]


def ppm_rows(ppm):
    """An 8-bit PPM picture as its rows of RGB bytes."""
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", ppm)
    width, height, data = int(header.group(1)), int(header.group(2)), ppm[header.end():]
    return [data[3 * width * y:3 * width * (y + 1)] for y in range(height)]


def box_rows(rows, control, left=0, top=0):
    """The rows of RGB bytes a control covers, in a picture whose client area is at left, top."""
    x, y, w, h = (v // TWIPS_PER_PIXEL for v in CONTROLS[control])
    return [row[3 * (left + x):3 * (left + x + w)] for row in rows[top + y:top + y + h]]


class Failure(AssertionError):
    pass


def _raise_exit(signum, _frame):
    raise SystemExit(128 + signum)


class Session:
    """Xvfb, openbox and the calculator; every process it starts ends with it."""

    def __init__(self, binary, name, window_manager=True):
        self.binary = binary
        self.window_manager = window_manager
        self.other = None
        self.processes = []
        self.home = tempfile.mkdtemp(prefix="tsrl-e2e-")
        self.display = None
        self.app = None
        self.window = None
        self.copies = 0
        self.mismatches = []
        self.screen_file = "e2e-failure-%s.png" % name
        if os.path.exists(self.screen_file):
            os.remove(self.screen_file)  # a picture from an earlier run would mislead

    def __enter__(self):
        signal.signal(signal.SIGTERM, _raise_exit)
        signal.signal(signal.SIGINT, _raise_exit)
        try:
            self._start_x()
            if self.window_manager:
                self._start_window_manager()
            self._start_app()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, kind, _value, _trace):
        if kind is not None and self.app is not None and self.app.poll() is None:
            self.save_screen()
        self.stop()
        return False

    # Processes.

    def _spawn(self, argv, log, env=None, **options):
        with open(os.path.join(self.home, log), "wb") as out:
            process = subprocess.Popen(argv, stdout=out, stderr=subprocess.STDOUT, env=env,
                                       stdin=subprocess.DEVNULL, preexec_fn=_die_with_driver,
                                       **options)
        self.processes.append(process)
        return process

    def _env(self, **extra):
        env = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
        env.update(DISPLAY=self.display, XDG_RUNTIME_DIR=self.home,
                   XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   # No session bus: not the developer's desktop one, and not libdbus's
                   # autolaunch either, which leaks its read buffer under LeakSanitizer.
                   DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(self.home, "no-bus"))
        env.update(extra)
        return env

    def _start_x(self):
        # -displayfd: the server takes the first free display itself, so parallel tests and
        # other developers' servers never collide.
        read_end, write_end = os.pipe()
        xvfb = self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                            "%dx%dx24" % SCREEN, "-nolisten", "tcp", "-noreset"],
                           "xvfb.log", pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        end = time.monotonic() + DEADLINE
        try:
            while not number.endswith(b"\n"):
                if xvfb.poll() is not None or time.monotonic() > end:
                    raise Failure("Xvfb did not start:\n" + self._log("xvfb.log"))
                if select.select([read_end], [], [], POLL)[0]:
                    chunk = os.read(read_end, 16)
                    if not chunk:
                        raise Failure("Xvfb closed -displayfd:\n" + self._log("xvfb.log"))
                    number += chunk
        finally:
            os.close(read_end)
        self.display = ":" + number.decode().strip()

    def _start_window_manager(self):
        self._spawn(["openbox", "--sm-disable"], "openbox.log", env=self._env())
        self.wait_for("the window manager",
                      lambda: "window id" in self.run("xprop", "-root",
                                                      "_NET_SUPPORTING_WM_CHECK") or None)

    def _start_app(self):
        self.app = self._spawn([self.binary], "tessoral.log",
                               env=self._env(QT_QPA_PLATFORM="xcb"))

        def shown():
            if self.app.poll() is not None:
                raise Failure("tessoral exited with %d:\n%s" % (self.app.returncode,
                                                               self._log("tessoral.log")))
            ids = self.run("xdotool", "search", "--onlyvisible", "--pid", str(self.app.pid),
                           check=False).split()
            return ids[0] if len(ids) == 1 else None

        self.window = self.wait_for("the calculator window", shown)
        self.wait_for("the keyboard focus on the window",
                      lambda: self.run("xdotool", "getwindowfocus").strip() == self.window or None)

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=3)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.processes.clear()
        shutil.rmtree(self.home, ignore_errors=True)

    def close_app(self):
        """Closes the window as a user does (Alt+F4 through the window manager), or without one
        destroys it as a tool does; returns the exit status and everything the program wrote."""
        if self.window_manager:
            self.key("alt+F4")
        else:
            self.run("xdotool", "windowclose", self.window, check=False)
        try:
            status = self.app.wait(timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            raise Failure("the window did not close")
        return status, self._log("tessoral.log")

    def focus_other_client(self):
        """Gives the keyboard focus to another X client's window, started once."""
        if self.other is None:
            self._spawn(["xmessage", "-geometry", "+0+0", "other"], "xmessage.log",
                        env=self._env())
            self.other = self.wait_for("another client's window", lambda: (self.run(
                "xdotool", "search", "--onlyvisible", "--classname", "^xmessage$",
                check=False).split() or [None])[0])
        # Qt takes a focus-out for the window's own only once no focus-in has followed it
        # for a while (400 ms).
        self.run("xdotool", "windowfocus", "--sync", self.other, "sleep", "1")

    def _log(self, name):
        try:
            with open(os.path.join(self.home, name), errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def save_screen(self):
        # What the screen showed when the scenario failed, next to the test's output.
        try:
            self.run("import", "-window", "root", self.screen_file, check=False)
        except subprocess.TimeoutExpired:
            pass

    # Running tools on the display.

    def run(self, *argv, check=True):
        result = subprocess.run(argv, env=self._env(), capture_output=True, text=True,
                                timeout=DEADLINE)
        if check and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(argv), result.stderr.strip()))
        return result.stdout

    @staticmethod
    def wait_for(what, probe):
        end = time.monotonic() + DEADLINE
        while True:
            value = probe()
            if value is not None:
                return value
            if time.monotonic() > end:
                raise Failure("gave up waiting for " + what)
            time.sleep(POLL)

    def check(self, what, actual, expected):
        if actual != expected:
            self.mismatches.append("%s: got %r, expected %r" % (what, actual, expected))

    # What a user does. Steps chain into one xdotool run, which keeps them in order and cheap.

    def do(self, *steps):
        argv = ["xdotool"]
        for step in steps:
            argv += step(self.window) if callable(step) else step
        self.run(*argv)

    def key(self, *keys):
        self.do(Keys(*keys))

    def click(self, control):
        self.do(Click(control))

    # What a user sees.

    def title(self):
        return self.run("xdotool", "getwindowname", self.window).rstrip("\n")

    def _paste(self, selection):
        result = subprocess.run(["xclip", "-o", "-selection", selection], env=self._env(),
                                capture_output=True, text=True, timeout=DEADLINE)
        return result.stdout if result.returncode == 0 else None

    def own(self, selection, text):
        """Puts a text on an X selection, as a copy in another program does."""
        owner = subprocess.Popen(["xclip", "-i", "-quiet", "-selection", selection],
                                 env=self._env(), stdin=subprocess.PIPE,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                 preexec_fn=_die_with_driver)
        # Earlier owners ended when a copy took the selection from them.
        self.processes = [p for p in self.processes if p.args[0] != "xclip" or p.poll() is None]
        self.processes.append(owner)
        owner.stdin.write(text.encode())
        owner.stdin.close()
        self.wait_for("the %s selection" % selection,
                      lambda: True if self._paste(selection) == text else None)

    def _copied_by(self, selection, action):
        # A marker owns the selection first, so a copy that never happens cannot pass for one
        # that repeats the last text.
        self.copies += 1
        marker = "<nothing copied %d>" % self.copies
        self.own(selection, marker)
        action()

        def copied():
            text = self._paste(selection)
            return text if text not in (None, marker) else None

        return self.wait_for("a copy to the %s selection" % selection, copied)

    def copy_selection(self):
        """Ctrl+C where the focus is: the text selected there."""
        return self._copied_by("clipboard", lambda: self.key("ctrl+c"))

    def read(self, control):
        """Clicks a box, selects all and copies. The click moves the focus, so the box left
        runs its leaving procedure: read boxes that already show what leaving writes."""
        return self._copied_by("clipboard",
                               lambda: self.do(Click(control), Keys("ctrl+a", "ctrl+c")))

    def read_by_mouse(self, control):
        """Selects a box's text with a click at its left end and a Shift+click at its right,
        and reads the mouse selection: for a box the focus cannot rest on while a rejected
        entry keeps taking it back. Not a drag, which may carry a selection into another box;
        not a triple click, which the program times by its own clock."""
        left, top, width, height = (v // TWIPS_PER_PIXEL for v in CONTROLS[control])
        y = str(top + height // 2)
        return self._copied_by("primary", lambda: self.do(
            ["mousemove", "--window", self.window, str(left + 2), y, "click", "1"],
            ["mousemove", "--window", self.window, str(left + width - 2), y],
            ["keydown", "shift", "click", "1", "keyup", "shift"]))

    def read_rows(self, *rows):
        """The rows' texts, typing boxes first and display boxes last."""
        names = [name for row in rows for name in ROWS[row]]
        order = sorted(names, key=lambda n: (n.endswith("Bin") or n.startswith("Text3"), n))
        texts = {name: self.read(name) for name in order}
        return {row: tuple(texts[name] for name in ROWS[row]) for row in rows}

    def geometry(self, window):
        """Absolute left, top, width and height of an X window, as xwininfo reports them."""
        fields = {}
        for line in self.run("xwininfo", "-id", window).splitlines():
            key, _, value = line.strip().partition(":")
            fields[key] = value.strip()
        return tuple(int(fields[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                                "Width", "Height"))

    def capture(self):
        """The client area as rows of RGB bytes."""
        return ppm_rows(subprocess.run(["import", "-window", self.window, "-depth", "8", "ppm:-"],
                                       env=self._env(), capture_output=True, timeout=DEADLINE,
                                       check=True).stdout)

    def property(self, window, name):
        """An X property's values as xprop prints them, split at the commas."""
        line = self.run("xprop", "-id", window, name).strip()
        return [v.strip() for v in line.partition("=")[2].split(",")] if "=" in line else []

    def frame(self):
        """The outermost window the window manager put around the calculator's window."""
        window = self.window
        root = None
        while True:
            parent = None
            for line in self.run("xwininfo", "-children", "-id", window).splitlines():
                if "Root window id:" in line:
                    root = line.split()[3]
                if "Parent window id:" in line:
                    parent = line.split()[3]
            if parent is None or parent == root:
                return window
            window = parent
