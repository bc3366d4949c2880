#!/usr/bin/env python3
"""speech.py BINARY: what Orca says at each step; exits 77 (skipped) where Orca cannot start."""

import os
import shutil
import sys
import time

sys.dont_write_bytecode = True

from x11_session import Failure, Keys, Session, Type

# speech-dispatcher's configuration: its one voice appends each whole utterance to a file.
CONFIG = {
    "speechd.conf": 'AddModule "capture" "sd_generic" "capture.conf"\nDefaultModule capture\n'
                    'DefaultLanguage "en"\nAudioOutputMethod "libao"\n',
    "modules/capture.conf": 'GenericExecuteSynth "sh {dir}/capture.sh \\\'$DATA\\\'"\n'
                            'GenericDelimiters ""\nAddVoice "en" "MALE1" "capture"\n',
    "capture.sh": "printf '%s\\n' \"$1\" >> '{dir}/spoken.txt'\n",
}


class Orca(Session):
    heard = 0

    def _env(self, **extra):
        return super()._env(DBUS_SESSION_BUS_ADDRESS="unix:path=%s/bus" % self.home,
                            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", **extra)

    def _start_app(self):
        try:  # only the reader's own start may skip the test
            self._spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                         "--address=unix:path=%s/bus" % self.home], "dbus.log")
            self.wait_for("the session bus", lambda: os.path.exists(self.home + "/bus") or None)
            self._spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                        "atspi.log", env=self._env())
            os.makedirs(self.home + "/modules")
            for name, text in CONFIG.items():
                with open(os.path.join(self.home, name), "w") as f:
                    f.write(text.format(dir=self.home))
            self._spawn(["speech-dispatcher", "-s", "-t", "0", "-C", self.home], "speechd.log",
                        env=self._env())
            self._spawn(["orca", "--replace", "-u", self.home + "/orca", "--debug-file",
                         self.home + "/orca-debug.out"], "orca.log", env=self._env())
            self.wait_for("Orca", lambda: "Screen reader on." in self.listen(0) or None)
        except (Failure, OSError) as reason:
            print("SKIPPED, Orca cannot start here:", reason, self._log("orca.log")[-500:])
            sys.exit(77)  # the session stops what it started on the way out
        super()._start_app()

    def listen(self, quiet=1.5):
        """What was spoken since the last call, once the speech has been quiet a while."""
        lines, since, end = None, time.monotonic(), time.monotonic() + 20
        while lines is None or time.monotonic() - since < quiet and time.monotonic() < end:
            now = self._log("spoken.txt").splitlines()
            if now != lines:
                lines, since = now, time.monotonic()
            time.sleep(0.05)
        heard, self.heard = lines[self.heard:], len(lines)
        return " | ".join(heard)


ERROR = "Error!  Input not a number or out of range!"
# At a listener's pace: Orca stops speaking at a key, and would cut off the focus it moved.
SLOW = ["key", "--delay", "600"]
TABS = ["Tab"] * 4
PASTED = "1234567890" * 300  # on the clipboard throughout
UNSELECTED = "not Text unselected"  # said of a selection the program clears
# Each step: what the user does, and the phrases Orca must speak, in this order; "not " before a
# phrase: one it must not speak; "once ": one it must speak exactly once.
STEPS = [
    ("start", [], ["Tessoral (TSRL) frame", "A simple calculator for decimal or hex numbers",
                   "Operand 1 decimal text", "0 selected"]),
    ("Shift+F10 in Text1Dec", [SLOW + ["shift+F10"]], ["Cut"]),
    ("Down in its menu", [SLOW + ["Down"]], ["Copy"]),
    ("Escape from its menu", [SLOW + ["Escape"]], ["Operand 1 decimal text", "0 selected"]),
    ("Enter on the selected 0", [SLOW + ["Return"]],
     [UNSELECTED, "Operand 2 decimal text", "0 selected"]),
    ("Tab on to Text1Hex", [SLOW + ["Tab"]],
     [UNSELECTED, "Operand 1 hex text", " 8 0 characters selected"]),
    ("back to Text1Dec", [SLOW + ["shift+Tab"] * 2], ["Operand 1 decimal text"]),
    ("200 typed", [Type("200")], []),
    ("Enter after 200, over the hex box Tab left selected", [SLOW + ["Return"]],
     [UNSELECTED, "Operand 2 decimal text", "0 selected"]),
    ("Enter after 56", [Type("56"), Keys("Return")], ["And push button", "And: the bits set"]),
    ("Tab to +", [SLOW + TABS], ["Plus push button", "Plus: adds operand 2 to operand 1"]),
    ("Enter on +", [Keys("Return")], ["256"]),
    ("back to Text1Dec", [SLOW + ["shift+Tab"] * 8], ["Operand 1 decimal text"]),
    ("abc typed", [Type("abc")], []),
    ("Tab after abc", [SLOW + ["Tab"]],
     ["once " + ERROR + ", Operand 1 decimal, abc", "once abc", "not Operand 2 decimal"]),
    ("Enter on abc", [Keys("Return")], ["once " + ERROR + ", Operand 1 decimal, abc", "once abc"]),
    ("emptied, then Tab", [SLOW + ["ctrl+a", "BackSpace", "Tab"]],
     [ERROR + ", Operand 1 decimal, empty"]),
    ("3000 digits pasted, then Tab", [SLOW + ["ctrl+v", "Tab"]],
     ["not " + PASTED[:20], ERROR + ", Operand 1 decimal, 3000 characters"]),
    ("End, Left, Shift+Left in the 3000 digits", [SLOW + ["End", "Left", "shift+Left"]],
     ["0", "9 | selected"]),
    ("2147483647, 1", [SLOW + ["ctrl+a"], Type("2147483647"), Keys("Return"), Type("1"),
                       Keys("Return"), SLOW + TABS], ["Plus push button"]),
    ("Enter on +", [Keys("Return")], ["Adding, Exceeds capacity of a Long data type!"]),
    ("Tab to Text3Bin", [SLOW + TABS],
     ["Result binary read only text", "Exceeds capacity of a Long data type! selected"]),
    ("Menu key in Text3Bin", [SLOW + ["Menu"]], ["Copy"]),
    ("Escape from its menu", [SLOW + ["Escape"]], ["Result binary read only text"]),
    ("Tab to Text2Bin", [SLOW + TABS[1:]],
     [UNSELECTED, "Result hex read only text", "Operand 2 binary", "0" * 31 + "1 selected"]),
]

if __name__ == "__main__":
    with Orca(sys.argv[1], "speech") as ui:
        ui.own("clipboard", PASTED)
        for name, steps, phrases in STEPS:
            ui.do(*steps) if steps else None
            heard, at = ui.listen(), 0
            print("%s: %s" % (name, heard))
            for phrase in phrases:
                text = phrase.removeprefix("not ").removeprefix("once ")
                found = heard.find(text, at)
                if (found < 0) != phrase.startswith("not ") or (
                        phrase.startswith("once ") and heard.count(text) != 1):
                    ui.mismatches.append("%s: %r" % (name, phrase))
                at = max(at, found)
        if ui.mismatches:
            ui.key("shift", "shift", "shift")  # Orca's log is block-buffered until then
            shutil.copy(ui.home + "/orca-debug.out", "speech-orca-debug.out")
            raise Failure("not spoken as expected: %s" % ", ".join(ui.mismatches))
