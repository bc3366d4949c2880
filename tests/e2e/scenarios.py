#!/usr/bin/env python3
"""End-to-end scenarios on the real binary: a fresh display, window manager and calculator each.

    scenarios.py BINARY SCENARIO
"""

import sys

sys.dont_write_bytecode = True  # no cache beside the sources

from x11_session import ROWS, SCREEN, Click, Failure, Keys, Session, Type, box_rows

TITLE = "TSRL  Ver 1.01"
ROW_ERROR = "Error!  Input not a number or out of range!"
OVERFLOW_MESSAGE = "Exceeds capacity of a Long data type!"
SANITIZER_MARKS = ("Sanitizer", "runtime error:")


def row(value):
    """A value as its row shows it: decimal, eight hex digits, 32 binary digits."""
    pattern = value & 0xFFFFFFFF
    return (str(value), "%08X" % pattern, format(pattern, "032b"))


def overflow(name):
    return ("00", name, OVERFLOW_MESSAGE)


def enter_operands(ui, first, second):
    # Enter walks down the decimal column: Text1Dec, Text2Dec, then the And button.
    ui.do(Click("Text1Dec"), Keys("ctrl+a"), Type(first), Keys("Return"), Type(second),
          Keys("Return"))


SCENARIOS = {}
WITHOUT_WINDOW_MANAGER = set()


def scenario(function):
    SCENARIOS[function.__name__] = function
    return function


def without_window_manager(function):
    WITHOUT_WINDOW_MANAGER.add(function.__name__)
    return function


@scenario
def start_up(ui):
    ui.check("title", ui.title(), TITLE)

    client = ui.geometry(ui.window)
    frame = ui.geometry(ui.frame())
    ui.check("client area size", client[2:], (401, 228))
    # The frame sits a quarter of the free screen from the top-left corner, by its outer size.
    ui.check("frame position", frame[:2],
             tuple(int((SCREEN[axis] - frame[2 + axis]) / 4 + 0.5) for axis in (0, 1)))
    # A fixed-size window: the window manager offers neither resizing nor maximising.
    # Motif hints: maximise is bit 0x10 of the functions and bit 0x40 of the decorations.
    hints = [int(v, 16) for v in ui.property(ui.window, "_MOTIF_WM_HINTS")]
    ui.check("maximise function and button", (hints[1] & 0x10, hints[2] & 0x40), (0, 0))
    actions = ui.property(ui.window, "_NET_WM_ALLOWED_ACTIONS")
    ui.check("allowed actions", [a for a in actions if "MAXIMIZE" in a or "RESIZE" in a], [])

    # The focus starts in a box whose text is all selected; typing replaces it (see
    # enter_walks_down_the_column for which box it is).
    ui.check("selected text where the focus starts", ui.copy_selection(), "0")
    zero = row(0)
    ui.check("rows at start", ui.read_rows(1, 2, 3), {1: zero, 2: zero, 3: zero})


@scenario
def enter_walks_down_the_column(ui):
    # Typed straight after start: lands in Text1Dec only if the focus starts there, selected.
    ui.do(Type("200"), Keys("Return"), Type("56"), Keys("Return"),
          Keys("space"))  # the focus is on And now: 200 And 56
    ui.check("rows after And", ui.read_rows(1, 2, 3), {1: row(200), 2: row(56), 3: row(8)})
    ui.click("Plus")
    ui.check("result of +", ui.read_rows(3)[3], row(256))


@scenario
def hex_entry(ui):
    # The click that brings the focus leaves the whole text selected; Ctrl+A keeps the step
    # independent of that.
    ui.do(Click("Text1Hex"), Keys("ctrl+a"), Type("ff"),
          Keys("Tab"),  # on to Text2Hex, its text selected
          Type("800000f0"),
          Keys("Return", "space"))  # on to And, and press it
    ui.check("rows", ui.read_rows(1, 2, 3),
             {1: row(255), 2: row(-2147483408), 3: row(0xFF & 0x800000F0)})


