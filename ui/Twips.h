#pragma once

#include <QRect>

// The About box was drawn in twips, 15 to a pixel at 96 dpi; Qt scales the pixels on denser
// screens.
inline constexpr int TwipsParPixel = 15;

constexpr int enPixels(int twips) {
    return twips / TwipsParPixel;
}

inline QRect enPixels(int gauche, int haut, int largeur, int hauteur) {
    return {enPixels(gauche), enPixels(haut), enPixels(largeur), enPixels(hauteur)};
}
