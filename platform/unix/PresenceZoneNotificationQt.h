#pragma once

#include "platform/PresenceZoneNotification.h"

#include <memory>

class ObservateurSni;
class ObservateurXembed;

// The notification area of the desktop, watched without asking Qt's tray icon: Qt decides once
// per process, at its first tray call, whether a D-Bus tray exists, so asking it before a panel
// has come up would leave the program without an icon for good.
//
// Two kinds of tray count: a StatusNotifierItem watcher on the session bus (ObservateurSni); and
// on X11, an XEmbed tray, known by the owner of the manager selection _NET_SYSTEM_TRAY_S<screen>,
// followed by the MANAGER message that a tray sends when it takes the selection and by the
// destruction of the owner's window. Either holds an icon of ours only once it shows it: the
// watcher took our item and a host read it, or the X server has reparented our icon's window
// into a window of the tray that is on screen (viewable).
class PresenceZoneNotificationQt : public PresenceZoneNotification {
    Q_OBJECT

public:
    // The D-Bus side is sni's, which must outlive this.
    explicit PresenceZoneNotificationQt(ObservateurSni& sni, QObject* parent = nullptr);
    ~PresenceZoneNotificationQt() override;

    bool presente() const override;
    bool accueillie() const override;
    bool menuAuClicGauche() const override;
    bool enCours() const override;
    void iconeAjoutee() override;
    bool retourPossible() const override;

private:
    bool lirePresence() const;    // either kind of tray, as last seen
    bool lireAccueil() const;     // either kind holding our icon
    QString lireIdentite() const; // which trays those are
    void reevaluer();
    void reevaluerUneFois();

    ObservateurSni& m_sni;
    std::unique_ptr<ObservateurXembed> m_xembed;
    bool m_presente = false;
    bool m_accueillie = false;
    bool m_premierRegardFini = false;
    QString m_identite;
    bool m_enReevaluation = false;
    bool m_aRevoir = false;
};
