#include "ui/about/TexteRelief.h"

#include "ui/CouleursFixes.h"

#include <QPainter>

void TexteRelief::paintEvent(QPaintEvent*) {
    QPainter peintre(this);
    // The engraving is black and white whatever the desktop's colours: where its face is too
    // dark for black, the caption brings the light face it was drawn on.
    if (!noirLisibleSur(palette().color(backgroundRole()))) {
        peintre.fillRect(rect(), FaceClaire);
    }
    peintre.setFont(font());
    const QRect zone = contentsRect();
    peintre.setPen(Qt::white);
    peintre.drawText(zone.translated(1, 1), alignment().toInt(), text());
    peintre.setPen(Qt::black);
    peintre.drawText(zone, alignment().toInt(), text());
}
