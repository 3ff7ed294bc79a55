#pragma once

#include <memory>
#include <string>

// One copy of the program per user session. The lock is a name that the system releases however
// the process ends (a crash or kill -9 included) and that leaves no file behind: on Linux an
// abstract-namespace local socket whose name holds the user id, on Windows a named mutex in the
// session's Local\ namespace.
class VerrouInstance {
public:
    enum class Etat {
        Pris,         // this process holds the lock until it ends
        AutreCopie,   // another copy of this user holds it
        Indisponible, // the lock could not be set up: the program runs rather than lock the user
                      // out
    };

    explicit VerrouInstance(std::string nom);
    ~VerrouInstance();
    VerrouInstance(const VerrouInstance&) = delete;
    VerrouInstance& operator=(const VerrouInstance&) = delete;

    // Takes the lock and keeps it for the life of this object.
    Etat prendre();

private:
    struct Systeme;

    std::string m_nom;
    std::unique_ptr<Systeme> m_systeme;
};
