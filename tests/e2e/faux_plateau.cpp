// An X client that takes the XEmbed tray selection of screen 0, announces itself as trays do,
// and shows no icon: any client on the display can do this. Runs until killed.
//   faux_plateau            never docks an icon
//   faux_plateau --cache    takes each icon into a window of its own that it never maps
//   faux_plateau --montre   takes each icon into a window of its own that it maps half a second
//                           later, as a tray that shows its icons a moment after taking them
// With an option, prints "window 0x..." for each window that holds an icon.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <vector>
#include <xcb/xcb.h>

static xcb_atom_t atome(xcb_connection_t* c, const char* nom) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(nom)), nom), nullptr);
    xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    free(r);
    return a;
}

int main(int argc, char** argv) {
    const bool prend = argc > 1;
    const bool montre = prend && strcmp(argv[1], "--montre") == 0;
    if (prend && !montre && strcmp(argv[1], "--cache") != 0) {
        fprintf(stderr, "usage: faux_plateau [--cache | --montre]\n");
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        return 1;
    }
    xcb_screen_t* ecran = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_window_t fenetre = xcb_generate_id(c);
    xcb_create_window(c, 0, fenetre, ecran->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_atom_t selection = atome(c, "_NET_SYSTEM_TRAY_S0");
    xcb_atom_t opcode = atome(c, "_NET_SYSTEM_TRAY_OPCODE");
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

    using Horloge = std::chrono::steady_clock;
    std::vector<xcb_window_t> aMontrer; // holders to map at the deadline
    Horloge::time_point echeance;
    pollfd attente{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        int delaiMs = -1;
        if (!aMontrer.empty()) {
            const auto reste =
                std::chrono::duration_cast<std::chrono::milliseconds>(echeance - Horloge::now());
            delaiMs = reste.count() > 0 ? static_cast<int>(reste.count()) : 0;
        }
        poll(&attente, 1, delaiMs);
        if (!aMontrer.empty() && Horloge::now() >= echeance) {
            for (xcb_window_t support : aMontrer) {
                xcb_map_window(c, support);
            }
            aMontrer.clear();
            xcb_flush(c);
        }
        xcb_generic_event_t* evenement;
        while ((evenement = xcb_poll_for_event(c)) != nullptr) {
            const auto* message = reinterpret_cast<xcb_client_message_event_t*>(evenement);
            // SYSTEM_TRAY_REQUEST_DOCK (0): the icon's window in the third field.
            if (prend && (evenement->response_type & ~0x80) == XCB_CLIENT_MESSAGE &&
                message->type == opcode && message->data.data32[1] == 0) {
                xcb_window_t support = xcb_generate_id(c);
                xcb_create_window(c, XCB_COPY_FROM_PARENT, support, ecran->root, 0, 0, 32, 32, 0,
                                  XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
                xcb_reparent_window(c, message->data.data32[2], support, 0, 0);
                xcb_map_window(c, message->data.data32[2]);
                xcb_flush(c);
                if (montre) {
                    echeance = Horloge::now() + std::chrono::milliseconds(500);
                    aMontrer.push_back(support);
                }
                printf("window 0x%x\n", support);
                fflush(stdout);
            }
            free(evenement);
        }
        if (xcb_connection_has_error(c)) {
            return 0;
        }
    }
}
