#!/usr/bin/python3
"""Presses Return in each of the given X windows, whichever has the keyboard focus.

  valider.py WINDOW...

The key press and release are sent to each window itself (XSendEvent). Through the focus, as
XTest and xdotool do when the window is the focused one, the key could reach another window that
has just taken the focus: with many warnings opening at once, one would be answered unseen.
Windows that are gone by then are skipped. Talks to libX11 through ctypes.
"""

import ctypes
import sys

KEY_PRESS, KEY_RELEASE = 2, 3
KEY_PRESS_MASK, KEY_RELEASE_MASK = 1 << 0, 1 << 1


class XKeyEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("root", ctypes.c_ulong),
        ("subwindow", ctypes.c_ulong), ("time", ctypes.c_ulong),
        ("x", ctypes.c_int), ("y", ctypes.c_int), ("x_root", ctypes.c_int),
        ("y_root", ctypes.c_int), ("state", ctypes.c_uint), ("keycode", ctypes.c_uint),
        ("same_screen", ctypes.c_int),
    ]


class XEvent(ctypes.Union):
    _fields_ = [("xkey", XKeyEvent), ("pad", ctypes.c_long * 24)]


ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


def main():
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XStringToKeysym.restype = ctypes.c_ulong
    x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
    x11.XKeysymToKeycode.restype = ctypes.c_ubyte
    x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(XEvent)]
    x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    ignorer = ERROR_HANDLER(lambda display, error: 0)  # a window gone meanwhile
    x11.XSetErrorHandler(ignorer)

    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the X display")
    keycode = x11.XKeysymToKeycode(display, x11.XStringToKeysym(b"Return"))
    for argument in sys.argv[1:]:
        event = XEvent()
        key = event.xkey
        key.display = display
        key.window = int(argument, 0)
        key.root = x11.XDefaultRootWindow(display)
        key.same_screen = 1
        key.keycode = keycode
        for kind, mask in ((KEY_PRESS, KEY_PRESS_MASK), (KEY_RELEASE, KEY_RELEASE_MASK)):
            key.type = kind
            x11.XSendEvent(display, key.window, 1, mask, ctypes.byref(event))
    x11.XSync(display, 0)
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