# A rejected text, then a good one typed over it: box, rejected, the row's other typing box and
# what it must still show, the good text, and the row it writes.
REJECTED = [
    ("Text1Hex", "100000000", "Text1Dec", "0", "7b", row(123)),
    ("Text2Dec", "2147483648", "Text2Hex", "00000000", "-5", row(-5)),
    ("Text1Dec", "12x", "Text1Hex", "0000007B", "-2147483648", row(-2147483648)),
]


@scenario
def rejected_entry(ui):
    for box, rejected, other, other_text, good, _ in REJECTED:
        ui.do(Click(box), Keys("ctrl+a"), Type(rejected), Keys("Tab"))
        # The focus is back in the box, its text kept and selected: Ctrl+C copies just that.
        ui.check(box + " after " + rejected, ui.copy_selection(), rejected)
        number = box[4]
        binary = "Text%sBin" % number
        # Clicking elsewhere rejects the text again and the focus comes back, so these two are
        # read through the mouse selection.
        ui.check(binary + " after " + rejected, ui.read_by_mouse(binary), ROW_ERROR)
        ui.check(other + " after " + rejected, ui.read_by_mouse(other), other_text)
        ui.check(box + " still has the focus", ui.copy_selection(), rejected)
        ui.do(Keys("ctrl+a"), Type(good), Keys("Tab"))
    rows = {int(box[4]): good_row for box, _, _, _, _, good_row in REJECTED}
    ui.check("rows after the corrections", ui.read_rows(1, 2), rows)


# Whether Divide works shows in Text3Dec: 100 \ divisor, or what was there when it is disabled
# (an enabled Divide with 0 would write "00").
DIVISORS = [
    (None, "0"),  # as started: Text2Dec is 0
    ("7", "14"),
    ("-7", "-14"),
    ("0", "-14"),
    ("0x10", "6"),
    ("00", "6"),
]


@scenario
def divide_follows_the_divisor(ui):
    enter_operands(ui, "100", "0")
    for divisor, result in DIVISORS:
        if divisor is not None:
            ui.do(Click("Text2Dec"), Keys("ctrl+a"), Type(divisor))
        ui.click("Divide")
        ui.check("Text3Dec after Divide with %s" % divisor, ui.read("Text3Dec"), result)


# Exact arithmetic at the edges of the range: what fits, and what the result row reports.
EDGES = [
    ("2147483646", "1", "Plus", row(2147483647)),
    ("2147483647", "1", "Plus", overflow("Adding")),
    ("-2147483647", "1", "Minus", row(-2147483648)),
    ("-2147483648", "1", "Minus", overflow("Subtracting")),
    ("-65536", "32768", "Multiply", row(-2147483648)),
    ("65536", "32768", "Multiply", overflow("Multiplying")),
    ("-2147483648", "-1", "Divide", overflow("Dividing")),
]


@scenario
def arithmetic_edges(ui):
    for first, second, button, result in EDGES:
        enter_operands(ui, first, second)
        ui.click(button)
        ui.check("%s %s %s" % (first, button, second), ui.read_rows(3)[3], result)


@scenario
def display_boxes_copy_but_do_not_change(ui):
    enter_operands(ui, "200", "0")
    ui.click("Not")
    expected = {**dict(zip(ROWS[1], row(200))), **dict(zip(ROWS[3], row(-201)))}
    for box in ("Text1Bin", "Text3Dec", "Text3Hex", "Text3Bin"):
        ui.do(Click(box), Type("9"), Keys("BackSpace", "Delete", "ctrl+x", "ctrl+v"))
        ui.check(box + " after typing into it", ui.read(box), expected[box])
    # The copied binary result works as an operand.
    ui.do(Click("Text2Dec"), Keys("ctrl+a"), Type("0b"), Keys("ctrl+v", "Tab"))
    ui.check("row 2 from the pasted binary", ui.read_rows(2)[2], row(-201))


