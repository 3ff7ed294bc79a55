#include "platform/unix/PresenceZoneNotificationQt.h"

#include "platform/Journal.h"
#include "platform/unix/ObservateurSni.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QWidget>
#include <vector>

#if TARVANE_XCB
#include "platform/unix/AtomeX.h"
#endif

#if TARVANE_XCB

namespace {
// Deeper than any tray's windows around an icon.
constexpr int ProfondeurMaximale = 16;
} // namespace

// The XEmbed tray of the screen: the owner of the manager selection. A tray that takes the
// selection announces it with a MANAGER client message on the root window; a tray that goes
// away destroys the window that owned it. Both events come through Qt's own X connection.
class PresenceZoneNotificationQt::ObservateurXembed : public QAbstractNativeEventFilter {
public:
    ObservateurXembed(xcb_connection_t* connexion, int ecran, std::function<void()> changement)
        : m_connexion(connexion), m_changement(std::move(changement)) {
        xcb_screen_iterator_t racines = xcb_setup_roots_iterator(xcb_get_setup(m_connexion));
        for (int i = 0; i < ecran && racines.rem > 0; ++i) {
            xcb_screen_next(&racines);
        }
        m_racine = racines.data->root;
        m_selection = atome(QByteArrayLiteral("_NET_SYSTEM_TRAY_S") + QByteArray::number(ecran));
        m_manager = atome("MANAGER");

        // Qt already listens to the root window: add to its mask, never replace it.
        std::uint32_t masque = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        if (auto* attributs = xcb_get_window_attributes_reply(
                m_connexion, xcb_get_window_attributes(m_connexion, m_racine), nullptr)) {
            masque |= attributs->your_event_mask;
            std::free(attributs);
        }
        xcb_change_window_attributes(m_connexion, m_racine, XCB_CW_EVENT_MASK, &masque);
        QCoreApplication::instance()->installNativeEventFilter(this);
        suivreProprietaire();
    }

    ~ObservateurXembed() override {
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::instance()->removeNativeEventFilter(this);
        }
    }

    ObservateurXembed(const ObservateurXembed&) = delete;
    ObservateurXembed& operator=(const ObservateurXembed&) = delete;

    bool present() const { return m_proprietaire != XCB_WINDOW_NONE; }
    xcb_window_t fenetreProprietaire() const { return m_proprietaire; }

    // Whether a tray shows an icon of ours: Qt's icon window (override-redirect, so no window
    // manager frames it) has been taken from the root window into a window that is viewable,
    // mapped along with all its ancestors. A tray may take the icon into a window that it never
    // shows: those windows are followed, so that their mapping or unmapping is seen at once.
    bool iconeEmbarquee() {
        if (!present()) {
            m_suivies.clear();
            return false;
        }
        std::vector<xcb_window_t> suivies;
        bool embarquee = false;
        for (const QWidget* fenetre : QApplication::topLevelWidgets()) {
            if (fenetre->objectName() != QLatin1String("QSystemTrayIconSys") ||
                !fenetre->testAttribute(Qt::WA_WState_Created)) {
                continue;
            }
            const std::vector<xcb_window_t> chaine =
                ancetres(static_cast<xcb_window_t>(fenetre->internalWinId()));
            // Followed before the look, so that no change between the two goes unseen.
            for (const xcb_window_t ancetre : chaine) {
                if (std::find(m_suivies.begin(), m_suivies.end(), ancetre) == m_suivies.end()) {
                    suivre(ancetre);
                }
                suivies.push_back(ancetre);
            }
            embarquee = embarquee || (!chaine.empty() && visible(chaine.front()));
        }
        m_suivies = std::move(suivies);
        return embarquee;
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") {
            return false;
        }
        const auto* evenement = static_cast<const xcb_generic_event_t*>(message);
        switch (evenement->response_type & ~0x80) {
        case XCB_CLIENT_MESSAGE: {
            const auto* annonce = reinterpret_cast<const xcb_client_message_event_t*>(evenement);
            if (annonce->window == m_racine && annonce->type == m_manager &&
                annonce->format == 32 && annonce->data.data32[1] == m_selection) {
                relire();
            }
            break;
        }
        case XCB_REPARENT_NOTIFY:
            m_changement(); // an icon of ours docked, or given back by a tray that left
            break;
        case XCB_MAP_NOTIFY:
            if (suivie(reinterpret_cast<const xcb_map_notify_event_t*>(evenement)->window)) {
                m_changement(); // the tray shows the window that holds our icon
            }
            break;
        case XCB_UNMAP_NOTIFY:
            if (suivie(reinterpret_cast<const xcb_unmap_notify_event_t*>(evenement)->window)) {
                m_changement(); // or no longer does
            }
            break;
        case XCB_DESTROY_NOTIFY: {
            const auto* fin = reinterpret_cast<const xcb_destroy_notify_event_t*>(evenement);
            if (m_proprietaire != XCB_WINDOW_NONE && fin->window == m_proprietaire) {
                relire();
            }
            break;
        }
        default:
            break;
        }
        return false; // Qt's own handling goes on
    }

