#!/usr/bin/env python3
"""What a screen reader says at each step: the real binary on a private X display with Orca
listening, through a session bus, the accessibility bus and speech-dispatcher, whose one voice
writes each utterance to a file.

    speech.py BINARY      exits 77 (skipped) where Orca cannot start
"""

import os
import shutil
import sys
import time

sys.dont_write_bytecode = True

from x11_session import Failure, Keys, Session, Type

SPEECHD_CONF = 'AddModule "capture" "sd_generic" "capture.conf"\nDefaultModule capture\n' \
               'DefaultLanguage "en"\nAudioOutputMethod "libao"\n'
# Whole utterances, one a line: no splitting at punctuation.
CAPTURE_CONF = 'GenericExecuteSynth "%s \\\'$DATA\\\'"\nGenericDelimiters ""\n' \
               'GenericLanguage "en" "en" "utf-8"\nAddVoice "en" "MALE1" "capture"\n'
QUIET = 1.5  # seconds without speech that end a step


class Unavailable(Exception):
    pass


class Orca(Session):
    def _env(self, **extra):
        return super()._env(DBUS_SESSION_BUS_ADDRESS="unix:path=%s/bus" % self.home,
                            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **extra)

    def _start_app(self):
        for tool in ("orca", "speech-dispatcher", "dbus-daemon"):
            if shutil.which(tool) is None:
                raise Unavailable(tool + " is not installed")
        self.spoken = os.path.join(self.home, "spoken.txt")
        self.heard = 0
        self._spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                     "--address=unix:path=%s/bus" % self.home], "dbus.log")
        self.wait_for("the session bus", lambda: os.path.exists(self.home + "/bus") or None)
        self._spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], "atspi.log",
                    env=self._env())
        config = os.path.join(self.home, "speechd")
        os.makedirs(config + "/modules")
        with open(config + "/capture.sh", "w") as f:
            f.write("#!/bin/sh\nprintf '%%s\\n' \"$1\" >> '%s'\n" % self.spoken)
        os.chmod(config + "/capture.sh", 0o755)
        with open(config + "/speechd.conf", "w") as f:
            f.write(SPEECHD_CONF)
        with open(config + "/modules/capture.conf", "w") as f:
            f.write(CAPTURE_CONF % (config + "/capture.sh"))
        self._spawn(["speech-dispatcher", "-s", "-t", "0", "-C", config], "speechd.log",
                    env=self._env())
        self.debug_file = os.path.join(self.home, "orca-debug.out")
        self._spawn(["orca", "--replace", "-u", self.home + "/orca", "--debug-file",
                     self.debug_file], "orca.log", env=self._env())
        try:
            self.wait_for("Orca", lambda: "Screen reader on." in self.listen(0) or None)
        except Failure:
            raise Unavailable("Orca did not start: " + self._log("orca.log")[-500:]
                              + self._log("speechd.log")[-500:]) from None
        super()._start_app()

    def listen(self, quiet=QUIET):
        """Everything spoken since the last call, once the speech has been quiet a while."""
        lines, since, end = None, time.monotonic(), time.monotonic() + 20
        while time.monotonic() < end:
            try:
                with open(self.spoken, errors="replace") as f:
                    now = f.read().splitlines()
            except OSError:
                now = []
            if now != lines:
                lines, since = now, time.monotonic()
            if time.monotonic() - since >= quiet:
                break
            time.sleep(0.05)
        heard, self.heard = lines[self.heard:], len(lines)
        return " | ".join(heard)


ERROR = "Error!  Input not a number or out of range!"
# Each step: what the user does, phrases that must be spoken in this order, and phrases that
# must not be.
STEPS = [
    ("start", [], ["Tessoral (TSRL) frame", "A simple calculator for decimal or hex numbers",
                   "Operand 1 decimal text", "0 selected"], []),
    ("Tab to Text2Dec", [Keys("Tab")], ["Operand 2 decimal text", "0 selected"], []),
    ("Tab to Text1Hex", [Keys("Tab")], ["Operand 1 hex text", " 8 0 characters selected"], []),
    ("back to Text1Dec", [Keys("shift+Tab", "shift+Tab")], ["Operand 1 decimal text"], []),
    ("Enter after 200", [Type("200"), Keys("Return")], ["Operand 2 decimal text", "0 selected"],
     []),
    ("Enter after 56", [Type("56"), Keys("Return")],
     ["And push button", "And: the bits set in both operands"], []),
    ("Tab to +", [Keys("Tab", "Tab", "Tab", "Tab")],
     ["Plus push button", "Plus: adds operand 2 to operand 1"], []),
    ("Enter on +", [Keys("Return")], ["256"], []),
    ("back to Text1Dec", [Keys(*["shift+Tab"] * 8)], ["Operand 1 decimal text"], []),
    ("abc then Tab", [Type("abc"), Keys("Tab")], [ERROR + ", Operand 1 decimal, abc"],
     ["Operand 2 decimal"]),
    ("2147483647, 1", [Keys("ctrl+a"), Type("2147483647"), Keys("Return"), Type("1"),
                       Keys("Return", "Tab", "Tab", "Tab", "Tab")], ["Plus push button"], []),
    ("Enter on + (2147483647 + 1)", [Keys("Return")],
     ["Adding, Exceeds capacity of a Long data type!"], []),
    ("Tab to Text3Bin", [Keys("Tab", "Tab", "Tab", "Tab")],
     ["Result binary read only text", "Exceeds capacity of a Long data type! selected"], []),
    ("Tab to Text2Bin", [Keys("Tab", "Tab", "Tab")],
     ["Operand 2 binary read only text", "0" * 31 + "1 selected"], []),
]


def main(binary):
    with Orca(binary, "speech") as ui:
        for name, steps, spoken, unspoken in STEPS:
            if steps:
                ui.do(*steps)
            heard, at = ui.listen(), 0
            print("%s: %s" % (name, heard))
            for phrase in spoken:
                found = heard.find(phrase, at)
                if found < 0:
                    ui.mismatches.append("%s: %r not spoken in order" % (name, phrase))
                at = max(at, found)
            ui.mismatches += ["%s: %r spoken" % (name, p) for p in unspoken if p in heard]
        if ui.mismatches:
            ui.key("shift", "shift", "shift")  # Orca's log is block-buffered until then
            shutil.copy(ui.debug_file, "speech-orca-debug.out")
            raise Failure("\n".join(ui.mismatches) + "\n(Orca's log: speech-orca-debug.out)")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1]))
    except Unavailable as reason:
        print("SKIPPED, no screen reader here:", reason)
        sys.exit(77)
