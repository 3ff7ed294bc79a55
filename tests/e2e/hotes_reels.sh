# shellcheck shell=bash
# Real desktops' trays, for the end-to-end harness (sourced after harness.sh): GNOME Shell with
# its AppIndicator extension on X or on Wayland, xfce4-panel's notification area, plasmashell over
# kded on X or on KWin's Wayland, Cinnamon over xapp-sn-watcher, MATE's and LXQt's panels,
# Budgie's XEmbed tray, waybar on sway, each started as a session starts it, on the test's own
# screen and session bus. They draw the icon and its menu themselves, so both are
# found on screenshots (ecran.py) and clicked with the pointer, as a person would. GNOME Shell on
# Wayland lets no other client reach its screen or input: there the harness goes through the
# shell's own JavaScript (org.gnome.Shell.Eval, in its unsafe mode); on KWin, windows are read
# and moved through its scripting, over D-Bus.
#
#   e2e_start_real_host gnome|gnome-wayland|xfce|kde|kde-wayland|cinnamon|mate|lxqt|budgie|sway
#                       [POINTER]
#   e2e_start_program ...; e2e_wait_host_icon; e2e_host_click_icon 1; e2e_host_window_within ...
#   e2e_host_open_menu; e2e_host_click_menu_item 2 2; e2e_stop_panel; e2e_start_panel

E2E_NOBODY=65534 # sway will not run as root
# Where each release keeps it: its bus service says.
E2E_XAPP_WATCHER=$(sed -n 's/^Exec=//p' /usr/share/dbus-1/services/org.x.StatusNotifierWatcher.service \
    2>/dev/null || true)

# The screen as a binary PPM file.
e2e_host_screenshot() { # FILE
    if [ "$E2E_HOST" = sway ]; then
        timeout 5 env XDG_RUNTIME_DIR="$E2E_WORK/run" WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" \
            grim -t ppm "$1"
    elif [ "$E2E_HOST" = gnome-wayland ]; then
        e2e_ecran shell-screenshot "$E2E_WORK/shell.png" &&
            timeout 5 convert "$E2E_WORK/shell.png" -depth 8 "ppm:$1" 2>>"$E2E_WORK/ecran.log"
    else
        timeout 5 import -display "$DISPLAY" -window root -depth 8 "ppm:$1"
    fi
}

# Saves the whole screen as $E2E_OUT/NN-NAME.png, as e2e_screenshot does, sway's too, and
# compressed as little as PNG allows: a busy desktop leaves ImageMagick little time for more.
# With CROP, only that part of the screen.
e2e_host_png() { # NAME [CROP: WIDTHxHEIGHT+X+Y]
    E2E_STEP=$((E2E_STEP + 1))
    local file
    file=$(printf '%s/%02d-%s.png' "$E2E_OUT" "$E2E_STEP" "$1")
    if [ "$E2E_HOST" = sway ]; then
        timeout 10 env XDG_RUNTIME_DIR="$E2E_WORK/run" WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" \
            grim -l 1 "$file"
    elif [ "$E2E_HOST" = gnome-wayland ]; then
        e2e_ecran shell-screenshot "$file"
    else
        timeout 10 import -display "$DISPLAY" -window root -define png:compression-level=1 \
            "$file"
    fi
    [ -z "${2:-}" ] || timeout 10 convert "$file" -crop "$2" +repage "$file" 2>>"$E2E_WORK/ecran.log"
    e2e_log "screenshot $file"
}

e2e_ecran() { timeout 10 "$E2E_PYTHON" "$E2E_HERE/ecran.py" "$@" 2>>"$E2E_WORK/ecran.log"; }

# The watcher's items, one a line, in the host's own form.
e2e_host_items() {
    timeout 5 dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher \
        /StatusNotifierWatcher org.freedesktop.DBus.Properties.Get \
        string:org.kde.StatusNotifierWatcher string:RegisteredStatusNotifierItems 2>/dev/null |
        sed -n 's/^ *string "\(.*\)"$/\1/p'
}

e2e_bus_name_owned() { # NAME
    timeout 5 dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetNameOwner "string:$1" >/dev/null 2>&1
}

e2e_bus_name_like_owned() { # PREFIX
    timeout 5 dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.ListNames 2>/dev/null | grep -q "string \"$1"
}

# The panel has drawn what it will draw: the tray the same in four screenshots in a row (about
# two seconds). The last one is kept as E2E_HOST_BEFORE.
e2e_host_settled() {
    e2e_host_screenshot "$E2E_WORK/settle.ppm"
    if [ -s "$E2E_HOST_BEFORE" ] &&
        ! e2e_ecran changed "$E2E_HOST_BEFORE" "$E2E_WORK/settle.ppm" "${E2E_HOST_TRAY[@]}" \
            >/dev/null; then
        E2E_SETTLED=$((E2E_SETTLED + 1))
    else
        E2E_SETTLED=0
    fi
    mv "$E2E_WORK/settle.ppm" "$E2E_HOST_BEFORE"
    E2E_SEEN="the same in $E2E_SETTLED screenshots in a row"
    [ "$E2E_SETTLED" -ge 3 ]
}

# A session bus that sway and waybar (run as nobody) share with the program and the harness
# (root): the usual session bus lets its own user in only. An abstract socket needs no
# directory that both can reach, and stays inside the test's network namespace.
e2e_start_shared_bus() {
    cat >"$E2E_WORK/shared-bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:abstract=/tmp/tarvane-e2e-bus</listen>
  <auth>EXTERNAL</auth>
  <standard_session_servicedirs/>
  <policy context="default">
    <allow user="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
    e2e_launch dbus env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
        dbus-daemon --config-file="$E2E_WORK/shared-bus.conf" --nofork --nopidfile \
        --print-address=1
    e2e_wait_until "$E2E_TIMEOUT" "the shared desktop bus to start" \
        grep -q '^unix:' "$E2E_WORK/dbus.log"
    export DBUS_SESSION_BUS_ADDRESS
    DBUS_SESSION_BUS_ADDRESS=$(grep -m 1 '^unix:' "$E2E_WORK/dbus.log")
    E2E_BUS=1
}

# A system bus of the test's own for GNOME Shell, which asks it for accounts, power, network...:
# none answers, as on a machine without those services.
e2e_start_system_bus() {
    cat >"$E2E_WORK/system-bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:abstract=/tmp/tarvane-e2e-system-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_type="method_return"/>
    <allow send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="signal"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
  </policy>
</busconfig>
CONF
    e2e_launch system-bus dbus-daemon --config-file="$E2E_WORK/system-bus.conf" --nofork \
        --nopidfile --print-address=1
    e2e_wait_until "$E2E_TIMEOUT" "the system bus to start" \
        grep -q '^unix:' "$E2E_WORK/system-bus.log"
    E2E_SYSTEM_BUS=$(grep -m 1 '^unix:' "$E2E_WORK/system-bus.log")
}

