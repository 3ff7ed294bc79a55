#include "platform/Journal.h"
#include "platform/VerrouInstance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <QStringList>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// The private directories tried in the shared one: "<nom>-<uid>", then ".1" to ".3".
constexpr int RepertoiresPrives = 4;

// /tmp whatever TMPDIR says: every start of this user must look in the same place.
constexpr const char* RepertoirePartageSysteme = "/tmp";

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

// The directory, when it is this user's alone: a directory (reached through a link only where
// allowed) owned by this user with mode 0700. Otherwise nothing, and why.
Descripteur ouvrirRepertoirePrive(const std::string& chemin, bool suivreLien, std::string& raison) {
    const int options = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (suivreLien ? 0 : O_NOFOLLOW);
    Descripteur repertoire(::open(chemin.c_str(), options));
    if (!repertoire.valide()) {
        raison = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
        return Descripteur();
    }
    struct stat etat {};
    if (::fstat(repertoire.fd(), &etat) != 0) {
        raison = std::strerror(errno);
        return Descripteur();
    }
    if (etat.st_uid != ::getuid()) {
        raison = "it belongs to user " + std::to_string(etat.st_uid);
        return Descripteur();
    }
    if ((etat.st_mode & 07777) != 0700) {
        raison = "its mode is not 0700";
        return Descripteur();
    }
    return repertoire;
}

// flock() on the lock file of a private directory, created if need be. Never a link, never a
// FIFO that would hang the open.
Issue verrouiller(const Descripteur& repertoire, const std::string& fichier,
                  std::vector<Descripteur>& tenus, std::string& raison) {
    Descripteur verrou(::openat(repertoire.fd(), fichier.c_str(),
                                O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600));
    if (!verrou.valide()) {
        raison = std::string("cannot open ") + fichier + ": " + std::strerror(errno);
        return Issue::Inutilisable;
    }
    struct stat etat {};
    if (::fstat(verrou.fd(), &etat) != 0 || !S_ISREG(etat.st_mode) || etat.st_uid != ::getuid()) {
        raison = fichier + " is not a file of this user";
        return Issue::Inutilisable;
    }
    if (::flock(verrou.fd(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            return Issue::AutreCopie;
        }
        raison = std::string("flock: ") + std::strerror(errno);
        return Issue::Inutilisable;
    }
    tenus.push_back(std::move(verrou));
    return Issue::Pris;
}

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
        // refused starts as the system allows before they must be judged by the files alone.
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
        // A full queue: another account's socket that never accepts fills up; the files decide.
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

// The lock file of a private directory that must not be a link; why not, when it is refused.
Issue verrouillerPrive(const std::string& chemin, const std::string& fichier,
                       std::vector<Descripteur>& tenus, std::vector<std::string>& refus) {
    std::string raison;
    const Descripteur repertoire = ouvrirRepertoirePrive(chemin, false, raison);
    if (!repertoire.valide()) {
        refus.push_back(chemin + " not used: " + raison);
        return Issue::Inutilisable;
    }
    const Issue issue = verrouiller(repertoire, fichier, tenus, raison);
    if (issue == Issue::Inutilisable) {
        refus.push_back(chemin + ": " + raison);
    }
    return issue;
}

std::string repertoireExecutionSysteme() {
    const char* chemin = std::getenv("XDG_RUNTIME_DIR");
    return chemin != nullptr ? chemin : "";
}

// Where a user's files that may be thrown away go: only this user can create a place there.
std::string repertoirePersonnelSysteme() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
        return cache;
    }
    const char* maison = std::getenv("HOME");
    return maison != nullptr && *maison == '/' ? std::string(maison) + "/.cache" : "";
}

// The lock in the runtime directory, or else in the private directories of the shared one, or
// else in the user's own cache directory. Files can be removed or replaced under a running copy
// (tmp cleaners do): the abstract name, taken first, keeps the others out meanwhile.
Etat prendreDans(const VerrouInstance::Lieux& lieux, std::vector<Descripteur>& verrous,
                 std::vector<std::string>& refus) {
    const std::string& nom = lieux.nom;
    const std::string fichier = nom + ".lock";
    std::string raison;

    if (!lieux.nomAbstrait.empty()) {
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
    const auto nomPris = verrous.size();
    const auto fichierTenu = [&verrous, nomPris] { return verrous.size() > nomPris; };
    const auto bilan = [&verrous] { return verrous.empty() ? Etat::Indisponible : Etat::Pris; };
    const std::string& repertoireExecution = lieux.repertoireExecution;

    if (!repertoireExecution.empty()) {
        const Descripteur repertoire = ouvrirRepertoirePrive(repertoireExecution, true, raison);
        if (repertoire.valide()) {
            switch (verrouiller(repertoire, fichier, verrous, raison)) {
            case Issue::Pris:
                return Etat::Pris;
            case Issue::AutreCopie:
                verrous.clear();
                return Etat::AutreCopie;
            case Issue::Inutilisable:
                break;
            }
        }
        refus.push_back("runtime directory " + repertoireExecution + " not used: " + raison);
    }

    // In order, so that of two copies the one that meets the other's lock is always the later.
    const std::string base = lieux.repertoirePartage + "/" + nom + "-" + std::to_string(::getuid());
    for (int rang = 0; rang < RepertoiresPrives; ++rang) {
        const std::string chemin = rang == 0 ? base : base + "." + std::to_string(rang);
        // Made only until one is held; those after it are only looked at where they exist.
        struct stat present {};
        if (fichierTenu() && ::lstat(chemin.c_str(), &present) != 0) {
            continue;
        }
        if (!fichierTenu() && ::mkdir(chemin.c_str(), 0700) != 0 && errno != EEXIST) {
            // The shared directory itself refuses: its other names would too.
            refus.push_back("cannot create " + chemin + ": " + std::strerror(errno));
            break;
        }
        if (verrouillerPrive(chemin, fichier, verrous, refus) == Issue::AutreCopie) {
            verrous.clear();
            return Etat::AutreCopie;
        }
    }
    if (fichierTenu() || lieux.repertoirePersonnel.empty()) {
        return bilan();
    }

    // Every name in the shared directory taken by another account: the user's own directory.
    const std::string personnel = lieux.repertoirePersonnel + "/" + nom;
    ::mkdir(lieux.repertoirePersonnel.c_str(), 0700);
    if (::mkdir(personnel.c_str(), 0700) != 0 && errno != EEXIST) {
        refus.push_back("cannot create " + personnel + ": " + std::strerror(errno));
        return bilan();
    }
    if (verrouillerPrive(personnel, fichier, verrous, refus) == Issue::AutreCopie) {
        verrous.clear();
        return Etat::AutreCopie;
    }
    return bilan();
}

} // namespace

struct VerrouInstance::Systeme {
    std::vector<Descripteur> verrous;
};

VerrouInstance::VerrouInstance(const std::string& nom)
    : VerrouInstance(Lieux{nom, repertoireExecutionSysteme(), RepertoirePartageSysteme,
                           repertoirePersonnelSysteme(), nom + "-" + std::to_string(::getuid())}) {}

VerrouInstance::VerrouInstance(Lieux lieux) : m_lieux(std::move(lieux)) {}

VerrouInstance::~VerrouInstance() = default;

VerrouInstance::Etat VerrouInstance::prendre() {
    if (m_systeme) {
        return Etat::Pris;
    }
    auto systeme = std::make_unique<Systeme>();
    std::vector<std::string> refus; // the places passed over, and why: one warning says them all
    const Etat etat = prendreDans(m_lieux, systeme->verrous, refus);
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
        m_systeme = std::move(systeme);
    }
    return etat;
}
