// The one-copy lock, taken in this process and held by others, in directories of the test's own.
#include "platform/VerrouInstance.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Etat = VerrouInstance::Etat;

constexpr const char* Nom = "org.example.TarvaneTest";
constexpr uid_t Intrus = 65534; // another account of the machine

// A runtime directory of this user alone, and a shared one that every account may write in,
// like /tmp.
class Emplacements : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_racine.isValid());
        execution = m_racine.filePath(QStringLiteral("run")).toStdString();
        partage = m_racine.filePath(QStringLiteral("tmp")).toStdString();
        ASSERT_EQ(::mkdir(execution.c_str(), 0700), 0);
        ASSERT_EQ(::mkdir(partage.c_str(), 0700), 0);
        ASSERT_EQ(::chmod(partage.c_str(), 01777), 0);
        ASSERT_EQ(::chmod(m_racine.path().toLocal8Bit().constData(), 0755), 0);
    }

    VerrouInstance verrou(const std::string& repertoireExecution) const {
        return VerrouInstance({Nom, repertoireExecution, partage, {}, {}});
    }
    // The private directory made in the shared one, or its alternative of that rank.
    std::string prive(int rang = 0) const {
        const std::string base = partage + "/" + Nom + "-" + std::to_string(::getuid());
        return rang == 0 ? base : base + "." + std::to_string(rang);
    }

    std::string execution;
    std::string partage;

private:
    QTemporaryDir m_racine;
};

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

TEST_F(Emplacements, FirstCopyTakesIt_laterOnesSeeIt_untilItsHolderEnds) {
    auto premier =
        std::make_unique<VerrouInstance>(VerrouInstance::Lieux{Nom, execution, partage, {}, {}});
    ASSERT_EQ(premier->prendre(), Etat::Pris);
    EXPECT_EQ(premier->prendre(), Etat::Pris); // asked again, still its own
    EXPECT_TRUE(fs::is_regular_file(execution + "/" + Nom + ".lock"));
    EXPECT_FALSE(fs::exists(prive())) << "nothing made in the shared directory";

    for (int copie = 0; copie < 3; ++copie) {
        EXPECT_EQ(verrou(execution).prendre(), Etat::AutreCopie) << copie;
    }
    premier.reset();
    EXPECT_EQ(verrou(execution).prendre(), Etat::Pris);
    EXPECT_EQ(VerrouInstance({"org.example.Autre", execution, partage, {}, {}}).prendre(),
              Etat::Pris);
}

TEST_F(Emplacements, RuntimeDirectoryMissingOrOpenToOthers_privateDirectoryIn0700Instead) {
    const std::string ouvert = execution + "/ouvert";
    ASSERT_EQ(::mkdir(ouvert.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(ouvert.c_str(), 0755), 0);
    const std::string fichier = execution + "/fichier";
    std::ofstream(fichier).put(0);
    // A lock file that is a link is never followed, even in the user's own directory.
    const std::string lien = execution + "/lien";
    ASSERT_EQ(::mkdir(lien.c_str(), 0700), 0);
    fs::create_symlink("/dev/null", lien + "/" + Nom + ".lock");

    for (const std::string& repertoire :
         {std::string(), execution + "/absent", ouvert, fichier, lien}) {
        SCOPED_TRACE(repertoire);
        VerrouInstance premier = verrou(repertoire);
        ASSERT_EQ(premier.prendre(), Etat::Pris);
        struct stat etat {};
        ASSERT_EQ(::lstat(prive().c_str(), &etat), 0);
        EXPECT_TRUE(S_ISDIR(etat.st_mode));
        EXPECT_EQ(etat.st_mode & 07777, 0700u);
        EXPECT_EQ(etat.st_uid, ::getuid());
        EXPECT_EQ(verrou(repertoire).prendre(), Etat::AutreCopie);
        EXPECT_EQ(verrou({}).prendre(), Etat::AutreCopie);
    }
}

// Another account takes the names of the private directories before us, as a directory open to
// all, a link to one of ours, a plain file: it can neither stop a start nor let two copies run,
// not even by giving a name up between two starts.
TEST_F(Emplacements, NamesTakenByAnotherAccount_neitherBlockNorDoubleTheProgram) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "needs root to own files as another account";
    }
    const std::string cible = execution + "/cible";
    ASSERT_EQ(::mkdir(cible.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(prive(0).c_str(), 0777), 0);
    ASSERT_EQ(::chmod(prive(0).c_str(), 0777), 0);
    ASSERT_EQ(::chown(prive(0).c_str(), Intrus, Intrus), 0);
    fs::create_symlink(cible, prive(1));
    ASSERT_EQ(::lchown(prive(1).c_str(), Intrus, Intrus), 0);

    VerrouInstance premier = verrou({});
    ASSERT_EQ(premier.prendre(), Etat::Pris);
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(prive(2))));
    EXPECT_EQ(verrou({}).prendre(), Etat::AutreCopie);

    // The other account gives its first name up: a later start makes it its own, and still meets
    // the running copy's lock further on.
    fs::remove(prive(0));
    EXPECT_EQ(verrou({}).prendre(), Etat::AutreCopie);
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(prive(0))));

    // Every name taken: the user's own cache directory, and only without one the program runs
    // unlocked rather than never.
    QTemporaryDir autre;
    const std::string ailleurs = autre.path().toStdString();
    ASSERT_EQ(::chmod(ailleurs.c_str(), 01777), 0);
    const std::string base = ailleurs + "/" + Nom + "-" + std::to_string(::getuid());
    for (const std::string& nom : {base, base + ".1", base + ".2", base + ".3"}) {
        ASSERT_EQ(::mkdir(nom.c_str(), 0700), 0);
        ASSERT_EQ(::chown(nom.c_str(), Intrus, Intrus), 0);
    }
    const std::string cache = execution + "/cache";
    VerrouInstance personnel({Nom, "", ailleurs, cache, {}});
    EXPECT_EQ(personnel.prendre(), Etat::Pris);
    EXPECT_EQ(VerrouInstance({Nom, "", ailleurs, cache, {}}).prendre(), Etat::AutreCopie);
    EXPECT_EQ(VerrouInstance({Nom, "", ailleurs, {}, {}}).prendre(), Etat::Indisponible);
}

