// An X client that takes the XEmbed tray selection of screen 0, announces itself as trays do,
// and never docks an icon: any client on the display can do this. Runs until killed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

static xcb_atom_t atome(xcb_connection_t* c, const char* nom) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(nom)), nom), nullptr);
    xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    free(r);
    return a;
}

int main(void) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        return 1;
    }
    xcb_screen_t* ecran = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t fenetre = xcb_generate_id(c);
    xcb_create_window(c, 0, fenetre, ecran->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_atom_t selection = atome(c, "_NET_SYSTEM_TRAY_S0");
    xcb_set_selection_owner(c, fenetre, selection, XCB_CURRENT_TIME);

    xcb_client_message_event_t annonce;
    memset(&annonce, 0, sizeof annonce);
    annonce.response_type = XCB_CLIENT_MESSAGE;
    annonce.format = 32;
    annonce.window = ecran->root;
    annonce.type = atome(c, "MANAGER");
    annonce.data.data32[0] = XCB_CURRENT_TIME;
    annonce.data.data32[1] = selection;
    annonce.data.data32[2] = fenetre;
    xcb_send_event(c, 0, ecran->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&annonce));
    xcb_flush(c);
    puts("ready");
    fflush(stdout);

    xcb_generic_event_t* evenement;
    while ((evenement = xcb_wait_for_event(c)) != nullptr) {
        free(evenement); // dock requests included: ignored
    }
    return 0;
}
