#pragma once

#include <QLatin1String>

// The names of the StatusNotifierItem and dbusmenu protocols on the session bus, for the item, the
// watch on the trays and their tests alike.
namespace sni {

inline constexpr QLatin1String ServiceBus("org.freedesktop.DBus");
inline constexpr QLatin1String CheminBus("/org/freedesktop/DBus");
inline constexpr QLatin1String InterfaceProprietes("org.freedesktop.DBus.Properties");

inline constexpr QLatin1String ServiceObservateur("org.kde.StatusNotifierWatcher");
inline constexpr QLatin1String CheminObservateur("/StatusNotifierWatcher");
inline constexpr QLatin1String ProprieteHote("IsStatusNotifierHostRegistered");
// GNOME Shell's name: its extension is the watcher and the host at once.
inline constexpr QLatin1String ServiceCoquille("org.gnome.Shell");

inline constexpr QLatin1String InterfaceElement("org.kde.StatusNotifierItem");
inline constexpr QLatin1String CheminElement("/StatusNotifierItem");
inline constexpr QLatin1String InterfaceMenu("com.canonical.dbusmenu");
inline constexpr QLatin1String CheminMenu("/MenuBar");

// An answer later than this is none: the next change asks again.
inline constexpr int DelaiReponseMs = 2000;

} // namespace sni
