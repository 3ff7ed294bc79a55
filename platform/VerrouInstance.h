#pragma once

#include <memory>
#include <string>

// One copy of the program per user session, on a lock that the system releases however the
// process ends (a crash or kill -9 included), in a place no other account can reach.
// - Unix: first a socket bound to the abstract name "<nom>-<uid>", which no one can remove or
//   replace (ignored when another account holds it: any account may bind any name). Then
//   flock() on "<nom>.lock" in the user's runtime directory ($XDG_RUNTIME_DIR), used only
//   when it is a directory of this user alone (mode 0700), for copies that do not share a
//   network namespace (abstract names are per namespace). Without one, in a private directory
//   made in /tmp, "<nom>-<uid>", or when another account holds that name, "<nom>-<uid>.1" to
//   ".3": every one of those that is this user's is locked, so that two copies always meet on
//   one of them whatever names another account takes or gives up meanwhile. When another account
//   holds all four, in "<nom>" of the user's cache directory (~/.cache), where only this user
//   can create anything.
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
    explicit VerrouInstance(const std::string& nom);
#if !defined(_WIN32)
    // Where the lock of a name is taken; an empty place is not used.
    struct Lieux {
        std::string nom;
        std::string repertoireExecution;
        std::string repertoirePartage;
        std::string repertoirePersonnel;
        std::string nomAbstrait;
    };
    explicit VerrouInstance(Lieux lieux);
#endif
    ~VerrouInstance();
    VerrouInstance(const VerrouInstance&) = delete;
    VerrouInstance& operator=(const VerrouInstance&) = delete;

    // Takes the lock and keeps it for the life of this object.
    Etat prendre();

private:
    struct Systeme;

#if defined(_WIN32)
    std::string m_nom;
#else
    Lieux m_lieux;
#endif
    std::unique_ptr<Systeme> m_systeme;
};