# Starts the desktop HOST with its tray, waits until its panel is drawn and keeps that picture
# in E2E_HOST_BEFORE, against which the program's icon is found. Sets E2E_HOST, E2E_HOST_TRAY
# (the region of the tray: x y width height) and for GNOME Shell E2E_HOST_MENU (the region where
# it draws the icon's menu). sway and KWin need POINTER, the virtual pointer (pointeur_wayland).
e2e_start_real_host() { # HOST [POINTER]
    E2E_HOST=$1
    E2E_POINTER=${2:-}
    E2E_HOST_BEFORE=$E2E_WORK/before.ppm
    E2E_HOST_MENU=()
    E2E_PANEL_STARTS=0
    case $E2E_HOST in
    gnome | gnome-wayland)
        E2E_HOST_TRAY=(800 0 480 32) # right of the clock
        E2E_HOST_MENU=(640 32 640 200)
        e2e_need gnome-shell /usr/share/gnome-shell/extensions/ubuntu-appindicators@ubuntu.com
        if [ "$E2E_HOST" = gnome ]; then
            e2e_start_x
        else
            e2e_need convert
            E2E_WAYLAND_DISPLAY=wayland-tarvane
        fi
        e2e_start_bus
        e2e_start_system_bus
        # The shell starts in the overview, over the windows and the program's window: an
        # extension of the test's own leaves it as soon as the shell has started, and says so.
        local extension=$E2E_WORK/home/.local/share/gnome-shell/extensions/sans-apercu@example.org
        local version
        version=$(gnome-shell --version | grep -o '[0-9]*' | head -1)
        mkdir -p "$extension"
        printf '%s\n' '{"uuid": "sans-apercu@example.org", "name": "No overview at start",' \
            ' "description": "Leaves the overview once the shell has started.",' \
            " \"shell-version\": [\"$version\"]}" >"$extension/metadata.json"
        # GNOME Shell 45 and later load extensions as modules, earlier ones as scripts.
        if [ "$version" -ge 45 ]; then
            cat >"$extension/extension.js" <<'JS'
import GLib from 'gi://GLib';
import * as Main from 'resource:///org/gnome/shell/ui/main.js';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';
JS
        else
            cat >"$extension/extension.js" <<'JS'
const GLib = imports.gi.GLib;
const Main = imports.ui.main;
JS
        fi
        cat >>"$extension/extension.js" <<'JS'

// Tells the harness that the session is on screen, the overview gone.
function ready() {
    GLib.file_set_contents(`${GLib.get_user_runtime_dir()}/gnome-shell-ready`, '');
}

function leaveOverview() {
    if (!Main.overview.visible) {
        ready();
        return;
    }
    const id = Main.overview.connect('hidden', () => {
        Main.overview.disconnect(id);
        ready();
    });
    Main.overview.hide();
}

function enable() {
    if (Main.layoutManager._startingUp)
        Main.layoutManager.connect('startup-complete', leaveOverview);
    else
        leaveOverview();
}
JS
        if [ "$version" -ge 45 ]; then
            cat >>"$extension/extension.js" <<'JS'

export default class SansApercu extends Extension {
    enable() { enable(); }
    disable() {}
}
JS
        else
            cat >>"$extension/extension.js" <<'JS'

function init() {}
function disable() {}
JS
        fi
        # dconf's service, started by the bus, writes into the test's home.
        e2e_gsettings org.gnome.shell enabled-extensions \
            "['ubuntu-appindicators@ubuntu.com', 'sans-apercu@example.org']"
        e2e_gsettings org.gnome.desktop.notifications show-banners false
        e2e_gsettings org.gnome.desktop.session idle-delay 0
        e2e_gsettings org.gnome.desktop.screensaver lock-enabled false
        ;;
    xfce)
        E2E_HOST_TRAY=(640 0 640 32)
        e2e_need xfce4-panel /usr/lib/x86_64-linux-gnu/xfce4/panel/plugins/libsystray.so
        e2e_start_x
        e2e_start_bus
        # One panel along the top, with the notification area only. Without a configuration
        # the first start asks which one to take.
        local channel=$E2E_WORK/home/.config/xfce4/xfconf/xfce-perchannel-xml
        mkdir -p "$channel"
        cat >"$channel/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="separator">
      <property name="expand" type="bool" value="true"/>
      <property name="style" type="uint" value="0"/>
    </property>
    <property name="plugin-2" type="string" value="systray">
      <property name="square-icons" type="bool" value="true"/>
    </property>
  </property>
</channel>
XML
        ;;
    kde | kde-wayland)
        E2E_HOST_TRAY=(0 756 640 44)
        # Plasma 6 (Debian 13) has kded6, Plasma 5 (Debian 12) kded5.
        E2E_KDED=kded6 E2E_PLASMA=6
        command -v kded6 >/dev/null || E2E_KDED=kded5 E2E_PLASMA=5
        local kwin
        kwin=$(kwin_wayland --version 2>/dev/null || echo none) # "kwin 6.3.6"
        if [ "$E2E_HOST" = kde-wayland ] &&
            [[ $E2E_PLASMA != 6 || ! $kwin =~ ^kwin\ ([6-9]|1[0-9])\. ]]; then
            e2e_skip "Plasma 6 on KWin's Wayland needs kded6 and kwin_wayland 6" \
                "(here $E2E_KDED, kwin_wayland: $kwin)"
        fi
        e2e_need "$E2E_KDED" plasmashell /usr/share/plasma/shells/org.kde.plasma.desktop
        if [ "$E2E_HOST" = kde ]; then
            e2e_start_x
            e2e_start_bus
        else
            [ -x "$E2E_POINTER" ] || e2e_fail "KWin needs the virtual pointer (pointeur_wayland)"
            E2E_HOST_MENU=(0 420 540 336) # above the panel, left of the windows (centred)
            E2E_WAYLAND_DISPLAY="wayland-tarvane"
            # KWin's screen is a window on Xvfb, whose screenshots are the harness's own: without
            # a GPU's render node KWin paints with QPainter, and its own screenshots want OpenGL.
            # Its clients see no X server.
            e2e_start_x
            e2e_start_bus
            # KWin hands its fake input to the programs whose desktop entry asks for it: the
            # pointer's here. Its permission checks stay on, for with them off it trusts no
            # client, Plasma's shell included, and refuses the shell the activation tokens that
            # the tray hands to the programs. It finds desktop entries through Plasma's menu.
            mkdir -p "$E2E_WORK/home/.local/share/applications"
            printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Pointeur' 'NoDisplay=true' \
                "Exec=$(realpath "$E2E_POINTER")" \
                'X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input' \
                >"$E2E_WORK/home/.local/share/applications/pointeur.desktop"
            e2e_launch kwin env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
                XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION=6 \
                XDG_SESSION_TYPE=wayland XDG_MENU_PREFIX=plasma- XKB_DEFAULT_LAYOUT=us \
                kwin_wayland --x11-display "$DISPLAY" --width 1280 --height 800 \
                --socket "$E2E_WAYLAND_DISPLAY" --no-lockscreen --no-global-shortcuts \
                --no-kactivities
            E2E_WM_PID=$E2E_LAST_PID
            e2e_wait_until 20 "KWin to own its name" e2e_bus_name_owned org.kde.KWin
            e2e_log "KWin $E2E_WM_PID on $E2E_WAYLAND_DISPLAY"
            e2e_start_pointer
        fi
        # A panel along the bottom with the notification area alone, which shows the items only:
        # none of the default layout's clock, clipboard or keyboard layout, whose icons come and
        # go on their own. Every known applet is listed as known, so that none is added.
        mkdir -p "$E2E_WORK/home/.config"
        cat >"$E2E_WORK/home/.config/plasma-org.kde.plasma.desktop-appletsrc" <<'CONFIG'
