// The tray stand-in: icons made and removed by the shell call, clicks sent back to the window.
#include "platform/unix/ShellIconeQt.h"

#include "tests/support/FauxServices.h"

#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>
#include <vector>

namespace {

// A window that notes the X of each message its mouse-move handler receives.
class FenetreTemoin : public QWidget, public ProcedureFenetre {
public:
    void Form_MouseMove(int, int, float X, float) override { positions.push_back(X); }
    std::vector<float> positions;
};

QIcon iconeBleue() {
    QPixmap image(16, 16);
    image.fill(Qt::blue);
    return QIcon(image);
}

NOTIFYICONDATA enregistrement(QWidget* fenetre, const char* infobulle) {
    NOTIFYICONDATA nid;
    nid.cbSize = TailleNotifyIconDataV1;
    nid.hWnd = fenetre;
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_MOUSEMOVE;
    nid.hIcon = iconeBleue();
    nid.szTip.fill(' ');
    std::memcpy(nid.szTip.data(), infobulle, std::min<std::size_t>(std::strlen(infobulle) + 1, 64));
    return nid;
}

class ShellIconeQtTest : public ::testing::Test {
protected:
    // The queued messages, delivered.
    void livrer() { QCoreApplication::sendPostedEvents(); }

    FauxProgramme programme;
    ShellIconeQt shell{programme};
    FenetreTemoin fenetre;
};

TEST_F(ShellIconeQtTest, Add_makesTheIconWithItsPictureAndTheTooltipUpToItsNul) {
    const NOTIFYICONDATA nid = enregistrement(&fenetre, "Tarvane Francs/Euros/Francs");

    EXPECT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, nid));

    const QSystemTrayIcon* icone = shell.icone(&fenetre, 1);
    ASSERT_NE(icone, nullptr);
    EXPECT_EQ(icone->toolTip(), QStringLiteral("Tarvane Francs/Euros/Francs"));
    EXPECT_EQ(icone->icon().cacheKey(), nid.hIcon.cacheKey());
    EXPECT_TRUE(icone->isVisible());
}

TEST_F(ShellIconeQtTest, Tooltip_withoutNul_isReadToTheFieldsEnd_in8BitCodePage) {
    NOTIFYICONDATA nid = enregistrement(&fenetre, "");
    nid.szTip.fill('x');
    nid.szTip[0] = '\xe9'; // é in the 8-bit code page

    shell.Shell_NotifyIconA(NIM_ADD, nid);

    ASSERT_NE(shell.icone(&fenetre, 1), nullptr);
    EXPECT_EQ(shell.icone(&fenetre, 1)->toolTip(), QStringLiteral("é") + QString(63, u'x'));
}

TEST_F(ShellIconeQtTest, Delete_removesTheIconThatTheAddMade_aSecondAddOrDeleteIsRefused) {
    const NOTIFYICONDATA nid = enregistrement(&fenetre, "Tarvane");
    ASSERT_TRUE(shell.Shell_NotifyIconA(NIM_ADD, nid));
    EXPECT_FALSE(shell.Shell_NotifyIconA(NIM_ADD, nid));

    EXPECT_TRUE(shell.Shell_NotifyIconA(NIM_DELETE, nid));
    EXPECT_EQ(shell.icone(&fenetre, 1), nullptr);
    EXPECT_FALSE(shell.Shell_NotifyIconA(NIM_DELETE, nid));
}

TEST_F(ShellIconeQtTest, Clicks_reachTheWindowsHandler_queued_withTheCodeInTwips) {
    programme.twips = 12; // 120 dots per inch
    shell.Shell_NotifyIconA(NIM_ADD, enregistrement(&fenetre, "Tarvane"));
    QSystemTrayIcon* icone = shell.icone(&fenetre, 1);
    ASSERT_NE(icone, nullptr);

    const struct {
        QSystemTrayIcon::ActivationReason raison;
        int code;
    } cas[] = {
        {QSystemTrayIcon::Trigger, 513},
        {QSystemTrayIcon::DoubleClick, 515},
        {QSystemTrayIcon::Context, 517},
        {QSystemTrayIcon::MiddleClick, 519},
    };
    for (const auto& c : cas) {
        fenetre.positions.clear();
        emit icone->activated(c.raison);
        EXPECT_TRUE(fenetre.positions.empty()) << "queued, not called at once: " << c.code;
        livrer();
        ASSERT_EQ(fenetre.positions.size(), 1u) << c.code;
        EXPECT_EQ(fenetre.positions[0], static_cast<float>(c.code * 12)) << c.code;
    }

    fenetre.positions.clear();
    emit icone->activated(QSystemTrayIcon::Unknown);
    livrer();
    EXPECT_TRUE(fenetre.positions.empty());
}

TEST_F(ShellIconeQtTest, ClickQueuedForAWindowThatIsThenDestroyed_reachesNothing) {
    // Its storage outlives it and its handler writes outside it: a click delivered to the
    // destroyed window is counted here instead of corrupting the heap.
    struct Passagere : QWidget, ProcedureFenetre {
        void Form_MouseMove(int, int, float, float) override { ++*recus; }
        int* recus = nullptr;
    };
    int recus = 0;
    alignas(Passagere) std::byte place[sizeof(Passagere)];
    auto* passagere = new (place) Passagere;
    passagere->recus = &recus;
    shell.Shell_NotifyIconA(NIM_ADD, enregistrement(passagere, "Tarvane"));
    emit shell.icone(passagere, 1)->activated(QSystemTrayIcon::Trigger);

    passagere->~Passagere();
    livrer();
    EXPECT_EQ(recus, 0);
}

TEST_F(ShellIconeQtTest, MenuGivenToATrayThatDoesNotDrawMenus_isLeftToTheWindow) {
    // The offscreen platform, like XEmbed trays, has no menus of its own: a right click still
    // reaches the window, which opens the menu itself.
    QMenu menu;
    menu.addAction(QStringLiteral("&A propos"));
    shell.associerMenu(&menu);
    shell.Shell_NotifyIconA(NIM_ADD, enregistrement(&fenetre, "Tarvane"));
    QSystemTrayIcon* icone = shell.icone(&fenetre, 1);
    ASSERT_NE(icone, nullptr);

    EXPECT_EQ(icone->contextMenu(), nullptr);
    emit icone->activated(QSystemTrayIcon::Context);
    livrer();
    ASSERT_EQ(fenetre.positions.size(), 1u);
    EXPECT_EQ(fenetre.positions[0], 517.0F * static_cast<float>(programme.twips));
}

} // namespace