@scenario
def a_click_selects_the_whole_text(ui):
    # The click that gives a typing box the focus leaves its text selected: typing replaces it.
    ui.do(Click("Text1Hex"), Type("5"), Keys("Tab"), Click("Text2Dec"), Type("7"), Keys("Tab"))
    ui.check("rows", ui.read_rows(1, 2), {1: row(5), 2: row(7)})


@scenario
def edits_only_where_the_focus_is(ui):
    enter_operands(ui, "1", "3")
    # With a rejected Text1Dec holding the focus, neither a context-menu Paste nor a
    # middle-click paste reaches Text2Dec.
    ui.own("clipboard", "99")
    ui.do(Click("Text1Dec"), Keys("ctrl+a"), Type("abc"), Keys("Tab"),
          Click("Text2Dec", 3), ["sleep", "0.5"], Keys("p", "Escape"))
    ui.check("Text2Dec after a context-menu Paste", ui.read_by_mouse("Text2Dec"), "3")
    ui.own("primary", "99")
    ui.do(Click("Text2Dec", 2))
    ui.check("Text2Dec after a middle-click paste", ui.read_by_mouse("Text2Dec"), "3")
    ui.do(Keys("ctrl+a"), Type("1"), Keys("Tab"))
    ui.check("rows", ui.read_rows(1, 2), {1: row(1), 2: row(3)})


def selected(rows, ring=3):
    """Whether a box shows a selection inside its frame: a highlight far bluer than red."""
    return any(row[i + 2] - row[i] > 60
               for row in rows[ring:-ring] for i in range(3 * ring, len(row) - 3 * ring, 3))


def frame(rows, ring=2):
    return rows[:ring] + rows[-ring:] + [row[:3 * ring] + row[-3 * ring:] for row in rows]


@scenario
def only_the_focused_box_shows_its_selection(ui):
    ui.do(Keys("Tab", "Tab"))  # Text1Dec, Text2Dec, Text1Hex: each selected on the way
    picture = ui.capture()
    shown = {box: box_rows(picture, box) for box in ROWS[1][:2] + ROWS[2][:2]}
    for box, rows in shown.items():
        ui.check(box + " shows a selection", selected(rows), box == "Text1Hex")
    ui.check("focus marked", frame(shown["Text1Hex"]) != frame(shown["Text2Hex"]), True)
    ui.check("unfocused frames alike", frame(shown["Text1Dec"]) == frame(shown["Text2Dec"]), True)

@scenario
@without_window_manager
def focus_back_without_a_window_manager(ui):
    # No window manager hands the focus over: the window gets it back at the control clicked,
    # and the box left must still run its LostFocus first. Closed at the end by destroying the
    # window, as a tool does, which must end the program with status 0.
    ui.do(Type("abc"))
    ui.focus_other_client()
    ui.click("Text2Hex")
    ui.check("Text1Dec keeps the focus after a click on Text2Hex", ui.copy_selection(), "abc")
    ui.check("Text1Bin after abc", ui.read_by_mouse("Text1Bin"), ROW_ERROR)
    ui.do(Keys("ctrl+a"), Type("2147483647"))
    ui.focus_other_client()
    ui.click("Plus")
    ui.check("Text3Dec after one click on +", ui.read("Text3Dec"), "2147483647")
    ui.check("Text1Bin after 2147483647", ui.read("Text1Bin"), row(2147483647)[2])


def main(argv):
    if len(argv) != 3 or argv[2] not in SCENARIOS:
        sys.stderr.write("usage: scenarios.py BINARY {%s}\n" % ",".join(SCENARIOS))
        return 2
    with Session(argv[1], argv[2], argv[2] not in WITHOUT_WINDOW_MANAGER) as ui:
        SCENARIOS[argv[2]](ui)
        if ui.mismatches:
            ui.save_screen()
        status, log = ui.close_app()
        ui.check("exit status", status, 0)
        reports = [line for line in log.splitlines() if any(m in line for m in SANITIZER_MARKS)]
        ui.check("sanitizer reports", reports, [])
        if ui.mismatches:
            raise Failure("\n".join(ui.mismatches) + "\n--- tessoral output ---\n" + log)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
