#include "platform/unix/PresenceZoneNotificationQt.h"

#include "platform/unix/ObservateurSni.h"
#include "platform/unix/ObservateurXembed.h"

#include <QScopedValueRollback>

PresenceZoneNotificationQt::PresenceZoneNotificationQt(ObservateurSni& sni, QObject* parent)
    : PresenceZoneNotification(parent), m_sni(sni) {
    connect(&m_sni, &ObservateurSni::change, this, &PresenceZoneNotificationQt::reevaluer);

    m_xembed = ObservateurXembed::surEcranDeQt([this] { reevaluer(); });
    m_presente = lirePresence();
    m_accueillie = lireAccueil();
    m_identite = lireIdentite();
    m_premierRegardFini = !m_sni.enCours();
}

PresenceZoneNotificationQt::~PresenceZoneNotificationQt() = default;

bool PresenceZoneNotificationQt::presente() const {
    return m_presente;
}

bool PresenceZoneNotificationQt::accueillie() const {
    return m_accueillie;
}

bool PresenceZoneNotificationQt::menuAuClicGauche() const {
    return m_sni.hoteCoquille();
}

bool PresenceZoneNotificationQt::enCours() const {
    return m_sni.enCours();
}

void PresenceZoneNotificationQt::iconeAjoutee() {
    reevaluer(); // an XEmbed tray may have docked it already
}

bool PresenceZoneNotificationQt::retourPossible() const {
    return !m_sni.observateur(); // the icon is then the toolkit's, in an XEmbed tray
}

bool PresenceZoneNotificationQt::lirePresence() const {
    // Until the bus has said whether a watcher is there, an XEmbed tray is not taken either:
    // desktops whose panel has both kinds (GNOME Shell, xfce4-panel) must get the program's own
    // item, and the toolkit's icon, made meanwhile, would go to the D-Bus side on its own.
    if (m_sni.enCours()) {
        return false;
    }
    return m_sni.observateur() || (m_xembed && m_xembed->present());
}

bool PresenceZoneNotificationQt::lireAccueil() const {
    return m_sni.notreElement() || (m_xembed && m_xembed->iconeEmbarquee());
}

QString PresenceZoneNotificationQt::lireIdentite() const {
    return m_sni.identite() + QLatin1Char('|') +
           QString::number(m_xembed ? m_xembed->fenetreProprietaire() : 0);
}

void PresenceZoneNotificationQt::reevaluer() {
    // A listener may add an icon, and so come back here, while a change is being told: the
    // newer look is taken once that one is told, never overwritten by it.
    if (m_enReevaluation) {
        m_aRevoir = true;
        return;
    }
    const QScopedValueRollback garde(m_enReevaluation, true);
    do {
        m_aRevoir = false;
        reevaluerUneFois();
    } while (m_aRevoir);
}

void PresenceZoneNotificationQt::reevaluerUneFois() {
    const bool presente = lirePresence();
    const bool accueillie = lireAccueil();
    const bool premier = !m_premierRegardFini && !m_sni.enCours();
    m_premierRegardFini = m_premierRegardFini || premier;
    // A tray replaced by another between two looks is a change too: the new one may take an
    // icon that the old one never showed.
    const QString identite = lireIdentite();
    const bool autre = presente && identite != m_identite;
    m_identite = identite;
    if (presente != m_presente || premier || autre) {
        m_presente = presente;
        emit changee(presente);
    }
    if (accueillie != m_accueillie) {
        m_accueillie = accueillie;
        emit accueilChange(accueillie);
    }
}
