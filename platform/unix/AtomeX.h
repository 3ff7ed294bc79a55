#pragma once

#include <cstdint>
#include <cstdlib>
#include <QByteArray>
#include <xcb/xcb.h>

// The X server's atom of that name, created if need be; XCB_ATOM_NONE if the server does not
// answer.
inline xcb_atom_t atomeX(xcb_connection_t* connexion, const QByteArray& nom) {
    xcb_atom_t resultat = XCB_ATOM_NONE;
    if (auto* reponse = xcb_intern_atom_reply(
            connexion,
            xcb_intern_atom(connexion, 0, static_cast<std::uint16_t>(nom.size()), nom.constData()),
            nullptr)) {
        resultat = reponse->atom;
        std::free(reponse);
    }
    return resultat;
}
