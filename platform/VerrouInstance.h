#pragma once

#include <memory>
#include <string>

// One copy of the program per user, on locks that the system releases however the process ends
// (a crash or kill -9 included), in places that depend on the user alone, never on the
// environment of one start, and that no other account can take.
// - Unix: first a socket bound to the abstract name "<nom>-<uid>", which no one can remove or
//   replace: a quick answer among copies of one network namespace (ignored when another account
//   holds it: any account may bind any name). Then, always, flock() on one directory, which
//   copies in every network namespace share: the user's runtime directory /run/user/<uid> as
//   the system makes it (this user's, mode 0700), or else the home directory of the password
//   database when no other account may open it. The directory itself is locked: nothing is
//   created there that could be removed, replaced or refused by a full or read-only file system.
//   That lock is the user's, whatever the name: one program only may use it.
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
    // The lock in places chosen by the caller, where the system has several to choose from
    // (platform/unix/LieuxVerrou.h).
    struct Lieux;
    explicit VerrouInstance(const Lieux& lieux);
    ~VerrouInstance();
    VerrouInstance(const VerrouInstance&) = delete;
    VerrouInstance& operator=(const VerrouInstance&) = delete;

    // Takes the lock and keeps it for the life of this object.
    Etat prendre();

private:
    struct Systeme; // the system's places, and the locks once taken
    std::unique_ptr<Systeme> m_systeme;
};
