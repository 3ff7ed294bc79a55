#include "platform/ProgrammeQt.h"
#include "platform/Systeme.h"
#include "platform/windows/BarreDesTachesWindows.h"
#include "platform/windows/ShellDocumentsWindows.h"

namespace {

class SystemeWindows : public ServicesSysteme {
public:
    ProgrammeEnCours& programme() override { return m_programme; }
    ShellIcone& shell() override { return m_barre; }
    ShellDocuments& documents() override { return m_documents; }
    PresenceZoneNotification& presence() override { return m_barre; }

private:
    ProgrammeQt m_programme;
    BarreDesTachesWindows m_barre{m_programme}; // the icon and the task bar are one thing here
    ShellDocumentsWindows m_documents;
};

} // namespace

std::unique_ptr<ServicesSysteme> ServicesSysteme::creer() {
    return std::make_unique<SystemeWindows>();
}
