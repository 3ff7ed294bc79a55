#pragma once

#include <QObject>

// Whether the desktop shows a notification area (a StatusNotifierItem host on the session bus,
// an XEmbed tray on X11), watched for as long as the program runs: panels start after the
// programs of a session, crash and restart, and some say they are there when they are not. The
// program hands the real watcher; tests a fake.
class PresenceZoneNotification : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // A notification area seems to be there: an icon may be added.
    virtual bool presente() const = 0;
    // A notification area holds an icon of this program, which the user can therefore see.
    // Where nothing more can be known, an area that is there takes every icon it is given.
    virtual bool accueillie() const { return presente(); }
    // The first look at the desktop is still under way: start-up waits for it.
    virtual bool enCours() const { return false; }
    // The area opens the icon's menu on a left click and has no other one-click way to the
    // program (GNOME Shell's), so that opening the menu must also bring the window.
    virtual bool menuAuClicGauche() const { return false; }
    // An icon was just added: look at once, and for a while, whether an area takes it.
    virtual void iconeAjoutee() {}
    // Whether an icon that an area stopped showing, while the area stays, may come back by itself
    // within the usual wait (an XEmbed tray handing the toolkit's icon a new window). Where it
    // cannot (the D-Bus host that read the item left the bus), the loss counts at once.
    virtual bool retourPossible() const { return true; }

signals:
    // A notification area appeared or went away while the program runs; also once at the end of
    // the first look, whatever it found.
    void changee(bool presente);
    // An area took an icon of this program, or no longer holds one.
    void accueilChange(bool accueillie);
};
