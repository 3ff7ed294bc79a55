// The one-copy lock, taken in this process and held by others.
#include "platform/VerrouInstance.h"

#include <csignal>
#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A name of this test run only, so that a Tarvane running on the machine is left alone.
std::string nomUnique(const char* suffixe) {
    return "org.example.TarvaneTest." + std::to_string(getpid()) + "." + suffixe;
}

// The abstract address of the lock as the program names it: the name, the user id.
int lierAbstrait(const std::string& nom, uid_t uid) {
    const std::string complet = nom + "-" + std::to_string(uid);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un adresse{};
    adresse.sun_family = AF_UNIX;
    std::memcpy(adresse.sun_path + 1, complet.data(), complet.size());
    const auto longueur =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + complet.size());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&adresse), longueur) != 0 ||
        listen(fd, 8) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

TEST(VerrouInstance, FirstCopyTakesIt_laterOnesSeeIt_untilItsHolderEnds) {
    const std::string nom = nomUnique("suite");
    auto premier = std::make_unique<VerrouInstance>(nom);
    ASSERT_EQ(premier->prendre(), VerrouInstance::Etat::Pris);
    EXPECT_EQ(premier->prendre(), VerrouInstance::Etat::Pris); // asked again, still its own

    for (int copie = 0; copie < 3; ++copie) {
        VerrouInstance autre(nom);
        EXPECT_EQ(autre.prendre(), VerrouInstance::Etat::AutreCopie) << copie;
        QCoreApplication::processEvents(); // the holder answers from its event loop
    }

    premier.reset();
    VerrouInstance suivant(nom);
    EXPECT_EQ(suivant.prendre(), VerrouInstance::Etat::Pris);
    EXPECT_EQ(VerrouInstance(nomUnique("autre")).prendre(), VerrouInstance::Etat::Pris);
}

TEST(VerrouInstance, HolderOfThisUser_isAnotherCopyWhateverProgramBoundTheName) {
    const std::string nom = nomUnique("brut");
    const int fd = lierAbstrait(nom, getuid());
    ASSERT_GE(fd, 0);

    EXPECT_EQ(VerrouInstance(nom).prendre(), VerrouInstance::Etat::AutreCopie);
    close(fd);
}

TEST(VerrouInstance, NameTakenByAnotherUser_doesNotLockThisOneOut) {
    if (getuid() != 0) {
        GTEST_SKIP() << "needs root to take the name as another user";
    }
    const std::string nom = nomUnique("intrus");
    int pret[2];
    ASSERT_EQ(pipe(pret), 0);
    const pid_t intrus = fork();
    ASSERT_GE(intrus, 0);
    if (intrus == 0) {
        // Another user takes the name meant for ours, then waits to be killed.
        const bool lie = setuid(65534) == 0 && lierAbstrait(nom, 0) >= 0;
        const char etat = lie ? 'o' : 'n';
        [[maybe_unused]] const ssize_t ecrit = write(pret[1], &etat, 1);
        for (;;) {
            pause();
        }
    }
    char etat = 0;
    ASSERT_EQ(read(pret[0], &etat, 1), 1);
    close(pret[0]);
    close(pret[1]);

    EXPECT_EQ(etat, 'o');
    EXPECT_EQ(VerrouInstance(nom).prendre(), VerrouInstance::Etat::Indisponible);

    kill(intrus, SIGKILL);
    waitpid(intrus, nullptr, 0);
}

} // namespace
