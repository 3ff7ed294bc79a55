// A pointer for a compositor without input devices: sway's headless back end through the
// wlroots virtual pointer protocol, KWin through its fake input protocol (which it offers to the
// programs whose desktop entry lists org_kde_kwin_fake_input in X-KDE-Wayland-Interfaces). The
// compositor then has a pointer that panels and menus see as a real one. Reads commands from its
// standard input, one a line, until it ends:
//   move X Y         the pointer to X,Y of the layout (of WIDTH x HEIGHT given at start)
//   press B | release B | click B     button 1 (left), 2 (middle) or 3 (right)
//   keys CODE...     on KWin only: those keys (Linux's codes) pressed in turn, released in reverse
// and answers "ok" to each once the compositor has handled it. The device lives as long as the
// program: a device that came and went around each click would take the pointer away from a menu
// that it had just opened.
//   pointeur_wayland WIDTH HEIGHT
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <wayland-client.h>

// The two interfaces of wlr-virtual-pointer-unstable-v1 (version 1), as wayland-scanner would
// write them: no package of the distribution ships that protocol's description.
static const wl_interface* aucun[5] = {};
static const wl_message requetes_pointeur[] = {
    {"motion", "uff", aucun},   {"motion_absolute", "uuuuu", aucun},
    {"button", "uuu", aucun},   {"axis", "uuf", aucun},
    {"frame", "", aucun},       {"axis_source", "u", aucun},
    {"axis_stop", "uu", aucun}, {"axis_discrete", "uufi", aucun},
    {"destroy", "", aucun},
};
static const wl_interface interface_pointeur = {"zwlr_virtual_pointer_v1", 1, 9,
                                                requetes_pointeur,         0, nullptr};
static const wl_interface* types_creation[] = {&wl_seat_interface, &interface_pointeur};
static const wl_message requetes_gestionnaire[] = {
    {"create_virtual_pointer", "?on", types_creation},
    {"destroy", "", aucun},
};
static const wl_interface interface_gestionnaire = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, requetes_gestionnaire, 0, nullptr};
enum { MOUVEMENT_ABSOLU = 1, BOUTON = 2, TRAME = 4 };

// org_kde_kwin_fake_input up to version 4 (keyboard_key), requests only.
static const wl_message requetes_kwin[] = {
    {"authenticate", "ss", aucun},  {"pointer_motion", "ff", aucun},
    {"button", "uu", aucun},        {"axis", "uf", aucun},
    {"touch_down", "2uff", aucun},  {"touch_motion", "2uff", aucun},
    {"touch_up", "2u", aucun},      {"touch_cancel", "2", aucun},
    {"touch_frame", "2", aucun},    {"pointer_motion_absolute", "3ff", aucun},
    {"keyboard_key", "4uu", aucun},
};
static const wl_interface interface_kwin = {
    "org_kde_kwin_fake_input", 4, 11, requetes_kwin, 0, nullptr};
enum { KWIN_AUTHENTIFIER = 0, KWIN_BOUTON = 2, KWIN_MOUVEMENT_ABSOLU = 9, KWIN_TOUCHE = 10 };

static wl_proxy* gestionnaire = nullptr;
static wl_proxy* kwin = nullptr;
static wl_seat* siege = nullptr;

static void annonce(void*, wl_registry* registre, uint32_t nom, const char* interface,
                    uint32_t version) {
    if (strcmp(interface, interface_gestionnaire.name) == 0) {
        gestionnaire =
            static_cast<wl_proxy*>(wl_registry_bind(registre, nom, &interface_gestionnaire, 1));
    } else if (strcmp(interface, interface_kwin.name) == 0 && version >= 4) {
        kwin = static_cast<wl_proxy*>(wl_registry_bind(registre, nom, &interface_kwin, 4));
    } else if (strcmp(interface, wl_seat_interface.name) == 0 && siege == nullptr) {
        siege = static_cast<wl_seat*>(wl_registry_bind(registre, nom, &wl_seat_interface, 1));
    }
}
static void retrait(void*, wl_registry*, uint32_t) {}
static const wl_registry_listener ecoute_registre = {annonce, retrait};

