#include "platform/unix/ObservateurXembed.h"

#include "platform/Journal.h"
#include "platform/unix/AtomeX.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

namespace {
// Deeper than any tray's windows around an icon.
constexpr int ProfondeurMaximale = 16;
} // namespace

std::unique_ptr<ObservateurXembed>
ObservateurXembed::surEcranDeQt(std::function<void()> changement) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The screen of $DISPLAY, the one Qt opened.
    char* hote = nullptr;
    int affichage = 0;
    int ecran = 0;
    const bool lu = xcb_parse_display(nullptr, &hote, &affichage, &ecran) != 0;
    std::free(hote);
    if (x11 == nullptr || x11->connection() == nullptr || !lu) {
        qCWarning(journalPlateforme) << "could not reach the X server to look for an XEmbed tray";
        return nullptr;
    }
    return std::make_unique<ObservateurXembed>(x11->connection(), ecran, std::move(changement));
}

ObservateurXembed::ObservateurXembed(xcb_connection_t* connexion, int ecran,
                                     std::function<void()> changement)
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

ObservateurXembed::~ObservateurXembed() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool ObservateurXembed::iconeEmbarquee() {
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

bool ObservateurXembed::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t") {
        return false;
    }
    const auto* evenement = static_cast<const xcb_generic_event_t*>(message);
    switch (evenement->response_type & ~0x80) {
    case XCB_CLIENT_MESSAGE: {
        const auto* annonce = reinterpret_cast<const xcb_client_message_event_t*>(evenement);
        if (annonce->window == m_racine && annonce->type == m_manager && annonce->format == 32 &&
            annonce->data.data32[1] == m_selection) {
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

xcb_atom_t ObservateurXembed::atome(const QByteArray& nom) {
    return atomeX(m_connexion, nom);
}

// The windows that hold this one, from its parent up, the root left out: none while it is a
// child of the root, or when it is gone.
std::vector<xcb_window_t> ObservateurXembed::ancetres(xcb_window_t fenetre) const {
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
bool ObservateurXembed::visible(xcb_window_t fenetre) const {
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
void ObservateurXembed::suivre(xcb_window_t fenetre) {
    const std::uint32_t masque = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    std::free(xcb_request_check(
        m_connexion,
        xcb_change_window_attributes_checked(m_connexion, fenetre, XCB_CW_EVENT_MASK, &masque)));
}

bool ObservateurXembed::suivie(xcb_window_t fenetre) const {
    return std::find(m_suivies.begin(), m_suivies.end(), fenetre) != m_suivies.end();
}

xcb_window_t ObservateurXembed::proprietaire() {
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
void ObservateurXembed::suivreProprietaire() {
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

void ObservateurXembed::relire() {
    suivreProprietaire();
    m_changement();
}