[Containments][2]
formfactor=2
immutability=1
lastScreen=0
location=4
plugin=org.kde.panel

[Containments][2][Applets][7]
immutability=1
plugin=org.kde.plasma.systemtray

[Containments][2][Applets][7][Configuration]
SystrayContainmentId=8

[Containments][2][General]
AppletOrder=7

[Containments][8]
formfactor=2
immutability=1
lastScreen=0
location=4
plugin=org.kde.plasma.private.systemtray

[Containments][8][General]
extraItems=
knownItems=org.kde.plasma.battery,org.kde.plasma.keyboardlayout,org.kde.plasma.manage-inputmethod,org.kde.plasma.mediacontroller,org.kde.plasma.devicenotifier,org.kde.plasma.clipboard,org.kde.plasma.notifications
CONFIG
        # The watcher lives in kded, apart from the panel; both are clients of the screen.
        E2E_KDE_QPA=(QT_QPA_PLATFORM=xcb)
        [ "$E2E_HOST" = kde ] ||
            E2E_KDE_QPA=(DISPLAY= QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY")
        e2e_launch "$E2E_KDED" env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION="$E2E_PLASMA" \
            "${E2E_KDE_QPA[@]}" "$E2E_KDED"
        e2e_wait_until 20 "$E2E_KDED to own the watcher's name" \
            e2e_bus_name_owned org.kde.StatusNotifierWatcher
        ;;
    cinnamon)
        # Cinnamon's applet draws what xapp-sn-watcher, a process of its own, reads from the
        # items and passes on; the watcher also shows their menus.
        E2E_HOST_TRAY=(640 0 640 40)
        e2e_need cinnamon "${E2E_XAPP_WATCHER:-xapp-sn-watcher}" \
            /usr/share/cinnamon/applets/xapp-status@cinnamon.org
        e2e_start_x
        e2e_start_bus
        e2e_start_system_bus
        # One panel along the top with the status applet alone.
        e2e_gsettings org.cinnamon panels-enabled "['1:0:top']"
        e2e_gsettings org.cinnamon enabled-applets "['panel1:right:0:xapp-status@cinnamon.org:1']"
        ;;
    mate)
        # The notification area is an applet of its own process, which the bus starts for the
        # panel; it owns the watcher's name and draws the items. At the panel's left end, right
        # of the handle that the panel draws for it once it has loaded, maybe after the panel's
        # picture was taken.
        E2E_HOST_TRAY=(10 0 630 32)
        e2e_need mate-panel dconf \
            /usr/share/dbus-1/services/org.mate.panel.applet.NotificationAreaAppletFactory.service
        e2e_start_x
        e2e_start_bus
        # One panel along the top with the notification area alone, at its left end.
        timeout 10 env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            dconf load /org/mate/panel/ <<'LAYOUT'
[general]
object-id-list=['notification-area']
toplevel-id-list=['top']

[toplevels/top]
expand=true
orientation='top'
size=32

[objects/notification-area]
object-type='applet'
applet-iid='NotificationAreaAppletFactory::NotificationArea'
toplevel-id='top'
position=0
locked=true
LAYOUT
        ;;
    lxqt)
        # The panel's status notifier plugin is the watcher and the host.
        E2E_HOST_TRAY=(0 0 640 32)
        e2e_need lxqt-panel /usr/share/lxqt/lxqt-panel/statusnotifier.desktop
        e2e_start_x
        e2e_start_bus
        # One panel along the top with that plugin alone.
        mkdir -p "$E2E_WORK/home/.config/lxqt"
        printf '%s\n' '[General]' 'panels=panel1' '' '[panel1]' 'position=Top' 'panelSize=32' \
            'iconSize=22' 'plugins=statusnotifier' '' '[statusnotifier]' 'type=statusnotifier' \
            >"$E2E_WORK/home/.config/lxqt/panel.conf"
        ;;
    budgie)
        # The applet "System Tray": an XEmbed tray, where the program's own menu opens, up to
        # Budgie 10.8 (Debian 12); from 10.9 on a status notifier host, over the watcher that
        # budgie-daemon owns, as kded does for Plasma.
        E2E_HOST_TRAY=(0 759 640 41)
        local applet=/usr/lib/budgie-desktop/plugins/org.budgie-desktop.applet.tray/TrayApplet.plugin
        e2e_need budgie-panel budgie-daemon dconf "$applet"
        E2E_BUDGIE_SNI=false
        ! grep -q 'Status Notifier' "$applet" || E2E_BUDGIE_SNI=true
        e2e_start_x
        e2e_start_bus
        e2e_start_system_bus
        if $E2E_BUDGIE_SNI; then
            e2e_launch budgie-daemon env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
                DBUS_SYSTEM_BUS_ADDRESS="$E2E_SYSTEM_BUS" XDG_CURRENT_DESKTOP=Budgie:GNOME \
                budgie-daemon
            e2e_wait_until 20 "budgie-daemon to own the watcher's name" \
                e2e_bus_name_owned org.kde.StatusNotifierWatcher
        fi
        # One panel along the bottom with the tray alone, at its left end.
        timeout 10 env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            dconf load /com/solus-project/budgie-panel/ <<'LAYOUT'
[/]
migration-level=1
panels=['00000000-0000-4000-8000-000000000001']

[panels/{00000000-0000-4000-8000-000000000001}]
applets=['00000000-0000-4000-8000-000000000002']
location='bottom'
size=36
transparency='none'

