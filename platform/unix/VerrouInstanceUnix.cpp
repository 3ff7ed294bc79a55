#include "platform/Journal.h"
#include "platform/unix/LieuxVerrou.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <pwd.h>
#include <QStringList>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

class Descripteur {
public:
    explicit Descripteur(int fd = -1) : m_fd(fd) {}
    Descripteur(Descripteur&& autre) noexcept : m_fd(std::exchange(autre.m_fd, -1)) {}
    Descripteur& operator=(Descripteur&&) = delete;
    ~Descripteur() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int fd() const { return m_fd; }
    bool valide() const { return m_fd >= 0; }

private:
    int m_fd;
};

using Etat = VerrouInstance::Etat;
enum class Issue { Pris, AutreCopie, Inutilisable };

// A listening socket under an abstract name: no path that anyone could remove or replace, and
// given back by the system however the process ends. Any account may bind any such name, so a
// name already bound counts as another copy only when its holder is this user.
Issue lierNomAbstrait(const std::string& nom, std::vector<Descripteur>& tenus,
                      std::string& raison) {
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    if (nom.size() + 1 > sizeof(adresse.sun_path)) {
        raison = "abstract name too long";
        return Issue::Inutilisable;
    }
    nom.copy(adresse.sun_path + 1, nom.size()); // sun_path[0] stays NUL: the abstract namespace
    const auto longueur = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + nom.size());
    const auto* generique = reinterpret_cast<const sockaddr*>(&adresse);

    Descripteur prise(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!prise.valide()) {
        raison = std::string("socket: ") + std::strerror(errno);
        return Issue::Inutilisable;
    }
    if (::bind(prise.fd(), generique, longueur) == 0) {
        // Never accepted: later starts only need to see whose it is. The queue holds as many
        // refused starts as the system allows before they must be judged by the directory alone.
        if (::listen(prise.fd(), SOMAXCONN) != 0) {
            raison = std::string("listen: ") + std::strerror(errno);
            return Issue::Inutilisable;
        }
        tenus.push_back(std::move(prise));
        return Issue::Pris;
    }
    if (errno != EADDRINUSE) {
        raison = std::string("bind: ") + std::strerror(errno);
        return Issue::Inutilisable;
    }
    Descripteur client(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (client.valide() && ::connect(client.fd(), generique, longueur) != 0) {
        // A full queue: another account's socket that never accepts fills up; the directory
        // decides.
        raison = std::string("cannot tell who holds the abstract name: ") + std::strerror(errno);
        return Issue::Inutilisable;
    }
    ucred titulaire{};
    socklen_t taille = sizeof(titulaire);
    if (!client.valide() ||
        ::getsockopt(client.fd(), SOL_SOCKET, SO_PEERCRED, &titulaire, &taille) != 0) {
        raison = std::string("cannot tell who holds the abstract name: ") + std::strerror(errno);
        return Issue::Inutilisable;
    }
    if (titulaire.uid == ::getuid()) {
        return Issue::AutreCopie;
    }
    raison = "abstract name held by user " + std::to_string(titulaire.uid);
    return Issue::Inutilisable;
}

// What makes a directory this user's alone, so that no other account can open it and lock it.
enum class Exigence {
    Mode0700,        // the runtime directory, as the system makes it
    FermeeAuxAutres, // a home directory: neither its group nor others may read it
};

