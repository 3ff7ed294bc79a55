#pragma once

#include <memory>
#include <string>

// One copy of the program per user session, on a lock that the system releases however the
// process ends (a crash or kill -9 included), in a place no other account can reach.
// - Unix: flock() on "<nom>.lock" in the user's runtime directory ($XDG_RUNTIME_DIR), used only
//   when it is a directory of this user alone (mode 0700). Without one, in a private directory
//   made in /tmp, "<nom>-<uid>", or when another account holds that name, "<nom>-<uid>.1" to
//   ".3": every one of those that is this user's is locked, so that two copies always meet on
//   one of them whatever names another account takes or gives up meanwhile.
// - Windows: a named mutex in the session's Local\ namespace.
class VerrouInstance {
public:
    enum class Etat {
        Pris,         // this process holds the lock until it ends
        AutreCopie,   // another copy of this user holds it
        Indisponible, // the lock could not be set up: the program runs rather than lock the user
                      // out
    };

    // The lock of that name, in the places the system gives.
    explicit VerrouInstance(std::string nom);
#if !defined(_WIN32)
    // The lock of that name, in the given runtime directory (empty: none) and shared directory.
    VerrouInstance(std::string nom, std::string repertoireExecution, std::string repertoirePartage);
#endif
    ~VerrouInstance();
    VerrouInstance(const VerrouInstance&) = delete;
    VerrouInstance& operator=(const VerrouInstance&) = delete;

    // Takes the lock and keeps it for the life of this object.
    Etat prendre();

private:
    struct Systeme;

    std::string m_nom;
#if !defined(_WIN32)
    std::string m_repertoireExecution;
    std::string m_repertoirePartage;
#endif
    std::unique_ptr<Systeme> m_systeme;
};
