// Facts about the running program as Qt and the system give them, and its end.
#include "platform/ProgrammeQt.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// DateHeure lives in the global namespace: these must too, for gtest to find them.
static void PrintTo(const DateHeure& d, std::ostream* sortie) {
    *sortie << d.jour << '/' << d.mois << '/' << d.annee << ' ' << d.heure << ':' << d.minute << ':'
            << d.seconde;
}

static bool operator==(const DateHeure& a, const DateHeure& b) {
    return a.annee == b.annee && a.mois == b.mois && a.jour == b.jour && a.heure == b.heure &&
           a.minute == b.minute && a.seconde == b.seconde;
}

namespace {

// Runs a test body in another current directory, and comes back.
class DansRepertoire {
public:
    explicit DansRepertoire(const QString& chemin) : m_ancien(QDir::currentPath()) {
        QDir::setCurrent(chemin);
    }
    ~DansRepertoire() { QDir::setCurrent(m_ancien); }

private:
    QString m_ancien;
};

DateHeure enDateHeure(const QDateTime& moment) {
    const QDateTime local = moment.toLocalTime();
    return {local.date().year(), local.date().month(),  local.date().day(),
            local.time().hour(), local.time().minute(), local.time().second()};
}

TEST(ProgrammeQt, TwipsPerPixel_isAWholeNumberAtEveryResolution) {
    const struct {
        double pointsParPouce;
        int twips;
    } cas[] = {{72, 20},
               {96, 15},
               {120, 12},
               {144, 10},
               {192, 8},
               {288, 5},
               // Screens that report nothing usable are taken as standard ones.
               {0, 15},
               {-96, 15},
               {1e9, 1}};
    for (const auto& c : cas) {
        EXPECT_EQ(twipsPourResolution(c.pointsParPouce), c.twips) << c.pointsParPouce << " dpi";
    }
}

TEST(ProgrammeQt, BaseNameAndScreen_areThoseOfTheRunningProgram) {
    ProgrammeQt programme;
    EXPECT_EQ(programme.nomExecutable(), QStringLiteral("ProgrammeQtTest"));
    EXPECT_EQ(programme.twipsParPixel(), 15); // the offscreen screen: 96 dots per inch
}

// Writes a file with that modification time; removed with the object.
class FichierDate {
public:
    FichierDate(const QString& chemin, const QDateTime& moment) : m_chemin(chemin) {
        QFile fichier(chemin);
        m_ecrit = fichier.open(QIODevice::WriteOnly) &&
                  fichier.setFileTime(moment, QFileDevice::FileModificationTime);
    }
    ~FichierDate() { QFile::remove(m_chemin); }
    bool ecrit() const { return m_ecrit; }

private:
    QString m_chemin;
    bool m_ecrit = false;
};

TEST(ProgrammeQt, FileDate_isTheNamedFileBesideTheExecutable_notInTheCurrentDirectory) {
    QTemporaryDir ailleurs;
    ASSERT_TRUE(ailleurs.isValid());
    const QString nom = QStringLiteral("Conv%1.EXE").arg(QCoreApplication::applicationPid());
    const FichierDate aCote(QDir(QCoreApplication::applicationDirPath()).filePath(nom),
                            QDateTime(QDate(2001, 3, 5), QTime(9, 7, 3)));
    const FichierDate leurre(QDir(ailleurs.path()).filePath(nom),
                             QDateTime(QDate(1999, 1, 1), QTime(1, 1, 1)));
    ASSERT_TRUE(aCote.ecrit() && leurre.ecrit());
    const DansRepertoire ici(ailleurs.path());

    const auto date = ProgrammeQt().dateFichier(nom.toStdString());

    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(*date, (DateHeure{2001, 3, 5, 9, 7, 3}));
}

TEST(ProgrammeQt, FileDate_withoutTheNamedFile_isTheRunningExecutables) {
    QTemporaryDir repertoire;
    ASSERT_TRUE(repertoire.isValid());
    // A directory of that name is no file either.
    ASSERT_TRUE(QDir(repertoire.path()).mkdir(QStringLiteral("Dossier.EXE")));
    const DansRepertoire ici(repertoire.path());
    const DateHeure attendue =
        enDateHeure(QFileInfo(QCoreApplication::applicationFilePath()).lastModified());

    for (const char* nom : {"ProgrammeQtTest.EXE", "Dossier.EXE", ""}) {
        const auto date = ProgrammeQt().dateFichier(nom);
        ASSERT_TRUE(date.has_value()) << nom;
        EXPECT_EQ(*date, attendue) << nom;
    }
}

TEST(ProgrammeQtDeathTest, Terminer_endsWithCodeZeroAndRunsNoExitHandler) {
    QTemporaryDir repertoire;
    ASSERT_TRUE(repertoire.isValid());
    static QByteArray temoin;
    temoin = QFile::encodeName(repertoire.filePath(QStringLiteral("gestionnaire")));

    EXPECT_EXIT(
        {
            // A handler that ran but could not leave its mark still fails the test.
            std::atexit([] {
                if (!QFile(QFile::decodeName(temoin)).open(QIODevice::WriteOnly)) {
                    std::_Exit(3);
                }
            });
            ProgrammeQt().terminer();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(QFile::exists(QFile::decodeName(temoin)));
}

} // namespace