// The directory, when it is this user's alone; otherwise nothing, and why ("" when it does not
// exist).
Descripteur ouvrirRepertoire(const std::string& chemin, Exigence exigence, std::string& raison) {
    Descripteur repertoire(::open(chemin.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!repertoire.valide()) {
        raison = errno == ENOENT ? "" : std::strerror(errno);
        return Descripteur();
    }
    struct stat etat = {};
    if (::fstat(repertoire.fd(), &etat) != 0) {
        raison = std::strerror(errno);
        return Descripteur();
    }
    if (etat.st_uid != ::getuid()) {
        raison = "it belongs to user " + std::to_string(etat.st_uid);
        return Descripteur();
    }
    if (exigence == Exigence::Mode0700 && (etat.st_mode & 07777) != 0700) {
        raison = "its mode is not 0700";
        return Descripteur();
    }
    // An ACL's mask shows in the group's bits: no read right there, none in the ACL either.
    if (exigence == Exigence::FermeeAuxAutres && (etat.st_mode & 0044) != 0) {
        raison = "its group or others may read it";
        return Descripteur();
    }
    return repertoire;
}

// The one directory of the lock: the runtime directory when the system made one, or else the
// home directory. Which one depends only on what root or this user made, never on the
// environment; a runtime directory that does not exist is the usual case without a login
// manager, not worth a warning.
Descripteur choisirRepertoire(const VerrouInstance::Lieux& lieux,
                              const std::function<std::string()>& personnel, std::string& chemin,
                              std::vector<std::string>& refus) {
    std::string raison;
    if (!lieux.repertoireExecution.empty()) {
        Descripteur execution =
            ouvrirRepertoire(lieux.repertoireExecution, Exigence::Mode0700, raison);
        if (execution.valide()) {
            chemin = lieux.repertoireExecution;
            return execution;
        }
        if (!raison.empty()) {
            refus.push_back("runtime directory " + lieux.repertoireExecution +
                            " not used: " + raison);
        }
    }
    const std::string maison = personnel();
    if (maison.empty()) {
        refus.push_back("no home directory known for this user");
        return Descripteur();
    }
    Descripteur repertoire = ouvrirRepertoire(maison, Exigence::FermeeAuxAutres, raison);
    if (!repertoire.valide()) {
        refus.push_back("home directory " + maison + " not used: " +
                        (raison.empty() ? std::string("it does not exist") : raison));
        return Descripteur();
    }
    chemin = maison;
    return repertoire;
}

Etat prendreDans(const VerrouInstance::Lieux& lieux, const std::function<std::string()>& personnel,
                 std::vector<Descripteur>& verrous, std::vector<std::string>& refus) {
    if (!lieux.nomAbstrait.empty()) {
        std::string raison;
        switch (lierNomAbstrait(lieux.nomAbstrait, verrous, raison)) {
        case Issue::Pris:
            break;
        case Issue::AutreCopie:
            verrous.clear();
            return Etat::AutreCopie;
        case Issue::Inutilisable:
            refus.push_back("abstract name not used: " + raison);
            break;
        }
    }
    // Taken even when the abstract name was: a copy in another network namespace did not see it.
    std::string chemin;
    Descripteur repertoire = choisirRepertoire(lieux, personnel, chemin, refus);
    if (repertoire.valide()) {
        if (::flock(repertoire.fd(), LOCK_EX | LOCK_NB) == 0) {
            verrous.push_back(std::move(repertoire));
        } else if (errno == EWOULDBLOCK) {
            verrous.clear();
            return Etat::AutreCopie;
        } else {
            refus.push_back(chemin + " not locked: flock: " + std::strerror(errno));
        }
    }
    return verrous.empty() ? Etat::Indisponible : Etat::Pris;
}

// The home directory of the password database, not $HOME, which each start may set as it likes.
std::string repertoirePersonnelSysteme() {
    const long conseil = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> tampon(conseil > 0 ? static_cast<std::size_t>(conseil) : 4096);
    passwd entree{};
    passwd* trouvee = nullptr;
    int erreur = 0;
    while ((erreur = ::getpwuid_r(::getuid(), &entree, tampon.data(), tampon.size(), &trouvee)) ==
               ERANGE &&
           tampon.size() < (1u << 20)) {
        tampon.resize(tampon.size() * 2);
    }
    if (erreur != 0 || trouvee == nullptr || trouvee->pw_dir == nullptr ||
        trouvee->pw_dir[0] != '/') {
        return "";
    }
    return trouvee->pw_dir;
}

} // namespace

struct VerrouInstance::Systeme {
    Lieux lieux;
    bool personnelDuSysteme = false; // looked up only when the runtime directory will not do
    std::vector<Descripteur> verrous;
};

VerrouInstance::VerrouInstance(const std::string& nom)
    : VerrouInstance(Lieux{
          nom + "-" + std::to_string(::getuid()), "/run/user/" + std::to_string(::getuid()), {}}) {
    m_systeme->personnelDuSysteme = true;
}

VerrouInstance::VerrouInstance(const Lieux& lieux)
    : m_systeme(std::make_unique<Systeme>(Systeme{lieux, false, {}})) {}

VerrouInstance::~VerrouInstance() = default;

VerrouInstance::Etat VerrouInstance::prendre() {
    if (!m_systeme->verrous.empty()) {
        return Etat::Pris;
    }
    std::vector<Descripteur> verrous;
    std::vector<std::string> refus; // the places passed over, and why: one warning says them all
    // The password database may be a network service: asked only where the home is needed.
    const auto personnel = [this] {
        return m_systeme->personnelDuSysteme ? repertoirePersonnelSysteme()
                                             : m_systeme->lieux.repertoirePersonnel;
    };
    const Etat etat = prendreDans(m_systeme->lieux, personnel, verrous, refus);
    if (!refus.empty()) {
        QStringList textes;
        for (const std::string& texte : refus) {
            textes.push_back(QString::fromStdString(texte));
        }
        if (etat == Etat::Indisponible) {
            textes.push_back(QStringLiteral("no lock taken, starting as if no other copy ran"));
        }
        qCWarning(journalPlateforme).noquote()
            << "one-copy lock:" << textes.join(QStringLiteral("; "));
    }
    if (etat == Etat::Pris) {
        m_systeme->verrous = std::move(verrous);
    }
    return etat;
}
