#include "platform/PointeurSourisQt.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

// Every override goes, not only the last one: a pointer code replaces the pointer, it does not
// stack on the previous one, so an hourglass never survives the arrow that follows it.
void retirerSurcharges() {
    while (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace

void PointeurSourisQt::definir(int code) {
    retirerSurcharges();
    switch (code) {
    case vbHourglass:
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        break;
    case vbArrow:
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
        break;
    default:
        // The default pointer, and any code this program does not use: each widget's own.
        break;
    }
}
