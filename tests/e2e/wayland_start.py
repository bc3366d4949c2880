#!/usr/bin/env python3
"""Starts without an X display: on a Wayland compositor (Weston's headless backend, software
renderer), where the window must show every row at 0, and with no display to open at all.

    wayland_start.py BINARY {wayland,unreachable_display}
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True

from x11_session import (CONTROLS, DEADLINE, POLL, ROWS, Click, Failure, Session, box_rows,
                         ppm_rows)

BOXES = [box for row in ROWS.values() for box in row]


def zero_rows(binary):
    """Every box at 0 and none focused, as the X11 window shows them after 0 And 0."""
    with Session(binary, "wayland-reference") as ui:
        ui.do(Click("And"))
        picture = ui.capture()
        ui.close_app()
    return {box: box_rows(picture, box) for box in BOXES}


def find_window(picture, boxes):
    """Where the client area lies in a screen picture, if every box shows there as expected."""
    first = boxes["Text1Dec"][0]
    x, y = (v // 15 for v in CONTROLS["Text1Dec"][:2])
    for top, row in enumerate(picture):
        at = row.find(first)
        while at >= 0:
            if at % 3 == 0:
                origin = (at // 3 - x, top - y)
                if all(box_rows(picture, box, *origin) == rows for box, rows in boxes.items()):
                    return origin
            at = row.find(first, at + 1)
    return None


def wayland(binary):
    expected = zero_rows(binary)
    home = tempfile.mkdtemp(prefix="tsrl-wayland-")
    os.chmod(home, 0o700)
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY") and not k.startswith("QT_")}
    env.update(XDG_RUNTIME_DIR=home, WAYLAND_DISPLAY="tsrl", XDG_CONFIG_HOME=home)
    log = open(os.path.join(home, "log"), "wb")
    # --debug lets weston-screenshooter take pictures.
    processes = [subprocess.Popen(["weston", "--backend=headless-backend.so", "--use-pixman",
                                   "--debug", "--socket=tsrl", "--idle-time=0"],
                                  env=env, stdout=log, stderr=log, stdin=subprocess.DEVNULL)]
    try:
        Session.wait_for("weston", lambda: os.path.exists(os.path.join(home, "tsrl")) or None)
        app = subprocess.Popen([binary], env=env, stdout=log, stderr=log, cwd=home)
        processes.append(app)

        def shown():
            if app.poll() is not None:
                raise Failure("tessoral exited with %d" % app.returncode)
            for name in os.listdir(home):
                if name.endswith(".png"):
                    os.remove(os.path.join(home, name))
            subprocess.run(["weston-screenshooter"], env=env, cwd=home, capture_output=True,
                           timeout=DEADLINE)
            shots = [n for n in os.listdir(home) if n.endswith(".png")]
            if not shots:
                return None
            ppm = subprocess.run(["convert", os.path.join(home, shots[0]), "-depth", "8",
                                  "ppm:-"], capture_output=True, check=True).stdout
            return find_window(ppm_rows(ppm), expected)

        Session.wait_for("the window with every row at 0", shown)
    finally:
        for process in reversed(processes):
            process.terminate()
            process.wait(timeout=DEADLINE)
        log.close()
        shutil.rmtree(home, ignore_errors=True)


def unreachable_display(binary):
    env = {k: v for k, v in os.environ.items()
           if k != "WAYLAND_DISPLAY" and not k.startswith("QT_")}
    env["DISPLAY"] = ":99"  # no server there: the harness's servers take free displays
    result = subprocess.run([binary], env=env, capture_output=True, text=True, timeout=DEADLINE)
    if (result.returncode, result.stdout, result.stderr) != (
            1, "", 'tessoral: cannot open the X display ":99"\n'):
        raise Failure("status %d, output %r %r" % (result.returncode, result.stdout,
                                                  result.stderr))


if __name__ == "__main__":
    {"wayland": wayland, "unreachable_display": unreachable_display}[sys.argv[2]](
        os.path.abspath(sys.argv[1]))
