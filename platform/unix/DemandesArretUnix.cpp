#include "platform/DemandesArret.h"
#include "platform/Journal.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <unistd.h>

namespace {

constexpr int Signaux[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> g_ecriture{-1};
struct sigaction g_anciennes[std::size(Signaux)];

extern "C" void noterSignal(int numero) {
    // Only async-signal-safe calls here; errno belongs to the code that was interrupted.
    const int sauvegarde = errno;
    const int fd = g_ecriture.load();
    if (fd >= 0) {
        const auto octet = static_cast<unsigned char>(numero);
        [[maybe_unused]] const ssize_t ecrit = ::write(fd, &octet, 1);
    }
    errno = sauvegarde;
}

} // namespace

DemandesArret::DemandesArret(QObject* parent) : QObject(parent) {
    surveillerFinApplication();

    // Without an event loop in this thread nothing would read the pipe, and a signal would be
    // lost instead of ending the program by default.
    if (QAbstractEventDispatcher::instance(thread()) == nullptr) {
        qCWarning(journalPlateforme) << "termination signals not watched: no event loop to notify";
        return;
    }
    int tube[2];
    if (::pipe(tube) != 0) {
        // The signals keep their default action: the program still ends, without its shutdown.
        qCWarning(journalPlateforme)
            << "termination signals not watched: pipe() failed:" << std::strerror(errno);
        return;
    }
    for (const int fd : tube) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    m_lecture = tube[0];
    g_ecriture.store(tube[1]);

    m_notificateur = new QSocketNotifier(m_lecture, QSocketNotifier::Read, this);
    connect(m_notificateur, &QSocketNotifier::activated, this, &DemandesArret::lire);

    struct sigaction action = {};
    action.sa_handler = noterSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(Signaux); ++i) {
        sigaction(Signaux[i], &action, &g_anciennes[i]);
    }
}

DemandesArret::~DemandesArret() {
    if (m_lecture < 0) {
        return;
    }
    delete m_notificateur;
    for (std::size_t i = 0; i < std::size(Signaux); ++i) {
        sigaction(Signaux[i], &g_anciennes[i], nullptr);
    }
    const int ecriture = g_ecriture.exchange(-1);
    ::close(ecriture);
    ::close(m_lecture);
}

void DemandesArret::lire() {
    unsigned char octets[16];
    ssize_t lus = 0;
    while ((lus = ::read(m_lecture, octets, sizeof octets)) > 0) {
        for (ssize_t i = 0; i < lus; ++i) {
            emit arretDemande(octets[i]);
        }
    }
}
