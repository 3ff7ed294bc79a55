#!/usr/bin/python3
"""Reads screenshots (binary PPM, as ImageMagick's import and grim write them) for the harness's
real trays, whose icons and menus are drawn by the host and reach no window of the program.

  ecran.py icon BEFORE AFTER X Y W H      the leftmost thing that changed in that region, as
                                          "x y width height": an icon new in a panel whose other
                                          icons stay where they were
  ecran.py changed BEFORE AFTER X Y W H   the box around everything that changed in the region
                                          (a menu that opened), as "x y width height"
  ecran.py sway-windows PID               the windows of the program PID that sway shows, one a
                                          line: name <TAB> focused|unfocused (swaymsg's tree)
  ecran.py shell CODE [ARG...]            runs JavaScript in GNOME Shell (started with
                                          --unsafe-mode), the ARGs in its array args; prints the
                                          value, strings as they are, and fails when it throws
  ecran.py shell-screenshot PNG           GNOME Shell's screenshot of the screen, without pointer
  ecran.py kwin CODE [ARG...]             runs JavaScript in KWin (its scripting, over D-Bus), the
                                          ARGs in its array args; prints the value as shell does

icon and changed end with status 1 when nothing changed.
"""

import sys

# A pixel whose red, green and blue moved by more than this in all is a change; less is noise
# from a clock's or a cursor's antialiasing, never from an icon coming or going.
THRESHOLD = 48
# Columns of change closer than this belong to the same thing.
GAP = 3


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position) + 1
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[position + 1:]


def changes(before, after, x0, y0, w, h):
    """The changed pixels of the region, as a set of (x, y) in screen coordinates."""
    width, height, a = read_ppm(before)
    width_b, height_b, b = read_ppm(after)
    if (width, height) != (width_b, height_b):
        sys.exit("screenshots of different sizes")
    changed = set()
    for y in range(max(y0, 0), min(y0 + h, height)):
        row = y * width * 3
        for x in range(max(x0, 0), min(x0 + w, width)):
            i = row + x * 3
            if abs(a[i] - b[i]) + abs(a[i + 1] - b[i + 1]) + abs(a[i + 2] - b[i + 2]) > THRESHOLD:
                changed.add((x, y))
    return changed


def box(points):
    xs = [x for x, _ in points]
    ys = [y for _, y in points]
    return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


def icon(before, after, x0, y0, w, h):
    changed = changes(before, after, x0, y0, w, h)
    columns = sorted({x for x, _ in changed})
    if not columns:
        sys.exit(1)
    last = columns[0]
    for x in columns[1:]:
        if x - last > GAP:
            break
        last = x
    print(*box([(x, y) for x, y in changed if columns[0] <= x <= last]))


def changed_box(before, after, x0, y0, w, h):
    changed = changes(before, after, x0, y0, w, h)
    if not changed:
        sys.exit(1)
    print(*box(changed))


def sway_windows(pid):
    import json
    import subprocess

    tree = json.loads(subprocess.run(["swaymsg", "-t", "get_tree", "-r"], check=True,
                                     capture_output=True, text=True, timeout=5).stdout)

    def walk(node):
        if node.get("pid") == pid and node.get("visible"):
            print(f"{node.get('name')}\t{'focused' if node.get('focused') else 'unfocused'}")
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            walk(child)

    walk(tree)


def shell_proxy(path="/org/gnome/Shell"):
    import dbus

    return dbus.SessionBus().get_object("org.gnome.Shell", path)


def shell(code, *args):
    import json

    ok, value = shell_proxy().Eval(f"const args = {json.dumps(args)};\n{code}",
                                   dbus_interface="org.gnome.Shell", timeout=5)
    if not ok:
        sys.exit(f"the shell's JavaScript failed: {value}")
    value = json.loads(value) if value else ""
    print(value if isinstance(value, str) else json.dumps(value))


def shell_screenshot(path):
    ok, _ = shell_proxy("/org/gnome/Shell/Screenshot").Screenshot(False, False, path,
                                     dbus_interface="org.gnome.Shell.Screenshot", timeout=5)
    if not ok:
        sys.exit("the shell took no screenshot")


def kwin(code, *args):
    import json
    import os
    import tempfile

    import dbus
    import dbus.service
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    loop = GLib.MainLoop()
    answers = []

    # A script's only way out is a D-Bus call: it calls back here with the value.
    class Answer(dbus.service.Object):
        @dbus.service.method("org.example.Tarvane.E2E", in_signature="s")
        def value(self, text):
            answers.append(text)
            loop.quit()

    Answer(bus, "/")
    with tempfile.NamedTemporaryFile("w", suffix=".js", delete=False) as script:
        script.write(f"""const args = {json.dumps(args)};
let answer;
try {{
    const value = eval({json.dumps(code)});
    answer = "ok " + JSON.stringify(value === undefined ? null : value);
}} catch (error) {{
    answer = "error " + error;
}}
callDBus({json.dumps(bus.get_unique_name())}, "/", "org.example.Tarvane.E2E", "value", answer);
""")
    scripting = bus.get_object("org.kde.KWin", "/Scripting", introspect=False)
    plugin = f"tarvane-e2e-{os.getpid()}"
    try:
        number = scripting.loadScript(script.name, plugin, dbus_interface="org.kde.kwin.Scripting",
                                      timeout=5)
        bus.get_object("org.kde.KWin", f"/Scripting/Script{number}", introspect=False).run(
            dbus_interface="org.kde.kwin.Script", timeout=5)
        GLib.timeout_add_seconds(5, loop.quit)
        loop.run()
    finally:
        scripting.unloadScript(plugin, dbus_interface="org.kde.kwin.Scripting", timeout=5)
        os.unlink(script.name)
    if not answers:
        sys.exit("KWin's script did not answer")
    status, _, value = answers[0].partition(" ")
    if status != "ok":
        sys.exit(f"KWin's script failed: {value}")
    value = json.loads(value)
    print(value if isinstance(value, str) else json.dumps(value))


if __name__ == "__main__":
    command, arguments = (sys.argv[1], sys.argv[2:]) if len(sys.argv) > 1 else ("", [])
    if command in ("icon", "changed") and len(arguments) == 6:
        (icon if command == "icon" else changed_box)(arguments[0], arguments[1],
                                                     *map(int, arguments[2:]))
    elif command == "sway-windows" and len(arguments) == 1:
        sway_windows(int(arguments[0]))
    elif command == "shell" and arguments:
        shell(*arguments)
    elif command == "shell-screenshot" and len(arguments) == 1:
        shell_screenshot(arguments[0])
    elif command == "kwin" and arguments:
        kwin(*arguments)
    else:
        sys.exit(__doc__)
