#include "platform/DemandesArret.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaMethod>

void DemandesArret::surveillerFinApplication() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

bool DemandesArret::eventFilter(QObject* objet, QEvent* evenement) {
    if (objet == QCoreApplication::instance() && evenement->type() == QEvent::Quit &&
        isSignalConnected(QMetaMethod::fromSignal(&DemandesArret::arretDemande))) {
        emit arretDemande(FinApplication);
        return true;
    }
    return QObject::eventFilter(objet, evenement);
}
