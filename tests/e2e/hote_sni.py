#!/usr/bin/python3
"""A StatusNotifierItem tray host for the end-to-end harness, on the session bus of
DBUS_SESSION_BUS_ADDRESS, with Debian's python3-dbus and python3-gi only.

  hote_sni.py serve           owns org.kde.StatusNotifierWatcher and is its host: accepts
                              items, answers for them, forgets those whose owner leaves; prints
                              "ready" once it owns the name, then one line an event
  hote_sni.py items           prints the registered items, one a line (service/path)
  hote_sni.py tooltip         prints the title of the first item's tooltip
  hote_sni.py activate        calls the first item's Activate, as a left click does
  hote_sni.py menu            prints the first item's exported menu, one item a line:
                              label (access-key marks removed) <TAB> enabled|disabled
  hote_sni.py click LABEL     clicks the menu item with that label, as a host's menu does
"""

import sys

import dbus

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


def serve():
    import dbus.service
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()

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

        @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
        def RegisterStatusNotifierItem(self, service, sender=None):
            # An item names its bus name (its object then at /StatusNotifierItem) or its path.
            if service.startswith("/"):
                item = f"{sender}{service}"
            else:
                item = f"{service}/StatusNotifierItem"
            if item not in self.items:
                self.items.append(item)
                say(f"registered {item}")
                self.StatusNotifierItemRegistered(item)

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
                "RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": dbus.Boolean(True),
                "ProtocolVersion": dbus.Int32(0),
            }

        # Written out, properties included: Qt reads them through an introspected interface.
        @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
        def Introspect(self):
            return INTROSPECTION

        @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
        def Get(self, _interface, name):
            return self.properties()[name]

        @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
        def GetAll(self, _interface):
            return self.properties()

    watcher = Watcher()
    name = dbus.service.BusName(WATCHER, bus, do_not_queue=True)
    watcher.StatusNotifierHostRegistered()
    say(f"ready {name.get_name()}")
    GLib.MainLoop().run()


def first_item(bus):
    watcher = bus.get_object(WATCHER, WATCHER_PATH)
    items = watcher.Get(WATCHER, "RegisteredStatusNotifierItems", dbus_interface=PROPERTIES,
                        timeout=5)
    if not items:
        sys.exit("no item is registered")
    service, path = str(items[0]).split("/", 1)
    return bus.get_object(service, "/" + path)


def menu_items(bus):
    item = first_item(bus)
    path = item.Get(ITEM, "Menu", dbus_interface=PROPERTIES, timeout=5)
    menu = bus.get_object(item.bus_name, path)
    _revision, (_id, _properties, children) = menu.GetLayout(
        0, -1, dbus.Array([], signature="s"), dbus_interface=MENU, timeout=5)
    for child_id, properties, _children in children:
        if properties.get("type") == "separator" or not properties.get("visible", True):
            continue
        label = str(properties.get("label", "")).replace("__", "\0").replace("_", "")
        yield (menu, int(child_id), label.replace("\0", "_"),
               bool(properties.get("enabled", True)))


def main(arguments):
    if arguments == ["serve"]:
        serve()
        return
    bus = dbus.SessionBus()
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
