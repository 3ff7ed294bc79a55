#!/usr/bin/python3
"""A StatusNotifierItem tray host for the end-to-end harness, on the session bus of
DBUS_SESSION_BUS_ADDRESS, with Debian's python3-dbus and python3-gi only.

  hote_sni.py serve [OPTIONS] owns org.kde.StatusNotifierWatcher and is its host (owns
                              org.kde.StatusNotifierHost-PID), in one process as xfce4-panel is:
                              accepts items and reads each (its properties, then its menu's
                              layout), as every real host does when it draws one; forgets those
                              whose owner leaves; prints "ready" once it owns the name, then one
                              line an event. Watchers that lag or lie:
                              --no-host      owns no host name and reads no item (KDE's kded5
                                             outliving plasmashell)
                              --late S       no answer before S seconds after its start
                              --delay S      each answer S seconds late (a loaded panel)
                              --hang-after N answers N calls, then none
                              --items N      lists N items of other programs besides
                              --gnome        owns org.gnome.Shell instead of a host name and asks
                                             AboutToShow(0) of each new item's menu with no
                                             click, as GNOME Shell's AppIndicator extension does
  hote_sni.py host            owns org.kde.StatusNotifierHost-PID only and reads the watcher's
                              items, old and new: plasmashell apart from kded5; prints "ready"
  hote_sni.py burst N         has the watcher emit N host registered/unregistered pairs
  hote_sni.py readers N       reads the first item from N connections, one after another, each
                              closed after its read (clients that come and go by the thousand)
  hote_sni.py flips N         takes and gives back the watcher's name N times
  hote_sni.py items           prints the registered items, one a line (service/path)
  hote_sni.py tooltip         prints the title of the first item's tooltip
  hote_sni.py activate        calls the first item's Activate, as a left click does
  hote_sni.py menu            prints the first item's exported menu, one item a line:
                              label (access-key marks removed) <TAB> enabled|disabled
  hote_sni.py click LABEL     clicks the menu item with that label, as a host's menu does
  hote_sni.py open-menu       tells the first item its menu opens, as a host drawing it does
Calls that no host makes:
  hote_sni.py huge MB         calls the first item with MB megabytes of arguments, then reads it
                              within 1 s; prints the time that reading took
  hote_sni.py groups N        asks the first item's menu for entry 1's properties N times in one
                              request; prints the entries answered and the time taken
  hote_sni.py refuse          waits for an item, calls it what it does not have, and stays on the
                              bus; prints "refused" once refused
  hote_sni.py squat NAME N    owns the N bus names after NAME (org.kde.StatusNotifierItem-PID-K),
                              those that the program's next items would take; prints "ready"
"""

import os
import sys
import time

import dbus
import dbus.bus

WATCHER = "org.kde.StatusNotifierWatcher"
WATCHER_PATH = "/StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
PROPERTIES = "org.freedesktop.DBus.Properties"

INTROSPECTION = f"""<node>
 <interface name="{WATCHER}">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
  <signal name="StatusNotifierHostUnregistered"/>
  <method name="Burst"><arg name="count" type="i" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
 </interface>
 <interface name="{PROPERTIES}">
  <method name="Get">
   <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/>
  </method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{{sv}}" direction="out"/></method>
 </interface>
 <interface name="org.freedesktop.DBus.Introspectable">
  <method name="Introspect"><arg type="s" direction="out"/></method>
 </interface>
</node>
"""


