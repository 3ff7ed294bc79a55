#include "platform/ProgrammeQt.h"
#include "platform/Systeme.h"
#include "platform/unix/ObservateurSni.h"
#include "platform/unix/PresenceZoneNotificationQt.h"
#include "platform/unix/ShellDocumentsQt.h"
#include "platform/unix/ShellIconeQt.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

class SystemeUnix : public ServicesSysteme {
public:
    SystemeUnix() {
#ifdef __GLIBC__
        // Blocks of 256 KiB and more always come from the system and go back to it when freed.
        // glibc's own bound grows with the largest block freed: after a few megabytes that a bus
        // peer sent, the program would keep as much again, for good.
        mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    }

    ProgrammeEnCours& programme() override {
        return m_programme;
    }
    ShellIcone& shell() override {
        return m_shell;
    }
    ShellDocuments& documents() override {
        return m_documents;
    }
    PresenceZoneNotification& presence() override {
        return m_presence;
    }

private:
    ProgrammeQt m_programme;
    // The D-Bus trays and our item there, on the session bus, and again if it drops us.
    ObservateurSni m_sni{QDBusConnection::sessionBus(), [](int numero) {
                             return QDBusConnection::connectToBus(
                                 QDBusConnection::SessionBus,
                                 QStringLiteral("tarvane-session-%1").arg(numero));
                         }};
    ShellIconeQt m_shell{m_programme, &m_sni};
    ShellDocumentsQt m_documents;
    PresenceZoneNotificationQt m_presence{m_sni}; // panels come late, go away and come back
};

} // namespace

std::unique_ptr<ServicesSysteme> ServicesSysteme::creer() {
    return std::make_unique<SystemeUnix>();
}
