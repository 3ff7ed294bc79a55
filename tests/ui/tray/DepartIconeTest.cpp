// The notification icon's messages as the main window receives them, and the pop-up menu.
#include "tests/ui/tray/BancIcone.h"

#include <gtest/gtest.h>
#include <QCursor>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

namespace {

// Twips per pixel at 72, 96, 120, 144, 192 and 288 dots per inch.
constexpr int Twips[] = {20, 15, 12, 10, 8, 5};

class DepartIconeTest : public ::testing::Test {
protected:
    void SetUp() override { demarrer(); }

    void demarrer() {
        depart = std::make_unique<Depart>(banc.services());
        depart->Form_Load();
    }

    // A click on the icon, as the shell reports it: the code in pixels, times twips per pixel.
    void message(int code) {
        const int twips = banc.programme.twips;
        depart->Form_MouseMove(0, 0, static_cast<float>(code * twips), 0.0f);
    }

    QMenu* menu() const { return depart->findChild<QMenu*>(QStringLiteral("MenuPopUp")); }
    QAction* element(const char* nom) const {
        return depart->findChild<QAction*>(QString::fromLatin1(nom));
    }
    QLineEdit* champ(const char* nom) const {
        return depart->findChild<QLineEdit*>(QString::fromLatin1(nom));
    }
    QString nomDuFocus() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("(aucun)");
    }

    BancIcone banc;
    std::unique_ptr<Depart> depart;
};

TEST_F(DepartIconeTest, OnlyLeftPressAndRightRelease_act_atEveryResolution) {
    for (const int twips : Twips) {
        SCOPED_TRACE(twips);
        banc.programme.twips = twips;
        demarrer();
        GuetteurMenu guetteur;

        // Moves, right press, double click, middle press, other transitions.
        for (const int ignore : {512, 514, 515, 516, 518, 519}) {
            message(ignore);
            EXPECT_FALSE(depart->isVisible()) << "code " << ignore;
        }
        EXPECT_EQ(guetteur.ouvertures(), 0);

        message(517);
        EXPECT_EQ(guetteur.ouvertures(), 1);
        EXPECT_EQ(guetteur.dernier(), menu());
        EXPECT_FALSE(depart->isVisible());

        message(513);
        EXPECT_TRUE(depart->isVisible());
        EXPECT_EQ(banc.programme.terminaisons, 0);
        depart->hide();
    }
}

TEST_F(DepartIconeTest, LeftPress_showsTheHiddenWindowWithFocusInFrancs_aSecondChangesNothing) {
    ASSERT_FALSE(depart->isVisible());
    message(513);
    ASSERT_TRUE(depart->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(depart.get()));
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Francs"));

    champ("Euros")->setFocus();
    QTest::keyClicks(champ("Euros"), QStringLiteral("12"));
    const QPoint place = depart->pos();
    message(513); // a double click starts with a press like any other

    EXPECT_TRUE(depart->isVisible());
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Euros"));
    EXPECT_EQ(champ("Euros")->text(), QStringLiteral("12"));
    EXPECT_EQ(depart->pos(), place);
}

TEST_F(DepartIconeTest, RightRelease_opensTheMenuAtThePointer_withAboutAsDefaultItem) {
    QCursor::setPos(120, 90);
    QStringList legendes;
    QString parDefaut;
    QPoint coin;
    GuetteurMenu guetteur([&](QMenu& ouvert) {
        for (const QAction* a : ouvert.actions()) {
            legendes << a->text();
        }
        parDefaut = ouvert.defaultAction() ? ouvert.defaultAction()->objectName() : QString();
        coin = ouvert.pos();
        ouvert.close();
    });

    message(517);

    EXPECT_EQ(guetteur.ouvertures(), 1);
    EXPECT_EQ(legendes, (QStringList{QStringLiteral("&A propos"), QStringLiteral("&Quitter")}));
    EXPECT_EQ(parDefaut, QStringLiteral("MenuApropos"));
    EXPECT_EQ(coin, QCursor::pos());
    EXPECT_FALSE(depart->isVisible());
    EXPECT_EQ(banc.shell.appels.size(), 1u);
}

