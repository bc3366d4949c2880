"""Counts the bells of the X display: what a program's alert sound becomes there, whether a Qt
program's or a Windows program's under Wine."""

import ctypes
import ctypes.util
import threading

_X11 = ctypes.CDLL(ctypes.util.find_library("X11"))
_X11.XOpenDisplay.restype = ctypes.c_void_p
_X11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_X11.XkbQueryExtension.argtypes = [ctypes.c_void_p] + [ctypes.POINTER(ctypes.c_int)] * 5
_X11.XkbSelectEvents.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
_X11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
_USE_CORE_KEYBOARD = 0x0100
_BELL_NOTIFY_MASK = 1 << 8
_EVENT_SIZE = 24  # longs, as Xlib's XEvent union


class Bells:
    """The bells rung on the display since it was made: count."""

    def __init__(self):
        self.count = 0
        display = _X11.XOpenDisplay(None)
        assert display, "no X display to listen on"
        opcode, event, error = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        major, minor = ctypes.c_int(1), ctypes.c_int(0)
        assert _X11.XkbQueryExtension(display, *map(ctypes.byref, (opcode, event, error, major,
                                                                     minor))), "no XKB"
        # The only XKB event asked for, so every one of that code is a bell.
        _X11.XkbSelectEvents(display, _USE_CORE_KEYBOARD, _BELL_NOTIFY_MASK, _BELL_NOTIFY_MASK)
        self._display, self._code = display, event.value
        threading.Thread(target=self._listen, daemon=True).start()

    def _listen(self):
        event = (ctypes.c_long * _EVENT_SIZE)()
        while True:
            _X11.XNextEvent(self._display, event)
            if ctypes.cast(event, ctypes.POINTER(ctypes.c_int))[0] == self._code:
                self.count += 1
