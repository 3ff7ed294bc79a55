// The shell's opener over QDesktopServices: which URL the desktop receives, and the result.
#include "platform/unix/ShellDocumentsQt.h"

#include <gtest/gtest.h>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrl>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Stands in for the desktop's programs: QDesktopServices hands it every URL of its schemes.
class Bureau : public QObject {
    Q_OBJECT

public:
    Bureau() {
        for (const char* schema : {"file", "mailto", "http", "https"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(schema), this, "ouvrir");
        }
    }
    ~Bureau() override {
        for (const char* schema : {"file", "mailto", "http", "https"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(schema));
        }
    }
    std::vector<QUrl> ouverts;

public slots:
    void ouvrir(const QUrl& adresse) { ouverts.push_back(adresse); }
};

long ouvrir(const QByteArray& cible, const QByteArray& repertoire = QByteArray("")) {
    ShellDocumentsQt shell;
    return shell.ShellExecuteA(nullptr, "Open", cible, "", repertoire, SW_SHOWMAXIMIZED);
}

} // namespace

TEST(ShellDocumentsQt, Addresses_reachTheDesktopAsTheyStand) {
    for (const char* adresse : {"mailto:etienne.exemple@example.org",
                                "http://www.example.org/tarvane/", "http://velk.example.com/"}) {
        Bureau bureau;
        EXPECT_GT(ouvrir(adresse), 32) << adresse;
        ASSERT_EQ(bureau.ouverts.size(), 1u) << adresse;
        EXPECT_EQ(bureau.ouverts[0], QUrl(QString::fromLatin1(adresse))) << adresse;
    }
}

TEST(ShellDocumentsQt, BareFileName_becomesAnAbsoluteFileUrlInTheCurrentDirectory) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString ancien = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dossier.path()));
    struct Cas {
        QByteArray cible;
        QString chemin;
        QByteArray encode; // how the name must travel in the URL
    };
    const Cas cas[] = {
        {"Le_velk_.txt", QDir::current().absoluteFilePath("Le_velk_.txt"), "/Le_velk_.txt"},
        {"Le_Velk_.hlp", QDir::current().absoluteFilePath("Le_Velk_.hlp"), "/Le_Velk_.hlp"},
        {QStringLiteral("Adhésion 2000.txt").toLocal8Bit(),
         QDir::current().absoluteFilePath(QStringLiteral("Adhésion 2000.txt")),
         "/Adh%C3%A9sion%202000.txt"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.cible.toStdString());
        Bureau bureau;
        // Whether the file exists is the opening program's business, as with the shell.
        EXPECT_GT(ouvrir(c.cible), 32);
        ASSERT_EQ(bureau.ouverts.size(), 1u);
        const QUrl& url = bureau.ouverts[0];
        EXPECT_TRUE(url.isLocalFile());
        EXPECT_FALSE(url.isRelative());
        EXPECT_EQ(url.toLocalFile(), c.chemin);
        EXPECT_TRUE(url.toEncoded().endsWith(c.encode)) << url.toEncoded().toStdString();
    }
    QDir::setCurrent(ancien);
}

// A current directory whose name is not valid UTF-8, the locale's encoding: the URL carries its
// own bytes, never the name its decoding would give (U+FFFD for the stray byte), which another
// account may have made beside it.
TEST(ShellDocumentsQt, CurrentDirectoryNamedInAnotherEncoding_itsOwnBytesReachTheDesktop) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QByteArray base = QFile::encodeName(dossier.path());
    ASSERT_EQ(base.toPercentEncoding("/"), base) << "the test's own directory would need encoding";
    const QByteArray sien = base + "/r\xe9sum";
    const QByteArray sosie = base + "/r\xef\xbf\xbdsum";
    ASSERT_EQ(::mkdir(sien.constData(), 0700), 0);
    // By their bytes: QTemporaryDir, going through text, would not find them.
    const QString ancien = QDir::currentPath();
    const auto menage = qScopeGuard([&] {
        QDir::setCurrent(ancien);
        ::rmdir(sosie.constData());
        ::rmdir(sien.constData());
    });
    for (const bool avecSosie : {false, true}) {
        SCOPED_TRACE(avecSosie ? "with a look-alike beside it" : "alone");
        ASSERT_TRUE(!avecSosie || ::mkdir(sosie.constData(), 0755) == 0);
        ASSERT_EQ(::chdir(sien.constData()), 0);
        Bureau bureau;
        EXPECT_GT(ouvrir("Le_velk_.txt"), 32);
        ASSERT_EQ(bureau.ouverts.size(), 1u);
        EXPECT_EQ(bureau.ouverts[0].toEncoded(), "file://" + base + "/r%E9sum/Le_velk_.txt");
    }
}

TEST(ShellDocumentsQt, GivenDirectory_isWhereAFileNameIsLookedFor) {
    Bureau bureau;
    EXPECT_GT(ouvrir("Adhesion.txt", "/srv/velk"), 32);
    ASSERT_EQ(bureau.ouverts.size(), 1u);
    EXPECT_EQ(bureau.ouverts[0].toLocalFile(), QStringLiteral("/srv/velk/Adhesion.txt"));
}

TEST(ShellDocumentsQt, RequestsItCannotServe_failWithoutReachingTheDesktop) {
    struct Cas {
        const char* nom;
        QByteArray operation;
        QByteArray cible;
    };
    const Cas cas[] = {
        {"another verb", "Print", "Le_velk_.txt"},
        {"no target", "Open", ""},
        {"an address that is not valid", "Open", "ftp://exa mple/"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        Bureau bureau;
        ShellDocumentsQt shell;
        EXPECT_LE(shell.ShellExecuteA(nullptr, c.operation, c.cible, "", "", SW_SHOWMAXIMIZED), 32);
        EXPECT_TRUE(bureau.ouverts.empty());
    }
}

#include "ShellDocumentsQtTest.moc"