def serve(options):
    import time

    import dbus.service
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    started = time.monotonic()
    late = float(options.get("--late", 0))
    delay = float(options.get("--delay", 0))
    answers_left = [int(options.get("--hang-after", -1))]
    others = [f":9.{n}/StatusNotifierItem" for n in range(int(options.get("--items", 0)))]
    reads = "--no-host" not in options

    def say(line):
        print(line, flush=True)

    class Watcher(dbus.service.Object):
        def __init__(self):
            super().__init__(bus, WATCHER_PATH)
            self.items = []
            bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged",
                                    "org.freedesktop.DBus", "org.freedesktop.DBus",
                                    "/org/freedesktop/DBus")

        def owner_changed(self, name, _old, new):
            if new:
                return
            for item in [i for i in self.items if i.split("/", 1)[0] == name]:
                self.items.remove(item)
                say(f"unregistered {item}")
                self.StatusNotifierItemUnregistered(item)

        @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender",
                             async_callbacks=("reply", "error"))
        def RegisterStatusNotifierItem(self, service, sender=None, reply=None, error=None):
            self.answer(None, lambda _: self.register(service, sender, reply), error)

        def register(self, service, sender, reply):
            # An item names its bus name (its object then at /StatusNotifierItem) or its path.
            if service.startswith("/"):
                item = f"{sender}{service}"
            else:
                item = f"{service}/StatusNotifierItem"
            reply()
            if item not in self.items:
                self.items.append(item)
                say(f"registered {item}")
                self.StatusNotifierItemRegistered(item)
                if reads:
                    read_item(bus, item, say, gnome="--gnome" in options)

        @dbus.service.method(WATCHER, in_signature="s")
        def RegisterStatusNotifierHost(self, _service):
            pass

        @dbus.service.signal(WATCHER, signature="s")
        def StatusNotifierItemRegistered(self, _item):
            pass

        @dbus.service.signal(WATCHER, signature="s")
        def StatusNotifierItemUnregistered(self, _item):
            pass

        @dbus.service.signal(WATCHER, signature="")
        def StatusNotifierHostRegistered(self):
            pass

        def properties(self):
            return {
                "RegisteredStatusNotifierItems": dbus.Array(self.items + others, signature="s"),
                "IsStatusNotifierHostRegistered": dbus.Boolean(True),
                "ProtocolVersion": dbus.Int32(0),
            }

        def answer(self, value, reply, _error):
            """Answers now, later or never, as the options say."""
            if answers_left[0] == 0:
                say("not answering")
                return
            answers_left[0] -= 1
            wait = max(late - (time.monotonic() - started), delay)
            if wait > 0:
                GLib.timeout_add(int(wait * 1000), lambda: reply(value) and False)
            else:
                reply(value)

        # Written out, properties included: Qt reads them through an introspected interface.
        @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s",
                             async_callbacks=("reply", "error"))
        def Introspect(self, reply, error):
            self.answer(INTROSPECTION, reply, error)

        @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v",
                             async_callbacks=("reply", "error"))
        def Get(self, _interface, name, reply, error):
            self.answer(self.properties()[name], reply, error)

        @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}",
                             async_callbacks=("reply", "error"))
        def GetAll(self, _interface, reply, error):
            self.answer(self.properties(), reply, error)

        @dbus.service.method(WATCHER, in_signature="i")
        def Burst(self, count):
            for _ in range(count):
                self.StatusNotifierHostRegistered()
                self.StatusNotifierHostUnregistered()

        @dbus.service.signal(WATCHER, signature="")
        def StatusNotifierHostUnregistered(self):
            pass

    watcher = Watcher()
    name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)
    if "--gnome" in options:
        _shell = dbus.service.BusName("org.gnome.Shell", bus, do_not_queue=True)
    elif "--no-host" not in options:
        _host_name = own_host_name(bus)  # owned while this reference lives
    watcher.StatusNotifierHostRegistered()
    say(f"ready {name.get_name()}")
    GLib.MainLoop().run()


def own_host_name(bus):
    import os

    import dbus.service
    return dbus.service.BusName(f"org.kde.StatusNotifierHost-{os.getpid()}", bus,
                                do_not_queue=True)


def read_item(bus, item, say, gnome=False):
    """Reads an item as a host drawing it does, without waiting: its properties, then its
    menu's layout; GNOME Shell's extension also asks AboutToShow(0), no click needed."""
    service, path = item.split("/", 1)

    def read_menu(properties):
        menu = str(properties.get("Menu", ""))
        say(f"read {item}")
        if not menu:
            return
        bus.call_async(service, menu, MENU, "GetLayout", "iias", (0, -1, []),
                       lambda *_: None, lambda e: say(f"menu error {e}"))
        if gnome:
            bus.call_async(service, menu, MENU, "AboutToShow", "i", (0,),
                           lambda *_: None, lambda e: say(f"menu error {e}"))

    bus.call_async(service, "/" + path, PROPERTIES, "GetAll", "s", (ITEM,), read_menu,
                   lambda e: say(f"item error {e}"))


def host():
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = own_host_name(bus)

    def say(line):
        print(line, flush=True)

    bus.add_signal_receiver(lambda item: read_item(bus, str(item), say),
                            "StatusNotifierItemRegistered", WATCHER, WATCHER, WATCHER_PATH)
    watcher = bus.get_object(WATCHER, WATCHER_PATH)
    for item in watcher.Get(WATCHER, "RegisteredStatusNotifierItems", dbus_interface=PROPERTIES,
                            timeout=5):
        read_item(bus, str(item), say)
    print(f"ready {name.get_name()}", flush=True)
    GLib.MainLoop().run()


def first_item(bus):
    watcher = bus.get_object(WATCHER, WATCHER_PATH)
    items = watcher.Get(WATCHER, "RegisteredStatusNotifierItems", dbus_interface=PROPERTIES,
                        timeout=5)
    if not items:
        sys.exit("no item is registered")
    service, path = str(items[0]).split("/", 1)
    return bus.get_object(service, "/" + path)


def first_menu(bus):
    item = first_item(bus)
    path = item.Get(ITEM, "Menu", dbus_interface=PROPERTIES, timeout=5)
    return bus.get_object(item.bus_name, path)