private:
    xcb_atom_t atome(const QByteArray& nom) { return atomeX(m_connexion, nom); }

    // The windows that hold this one, from its parent up, the root left out: none while it is a
    // child of the root, or when it is gone.
    std::vector<xcb_window_t> ancetres(xcb_window_t fenetre) const {
        std::vector<xcb_window_t> chaine;
        // Bounded: a hierarchy changing under the walk cannot keep it going.
        for (int niveau = 0; niveau < ProfondeurMaximale; ++niveau) {
            auto* arbre =
                xcb_query_tree_reply(m_connexion, xcb_query_tree(m_connexion, fenetre), nullptr);
            if (arbre == nullptr) {
                return {};
            }
            fenetre = arbre->parent;
            std::free(arbre);
            if (fenetre == m_racine || fenetre == XCB_WINDOW_NONE) {
                return chaine;
            }
            chaine.push_back(fenetre);
        }
        return {};
    }

    // Mapped, and so are all its ancestors.
    bool visible(xcb_window_t fenetre) const {
        bool resultat = false;
        if (auto* attributs = xcb_get_window_attributes_reply(
                m_connexion, xcb_get_window_attributes(m_connexion, fenetre), nullptr)) {
            resultat = attributs->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributs);
        }
        return resultat;
    }

    // Asks for the tray's window's map changes. The mask is this client's own on that window,
    // where it had none; a window gone meanwhile makes the request fail, its error taken here.
    void suivre(xcb_window_t fenetre) {
        const std::uint32_t masque = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        std::free(
            xcb_request_check(m_connexion, xcb_change_window_attributes_checked(
                                               m_connexion, fenetre, XCB_CW_EVENT_MASK, &masque)));
    }

    bool suivie(xcb_window_t fenetre) const {
        return std::find(m_suivies.begin(), m_suivies.end(), fenetre) != m_suivies.end();
    }

    xcb_window_t proprietaire() {
        xcb_window_t resultat = XCB_WINDOW_NONE;
        if (auto* reponse = xcb_get_selection_owner_reply(
                m_connexion, xcb_get_selection_owner(m_connexion, m_selection), nullptr)) {
            resultat = reponse->owner;
            std::free(reponse);
        }
        return resultat;
    }

    // Reads the owner and asks for its destruction. A tray that leaves between the two steps
    // makes the request fail (its error taken here, not reported by Qt) or changes the owner:
    // read again.
    void suivreProprietaire() {
        m_proprietaire = XCB_WINDOW_NONE;
        for (int essai = 0; essai < 5; ++essai) {
            const xcb_window_t lu = proprietaire();
            if (lu == XCB_WINDOW_NONE) {
                return;
            }
            const std::uint32_t masque = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_generic_error_t* erreur = xcb_request_check(
                m_connexion,
                xcb_change_window_attributes_checked(m_connexion, lu, XCB_CW_EVENT_MASK, &masque));
            if (erreur != nullptr) {
                std::free(erreur);
                continue;
            }
            if (proprietaire() == lu) {
                m_proprietaire = lu;
                return;
            }
        }
        qCWarning(journalPlateforme)
            << "the owner of the XEmbed tray selection kept changing; taken as no tray";
    }

    void relire() {
        suivreProprietaire();
        m_changement();
    }

    xcb_connection_t* m_connexion;
    std::function<void()> m_changement;
    xcb_window_t m_racine = XCB_WINDOW_NONE;
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    xcb_atom_t m_manager = XCB_ATOM_NONE;
    xcb_window_t m_proprietaire = XCB_WINDOW_NONE;
    std::vector<xcb_window_t> m_suivies; // the windows holding our icon, followed
};

#else

class PresenceZoneNotificationQt::ObservateurXembed {
public:
    bool present() const { return false; }
    bool iconeEmbarquee() { return false; }
    unsigned fenetreProprietaire() const { return 0; }
};

#endif

PresenceZoneNotificationQt::PresenceZoneNotificationQt(ObservateurSni& sni, QObject* parent)
    : PresenceZoneNotification(parent), m_sni(sni) {
    connect(&m_sni, &ObservateurSni::change, this, &PresenceZoneNotificationQt::reevaluer);

#if TARVANE_XCB
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        // The screen of $DISPLAY, the one Qt opened.
        char* hote = nullptr;
        int affichage = 0;
        int ecran = 0;
        const bool lu = xcb_parse_display(nullptr, &hote, &affichage, &ecran) != 0;
        std::free(hote);
        if (x11 == nullptr || x11->connection() == nullptr || !lu) {
            qCWarning(journalPlateforme)
                << "could not reach the X server to look for an XEmbed tray";
        } else {
            m_xembed = std::make_unique<ObservateurXembed>(x11->connection(), ecran,
                                                           [this] { reevaluer(); });
        }
    }
#endif
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
