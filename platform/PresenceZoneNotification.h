#pragma once

#include <QObject>

// Whether the desktop shows a notification area (a StatusNotifierItem host on the session bus,
// an XEmbed tray on X11), watched for as long as the program runs: panels start after the
// programs of a session, crash and restart. The program hands the real watcher; tests a fake.
class PresenceZoneNotification : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool presente() const = 0;

signals:
    // A notification area appeared or went away while the program runs.
    void changee(bool presente);
};