def menu_items(bus):
    menu = first_menu(bus)
    _revision, (_id, _properties, children) = menu.GetLayout(
        0, -1, dbus.Array([], signature="s"), dbus_interface=MENU, timeout=5)
    for child_id, properties, _children in children:
        if properties.get("type") == "separator" or not properties.get("visible", True):
            continue
        label = str(properties.get("label", "")).replace("__", "\0").replace("_", "")
        yield (menu, int(child_id), label.replace("\0", "_"),
               bool(properties.get("enabled", True)))


def main(arguments):
    if arguments[:1] == ["serve"]:
        flags = [a for a in arguments[1:] if a in ("--no-host", "--gnome")]
        rest = [a for a in arguments[1:] if a not in flags]
        serve(dict(zip(rest[::2], rest[1::2]), **{f: True for f in flags}))
        return
    if arguments == ["host"]:
        host()
        return
    bus = dbus.SessionBus()
    if len(arguments) == 2 and arguments[0] == "burst":
        bus.get_object(WATCHER, WATCHER_PATH).Burst(int(arguments[1]), dbus_interface=WATCHER,
                                                    timeout=120)
        return
    if len(arguments) == 2 and arguments[0] == "readers":
        address = os.environ["DBUS_SESSION_BUS_ADDRESS"]
        item = first_item(bus)
        for _ in range(int(arguments[1])):
            reader = dbus.bus.BusConnection(address)
            reader.call_blocking(item.bus_name, item.object_path, PROPERTIES, "GetAll", "s",
                                 (ITEM,), timeout=5)
            reader.close()
        return
    if len(arguments) == 2 and arguments[0] == "flips":
        for _ in range(int(arguments[1])):
            bus.request_name(WATCHER, dbus.bus.NAME_FLAG_DO_NOT_QUEUE)
            bus.release_name(WATCHER)
        return
    if len(arguments) == 2 and arguments[0] == "huge":
        # Two arrays of half the size each: one array stops at 64 MiB.
        item = first_item(bus)
        half = dbus.ByteArray(bytes(int(arguments[1]) << 19))
        try:
            bus.call_blocking(item.bus_name, item.object_path, PROPERTIES, "GetAll", "ayay",
                              (half, half), timeout=30)
        except dbus.DBusException as refused:
            print(f"refused ({refused.get_dbus_name()}), ", end="")
        start = time.monotonic()
        bus.call_blocking(item.bus_name, item.object_path, PROPERTIES, "GetAll", "s", (ITEM,),
                          timeout=1)
        print(f"read in {(time.monotonic() - start) * 1000:.0f} ms")
        return
    if len(arguments) == 2 and arguments[0] == "groups":
        menu = first_menu(bus)
        ids = dbus.Array([1] * int(arguments[1]), signature="i")
        start = time.monotonic()
        entries = menu.GetGroupProperties(ids, dbus.Array([], signature="s"),
                                          dbus_interface=MENU, timeout=5)
        print(f"entries {len(entries)} in {(time.monotonic() - start) * 1000:.0f} ms")
        return
    if arguments == ["refuse"]:
        while True:
            try:
                item = first_item(bus)
                break
            except (SystemExit, dbus.DBusException):
                time.sleep(0.05)
        try:
            bus.call_blocking(item.bus_name, item.object_path, "org.example.Inconnue", "Lire",
                              "", (), timeout=5)
        except dbus.DBusException:
            print("refused", flush=True)
        time.sleep(3600)
        return
    if len(arguments) == 3 and arguments[0] == "squat":
        prefix, number = arguments[1].rsplit("-", 1)
        for n in range(int(number) + 1, int(number) + 1 + int(arguments[2])):
            bus.request_name(f"{prefix}-{n}", dbus.bus.NAME_FLAG_DO_NOT_QUEUE)
        print("ready", flush=True)
        time.sleep(3600)
        return
    if arguments == ["items"]:
        watcher = bus.get_object(WATCHER, WATCHER_PATH)
        for item in watcher.Get(WATCHER, "RegisteredStatusNotifierItems",
                                dbus_interface=PROPERTIES, timeout=5):
            print(item)
    elif arguments == ["tooltip"]:
        _icon, _pixmaps, title, _text = first_item(bus).Get(ITEM, "ToolTip",
                                                            dbus_interface=PROPERTIES, timeout=5)
        print(title)
    elif arguments == ["activate"]:
        first_item(bus).Activate(0, 0, dbus_interface=ITEM, timeout=5)
    elif arguments == ["open-menu"]:
        menu = first_menu(bus)
        menu.AboutToShow(0, dbus_interface=MENU, timeout=5)
        menu.Event(0, "opened", dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                   dbus_interface=MENU, timeout=5)
    elif arguments == ["menu"]:
        for _menu, _id, label, enabled in menu_items(bus):
            print(f"{label}\t{'enabled' if enabled else 'disabled'}")
    elif len(arguments) == 2 and arguments[0] == "click":
        for menu, item_id, label, _enabled in menu_items(bus):
            if label == arguments[1]:
                menu.Event(item_id, "clicked", dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                           dbus_interface=MENU, timeout=5)
                return
        sys.exit(f"no menu item labelled {arguments[1]!r}")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
