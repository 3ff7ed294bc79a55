#pragma once
// Where the design fixes one colour of a text and its background, the other is fixed with it:
// the desktop's palette would otherwise supply it, and a dark one puts its white text on the
// design's white sheet, or the design's blue on its own dark fields.

#include <cmath>
#include <QColor>
#include <QPalette>
#include <QWidget>

// The light palette's button face, under which the design's blue captions and engraved title
// were drawn.
inline const QColor FaceClaire(0xef, 0xef, 0xef);

inline void colorerPaire(QWidget* controle, QPalette::ColorRole roleFond, const QColor& fond,
                         QPalette::ColorRole roleTexte, const QColor& texte) {
    QPalette couleurs = controle->palette();
    couleurs.setColor(roleFond, fond);
    couleurs.setColor(roleTexte, texte);
    controle->setPalette(couleurs);
}

// Black text reads on a background at 4.5:1 or more (WCAG's contrast ratio).
inline bool noirLisibleSur(const QColor& fond) {
    const auto lineaire = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * lineaire(fond.redF()) + 0.7152 * lineaire(fond.greenF()) +
                             0.0722 * lineaire(fond.blueF());
    return (luminance + 0.05) / 0.05 >= 4.5;
}