[applets/{00000000-0000-4000-8000-000000000002}]
alignment='start'
name='System Tray'
position=0
LAYOUT
        ;;
    sway)
        E2E_HOST_TRAY=(640 0 640 32)
        e2e_need sway waybar grim wtype wl-copy wl-paste swaymsg
        [ -x "$E2E_POINTER" ] || e2e_fail "sway needs the virtual pointer (pointeur_wayland)"
        # Root mapped from another user (an unprivileged run) has no other user to become.
        if [ "$(id -u)" -ne 0 ] || grep -qv '^ *0 *0 ' /proc/self/uid_map; then
            e2e_fail "sway refuses root and the test cannot become another user: run it as root"
        fi
        # sway's runtime directory and home must be its user's; the program and the harness,
        # as root, reach into them all the same.
        chmod 711 "$E2E_WORK"
        chown "$E2E_NOBODY:$E2E_NOBODY" "$E2E_WORK/run" "$E2E_WORK/home"
        e2e_start_shared_bus
        mkdir -p "$E2E_WORK/home/.config/sway" "$E2E_WORK/home/.config/waybar"
        printf '%s\n' 'output HEADLESS-1 mode 1280x800 position 0 0' 'default_border none' \
            >"$E2E_WORK/home/.config/sway/config"
        printf '%s\n' '{ "layer": "top", "position": "top", "height": 32,' \
            '  "modules-right": ["tray"], "tray": { "icon-size": 22, "spacing": 8 } }' \
            >"$E2E_WORK/home/.config/waybar/config"
        chown -R "$E2E_NOBODY:$E2E_NOBODY" "$E2E_WORK/home/.config"
        e2e_launch sway setpriv --reuid="$E2E_NOBODY" --regid="$E2E_NOBODY" --clear-groups -- \
            env -i "$E2E_MARK" PATH=/usr/bin:/bin HOME="$E2E_WORK/home" \
            XDG_RUNTIME_DIR="$E2E_WORK/run" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
            WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
            setpriv --pdeathsig TERM -- sway
        E2E_WM_PID=$E2E_LAST_PID
        e2e_wait_until "$E2E_TIMEOUT" "sway to open its sockets" e2e_sway_sockets
        export SWAYSOCK
        e2e_log "sway $E2E_WM_PID on $E2E_WAYLAND_DISPLAY"
        e2e_start_pointer
        # A keyboard too: with none the focused window is told it lost the keyboard, and each
        # wtype's own keyboard would come and go around its keys. This one only waits.
        e2e_launch keyboard env XDG_RUNTIME_DIR="$E2E_WORK/run" \
            WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" wtype -s 600000
        ;;
    *) e2e_fail "unknown tray host: $E2E_HOST" ;;
    esac
    e2e_start_accessibility
    e2e_start_panel
}

# The headless output has no pointer: a virtual one, kept for the whole test.
e2e_start_pointer() {
    mkfifo "$E2E_WORK/pointer.in"
    # e2e_launch gives its commands no input: the pointer reads a pipe of its own.
    # shellcheck disable=SC2016 # expanded by sh
    e2e_launch pointer env XDG_RUNTIME_DIR="$E2E_WORK/run" \
        WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" \
        sh -c 'exec "$0" 1280 800 <"$1"' "$E2E_POINTER" "$E2E_WORK/pointer.in"
    exec {E2E_POINTER_IN}>"$E2E_WORK/pointer.in"
    e2e_wait_until "$E2E_TIMEOUT" "the virtual pointer" grep -q '^ready' "$E2E_WORK/pointer.log"
    E2E_POINTER_ANSWERS=0
}

e2e_gsettings() { # SCHEMA KEY VALUE
    timeout 10 env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" gsettings set "$@"
}

e2e_need() { # COMMAND_OR_PATH...
    local need
    for need; do
        [ -e "$need" ] || command -v "$need" >/dev/null ||
            e2e_fail "$need is missing: run scripts/setup.sh test"
    done
}