TEST_F(DepartIconeTest, ChoosingQuitter_removesTheIconThenEnds) {
    GuetteurMenu guetteur([](QMenu& ouvert) { QTest::keyClick(&ouvert, Qt::Key_Q); });

    message(517);

    EXPECT_EQ(guetteur.ouvertures(), 1);
    EXPECT_EQ(banc.programme.terminaisons, 1);
    ASSERT_EQ(banc.shell.appels.size(), 2u);
    EXPECT_EQ(banc.programme.appelsIconeAvantFin, 2u);
    const AppelIcone& suppression = banc.shell.appels[1];
    EXPECT_EQ(suppression.message, NIM_DELETE);
    EXPECT_EQ(suppression.donnees.hWnd, depart.get());
    EXPECT_EQ(suppression.donnees.uID, 1u);
}

TEST_F(DepartIconeTest, WhileTheMenuIsOpen_furtherMessagesOpenNothingAndEndNothing) {
    int terminaisonsPendant = -1;
    GuetteurMenu guetteur([&](QMenu& ouvert) {
        message(517);                      // a second right click on the icon
        element("MenuQuitter")->trigger(); // Quitter chosen in a menu the tray draws itself
        terminaisonsPendant = banc.programme.terminaisons;
        ouvert.close();
    });

    message(517);

    EXPECT_EQ(guetteur.ouvertures(), 1);
    EXPECT_EQ(terminaisonsPendant, 0);
    EXPECT_EQ(banc.programme.terminaisons, 0);
    EXPECT_EQ(banc.shell.appels.size(), 1u);

    message(517); // once closed, the menu opens again
    EXPECT_EQ(guetteur.ouvertures(), 2);
}

TEST_F(DepartIconeTest, QuitterChosenInATrayDrawnMenu_removesTheIconThenEnds) {
    ASSERT_EQ(banc.shell.menuAssocie, menu());
    element("MenuQuitter")->trigger();

    EXPECT_EQ(banc.programme.terminaisons, 1);
    ASSERT_EQ(banc.shell.appels.size(), 2u);
    EXPECT_EQ(banc.shell.appels[1].message, NIM_DELETE);
    EXPECT_EQ(banc.programme.appelsIconeAvantFin, 2u);
}

TEST_F(DepartIconeTest, OrdinaryMovesOverTheShownWindow_doNothing) {
    message(513);
    ASSERT_TRUE(QTest::qWaitForWindowActive(depart.get()));
    champ("Euros")->setFocus();
    GuetteurMenu guetteur;

    for (const int twips : Twips) {
        banc.programme.twips = twips;
        for (int x = 0; x < depart->width(); ++x) {
            for (const int y : {0, depart->height() / 2, depart->height() - 1}) {
                const QPointF position(x, y);
                QMouseEvent deplacement(QEvent::MouseMove, position, depart->mapToGlobal(position),
                                        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(depart.get(), &deplacement);
            }
        }
    }

    EXPECT_TRUE(depart->isVisible());
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Euros"));
    EXPECT_EQ(guetteur.ouvertures(), 0);
    EXPECT_EQ(banc.programme.terminaisons, 0);
}

TEST_F(DepartIconeTest, MouseMoveEvent_carriesThePixelPositionInTwips) {
    for (const int twips : Twips) {
        banc.programme.twips = twips;
        depart->hide();
        const QPointF position(513, 0); // what the tray sends for a left press
        QMouseEvent deplacement(QEvent::MouseMove, position, position, Qt::NoButton, Qt::LeftButton,
                                Qt::NoModifier);
        QApplication::sendEvent(depart.get(), &deplacement);
        EXPECT_TRUE(depart->isVisible()) << twips;
    }
}

} // namespace