// The lock's files removed or replaced under a running copy, as tmp cleaners do: the abstract
// name still keeps a second copy out, unless another account holds the name, which only sends
// the lock to its files.
TEST_F(Emplacements, FilesRemovedUnderTheHolder_abstractNameStillRefusesTheNext) {
    const std::string abstrait = std::string(Nom) + "-" + std::to_string(::getpid());
    VerrouInstance premier({Nom, execution, partage, {}, abstrait});
    ASSERT_EQ(premier.prendre(), Etat::Pris);
    fs::remove(execution + "/" + Nom + ".lock");
    EXPECT_EQ(VerrouInstance({Nom, execution, partage, {}, abstrait}).prendre(), Etat::AutreCopie);

    VerrouInstance dansTmp({Nom, {}, partage, {}, abstrait + ".tmp"});
    ASSERT_EQ(dansTmp.prendre(), Etat::Pris);
    fs::rename(prive(), partage + "/ailleurs");
    EXPECT_EQ(VerrouInstance({Nom, {}, partage, {}, abstrait + ".tmp"}).prendre(),
              Etat::AutreCopie);

    if (::getuid() != 0) {
        return; // the rest needs another account
    }
    const pid_t intrus = detenteur({Nom, {}, {}, {}, abstrait + ".intrus"}, Intrus);
    ASSERT_GT(intrus, 0) << "another account could not take the abstract name";
    VerrouInstance malgre({Nom, execution + "/autre", partage, {}, abstrait + ".intrus"});
    EXPECT_EQ(malgre.prendre(), Etat::Pris);
    EXPECT_EQ(VerrouInstance({Nom, {}, partage, {}, abstrait + ".intrus"}).prendre(),
              Etat::AutreCopie);
    ::kill(intrus, SIGKILL);
    ::waitpid(intrus, nullptr, 0);
}

// However its holder ends, kill -9 included, the system gives the lock back at once.
TEST_F(Emplacements, HolderKilled_lockFreeAtOnce) {
    for (const std::string& repertoire : {execution, std::string()}) {
        SCOPED_TRACE(repertoire);
        const pid_t sien = detenteur({Nom, repertoire, partage, {}, {}});
        ASSERT_GT(sien, 0) << "the holder did not take the lock";
        EXPECT_EQ(verrou(repertoire).prendre(), Etat::AutreCopie);

        ::kill(sien, SIGKILL);
        ::waitpid(sien, nullptr, 0);
        EXPECT_EQ(verrou(repertoire).prendre(), Etat::Pris);
    }
}

} // namespace
