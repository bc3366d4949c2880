#!/usr/bin/env python3
"""Starts without an X display: on Weston's headless backend, where the window must show every
box as the X11 window shows it at 0, and with no display to open at all.

    wayland_start.py BINARY {wayland,unreachable_display}
"""

import glob
import os
import subprocess
import sys

sys.dont_write_bytecode = True

from x11_session import CONTROLS, DEADLINE, Click, Failure, Session, box_rows, ppm_rows


def window_at(screen, boxes):
    """Whether every box of the window shows somewhere on the screen picture as expected."""
    x, y = (v // 15 for v in CONTROLS["Text1Dec"][:2])
    for top, row in enumerate(screen):
        at = row.find(boxes["Text1Dec"][0])
        while at >= 0:
            if at % 3 == 0 and all(box_rows(screen, box, at // 3 - x, top - y) == rows
                                   for box, rows in boxes.items()):
                return True
            at = row.find(boxes["Text1Dec"][0], at + 1)
    return None


def wayland(binary):
    with Session(binary, "wayland") as ui:  # the X11 window after 0 And 0: no box focused
        ui.do(Click("And"))
        boxes = {box: box_rows(ui.capture(), box) for box in CONTROLS if box.startswith("Text")}
        env = {k: v for k, v in ui._env().items() if k != "DISPLAY"}
        env["WAYLAND_DISPLAY"] = "tsrl"
        # --debug lets weston-screenshooter take pictures.
        ui._spawn(["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
                   "--socket=tsrl", "--idle-time=0"], "weston.log", env=env)
        ui.wait_for("weston", lambda: os.path.exists(os.path.join(ui.home, "tsrl")) or None)
        app = ui._spawn([binary], "wayland.log", env=env, cwd=ui.home)

        def shown():
            if app.poll() is not None:
                raise Failure("tessoral exited with %d" % app.returncode)
            for old in glob.glob(os.path.join(ui.home, "*.png")):
                os.remove(old)
            subprocess.run(["weston-screenshooter"], env=env, cwd=ui.home, timeout=DEADLINE)
            shots = glob.glob(os.path.join(ui.home, "*.png"))
            return window_at(ppm_rows(subprocess.run(
                ["convert", shots[0], "-depth", "8", "ppm:-"], capture_output=True).stdout),
                boxes) if shots else None

        ui.wait_for("the window with every box at 0 on Weston", shown)


def unreachable_display(binary):
    env = {k: v for k, v in os.environ.items()
           if k != "WAYLAND_DISPLAY" and not k.startswith("QT_")}
    env["DISPLAY"] = ":99"  # no server there: the harness's servers take free displays
    result = subprocess.run([binary], env=env, capture_output=True, text=True, timeout=DEADLINE)
    expected = (1, "", 'tessoral: cannot open the X display ":99"\n')
    if (result.returncode, result.stdout, result.stderr) != expected:
        raise Failure("got %r" % ((result.returncode, result.stdout, result.stderr),))


if __name__ == "__main__":
    globals()[sys.argv[2]](os.path.abspath(sys.argv[1]))
