#pragma once

class QDBusConnection;

// libdbus stops reading a connection while the messages it has handed over and that are not yet
// freed pass 63 MiB (or 4,096 descriptors), and reads again once enough are freed. Qt frees the
// calls to the program's objects on the program's thread, from which its re-enabling of the read
// watch is refused ("Socket notifiers cannot be enabled or disabled from another thread"): past
// the bound, one huge call or a flood while the program is busy, the connection would never be
// read again. The bound is lifted: the program answers each call in microseconds, so what it holds
// is what a peer sends it in that time. Descriptors past the process's own limit make libdbus drop
// the connection, after which the program connects again.
void leverPlafondReception(const QDBusConnection& bus);
