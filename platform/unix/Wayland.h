#pragma once

#include <QGuiApplication>

// Whether the program runs on Qt's Wayland plugin (not XWayland): window decorations,
// minimisation and activation follow Wayland's rules there.
inline bool surWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