e2e_sway_sockets() { # sets E2E_WAYLAND_DISPLAY and SWAYSOCK
    local wayland=("$E2E_WORK"/run/wayland-?) ipc=("$E2E_WORK"/run/sway-ipc.*)
    [ -S "${wayland[0]}" ] && [ -S "${ipc[0]}" ] || return 1
    E2E_WAYLAND_DISPLAY=${wayland[0]##*/}
    SWAYSOCK=${ipc[0]}
}

# Starts the host's panel (again), which owns or reads the watcher, and waits until it is drawn.
e2e_start_panel() {
    E2E_PANEL_STARTS=$((E2E_PANEL_STARTS + 1))
    local log=panel-$E2E_PANEL_STARTS
    case $E2E_HOST in
    gnome | gnome-wayland)
        local session=x11 options=(--x11 --replace)
        if [ "$E2E_HOST" = gnome-wayland ]; then
            # Its own virtual screen, with neither a GPU nor logind; unsafe, for Eval.
            session=wayland
            options=(--wayland --headless --no-x11 --virtual-monitor 1280x800 --unsafe-mode
                --wayland-display="$E2E_WAYLAND_DISPLAY")
        fi
        if [ "$E2E_HOST" = gnome-wayland ] && [ "$E2E_PANEL_STARTS" -gt 1 ]; then
            # There the shell is the screen too: its tray comes back, as it went.
            e2e_shell_extension EnableExtension
        else
            rm -f "$E2E_WORK/run/gnome-shell-ready"
            # No logind here: with /run/systemd out of its sight the shell does not look for it.
            # shellcheck disable=SC2016 # expanded by sh
            e2e_launch "$log" env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
                DBUS_SYSTEM_BUS_ADDRESS="$E2E_SYSTEM_BUS" XDG_SESSION_TYPE=$session \
                XDG_CURRENT_DESKTOP=GNOME unshare --mount -- sh -c \
                'mount -t tmpfs tmpfs /run/systemd && exec gnome-shell "$@"' sh "${options[@]}"
            E2E_PANEL_PID=$E2E_LAST_PID
            # The window manager too: the program's windows are framed.
            E2E_WM_PID=$E2E_PANEL_PID
            e2e_wait_until 20 "GNOME Shell to leave the overview" \
                test -e "$E2E_WORK/run/gnome-shell-ready"
            [ "$E2E_HOST" = gnome ] || e2e_shell_devices
        fi
        e2e_wait_until 20 "GNOME Shell to own the watcher's name" \
            e2e_bus_name_owned org.kde.StatusNotifierWatcher
        ;;
    cinnamon)
        e2e_launch "$log" env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            DBUS_SYSTEM_BUS_ADDRESS="$E2E_SYSTEM_BUS" XDG_CURRENT_DESKTOP=X-Cinnamon \
            XDG_SESSION_TYPE=x11 cinnamon --replace
        E2E_PANEL_PID=$E2E_LAST_PID
        E2E_WM_PID=$E2E_PANEL_PID
        e2e_wait_until 20 "Cinnamon's status applet to own its name" \
            e2e_bus_name_like_owned org.x.StatusIconMonitor
        # The session starts the watcher once, as the panel comes up; it waits 30 s for an
        # applet that went, then ends, and the session starts it again.
        if ! e2e_bus_name_owned org.kde.StatusNotifierWatcher; then
            e2e_launch "xapp-sn-watcher-$E2E_PANEL_STARTS" env HOME="$E2E_WORK/home" \
                XDG_RUNTIME_DIR="$E2E_WORK/run" XDG_CURRENT_DESKTOP=X-Cinnamon \
                "$E2E_XAPP_WATCHER"
            e2e_wait_until 20 "xapp-sn-watcher to own the watcher's name" \
                e2e_bus_name_owned org.kde.StatusNotifierWatcher
        fi
        ;;
    mate)
        e2e_launch "$log" env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            XDG_CURRENT_DESKTOP=MATE mate-panel
        E2E_PANEL_PID=$E2E_LAST_PID
        e2e_wait_until 20 "MATE's notification area to own the watcher's name" \
            e2e_bus_name_owned org.kde.StatusNotifierWatcher
        ;;
    lxqt)
        e2e_launch "$log" env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            XDG_CURRENT_DESKTOP=LXQt QT_QPA_PLATFORM=xcb lxqt-panel
        E2E_PANEL_PID=$E2E_LAST_PID
        e2e_wait_until 20 "lxqt-panel to own the watcher's name" \
            e2e_bus_name_owned org.kde.StatusNotifierWatcher
        ;;
    budgie)
        e2e_launch "$log" env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            DBUS_SYSTEM_BUS_ADDRESS="$E2E_SYSTEM_BUS" XDG_CURRENT_DESKTOP=Budgie:GNOME \
            budgie-panel
        E2E_PANEL_PID=$E2E_LAST_PID
        if $E2E_BUDGIE_SNI; then
            e2e_wait_until 20 "budgie-panel to own a host's name" \
                e2e_bus_name_like_owned org.freedesktop.StatusNotifierHost-budgie_0
        else
            e2e_wait_until 20 "budgie-panel's tray to own the X tray selection" e2e_tray_owned
        fi
        ;;
    xfce)
        e2e_launch "$log" env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            xfce4-panel --disable-wm-check
        E2E_PANEL_PID=$E2E_LAST_PID
        e2e_wait_until 20 "xfce4-panel to own the watcher's name" \
            e2e_bus_name_owned org.kde.StatusNotifierWatcher
        ;;
    kde | kde-wayland)
        e2e_launch "$log" env HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
            XDG_CURRENT_DESKTOP=KDE KDE_FULL_SESSION=true KDE_SESSION_VERSION="$E2E_PLASMA" \
            "${E2E_KDE_QPA[@]}" plasmashell --no-respawn
        E2E_PANEL_PID=$E2E_LAST_PID
        e2e_wait_until 30 "plasmashell to own a host's name" \
            e2e_bus_name_like_owned org.kde.StatusNotifierHost-
        ;;
    sway)
        e2e_launch "$log" setpriv --reuid="$E2E_NOBODY" --regid="$E2E_NOBODY" --clear-groups -- \
            env -i "$E2E_MARK" PATH=/usr/bin:/bin HOME="$E2E_WORK/home" \
            XDG_RUNTIME_DIR="$E2E_WORK/run" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
            WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" SWAYSOCK="$SWAYSOCK" \
            setpriv --pdeathsig TERM -- waybar
        E2E_PANEL_PID=$E2E_LAST_PID
        e2e_wait_until "$E2E_TIMEOUT" "waybar to own a host's name" \
            e2e_bus_name_like_owned org.kde.StatusNotifierHost-
        ;;
    esac
    if [ "$E2E_PANEL_STARTS" -eq 1 ]; then
        E2E_SETTLED=0
        e2e_wait_until 20 "the panel to be drawn" e2e_host_settled
    fi
    e2e_log "$E2E_HOST's panel $E2E_PANEL_PID up"
}

# Kills the panel, as a crash does: the host's processes go, not the screen nor the bus. GNOME
# Shell on Wayland is the screen: its AppIndicator extension goes instead, and with it the tray.
e2e_stop_panel() {
    if [ "$E2E_HOST" = gnome-wayland ]; then
        e2e_shell_extension DisableExtension
        e2e_wait_until "$E2E_TIMEOUT" "the watcher's name to go" \
            e2e_not e2e_bus_name_owned org.kde.StatusNotifierWatcher
        e2e_log "$E2E_HOST's tray disabled"
        return
    fi
    kill -KILL "$E2E_PANEL_PID"
    e2e_wait_until "$E2E_TIMEOUT" "the panel to end" e2e_not_running "$E2E_PANEL_PID"
    wait "$E2E_PANEL_PID" 2>/dev/null || true
    e2e_log "$E2E_HOST's panel $E2E_PANEL_PID killed"
}

e2e_not_running() { ! e2e_running "$1"; }
e2e_not() { ! "$@"; }

e2e_shell_extension() { # EnableExtension|DisableExtension
    timeout 10 dbus-send --session --print-reply --dest=org.gnome.Shell /org/gnome/Shell \
        "org.gnome.Shell.Extensions.$1" string:ubuntu-appindicators@ubuntu.com >/dev/null
}

# JavaScript run in GNOME Shell on Wayland (ecran.py shell): C is Clutter, p and k the virtual
# pointer and keyboard that e2e_shell_devices made, now() the clock of their events.
e2e_shell() { # CODE [ARG...]
    local code=$1
    shift
    e2e_ecran shell "const C = imports.gi.Clutter, p = globalThis.e2ePointer,
        k = globalThis.e2eKeyboard, now = () => imports.gi.GLib.get_monotonic_time();
        const windows = () => global.display.list_all_windows();
        $code" "$@"
}

# The headless shell has no input device: the test's own, made before any client comes, so that
# each one is given a keyboard and a pointer from the start.
e2e_shell_devices() {
    e2e_shell "const backend = C.get_default_backend?.() ?? global.stage.context.get_backend();
        const seat = backend.get_default_seat();
        globalThis.e2ePointer = seat.create_virtual_device(C.InputDeviceType.POINTER_DEVICE);
        globalThis.e2eKeyboard = seat.create_virtual_device(C.InputDeviceType.KEYBOARD_DEVICE);
        'ok'" >/dev/null
}

# The program's icon, something new in the tray since the panel was drawn, in the same place in
# two screenshots in a row; sets E2E_ICON_X/Y (its centre).
e2e_host_icon_found() {
    local place
    e2e_host_screenshot "$E2E_WORK/now.ppm"
    place=$(e2e_ecran icon "$E2E_HOST_BEFORE" "$E2E_WORK/now.ppm" "${E2E_HOST_TRAY[@]}") || {
        E2E_SEEN="nothing new in the tray"
        E2E_ICON_PLACE=
        return 1
    }
    E2E_SEEN="something new at $place"
    # A panel that fades in as it starts (Cinnamon's) changes all of the tray: that is no icon.
    local w
    read -r _ _ w _ <<<"$place"
    [ "$w" -le $((2 * E2E_HOST_TRAY[3])) ] || return 1
    [ "$place" = "${E2E_ICON_PLACE:-}" ] && return 0
    E2E_ICON_PLACE=$place
    return 1
}