static uint32_t maintenant_ms() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint32_t>(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

// Linux's codes for the buttons that X numbers 1, 2 and 3.
static uint32_t code_bouton(int bouton) {
    return bouton == 1 ? 0x110 : bouton == 2 ? 0x112 : 0x111;
}

static wl_proxy* pointeur = nullptr;
static uint32_t largeur, hauteur;

static void deplacer(int x, int y) {
    if (kwin != nullptr) {
        wl_proxy_marshal(kwin, KWIN_MOUVEMENT_ABSOLU, wl_fixed_from_int(x), wl_fixed_from_int(y));
        return;
    }
    wl_proxy_marshal(pointeur, MOUVEMENT_ABSOLU, maintenant_ms(), static_cast<uint32_t>(x),
                     static_cast<uint32_t>(y), largeur, hauteur);
    wl_proxy_marshal(pointeur, TRAME);
}

static void appuyer(int bouton, bool enfonce) {
    if (kwin != nullptr) {
        wl_proxy_marshal(kwin, KWIN_BOUTON, code_bouton(bouton), enfonce ? 1u : 0u);
        return;
    }
    wl_proxy_marshal(pointeur, BOUTON, maintenant_ms(), code_bouton(bouton), enfonce ? 1u : 0u);
    wl_proxy_marshal(pointeur, TRAME);
}

// "keys CODE...": pressed in turn, released in reverse order (ctrl+a).
static bool touches(const char* liste) {
    unsigned codes[8];
    int n = 0, lus = 0;
    while (n < 8 && sscanf(liste, "%u%n", &codes[n], &lus) == 1) {
        liste += lus;
        n++;
    }
    if (kwin == nullptr || n == 0) {
        return false;
    }
    for (int i = 0; i < n; i++) {
        wl_proxy_marshal(kwin, KWIN_TOUCHE, codes[i], 1u);
    }
    for (int i = n - 1; i >= 0; i--) {
        wl_proxy_marshal(kwin, KWIN_TOUCHE, codes[i], 0u);
    }
    return true;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fputs("usage: pointeur_wayland WIDTH HEIGHT\n", stderr);
        return 2;
    }
    largeur = static_cast<uint32_t>(atoi(argv[1]));
    hauteur = static_cast<uint32_t>(atoi(argv[2]));
    wl_display* affichage = wl_display_connect(nullptr);
    if (affichage == nullptr) {
        fputs("no Wayland display\n", stderr);
        return 1;
    }
    wl_registry* registre = wl_display_get_registry(affichage);
    wl_registry_add_listener(registre, &ecoute_registre, nullptr);
    wl_display_roundtrip(affichage);
    if (kwin != nullptr) {
        // KWin ignores a client's fake input until it has said who it is.
        wl_proxy_marshal(kwin, KWIN_AUTHENTIFIER, "Tarvane e2e", "end-to-end tests");
    } else if (gestionnaire != nullptr) {
        pointeur =
            wl_proxy_marshal_constructor(gestionnaire, 0, &interface_pointeur, siege, nullptr);
    } else {
        fputs("the compositor offers no virtual pointer\n", stderr);
        return 1;
    }
    wl_display_roundtrip(affichage);
    puts("ready");
    fflush(stdout);

    char ligne[128];
    while (fgets(ligne, sizeof ligne, stdin) != nullptr) {
        int x, y, bouton;
        if (sscanf(ligne, "move %d %d", &x, &y) == 2) {
            deplacer(x, y);
        } else if (sscanf(ligne, "press %d", &bouton) == 1 ||
                   sscanf(ligne, "release %d", &bouton) == 1) {
            appuyer(bouton, ligne[0] == 'p');
        } else if (sscanf(ligne, "click %d", &bouton) == 1) {
            appuyer(bouton, true);
            wl_display_roundtrip(affichage);
            appuyer(bouton, false);
        } else if (strncmp(ligne, "keys ", 5) != 0 || !touches(ligne + 5)) {
            fprintf(stderr, "unknown command: %s", ligne);
            continue;
        }
        if (wl_display_roundtrip(affichage) < 0) {
            return 1;
        }
        puts("ok");
        fflush(stdout);
    }
    wl_display_disconnect(affichage);
    return 0;
}
