#!/usr/bin/python3
"""Looks into the X server and the accessibility bus for the end-to-end harness.

  sonde.py owner SELECTION   prints the window that owns an X selection (0 when none)
  sonde.py tree PID          prints the accessible objects of the program PID, one a line:
                             depth <TAB> role <TAB> name <TAB> x,y,width,height (screen pixels)
                             <TAB> states (among focused, showing)
  sonde.py text PID          prints the text of that program's focused object (a field's)

The X part talks to libX11 through ctypes, and the accessibility part to AT-SPI through
python3-dbus, so that nothing beyond Debian's own packages is needed.
"""

import ctypes
import sys


def owner(selection):
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the X display")
    atom = x11.XInternAtom(display, selection.encode(), 0)
    print(hex(x11.XGetSelectionOwner(display, atom)))
    x11.XCloseDisplay(display)


# Bits of AT-SPI's state set.
STATES = (("focused", 12), ("showing", 25))


def tree(pid, text=False):
    import dbus

    session = dbus.SessionBus()
    address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
        dbus_interface="org.a11y.Bus", timeout=5)
    bus = dbus.bus.BusConnection(address)
    daemon = bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus")
    registry = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")

    def walk(name, path, depth):
        node = bus.get_object(name, path)
        properties = dbus.Interface(node, "org.freedesktop.DBus.Properties")
        label = str(properties.Get("org.a11y.atspi.Accessible", "Name", timeout=5))
        role = str(node.GetRoleName(dbus_interface="org.a11y.atspi.Accessible", timeout=5))
        try:
            x, y, w, h = node.GetExtents(dbus.UInt32(0), dbus_interface="org.a11y.atspi.Component",
                                         timeout=5)
            extents = f"{x},{y},{w},{h}"
        except dbus.DBusException:
            extents = ""
        state = node.GetState(dbus_interface="org.a11y.atspi.Accessible", timeout=5)
        states = ",".join(name for name, bit in STATES if state[bit // 32] & (1 << bit % 32))
        if not text:
            print(f"{depth}\t{role}\t{label}\t{extents}\t{states}")
        elif "focused" in states:
            print(node.GetText(0, -1, dbus_interface="org.a11y.atspi.Text", timeout=5))
        for child_name, child_path in node.GetChildren(dbus_interface="org.a11y.atspi.Accessible",
                                                       timeout=5):
            walk(child_name, child_path, depth + 1)

    for name, path in registry.GetChildren(dbus_interface="org.a11y.atspi.Accessible", timeout=5):
        try:
            owner_pid = daemon.GetConnectionUnixProcessID(name, dbus_interface="org.freedesktop.DBus")
        except dbus.DBusException:
            continue
        if int(owner_pid) == pid:
            walk(name, path, 0)


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "owner":
        owner(sys.argv[2])
    elif len(sys.argv) == 3 and sys.argv[1] in ("tree", "text"):
        tree(int(sys.argv[2]), sys.argv[1] == "text")
    else:
        sys.exit(__doc__)