e2e_host_icon_gone() {
    e2e_host_screenshot "$E2E_WORK/now.ppm"
    E2E_SEEN=$(e2e_ecran icon "$E2E_HOST_BEFORE" "$E2E_WORK/now.ppm" "${E2E_HOST_TRAY[@]}") ||
        return 0
    return 1
}

e2e_wait_host_icon() { # [SECONDS]
    E2E_ICON_PLACE=
    e2e_wait_until "${1:-$E2E_TIMEOUT}" "the program's icon in $E2E_HOST's tray" \
        e2e_host_icon_found
    local x y w h
    read -r x y w h <<<"$E2E_ICON_PLACE"
    E2E_ICON_X=$((x + w / 2))
    E2E_ICON_Y=$((y + h / 2))
    e2e_log "icon ${w}x${h} at $E2E_ICON_X,$E2E_ICON_Y in $E2E_HOST's tray"
}

# The icon is in the tray now, at the place where it was found.
e2e_host_expect_icon() { # WHEN
    e2e_host_screenshot "$E2E_WORK/now.ppm"
    local place
    place=$(e2e_ecran icon "$E2E_HOST_BEFORE" "$E2E_WORK/now.ppm" "${E2E_HOST_TRAY[@]}") ||
        e2e_fail "the icon is no longer in $E2E_HOST's tray $1" \
            "(the watcher's items: '$(e2e_host_items | paste -sd ' ')')"
    e2e_expect_eq "$place" "$E2E_ICON_PLACE" "place of the icon $1"
}

e2e_wait_host_icon_gone() {
    e2e_wait_until "$E2E_TIMEOUT" "the icon to leave $E2E_HOST's tray" e2e_host_icon_gone
    e2e_log "ok: the icon left $E2E_HOST's tray"
}

e2e_host_click() { # X Y BUTTON [COUNT]
    if [ "$E2E_HOST" = sway ] || [ "$E2E_HOST" = kde-wayland ]; then
        local clicks=("click $3")
        [ "${4:-1}" = 1 ] || clicks+=("click $3")
        e2e_pointer "move $1 $2" "${clicks[@]}"
    elif [ "$E2E_HOST" = gnome-wayland ]; then
        e2e_shell "p.notify_absolute_motion(now(), Number(args[0]), Number(args[1]));
            for (let i = 0; i < Number(args[3]); i++) {
                p.notify_button(now(), Number(args[2]), C.ButtonState.PRESSED);
                p.notify_button(now(), Number(args[2]), C.ButtonState.RELEASED);
            }" "$1" "$2" "$3" "${4:-1}" >/dev/null
    else
        e2e_click "$@"
    fi
}

e2e_host_move() { # X Y
    if [ "$E2E_HOST" = sway ] || [ "$E2E_HOST" = kde-wayland ]; then
        e2e_pointer "move $1 $2"
    elif [ "$E2E_HOST" = gnome-wayland ]; then
        e2e_shell "p.notify_absolute_motion(now(), Number(args[0]), Number(args[1]))" "$1" "$2" \
            >/dev/null
    else
        timeout 5 xdotool mousemove "$1" "$2"
    fi
}

