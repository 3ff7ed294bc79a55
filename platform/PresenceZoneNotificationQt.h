#pragma once

#include "platform/PresenceZoneNotification.h"

#include <memory>
#include <QDBusConnection>

class QDBusPendingCallWatcher;

// The notification area of the desktop, watched without asking Qt's tray icon: Qt decides once
// per process, at its first tray call, whether a D-Bus tray exists, so asking it before a panel
// has come up would leave the program without an icon for good.
//
// Two kinds of tray count: a StatusNotifierItem host, known by the watcher service on the session
// bus and its IsStatusNotifierHostRegistered property; and on X11, an XEmbed tray, known by the
// owner of the manager selection _NET_SYSTEM_TRAY_S<screen>. Both are followed by events: the bus
// tells when the watcher comes and goes and when a host registers; the X server sends the MANAGER
// message when a tray takes the selection and the destruction of the owner's window.
class PresenceZoneNotificationQt : public PresenceZoneNotification {
    Q_OBJECT

public:
    // The state is read at once, so that start-up knows whether to hide the window.
    explicit PresenceZoneNotificationQt(QDBusConnection bus = QDBusConnection::sessionBus(),
                                        QObject* parent = nullptr);
    ~PresenceZoneNotificationQt() override;

    bool presente() const override;

private slots:
    void hoteSniChange();

private:
    class ObservateurXembed;

    void lireHoteSniMaintenant();
    void recevoirHoteSni(QDBusPendingCallWatcher* appel, unsigned generation);
    void observateurSniParti();
    bool lirePresence() const; // either kind of tray, as last seen
    void reevaluer();

    QDBusConnection m_bus;
    std::unique_ptr<ObservateurXembed> m_xembed;
    bool m_hoteSni = false;
    bool m_presente = false;
    // Answers to questions asked before the watcher last went away are stale.
    unsigned m_generation = 0;
};
