#include "platform/PresenceZoneNotificationQt.h"

#include "platform/Journal.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>

#if TARVANE_XCB
#include <xcb/xcb.h>
#endif

namespace {

const QString ServiceObservateur = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString CheminObservateur = QStringLiteral("/StatusNotifierWatcher");

// A bus that does not answer within this time is taken as having no host; its later signals
// still count.
constexpr int DelaiReponseMs = 2000;

QDBusMessage questionHoteSni() {
    QDBusMessage question = QDBusMessage::createMethodCall(
        ServiceObservateur, CheminObservateur, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    question << ServiceObservateur << QStringLiteral("IsStatusNotifierHostRegistered");
    // A watcher that the bus would start on demand is no panel: only a running one counts.
    question.setAutoStartService(false);
    return question;
}

// Whether the answer says a host is registered; nothing when the question failed.
std::optional<bool> lireReponseHoteSni(const QDBusMessage& reponse) {
    if (reponse.type() == QDBusMessage::ReplyMessage && !reponse.arguments().isEmpty()) {
        return reponse.arguments().constFirst().value<QDBusVariant>().variant().toBool();
    }
    const QString erreur = reponse.errorName();
    // No watcher on the bus: the common case of a desktop without such a tray, not a failure.
    if (erreur != QDBusError::errorString(QDBusError::ServiceUnknown) &&
        erreur != QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        qCWarning(journalPlateforme)
            << "could not ask" << ServiceObservateur
            << "whether a tray host is registered:" << erreur << reponse.errorMessage();
    }
    return std::nullopt;
}

} // namespace

#if TARVANE_XCB

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
    xcb_atom_t atome(const QByteArray& nom) {
        xcb_atom_t resultat = XCB_ATOM_NONE;
        if (auto* reponse = xcb_intern_atom_reply(
                m_connexion,
                xcb_intern_atom(m_connexion, 0, static_cast<std::uint16_t>(nom.size()),
                                nom.constData()),
                nullptr)) {
            resultat = reponse->atom;
            std::free(reponse);
        }
        return resultat;
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
};

#else

class PresenceZoneNotificationQt::ObservateurXembed {
public:
    bool present() const { return false; }
};

#endif

PresenceZoneNotificationQt::PresenceZoneNotificationQt(QDBusConnection bus, QObject* parent)
    : PresenceZoneNotification(parent), m_bus(std::move(bus)) {
    if (m_bus.isConnected()) {
        auto* observateur = new QDBusServiceWatcher(ServiceObservateur, m_bus,
                                                    QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(observateur, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString&, const QString& nouveau) {
                    if (nouveau.isEmpty()) {
                        observateurSniParti();
                    } else {
                        hoteSniChange();
                    }
                });
        for (const char* signal :
             {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
            m_bus.connect(ServiceObservateur, CheminObservateur, ServiceObservateur,
                          QString::fromLatin1(signal), this, SLOT(hoteSniChange()));
        }
        lireHoteSniMaintenant();
    }

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
}

PresenceZoneNotificationQt::~PresenceZoneNotificationQt() = default;

bool PresenceZoneNotificationQt::presente() const {
    return m_presente;
}

void PresenceZoneNotificationQt::lireHoteSniMaintenant() {
    const QDBusMessage reponse = m_bus.call(questionHoteSni(), QDBus::Block, DelaiReponseMs);
    m_hoteSni = lireReponseHoteSni(reponse).value_or(false);
}

void PresenceZoneNotificationQt::hoteSniChange() {
    auto* appel =
        new QDBusPendingCallWatcher(m_bus.asyncCall(questionHoteSni(), DelaiReponseMs), this);
    connect(appel, &QDBusPendingCallWatcher::finished, this,
            [this, generation = m_generation](QDBusPendingCallWatcher* fini) {
                recevoirHoteSni(fini, generation);
            });
}

void PresenceZoneNotificationQt::recevoirHoteSni(QDBusPendingCallWatcher* appel,
                                                 unsigned generation) {
    appel->deleteLater();
    if (generation != m_generation) {
        return;
    }
    m_hoteSni = lireReponseHoteSni(appel->reply()).value_or(false);
    reevaluer();
}

void PresenceZoneNotificationQt::observateurSniParti() {
    ++m_generation;
    m_hoteSni = false;
    reevaluer();
}

bool PresenceZoneNotificationQt::lirePresence() const {
    return m_hoteSni || (m_xembed && m_xembed->present());
}

void PresenceZoneNotificationQt::reevaluer() {
    const bool presente = lirePresence();
    if (presente != m_presente) {
        m_presente = presente;
        emit changee(presente);
    }
}