# Hands COMMANDs to the virtual pointer and waits until the compositor has taken them.
e2e_pointer() { # COMMAND...
    printf '%s\n' "$@" >&"$E2E_POINTER_IN"
    E2E_POINTER_ANSWERS=$((E2E_POINTER_ANSWERS + $#))
    e2e_wait_until "$E2E_TIMEOUT" "$E2E_HOST to take the pointer's moves" e2e_pointer_answered
}

e2e_pointer_answered() {
    [ "$(grep -c '^ok' "$E2E_WORK/pointer.log")" -ge "$E2E_POINTER_ANSWERS" ]
}

# On Wayland another application's window (e2e_start_other_window) first takes the keyboard
# back: a left click must bring the window over it.
e2e_host_click_icon() { # BUTTON [COUNT]
    if [ -n "${E2E_OTHER_PID:-}" ] && [ "$1" = 1 ]; then
        if [ "$E2E_HOST" = kde-wayland ]; then
            e2e_kwin "workspace.activeWindow = workspace.windowList()
                .find(w => w.pid === Number(args[0]))" "$E2E_OTHER_PID" >/dev/null
        else
            e2e_shell "windows().find(w => w.get_pid() === Number(args[0]))
                ?.activate(global.get_current_time())" "$E2E_OTHER_PID" >/dev/null
        fi
        e2e_wait_until "$E2E_TIMEOUT" "the other window to hold the keyboard" \
            e2e_host_focus_is "$E2E_OTHER_PID"
    fi
    e2e_host_click "$E2E_ICON_X" "$E2E_ICON_Y" "$@"
}

# GNOME Shell waits for no start-up sequence: each activation token that it handed out has been
# used by a window. A sequence that a window completed stays listed until its 15 s are up; the
# busy pointer counts only those not completed.
e2e_no_startup_pending() {
    E2E_SEEN=$(e2e_shell "imports.gi.Shell.WindowTracker.get_default().get_startup_sequences()
        .filter(sequence => !sequence.get_completed()).map(sequence => sequence.get_id())
        .join(' ')") && [ -z "$E2E_SEEN" ]
}

e2e_host_focus_is() { # PID
    if [ "$E2E_HOST" = kde-wayland ]; then
        E2E_SEEN=$(e2e_kwin "const w = workspace.activeWindow;
            w ? \`\${w.caption} (\${w.pid})\` : 'nobody'")
    else
        E2E_SEEN=$(e2e_shell "const w = global.display.focus_window;
            w ? \`\${w.get_title()} (\${w.get_pid()})\` : 'nobody'")
    fi && [[ $E2E_SEEN = *"($1)" ]]
}

# JavaScript run in KWin (ecran.py kwin): workspace is KWin's, args the ARGs, e2eWindow() the
# window "Tarvane" of the process args[0].
e2e_kwin() {
    local code=$1
    shift
    e2e_ecran kwin "const e2eWindow = () => workspace.windowList()
        .find(w => w.pid === Number(args[0]) && w.caption === 'Tarvane');
        $code" "$@"
}

# The program's window closed (its close box) or minimised, by the desktop.
e2e_host_window_do() { # close|minimise
    if [ "$E2E_HOST" = kde-wayland ]; then
        e2e_kwin "const w = e2eWindow();
            args[1] === 'close' ? w.closeWindow() : w.minimized = true" "$E2E_PID" "$1"
    elif [ "$1" = close ]; then
        e2e_shell "windows().find(w => w.get_pid() === Number(args[0]))
            ?.delete(global.get_current_time())" "$E2E_PID"
    else
        e2e_shell "windows().find(w => w.get_pid() === Number(args[0]) &&
            w.get_title() === 'Tarvane')?.minimize()" "$E2E_PID"
    fi >/dev/null
}

# A window of another application, a GTK one on the compositor's socket; sets E2E_OTHER_PID.
e2e_start_other_window() {
    # shellcheck disable=SC2016 # Python
    e2e_launch other env -u DISPLAY HOME="$E2E_WORK/home" XDG_RUNTIME_DIR="$E2E_WORK/run" \
        WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" GDK_BACKEND=wayland "$E2E_PYTHON" -c '
import gi
gi.require_version("Gtk", "3.0")
from gi.repository import Gtk
window = Gtk.Window(title="Autre application")
window.add(Gtk.Entry())
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()'
    E2E_OTHER_PID=$E2E_LAST_PID
    e2e_wait_until "$E2E_TIMEOUT" "the other window to hold the keyboard" \
        e2e_host_focus_is "$E2E_OTHER_PID"
}

# Opens the icon's menu, drawn by the host, with a right click; sets E2E_MENU_X/Y/W/H. On X the
# menu is a window of the host's; GNOME Shell and sway draw it themselves, so there it is what
# appears near the icon on the screen.
e2e_host_open_menu() {
    if [ "$E2E_HOST" = budgie ] && ! $E2E_BUDGIE_SNI; then
        # An XEmbed tray: the menu is the program's own.
        e2e_host_click_icon 3
        e2e_wait_popup
        e2e_geometry "$E2E_POPUP"
        E2E_MENU_X=$E2E_X E2E_MENU_Y=$E2E_Y E2E_MENU_W=$E2E_W E2E_MENU_H=$E2E_H
        return
    fi
    if [ "$E2E_HOST" = sway ]; then
        # waybar's menu opens at the pointer, over the bar, left of the pointer when the screen
        # ends on its right: what changes right of the icon's left edge is the icon's own look.
        local x
        read -r x _ <<<"$E2E_ICON_PLACE"
        E2E_HOST_MENU=(0 0 "$x" 232)
    fi
    if [ ${#E2E_HOST_MENU[@]} -gt 0 ]; then
        # sway draws the pointer into its screenshots: it is on the icon in both.
        e2e_host_move "$E2E_ICON_X" "$E2E_ICON_Y"
        e2e_host_screenshot "$E2E_WORK/menu-before.ppm"
    else
        E2E_POPUPS_BEFORE=$(e2e_menu_windows)
    fi
    e2e_host_click_icon 3
    E2E_MENU_PLACE=
    e2e_wait_until "$E2E_TIMEOUT" "the icon's menu" e2e_host_menu_shown
    read -r E2E_MENU_X E2E_MENU_Y E2E_MENU_W E2E_MENU_H <<<"$E2E_MENU_PLACE"
    e2e_log "menu ${E2E_MENU_W}x$E2E_MENU_H at $E2E_MENU_X,$E2E_MENU_Y"
}

# Menus on the X screen, whoever shows them: shown override-redirect windows of a menu's type.
e2e_menu_windows() {
    local window
    for window in $(timeout 5 xdotool search --onlyvisible --maxdepth 1 '' 2>/dev/null); do
        window=$(e2e_hex "$window")
        e2e_override_redirect "$window" || continue
        xprop -id "$window" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_MENU' || continue
        echo "$window"
    done
}

# A menu appeared, in the same place in two looks in a row; sets E2E_MENU_PLACE.
e2e_host_menu_shown() {
    local place window w h
    if [ ${#E2E_HOST_MENU[@]} -gt 0 ]; then
        e2e_host_screenshot "$E2E_WORK/now.ppm"
        place=$(e2e_ecran changed "$E2E_WORK/menu-before.ppm" "$E2E_WORK/now.ppm" \
            "${E2E_HOST_MENU[@]}") || return 1
    else
        for window in $(e2e_menu_windows); do
            grep -qx "$window" <<<"$E2E_POPUPS_BEFORE" && continue
            e2e_geometry "$window"
            place="$E2E_X $E2E_Y $E2E_W $E2E_H"
        done
        [ -n "${place:-}" ] || return 1
    fi
    read -r _ _ w h <<<"$place"
    E2E_SEEN="$place"
    [ "$w" -ge 40 ] && [ "$h" -ge 30 ] || return 1
    [ "$place" = "${E2E_MENU_PLACE:-}" ] && return 0
    E2E_MENU_PLACE=$place
    return 1
}

# GNOME Shell opens the icon's menu on a left click too (at once, or once no second click came
# for a double click), and keeps the keyboard until it closes: Escape closes it.
e2e_host_close_menu() {
    if [ "$E2E_HOST" = gnome ]; then
        sleep 0.5
        e2e_key Escape
    elif [ "$E2E_HOST" = gnome-wayland ]; then
        e2e_wait_until "$E2E_TIMEOUT" "the icon's menu to open" e2e_shell_menu_open true
        e2e_host_key Escape
        e2e_wait_until "$E2E_TIMEOUT" "the icon's menu to close" e2e_shell_menu_open false
    fi
}

e2e_shell_menu_open() { # true|false
    E2E_SEEN=$(e2e_shell 'Boolean(Main.panel.menuManager.activeMenu)') && [ "$E2E_SEEN" = "$1" ]
}

# Clicks item INDEX (from 1) of the COUNT items of the host's open menu, found by geometry.
e2e_host_click_menu_item() { # INDEX COUNT
    e2e_host_click $((E2E_MENU_X + E2E_MENU_W / 2)) \
        $((E2E_MENU_Y + (2 * $1 - 1) * E2E_MENU_H / (2 * $2))) 1
}

# The program's window "Tarvane" is on screen (on sway: in sway's tree, visible).
e2e_host_window_shown() {
    if [ "$E2E_HOST" = sway ]; then
        E2E_SEEN=$(e2e_ecran sway-windows "$E2E_PID") && grep -q $'^Tarvane\t' <<<"$E2E_SEEN"
    elif [ "$E2E_HOST" = gnome-wayland ] || [ "$E2E_HOST" = kde-wayland ]; then
        E2E_SEEN=$(e2e_shell_windows) && grep -q $'^Tarvane\t' <<<"$E2E_SEEN"
    else
        e2e_find_window Tarvane
    fi
}

e2e_host_window_within() { # SECONDS WHAT
    e2e_wait_until "$1" "the window on screen: $2" e2e_host_window_shown
    e2e_log "ok: window shown: $2"
}

# The program's windows that GNOME Shell or KWin shows, neither minimised nor on another
# workspace, one a line: title <TAB> focused|unfocused.
e2e_shell_windows() {
    if [ "$E2E_HOST" = kde-wayland ]; then
        e2e_kwin "workspace.windowList().filter(w => w.pid === Number(args[0]) && !w.minimized &&
                !w.hidden && !w.popupWindow)
            .map(w => \`\${w.caption}\t\${w.active ? 'focused' : 'unfocused'}\`).join('\\n')" \
            "$E2E_PID"
        return
    fi
    e2e_shell "windows().filter(w => w.get_pid() === Number(args[0]) && !w.minimized &&
            w.showing_on_its_workspace())
        .map(w => \`\${w.get_title()}\t\${w.has_focus() ? 'focused' : 'unfocused'}\`).join('\\n')" \
        "$E2E_PID"
}

# Where GNOME Shell or KWin shows the program's window "Tarvane", its title bar included, as
# WIDTHxHEIGHT+X+Y.
e2e_shell_window_geometry() {
    if [ "$E2E_HOST" = kde-wayland ]; then
        e2e_kwin "const r = e2eWindow().frameGeometry;
            \`\${r.width}x\${r.height}+\${r.x}+\${r.y}\`" "$E2E_PID"
        return
    fi
    e2e_shell "const r = windows().find(w => w.get_pid() === Number(args[0]) &&
        w.get_title() === 'Tarvane').get_frame_rect();
        \`\${r.width}x\${r.height}+\${r.x}+\${r.y}\`" "$E2E_PID"
}

# No window of the program is on screen now.
e2e_host_expect_no_window() { # WHEN
    local shown
    if [ "$E2E_HOST" = sway ]; then
        shown=$(e2e_ecran sway-windows "$E2E_PID")
    elif [ "$E2E_HOST" = gnome-wayland ] || [ "$E2E_HOST" = kde-wayland ]; then
        shown=$(e2e_shell_windows)
    else
        shown=$(e2e_top_level_windows)
    fi
    e2e_expect_eq "$shown" "" "windows shown $1"
}

# Keyboard and clipboard, on sway through its virtual keyboard and its clipboard protocol. Each
# wtype brings a keyboard of its own, whose keymap the program has to take up before the first
# key: hence the pause that starts each one.
e2e_host_type() { # TEXT
    if [ "$E2E_HOST" = kde-wayland ]; then
        local i
        for ((i = 0; i < ${#1}; i++)); do e2e_host_key "${1:i:1}"; done
    elif [ "$E2E_HOST" = sway ]; then
        timeout 10 env XDG_RUNTIME_DIR="$E2E_WORK/run" WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" \
            wtype -s 300 -d 30 -- "$1"
    elif [ "$E2E_HOST" = gnome-wayland ]; then
        e2e_shell "for (const c of args[0]) {
                const key = C.unicode_to_keysym(c.codePointAt(0));
                k.notify_keyval(now(), key, C.KeyState.PRESSED);
                k.notify_keyval(now(), key, C.KeyState.RELEASED);
            }" "$1" >/dev/null
    else
        e2e_type "$1"
    fi
}

# KWin's fake keyboard takes Linux's key codes, which its layout (us) turns into characters.
declare -A E2E_KEY_CODES=([Escape]=1 [Return]=28 [Tab]=15 [ctrl]=29 [alt]=56 [a]=30 [c]=46
    [q]=16 [0]=11 [1]=2 [2]=3 [3]=4 [4]=5 [5]=6 [6]=7 [7]=8 [8]=9 [9]=10 [,]=51)

e2e_host_key() { # KEY (xdotool's names: Return, Tab, ctrl+a...)
    if [ "$E2E_HOST" = kde-wayland ]; then
        local name codes=()
        for name in ${1//+/ }; do
            [ -n "${E2E_KEY_CODES[$name]:-}" ] || e2e_fail "no key code for $name"
            codes+=("${E2E_KEY_CODES[$name]}")
        done
        e2e_pointer "keys ${codes[*]}"
    elif [ "$E2E_HOST" = sway ]; then
        local modifier=
        case $1 in ctrl+*) modifier=ctrl ;; esac
        timeout 5 env XDG_RUNTIME_DIR="$E2E_WORK/run" WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" \
            wtype -s 300 ${modifier:+-M "$modifier"} -k "${1#ctrl+}" ${modifier:+-m "$modifier"}
    elif [ "$E2E_HOST" = gnome-wayland ]; then
        e2e_shell "const keys = args[0].split('+').map(name => {
                const key = C[\`KEY_\${{ctrl: 'Control_L', alt: 'Alt_L'}[name] ?? name}\`];
                if (key === undefined)
                    throw new Error(\`no key \${name}\`);
                return key;
            });
            keys.forEach(key => k.notify_keyval(now(), key, C.KeyState.PRESSED));
            keys.reverse().forEach(key => k.notify_keyval(now(), key, C.KeyState.RELEASED));" \
            "$1" >/dev/null
    else
        e2e_key "$1"
    fi
}

# wl-clipboard reaches GNOME Shell's clipboard only through a window of its own, which takes the
# keyboard for a moment: there the field's text is read through the accessibility bus instead.
e2e_host_expect_field() { # EXPECTED WHAT
    if [ "$E2E_HOST" = gnome-wayland ] || [ "$E2E_HOST" = kde-wayland ]; then
        E2E_TEXT=$(timeout 10 "$E2E_PYTHON" "$E2E_HERE/sonde.py" text "$E2E_PID" \
            2>>"$E2E_WORK/sonde.log")
        e2e_expect_eq "$E2E_TEXT" "$1" "$2"
        return
    elif [ "$E2E_HOST" != sway ]; then
        e2e_expect_field "$@"
        return
    fi
    E2E_MARKER="<<e2e clipboard $RANDOM>>"
    e2e_launch wl-copy env XDG_RUNTIME_DIR="$E2E_WORK/run" \
        WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" wl-copy --foreground -- "$E2E_MARKER"
    local holder=$E2E_LAST_PID
    e2e_wait_until "$E2E_TIMEOUT" "wl-copy to own the clipboard" e2e_wl_clipboard_holds_marker
    e2e_host_key ctrl+a
    e2e_host_key ctrl+c
    e2e_wait_until "$E2E_TIMEOUT" "the field's text in the clipboard" e2e_wl_clipboard_copied
    e2e_stop "$holder"
    e2e_expect_eq "$E2E_TEXT" "$1" "$2"
}

e2e_wl_clipboard() {
    timeout 2 env XDG_RUNTIME_DIR="$E2E_WORK/run" WAYLAND_DISPLAY="$E2E_WAYLAND_DISPLAY" \
        wl-paste --no-newline 2>/dev/null
}
e2e_wl_clipboard_holds_marker() { [ "$(e2e_wl_clipboard)" = "$E2E_MARKER" ]; }
e2e_wl_clipboard_copied() { E2E_TEXT=$(e2e_wl_clipboard) && [ "$E2E_TEXT" != "$E2E_MARKER" ]; }
