// A pointer for a wlroots compositor without input devices (sway's headless back end), through
// the virtual pointer protocol: the compositor then has a pointer that panels and menus see as a
// real one. Reads commands from its standard input, one a line, until it ends:
//   move X Y         the pointer to X,Y of the layout (of WIDTH x HEIGHT given at start)
//   press B | release B | click B     button 1 (left), 2 (middle) or 3 (right)
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

static wl_proxy* gestionnaire = nullptr;
static wl_seat* siege = nullptr;

static void annonce(void*, wl_registry* registre, uint32_t nom, const char* interface, uint32_t) {
    if (strcmp(interface, interface_gestionnaire.name) == 0) {
        gestionnaire =
            static_cast<wl_proxy*>(wl_registry_bind(registre, nom, &interface_gestionnaire, 1));
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

int main(int argc, char** argv) {
    if (argc != 3) {
        fputs("usage: pointeur_wayland WIDTH HEIGHT\n", stderr);
        return 2;
    }
    const uint32_t largeur = static_cast<uint32_t>(atoi(argv[1]));
    const uint32_t hauteur = static_cast<uint32_t>(atoi(argv[2]));
    wl_display* affichage = wl_display_connect(nullptr);
    if (affichage == nullptr) {
        fputs("no Wayland display\n", stderr);
        return 1;
    }
    wl_registry* registre = wl_display_get_registry(affichage);
    wl_registry_add_listener(registre, &ecoute_registre, nullptr);
    wl_display_roundtrip(affichage);
    if (gestionnaire == nullptr) {
        fputs("the compositor offers no virtual pointer\n", stderr);
        return 1;
    }
    wl_proxy* pointeur =
        wl_proxy_marshal_constructor(gestionnaire, 0, &interface_pointeur, siege, nullptr);
    wl_display_roundtrip(affichage);
    puts("ready");
    fflush(stdout);

    char ligne[128];
    while (fgets(ligne, sizeof ligne, stdin) != nullptr) {
        int x, y, bouton;
        if (sscanf(ligne, "move %d %d", &x, &y) == 2) {
            wl_proxy_marshal(pointeur, MOUVEMENT_ABSOLU, maintenant_ms(), static_cast<uint32_t>(x),
                             static_cast<uint32_t>(y), largeur, hauteur);
            wl_proxy_marshal(pointeur, TRAME);
        } else if (sscanf(ligne, "press %d", &bouton) == 1 ||
                   sscanf(ligne, "release %d", &bouton) == 1) {
            wl_proxy_marshal(pointeur, BOUTON, maintenant_ms(), code_bouton(bouton),
                             ligne[0] == 'p' ? 1u : 0u);
            wl_proxy_marshal(pointeur, TRAME);
        } else if (sscanf(ligne, "click %d", &bouton) == 1) {
            wl_proxy_marshal(pointeur, BOUTON, maintenant_ms(), code_bouton(bouton), 1u);
            wl_proxy_marshal(pointeur, TRAME);
            wl_display_roundtrip(affichage);
            wl_proxy_marshal(pointeur, BOUTON, maintenant_ms(), code_bouton(bouton), 0u);
            wl_proxy_marshal(pointeur, TRAME);
        } else {
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
