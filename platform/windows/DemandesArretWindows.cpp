#include "platform/DemandesArret.h"

// Windows ends a program through the application's quit (the session ending), which the common
// part already watches; there is no signal to turn into one.
DemandesArret::DemandesArret(QObject* parent) : QObject(parent) {
    surveillerFinApplication();
}

DemandesArret::~DemandesArret() = default;

void DemandesArret::lire() {}
