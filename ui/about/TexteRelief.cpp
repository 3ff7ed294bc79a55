#include "ui/about/TexteRelief.h"

#include <QPainter>

void TexteRelief::paintEvent(QPaintEvent*) {
    QPainter peintre(this);
    peintre.setFont(font());
    const QRect zone = contentsRect();
    peintre.setPen(Qt::white);
    peintre.drawText(zone.translated(1, 1), alignment().toInt(), text());
    peintre.setPen(Qt::black);
    peintre.drawText(zone, alignment().toInt(), text());
}
