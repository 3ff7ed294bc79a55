// The pictures compiled into the program: present, at their sizes and colour depths.
#include "platform/IconePng.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <set>

namespace {

struct Image {
    const char* chemin;
    QSize taille;
    int couleursAuPlus; // 0: full colour
};

} // namespace

TEST(Images, EachPicture_hasItsSizeAndPalette) {
    const Image images[] = {
        {":/images/tarvane.png", {32, 32}, 16},    {":/images/tarvane-32.png", {32, 32}, 16},
        {":/images/tarvane-16.png", {16, 16}, 16}, {":/images/tarvane@2x.png", {64, 64}, 0},
        {":/images/dessin4.png", {32, 32}, 0},     {":/images/quitter.png", {41, 41}, 0},
        {":/images/quitter@2x.png", {82, 82}, 0},  {":/images/velk.png", {192, 65}, 256},
        {":/images/velk@2x.png", {384, 130}, 256},
    };
    for (const Image& i : images) {
        SCOPED_TRACE(i.chemin);
        QImageReader lecteur(QString::fromLatin1(i.chemin));
        const QImage image = lecteur.read();
        ASSERT_FALSE(image.isNull()) << lecteur.errorString().toStdString();
        EXPECT_EQ(image.size(), i.taille);
        if (i.couleursAuPlus > 0) {
            EXPECT_EQ(image.format(), QImage::Format_Indexed8);
            EXPECT_LE(image.colorCount(), i.couleursAuPlus);
        } else {
            EXPECT_GE(image.depth(), 24);
        }
    }
}

TEST(Images, ProgramIcon_isOpaqueInItsMiddleAndTransparentInItsCorners) {
    for (const char* chemin : {":/images/tarvane-16.png", ":/images/tarvane-32.png"}) {
        const QImage image =
            QImage(QString::fromLatin1(chemin)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << chemin;
        const int n = image.width();
        EXPECT_EQ(qAlpha(image.pixel(n / 2, n / 2)), 255) << chemin;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << chemin;
        EXPECT_EQ(qAlpha(image.pixel(n - 1, n - 1)), 0) << chemin;
        // A grey spanner: its opaque pixels are greys, black or white.
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const QRgb p = image.pixel(x, y);
                if (qAlpha(p) == 255) {
                    EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p))
                        << chemin << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(Images, IconFile_holdsTheSixteenAndThirtyTwoPixelImages) {
    QImageReader lecteur(QStringLiteral(":/images/tarvane.ico"));
    ASSERT_TRUE(lecteur.canRead()) << lecteur.errorString().toStdString();
    std::set<int> tailles;
    for (int i = 0; i < lecteur.imageCount(); ++i) {
        ASSERT_TRUE(lecteur.jumpToImage(i));
        const QImage image = lecteur.read();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), image.height());
        tailles.insert(image.width());
    }
    EXPECT_EQ(tailles, (std::set<int>{16, 32}));
}

// The icon read at start-up, with its format named: the file's own picture.
TEST(Images, StartUpIcon_isTheFilesPicture) {
    const QIcon icone = lireIconePng(QStringLiteral(":/images/tarvane.png"));

    ASSERT_EQ(icone.availableSizes(), QList<QSize>{QSize(32, 32)});
    // The same pixels as an icon made from the file name, as the window's icon used to be.
    const QString chemin = QStringLiteral(":/images/tarvane.png");
    EXPECT_EQ(icone.pixmap(32, 32).toImage(), QIcon(chemin).pixmap(32, 32).toImage());

    EXPECT_TRUE(lireIconePng(QStringLiteral(":/images/absente.png")).isNull());
}

#ifdef Q_OS_LINUX
// ... and no image plugin mapped into the process for it (each costs the start a library and
// its probing). Checked in a fresh process of its own: the other cases of this program read
// pictures by file name, which loads the plugins, and may run before it in the same process.
TEST(Images, StartUpIcon_readWithoutAnyImagePlugin) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // the child starts the program afresh
    EXPECT_EXIT(
        {
            lireIconePng(QStringLiteral(":/images/tarvane.png"));
            QFile carte(QStringLiteral("/proc/self/maps"));
            const bool lue = carte.open(QIODevice::ReadOnly);
            std::exit(lue && !carte.readAll().contains("/imageformats/") ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "")
        << "an image plugin was mapped, or the process map could not be read";
}
#endif
