// The one-copy lock, taken in this process and held by others, in directories of the test's own.
#include "platform/unix/LieuxVerrou.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Etat = VerrouInstance::Etat;

constexpr uid_t Intrus = 65534; // another account of the machine

// A runtime directory and a home directory of this user alone, in a directory open to all.
class Emplacements : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_racine.isValid());
        ASSERT_EQ(::chmod(m_racine.path().toLocal8Bit().constData(), 0755), 0);
        execution = chemin("run");
        maison = chemin("home");
        ASSERT_EQ(::mkdir(execution.c_str(), 0700), 0);
        ASSERT_EQ(::mkdir(maison.c_str(), 0700), 0);
    }

    std::string chemin(const char* nom) const {
        return m_racine.filePath(QString::fromLatin1(nom)).toStdString();
    }
    VerrouInstance::Lieux lieux(const std::string& abstrait = {}) const {
        return {abstrait, execution, maison};
    }

    std::string execution;
    std::string maison;

private:
    QTemporaryDir m_racine;
};

// Whether a process holds the lock on that directory.
bool verrouille(const std::string& repertoire) {
    const int fd = ::open(repertoire.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool pris = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return pris;
}

// An abstract name of this test's own: other tests may run beside it.
std::string nomAbstrait(const char* suffixe) {
    return "org.example.TarvaneTest-" + std::to_string(::getpid()) + suffixe;
}

// A process that takes the lock of those places, as that account (0: this one), and holds it
// until killed; its pid once it holds the lock, or -1.
pid_t detenteur(const VerrouInstance::Lieux& lieux, uid_t compte = 0) {
    int pret[2];
    if (::pipe(pret) != 0) {
        return -1;
    }
    const pid_t enfant = ::fork();
    if (enfant == 0) {
        if (compte != 0 && (::setgid(compte) != 0 || ::setuid(compte) != 0)) {
            ::_exit(1);
        }
        VerrouInstance sien(lieux);
        const char etat = sien.prendre() == Etat::Pris ? 'o' : 'n';
        [[maybe_unused]] const ssize_t ecrit = ::write(pret[1], &etat, 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(pret[1]);
    char etat = 0;
    const bool tenu = enfant > 0 && ::read(pret[0], &etat, 1) == 1 && etat == 'o';
    ::close(pret[0]);
    if (enfant > 0 && !tenu) {
        ::kill(enfant, SIGKILL);
        ::waitpid(enfant, nullptr, 0);
    }
    return tenu ? enfant : -1;
}

void finir(pid_t processus) {
    ::kill(processus, SIGKILL);
    ::waitpid(processus, nullptr, 0);
}

// Copies in other network namespaces have abstract names of their own, or none reachable: the
// directory alone makes them meet.
TEST_F(Emplacements, FirstCopyTakesIt_laterOnesSeeIt_inAnyNetworkNamespace_untilItsHolderEnds) {
    auto premier = std::make_unique<VerrouInstance>(lieux(nomAbstrait("a")));
    ASSERT_EQ(premier->prendre(), Etat::Pris);
    EXPECT_EQ(premier->prendre(), Etat::Pris); // asked again, still its own
    EXPECT_TRUE(verrouille(execution));
    EXPECT_FALSE(verrouille(maison));
    EXPECT_TRUE(fs::is_empty(execution)) << "nothing made in the directory";

    for (const std::string& abstrait : {nomAbstrait("a"), nomAbstrait("b"), std::string()}) {
        SCOPED_TRACE(abstrait);
        EXPECT_EQ(VerrouInstance(lieux(abstrait)).prendre(), Etat::AutreCopie);
    }
    premier.reset();
    EXPECT_EQ(VerrouInstance(lieux(nomAbstrait("b"))).prendre(), Etat::Pris);
}

// The runtime directory when the system made it as it does (this user's, mode 0700); else the
// home directory, unless another account may open it, and so lock it and keep the program out.
TEST_F(Emplacements, TheRuntimeDirectory_elseAHomeNoOtherAccountCanOpen_elseNone) {
    constexpr int Absent = -1;
    constexpr int Fichier = -2;
    const struct {
        int execution;
        int maison;
        Etat attendu;
        bool dansExecution;
    } cas[] = {
        {0700, 0700, Etat::Pris, true},
        {Absent, 0700, Etat::Pris, false},
        {0755, 0700, Etat::Pris, false},
        {0750, 0700, Etat::Pris, false},
        {Fichier, 0700, Etat::Pris, false},
        {Absent, 0711, Etat::Pris, false},
        {Absent, 0755, Etat::Indisponible, false},
        {Absent, 0750, Etat::Indisponible, false},
        {0755, Absent, Etat::Indisponible, false},
        {Absent, Fichier, Etat::Indisponible, false},
    };
    int rang = 0;
    for (const auto& c : cas) {
        SCOPED_TRACE(::testing::Message() << "case " << rang << ": runtime " << std::oct
                                          << c.execution << ", home " << c.maison);
        const std::string base = chemin("cas") + std::to_string(rang++);
        ASSERT_EQ(::mkdir(base.c_str(), 0755), 0);
        const auto creer = [&base](const char* nom, int mode) {
            const std::string repertoire = base + "/" + nom;
            if (mode == Fichier) {
                std::ofstream(repertoire).put(0);
            } else if (mode != Absent) {
                EXPECT_EQ(::mkdir(repertoire.c_str(), 0700), 0);
                EXPECT_EQ(::chmod(repertoire.c_str(), static_cast<mode_t>(mode)), 0);
            }
            return repertoire;
        };
        const VerrouInstance::Lieux ici{{}, creer("run", c.execution), creer("home", c.maison)};

        VerrouInstance premier(ici);
        ASSERT_EQ(premier.prendre(), c.attendu);
        EXPECT_EQ(verrouille(ici.repertoireExecution), c.dansExecution);
        EXPECT_EQ(verrouille(ici.repertoirePersonnel), c.attendu == Etat::Pris && !c.dansExecution);
        EXPECT_EQ(VerrouInstance(ici).prendre(),
                  c.attendu == Etat::Pris ? Etat::AutreCopie : Etat::Indisponible);
    }
}

// Another account holds the abstract name, then gives it up, and owns a directory where the
// runtime directory should be: it can neither stop a start nor let two copies run, nor take the
// lock of this user's directories.
TEST_F(Emplacements, AnotherAccount_neitherBlocksNorDoublesTheProgram_norTakesItsLock) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "needs root to act as another account";
    }
    const std::string abstrait = nomAbstrait("intrus");
    const pid_t squatteur = detenteur({abstrait, {}, {}}, Intrus);
    ASSERT_GT(squatteur, 0) << "another account could not take the abstract name";
    const std::string sienne = chemin("sienne");
    ASSERT_EQ(::mkdir(sienne.c_str(), 0700), 0);
    ASSERT_EQ(::chown(sienne.c_str(), Intrus, Intrus), 0);

    VerrouInstance premier({abstrait, sienne, maison});
    EXPECT_EQ(premier.prendre(), Etat::Pris);
    EXPECT_TRUE(verrouille(maison));
    EXPECT_EQ(VerrouInstance({abstrait, sienne, maison}).prendre(), Etat::AutreCopie);

    // The name given up: a later start takes it, and still meets the running copy's lock.
    finir(squatteur);
    EXPECT_EQ(VerrouInstance({abstrait, sienne, maison}).prendre(), Etat::AutreCopie);

    // This user's directories, seen from the other account, are not its own: it locks nothing.
    EXPECT_EQ(detenteur({{}, execution, maison}, Intrus), -1);
}

// However its holder ends, kill -9 included, the system gives the lock back at once.
TEST_F(Emplacements, HolderKilled_lockFreeAtOnce) {
    for (const std::string& repertoire : {execution, chemin("absent")}) {
        SCOPED_TRACE(repertoire);
        const VerrouInstance::Lieux ici{nomAbstrait("tue"), repertoire, maison};
        const pid_t sien = detenteur(ici);
        ASSERT_GT(sien, 0) << "the holder did not take the lock";
        EXPECT_EQ(VerrouInstance(ici).prendre(), Etat::AutreCopie);
        EXPECT_EQ(VerrouInstance({{}, repertoire, maison}).prendre(), Etat::AutreCopie);

        finir(sien);
        EXPECT_EQ(VerrouInstance(ici).prendre(), Etat::Pris);
    }
}

} // namespace
