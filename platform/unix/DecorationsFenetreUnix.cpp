#include "platform/DecorationsFenetre.h"
#include "platform/unix/AtomeX.h"
#include "platform/unix/Wayland.h"

#include <array>
#include <cstdint>
#include <QGuiApplication>
#include <QWidget>

namespace {

// Interned once: the window is decorated again at each showing, and the server's atoms last as
// long as the program's one connection to it.
struct Atomes {
    xcb_atom_t motif, etat;
    std::array<xcb_atom_t, 2> sauter; // the task bar's and the pagers'
};

const Atomes& atomes(xcb_connection_t* connexion) {
    static const Atomes lus{atomeX(connexion, QByteArrayLiteral("_MOTIF_WM_HINTS")),
                            atomeX(connexion, QByteArrayLiteral("_NET_WM_STATE")),
                            {atomeX(connexion, QByteArrayLiteral("_NET_WM_STATE_SKIP_TASKBAR")),
                             atomeX(connexion, QByteArrayLiteral("_NET_WM_STATE_SKIP_PAGER"))}};
    return lus;
}

// Window managers that draw their own buttons (openbox, xfwm4, KWin) read the functions of the
// Motif hints; Qt writes none when the flags allow no button, which leaves them all.
void ecrireFonctions(xcb_connection_t* connexion, xcb_window_t id, bool sansCadre) {
    constexpr std::uint32_t AvecFonctions = 1, AvecDecorations = 2;
    constexpr std::uint32_t Deplacer = 4, Fermer = 32;
    constexpr std::uint32_t Bord = 2, Titre = 8;
    const std::array<std::uint32_t, 5> indices{AvecFonctions | AvecDecorations, Deplacer | Fermer,
                                               sansCadre ? 0 : Bord | Titre, 0, 0};
    const xcb_atom_t motif = atomes(connexion).motif;
    xcb_change_property(connexion, XCB_PROP_MODE_REPLACE, id, motif, motif, 32, indices.size(),
                        indices.data());
}

void ecrireEtat(xcb_connection_t* connexion, xcb_window_t id, bool visible, bool dansLaBarre) {
    const xcb_atom_t etat = atomes(connexion).etat;
    const std::array<xcb_atom_t, 2>& sauter = atomes(connexion).sauter;
    if (visible) {
        // A mapped window's state belongs to the window manager: ask it.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id;
        message.type = etat;
        message.data.data32[0] = dansLaBarre ? 0 : 1; // remove or add
        message.data.data32[1] = sauter[0];
        message.data.data32[2] = sauter[1];
        message.data.data32[3] = 1; // from an application
        const xcb_window_t racine = xcb_setup_roots_iterator(xcb_get_setup(connexion)).data->root;
        xcb_send_event(connexion, 0, racine,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        return;
    }
    // Before the map the property is the program's; Qt adds its own states to it when mapping.
    xcb_delete_property(connexion, id, etat);
    if (!dansLaBarre) {
        xcb_change_property(connexion, XCB_PROP_MODE_REPLACE, id, etat, XCB_ATOM_ATOM, 32,
                            sauter.size(), sauter.data());
    }
}

} // namespace

void decorerFenetre(QWidget& fenetre, bool dansLaBarreDesTaches) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* connexion = x11->connection();
    const auto id = static_cast<xcb_window_t>(fenetre.winId());
    ecrireFonctions(connexion, id, fenetre.windowFlags().testFlag(Qt::FramelessWindowHint));
    ecrireEtat(connexion, id, fenetre.isVisible(), dansLaBarreDesTaches);
    xcb_flush(connexion);
}

bool barreDeTitreParLaFenetre() {
    return surWayland();
}

bool reductionSignalee() {
    return !surWayland();
}
