// The program's place in the notification area on its own: the icon's messages decoded, the
// pop-up menu opened one at a time, and the window asked through signals only.
#include "ui/tray/ZoneNotification.h"

#include "tests/support/FauxServices.h"
#include "tests/ui/tray/GuetteurMenu.h"

#include <gtest/gtest.h>
#include <memory>
#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <vector>

namespace {

// Twips per pixel at 72, 96, 120, 144, 192 and 288 dots per inch.
constexpr int Twips[] = {20, 15, 12, 10, 8, 5};

class ZoneNotificationTest : public ::testing::Test {
protected:
    void SetUp() override { creer(); }

    void creer() {
        zone.reset();
        zone =
            std::make_unique<ZoneNotification>(fenetre, faux.shell, faux.programme, faux.presence);
        affichages = std::make_unique<QSignalSpy>(zone.get(), &ZoneNotification::affichageDemande);
        apropos = std::make_unique<QSignalSpy>(zone.get(), &ZoneNotification::aproposChoisi);
        quitter = std::make_unique<QSignalSpy>(zone.get(), &ZoneNotification::quitterChoisi);
    }

    // A click on the icon, as the window's handler receives it: the code times twips per pixel.
    void message(int code) {
        zone->recevoirMessage(static_cast<float>(code * faux.programme.twips));
    }

    QMenu* menu() const { return fenetre.findChild<QMenu*>(QStringLiteral("MenuPopUp")); }
    QAction* element(const char* nom) const {
        return fenetre.findChild<QAction*>(QString::fromLatin1(nom));
    }

    FauxServices faux;
    QWidget fenetre;
    std::unique_ptr<ZoneNotification> zone;
    std::unique_ptr<QSignalSpy> affichages;
    std::unique_ptr<QSignalSpy> apropos;
    std::unique_ptr<QSignalSpy> quitter;
};

TEST_F(ZoneNotificationTest, OnlyLeftPressAndRightRelease_act_atEveryResolution) {
    for (const int twips : Twips) {
        SCOPED_TRACE(twips);
        faux.programme.twips = twips;
        creer();
        GuetteurMenu guetteur;

        // Moves, right press, double click, middle press, other transitions.
        for (const int ignore : {512, 514, 515, 516, 518, 519}) {
            message(ignore);
        }
        // A twip beside a left press is no left press: the code is compared exactly.
        zone->recevoirMessage(static_cast<float>(513 * twips - 1));
        zone->recevoirMessage(static_cast<float>(513 * twips + 1));
        EXPECT_EQ(affichages->count(), 0);
        EXPECT_EQ(guetteur.ouvertures(), 0);

        message(517);
        EXPECT_EQ(guetteur.ouvertures(), 1);
        EXPECT_EQ(guetteur.dernier(), menu());
        EXPECT_EQ(affichages->count(), 0);

        message(513);
        EXPECT_EQ(affichages->count(), 1);
        EXPECT_EQ(apropos->count() + quitter->count(), 0);
    }
}

TEST_F(ZoneNotificationTest, RightRelease_opensTheMenuAtThePointer_withAboutAsDefaultItem) {
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
    EXPECT_EQ(apropos->count() + quitter->count(), 0) << "closed without a choice";
}

TEST_F(ZoneNotificationTest, ItemChosen_inTheWindowsMenuOrATrayDrawnOne_isHandedToTheWindowOnce) {
    zone->demarrer(QIcon());
    ASSERT_EQ(faux.shell.menuAssocie, menu());

    GuetteurMenu guetteur([](QMenu& ouvert) { QTest::keyClick(&ouvert, Qt::Key_A); });
    message(517);
    EXPECT_EQ(apropos->count(), 1);

    element("MenuQuitter")->trigger(); // chosen in a menu the tray draws itself
    EXPECT_EQ(quitter->count(), 1);
    EXPECT_EQ(apropos->count(), 1);
}

TEST_F(ZoneNotificationTest, AShellsOwnMenu_opensInsteadAtThePointer_itsChoiceHandledOnce) {
    QCursor::setPos(120, 90);
    GuetteurMenu guetteur; // the toolkit's menu, which should not open, closed at once
    std::vector<QPoint> positions;
    QAction* choix = nullptr;
    faux.shell.menuPropre = [&](QMenu& ouvert, const QPoint& position) {
        EXPECT_EQ(&ouvert, menu());
        positions.push_back(position);
        if (choix != nullptr) {
            choix->trigger(); // as the toolkit's menu does with what it returns
        }
        return choix;
    };

    message(517); // closed without a choice
    choix = element("MenuQuitter");
    message(517);
    choix = element("MenuApropos");
    message(517);

    EXPECT_EQ(guetteur.ouvertures(), 0);
    EXPECT_EQ(positions, std::vector<QPoint>(3, QCursor::pos()));
    EXPECT_EQ(quitter->count(), 1);
    EXPECT_EQ(apropos->count(), 1);
}

TEST_F(ZoneNotificationTest, WhileTheMenuIsOpen_furtherMessagesOpenNothingAndChooseNothing) {
    GuetteurMenu guetteur([&](QMenu& ouvert) {
        message(517);                      // a second right click on the icon
        element("MenuQuitter")->trigger(); // Quitter chosen in a menu the tray draws itself
        ouvert.close();
    });

    message(517);

    EXPECT_EQ(guetteur.ouvertures(), 1);
    EXPECT_EQ(quitter->count(), 0);

    message(517); // once closed, the menu opens again
    EXPECT_EQ(guetteur.ouvertures(), 2);
}

} // namespace
