#pragma once

#include <memory>

class PresenceZoneNotification;
class ProgrammeEnCours;
class ShellDocuments;
class ShellIcone;

// The services of the system the program runs on, each behind its interface. On Windows they are
// the shell's own calls and the task bar; elsewhere stand-ins built on Qt, with the watch on the
// desktop's trays. CMake builds one: platform/windows/SystemeWindows.cpp or
// platform/unix/SystemeUnix.cpp.
class ServicesSysteme {
public:
    virtual ~ServicesSysteme() = default;

    virtual ProgrammeEnCours& programme() = 0;
    virtual ShellIcone& shell() = 0;
    virtual ShellDocuments& documents() = 0;
    // Read at once, so that start-up knows whether to hide the window.
    virtual PresenceZoneNotification& presence() = 0;

    // Once the application object exists.
    static std::unique_ptr<ServicesSysteme> creer();
};
