#include "platform/unix/PlafondReception.h"

#include <climits>
#include <dbus/dbus.h>
#include <QDBusConnection>

void leverPlafondReception(const QDBusConnection& bus) {
    auto* connexion = static_cast<DBusConnection*>(bus.internalPointer());
    if (connexion == nullptr) {
        return;
    }
    dbus_connection_set_max_received_size(connexion, LONG_MAX);
    dbus_connection_set_max_received_unix_fds(connexion, LONG_MAX);
}
