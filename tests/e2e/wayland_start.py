#!/usr/bin/env python3
"""Starts without an X display: on Weston's headless backend, where the window must show every
box as the X11 window shows it at 0, and with no display to open at all; and on Weston nested in
the X display, where the maximise button of Qt's own title bar must not end the program.

    wayland_start.py BINARY {wayland,wayland_maximise,unreachable_display}
"""

import glob
import os
import re
import subprocess
import sys

sys.dont_write_bytecode = True

from x11_session import CONTROLS, DEADLINE, SCREEN, Click, Failure, Session, box_rows, ppm_rows


def window_at(screen, boxes):
    """The left and top of the client area on the screen picture, where it shows every box."""
    first = next(iter(boxes))
    x, y = (v // 15 for v in CONTROLS[first][:2])
    for top, row in enumerate(screen):
        at = row.find(boxes[first][0])
        while at >= 0:
            if at % 3 == 0 and all(box_rows(screen, box, at // 3 - x, top - y) == rows
                                   for box, rows in boxes.items()):
                return at // 3 - x, top - y
            at = row.find(boxes[first][0], at + 1)
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


# Qt's own title bar on Wayland around the client area, 401 pixels wide: its margins left, top and
# right of it, and the middle of its maximise button from the frame's right edge and top.
LEFT, TOP, RIGHT, BUTTON, WIDTH = 3, 30, 3, (40, 15), 401


def wayland_maximise(binary):
    # No X window manager: weston's output keeps the whole screen.
    with Session(binary, "wayland_maximise", window_manager=False) as ui:
        # The display boxes as the X11 window shows them; no focus ever marks them.
        boxes = {box: box_rows(ui.capture(), box) for box in ("Text3Bin", "Text3Dec", "Text2Bin")}
        env = dict(ui._env(), WAYLAND_DISPLAY="tsrl")
        ui._spawn(["weston", "--backend=x11-backend.so", "--use-pixman", "--socket=tsrl",
                   "--width=%d" % SCREEN[0], "--height=%d" % SCREEN[1]], "weston.log", env=env)
        weston = ui.wait_for("weston's window", lambda: (re.findall(
            r"(0x\w+) \"Weston Compositor", ui.run("xwininfo", "-root", "-tree")) or [None])[0])
        app = ui._spawn([binary], "wayland.log", env=dict(env, QT_QPA_PLATFORM="wayland"))

        def placed(unlike=None):
            if app.poll() is not None:
                raise Failure("tessoral exited with %d: %s" % (app.returncode,
                                                              ui._log("wayland.log")))
            at = window_at(ppm_rows(subprocess.run(
                ["import", "-window", weston, "-depth", "8", "ppm:-"], env=ui._env(),
                capture_output=True, timeout=DEADLINE).stdout), boxes)
            return at if at != unlike else None

        def click_maximise(at, right):  # then a key, which the window draws
            ui.run("xdotool", "windowfocus", weston, "mousemove", "--window", weston,
                   str(right - BUTTON[0]), str(at[1] - TOP + BUTTON[1]), "click", "1",
                   "sleep", "1", "key", "5", "sleep", "1")

        normal = ui.wait_for("the window on weston", placed)
        click_maximise(normal, normal[0] + WIDTH + RIGHT)
        maximised = ui.wait_for("the window maximised", lambda: placed(normal))
        if maximised[0] != LEFT:
            raise Failure("maximised at %r, not at the screen's left edge" % (maximised,))
        click_maximise(maximised, SCREEN[0])
        ui.wait_for("the window back where it was", lambda: placed() == normal or None)


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
