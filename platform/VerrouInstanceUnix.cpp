#include "platform/VerrouInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

struct VerrouInstance::Systeme {
    QLocalServer serveur;
};

namespace {

// The system completes a connection without the holder's help; the wait only bounds a holder that
// has stopped taking its connections off the queue.
constexpr int DelaiConnexionMs = 2000;

// Abstract names are shared by every user of the machine, so one could take ours first. Only a
// holder that runs under our own user id is a copy of ours; a holder that cannot be asked counts
// as one, since the name is taken (it may still be starting up).
bool tenuParUnAutreUtilisateur(const QString& nom) {
#if defined(Q_OS_LINUX)
    QLocalSocket sonde;
    sonde.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    sonde.connectToServer(nom);
    if (!sonde.waitForConnected(DelaiConnexionMs)) {
        return false;
    }
    ucred identite{};
    socklen_t taille = sizeof identite;
    const int descripteur = static_cast<int>(sonde.socketDescriptor());
    if (getsockopt(descripteur, SOL_SOCKET, SO_PEERCRED, &identite, &taille) != 0) {
        return false;
    }
    return identite.uid != getuid();
#else
    (void)nom;
    return false;
#endif
}

} // namespace

VerrouInstance::VerrouInstance(std::string nom) : m_nom(std::move(nom)) {}

VerrouInstance::~VerrouInstance() = default;

VerrouInstance::Etat VerrouInstance::prendre() {
    if (m_systeme) {
        return Etat::Pris;
    }
    const QString nom =
        QString::fromStdString(m_nom) + QLatin1Char('-') + QString::number(getuid());

    auto systeme = std::make_unique<Systeme>();
    systeme->serveur.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!systeme->serveur.listen(nom)) {
        if (systeme->serveur.serverError() == QAbstractSocket::AddressInUseError &&
            !tenuParUnAutreUtilisateur(nom)) {
            return Etat::AutreCopie;
        }
        return Etat::Indisponible;
    }

    // Later copies only look at who holds the name; their connections are closed at once, so
    // that they never fill the queue of pending ones.
    QLocalServer* serveur = &systeme->serveur;
    QObject::connect(serveur, &QLocalServer::newConnection, serveur, [serveur] {
        while (QLocalSocket* connexion = serveur->nextPendingConnection()) {
            connexion->abort();
            connexion->deleteLater();
        }
    });
    m_systeme = std::move(systeme);
    return Etat::Pris;
}
