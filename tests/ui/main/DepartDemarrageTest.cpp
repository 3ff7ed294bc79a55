// Start-up and shutdown of the program, and the window's side of the notification icon, with
// the platform's answers recorded.
#include "tests/support/FauxServices.h"
#include "tests/ui/tray/GuetteurMenu.h"
#include "ui/about/Apropos.h"
#include "ui/tray/ZoneNotification.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <vector>

namespace {

class DepartDemarrageTest : public ::testing::Test {
protected:
    void SetUp() override { depart = std::make_unique<Depart>(banc.services()); }

    // A click on the icon, as the shell reports it: the code in pixels, times twips per pixel.
    void message(int code) {
        depart->Form_MouseMove(0, 0, static_cast<float>(code * banc.programme.twips), 0.0F);
    }
    QLineEdit* champ(const char* nom) const {
        return depart->findChild<QLineEdit*>(QString::fromLatin1(nom));
    }

    QMenu* menu() const { return depart->findChild<QMenu*>(QStringLiteral("MenuPopUp")); }
    QString nomDuFocus() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("(aucun)");
    }

    FauxServices banc;
    std::unique_ptr<Depart> depart;
};

TEST_F(DepartDemarrageTest, SecondCopy_warnsWithAnEmptyTitleThenEndsBeforeAnythingElse) {
    banc.programme.autreCopie = true;

    depart->Form_Load();

    ASSERT_EQ(banc.messages.affiches.size(), 1u);
    const MessageAffiche& message = banc.messages.affiches[0];
    EXPECT_EQ(message.texte.toStdString(),
              "L'application est déjà en mémoire !!\n\nUtiliser la barre des taches");
    EXPECT_EQ(message.style, 16);
    EXPECT_TRUE(message.titre.isEmpty());
    EXPECT_EQ(banc.programme.terminaisons, 1);
    EXPECT_TRUE(banc.shell.appels.empty());
    EXPECT_FALSE(depart->isVisible());
    EXPECT_TRUE(banc.programme.fichiersDemandes.empty());
    EXPECT_TRUE(depart->informations().TitreApplication.empty());
}

TEST_F(DepartDemarrageTest, FirstCopy_computesTheInformationsAddsTheIconAndHides) {
    depart->show(); // whatever the window was, start-up leaves it hidden

    depart->Form_Load();

    EXPECT_EQ(banc.programme.questionsCopie, 1);
    EXPECT_EQ(depart->informations().TitreApplication, "Tarvane 1.0");
    EXPECT_EQ(depart->informations().VersionApplication, "1.0");
    EXPECT_EQ(depart->informations().DateCompilation, "16/04/2000 à 21:06");
    EXPECT_EQ(banc.programme.fichiersDemandes, (std::vector<std::string>{"Tarvane.EXE"}));

    ASSERT_EQ(banc.shell.appels.size(), 1u);
    const AppelIcone& ajout = banc.shell.appels[0];
    EXPECT_EQ(ajout.message, NIM_ADD);
    EXPECT_EQ(ajout.donnees.hWnd, depart.get());
    EXPECT_EQ(ajout.donnees.hIcon.cacheKey(), depart->windowIcon().cacheKey());
    for (const int taille : {16, 22, 24, 32, 48}) { // each tray size its own drawing, unscaled
        const QImage dessin(QStringLiteral(":/images/tarvane-%1.png").arg(taille));
        ASSERT_FALSE(dessin.isNull()) << taille;
        EXPECT_EQ(ajout.donnees.hIcon.pixmap(taille).toImage().convertToFormat(
                      QImage::Format_ARGB32_Premultiplied),
                  dessin.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << taille;
    }
    EXPECT_EQ(std::string(ajout.donnees.szTip.data()), "Tarvane Francs/Euros/Francs");
    EXPECT_EQ(banc.shell.menuAssocie, menu());

    EXPECT_FALSE(depart->isVisible());
    EXPECT_TRUE(banc.messages.affiches.empty());
    EXPECT_EQ(banc.programme.terminaisons, 0);
}

TEST_F(DepartDemarrageTest, WithoutNotificationArea_theWindowShowsAndRightClickOpensTheMenu) {
    banc.presence.zone = false;
    GuetteurMenu guetteur;

    depart->Form_Load();

    ASSERT_TRUE(depart->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(depart.get()));
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Francs"));
    EXPECT_TRUE(banc.shell.appels.empty()) << "nothing asked of a tray that is not there";

    // On the window's background, between the Convertir and Effacer buttons.
    QTest::mouseClick(depart->windowHandle(), Qt::RightButton, {}, QPoint(100, 60));
    EXPECT_EQ(guetteur.ouvertures(), 1);
    EXPECT_EQ(guetteur.dernier(), menu());
    EXPECT_TRUE(depart->isVisible());
}

// The notification area comes and goes while the program runs, and its watcher may tell of the
// same state twice: the icon follows it, and the window is never left where nothing shows it.
TEST_F(DepartDemarrageTest, NotificationAreaComingAndGoing_iconFollowsOnce_windowNeverStranded) {
    struct Cas {
        const char* nom;
        bool auDepart;
        bool accepte; // the shell's answer to the icon calls
        std::vector<bool> changements;
        std::vector<std::uint32_t> appels;
        bool visible;
        bool quitterTermine;        // Quitter, and the close box, end the program rather than hide
        bool premierRegard = false; // the area is known only at the first change
        bool prise = true;          // the area shows the icon it is given
    };
    const Cas cas[] = {
        {"area at start", true, true, {}, {NIM_ADD}, false, false},
        {"area gone while hidden", true, true, {false, false}, {NIM_ADD, NIM_DELETE}, true, true},
        {"area back", true, true, {false, true, true}, {NIM_ADD, NIM_DELETE, NIM_ADD}, true, false},
        {"no area at start", false, true, {}, {}, true, true},
        {"area appearing after start", false, true, {true, true}, {NIM_ADD}, true, false},
        {"icon refused by the area", true, false, {}, {NIM_ADD}, true, true},
        {"first look ends without an area", false, true, {false}, {}, true, true, true},
        {"first look ends with one", false, true, {true}, {NIM_ADD}, false, false, true},
        {"icon never shown by the area",
         true,
         true,
         {},
         {NIM_ADD, NIM_DELETE},
         true,
         true,
         false,
         false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        depart.reset();
        banc.shell.appels.clear();
        banc.shell.accepte = c.accepte;
        banc.programme.terminaisons = 0;
        banc.presence.zone = c.auDepart;
        banc.presence.premierRegard = c.premierRegard;
        banc.presence.prise = c.prise;
        depart = std::make_unique<Depart>(banc.services());
        depart->Form_Load();
        EXPECT_FALSE(c.premierRegard && depart->isVisible()) << "shown before the area is known";
        for (const bool presente : c.changements) {
            banc.presence.changer(presente);
        }
        if (!c.prise) {
            EXPECT_FALSE(depart->isVisible()) << "shown before the area had time to take the icon";
            EXPECT_TRUE(QTest::qWaitFor([&] { return depart->isVisible(); },
                                        ZoneNotification::DelaiAccueilMs + 1000));
        }

        std::vector<std::uint32_t> appels;
        for (const AppelIcone& appel : banc.shell.appels) {
            appels.push_back(appel.message);
        }
        EXPECT_EQ(appels, c.appels);
        EXPECT_EQ(depart->isVisible(), c.visible);
        if (c.visible) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(depart.get()));
            EXPECT_EQ(nomDuFocus(), QStringLiteral("Francs"));
        }

        // Quitter ends the program where nothing could show the window again; elsewhere it, and
        // the close box, only hide the window.
        depart->show();
        QTest::mouseClick(depart->findChild<QPushButton*>(QStringLiteral("Quitter")),
                          Qt::LeftButton);
        EXPECT_EQ(banc.programme.terminaisons, c.quitterTermine ? 1 : 0);
        EXPECT_EQ(depart->isVisible(), c.quitterTermine);
        if (!c.quitterTermine) {
            EXPECT_EQ(banc.shell.appels.size(), c.appels.size()) << "hiding touched the icon";
            depart->show();
            EXPECT_FALSE(depart->close());
            EXPECT_FALSE(depart->isVisible());
            EXPECT_EQ(banc.programme.terminaisons, 0);
        }
    }
}

// An area that stops showing the icon but stays (the toolkit handing it a new window for the
// icon) has the usual wait to show it again before the window comes.
TEST_F(DepartDemarrageTest, IconNoLongerShownByAnAreaStillThere_theWaitDecides) {
    for (const bool deNouveau : {true, false}) {
        SCOPED_TRACE(deNouveau ? "shown again" : "never shown again");
        depart = std::make_unique<Depart>(banc.services());
        banc.shell.appels.clear();
        depart->Form_Load();
        banc.presence.prendre(false);
        EXPECT_FALSE(depart->isVisible()) << "shown before the wait ended";
        banc.presence.prendre(deNouveau);
        QTest::qWait(ZoneNotification::DelaiAccueilMs + 300);
        EXPECT_EQ(depart->isVisible(), !deNouveau);
        EXPECT_EQ(banc.shell.appels.size(), deNouveau ? 1u : 2u) << "NIM_ADD, then NIM_DELETE";
    }
}

// A D-Bus host that left the bus shows nothing more: the window comes at once, and the item stays
// offered for the next host, which the watcher hands it to.
TEST_F(DepartDemarrageTest, IconLostWithNoWayBack_windowAtOnce_iconKeptForTheNextHost) {
    banc.presence.retour = false;
    depart->Form_Load();
    banc.presence.prendre(false);
    EXPECT_TRUE(depart->isVisible()) << "the window waited for a host that is gone";
    banc.presence.prendre(true);
    EXPECT_EQ(banc.shell.appels.size(), 1u) << "only NIM_ADD";
    EXPECT_TRUE(depart->isVisible()) << "a window on screen stays there when a tray comes";
}

// A tray that draws the menu itself offers its items while the window's own boxes are up; they
// would do nothing then, so they are disabled, and enabled again once the box is closed.
TEST_F(DepartDemarrageTest, WhileTheAboutBoxOrAMessageIsUp_theMenuItemsAreDisabled) {
    depart->Form_Load();
    QAction* const elements[] = {depart->findChild<QAction*>(QStringLiteral("MenuApropos")),
                                 depart->findChild<QAction*>(QStringLiteral("MenuQuitter"))};
    const auto actifs = [&] {
        return std::vector<bool>{elements[0]->isEnabled(), elements[1]->isEnabled()};
    };
    std::vector<bool> pendantApropos;
    QTimer::singleShot(0, [&] {
        pendantApropos = actifs();
        elements[1]->trigger(); // Quitter chosen in the tray's own drawing of the menu
        Apropos::instance()->close();
    });
    depart->MenuApropos_Click();
    std::vector<bool> pendantMessage;
    banc.messages.pendant = [&] { pendantMessage = actifs(); };
    depart->Convertir_Click(); // both fields empty: a message

    EXPECT_EQ(pendantApropos, (std::vector<bool>{false, false}));
    EXPECT_EQ(pendantMessage, (std::vector<bool>{false, false}));
    EXPECT_EQ(actifs(), (std::vector<bool>{true, true}));
    EXPECT_EQ(banc.programme.terminaisons, 0);
}

TEST_F(DepartDemarrageTest, LeftPress_showsTheHiddenWindowWithFocusInFrancs_aSecondChangesNothing) {
    depart->Form_Load();
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

    // Minimised, the window still counts as visible; a press brings it back all the same.
    depart->showMinimized();
    ASSERT_TRUE(depart->isMinimized());
    message(513);
    EXPECT_FALSE(depart->isMinimized());
    ASSERT_TRUE(QTest::qWaitForWindowActive(depart.get()));
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Francs"));
}

// While the About box is up the window waits: a left press shows nothing that the box would
// block, and leaves the keyboard with the box.
TEST_F(DepartDemarrageTest, LeftPressWhileTheAboutBoxIsUp_showsNothing_theBoxKeepsTheKeyboard) {
    depart->Form_Load();
    bool fenetreVue = true;
    bool boiteActive = false;
    QTimer::singleShot(0, [&] {
        QWidget* boite = QApplication::activeModalWidget();
        ASSERT_NE(boite, nullptr) << "no modal About box";
        message(513);
        fenetreVue = depart->isVisible();
        boiteActive = QTest::qWaitForWindowActive(boite);
        Apropos::instance()->close();
    });
    depart->MenuApropos_Click();
    EXPECT_FALSE(fenetreVue) << "the window came up behind the box";
    EXPECT_TRUE(boiteActive);
}

// The controls are built on first need: a handler reached while the window was never shown (an
// assistive technology, a key routed early) finds them, and the first show reuses them.
TEST_F(DepartDemarrageTest, HandlersBeforeTheFirstShow_findTheControls_theShowKeepsThem) {
    struct Cas {
        const char* nom;
        std::function<void(Depart&)> agir;
        std::size_t messages;
    };
    const Cas cas[] = {
        {"Convertir", [](Depart& d) { d.Convertir_Click(); }, 1}, // both fields empty: refused
        {"Effacer", [](Depart& d) { d.Annuler_Click(); }, 0},
        {"Enter in Francs",
         [](Depart& d) {
             int KeyAscii = 13;
             d.Francs_KeyPress(KeyAscii);
         },
         0},
        {"Enter in Euros",
         [](Depart& d) {
             int KeyAscii = 13;
             d.Euros_KeyPress(KeyAscii);
         },
         0},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        banc.messages.affiches.clear();
        depart = std::make_unique<Depart>(banc.services());
        depart->Form_Load();

        c.agir(*depart);

        EXPECT_EQ(banc.messages.affiches.size(), c.messages);
        EXPECT_FALSE(depart->isVisible());
        QLineEdit* const francs = champ("Francs");
        ASSERT_NE(francs, nullptr);
        message(513);
        ASSERT_TRUE(QTest::qWaitForWindowActive(depart.get()));
        EXPECT_EQ(depart->findChildren<QLineEdit*>(QStringLiteral("Francs")).size(), 1);
        EXPECT_EQ(champ("Francs"), francs);
        EXPECT_TRUE(francs->isVisible());
        EXPECT_EQ(nomDuFocus(), QStringLiteral("Francs"));
    }
}

TEST_F(DepartDemarrageTest, QuitterChosenInTheMenuOrATrayDrawnOne_removesTheIconThenEnds) {
    const std::function<void()> choisir[] = {
        [this] {
            GuetteurMenu guetteur([](QMenu& ouvert) { QTest::keyClick(&ouvert, Qt::Key_Q); });
            message(517);
            EXPECT_EQ(guetteur.ouvertures(), 1);
        },
        [this] { depart->findChild<QAction*>(QStringLiteral("MenuQuitter"))->trigger(); },
    };
    for (const auto& choix : choisir) {
        banc.shell.appels.clear();
        banc.programme.terminaisons = 0;
        depart = std::make_unique<Depart>(banc.services());
        depart->Form_Load();

        choix();

        EXPECT_EQ(banc.programme.terminaisons, 1);
        ASSERT_EQ(banc.shell.appels.size(), 2u);
        const AppelIcone& suppression = banc.shell.appels[1];
        EXPECT_EQ(suppression.message, NIM_DELETE);
        EXPECT_EQ(suppression.terminaisonsAvant, 0) << "the icon goes before the end";
        EXPECT_EQ(suppression.donnees.hWnd, depart.get());
        EXPECT_EQ(suppression.donnees.uID, 1u);
    }
}

// Real mouse moves over the window are never read as the icon's messages, hovering or dragged
// out to the codes' positions: 513 pixels would be a left press, 517 a right release.
TEST_F(DepartDemarrageTest, MovesAndDragsOverTheWindow_areNotReadAsTheIconsClicks) {
    depart->Form_Load();
    message(513);
    ASSERT_TRUE(QTest::qWaitForWindowActive(depart.get()));
    champ("Euros")->setFocus();
    GuetteurMenu guetteur;

    QWindow* fenetre = depart->windowHandle();
    QTest::mouseMove(fenetre, QPoint(513, 60)); // reaches the window only if it tracks the mouse
    QTest::mouseMove(fenetre, QPoint(517, 60));
    // Pressed on the background between Convertir and Effacer.
    QTest::mousePress(fenetre, Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mouseMove(fenetre, QPoint(513, 60));
    QTest::mouseMove(fenetre, QPoint(517, 60));
    QTest::mouseRelease(fenetre, Qt::LeftButton, {}, QPoint(517, 60));

    EXPECT_TRUE(depart->isVisible());
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Euros"));
    EXPECT_EQ(guetteur.ouvertures(), 0);
    EXPECT_EQ(banc.programme.terminaisons, 0);
}

// The About box chosen from the menu and closed by the keyboard's close command, Alt held as a
// user holds it: the menu opens again at the next right click, as after the door.
TEST_F(DepartDemarrageTest, AboutBoxClosedWithAltF4_theNextRightClickOpensTheMenu) {
    depart->Form_Load();
    int fermetures = 0;
    QTimer fermeur;
    fermeur.setInterval(2);
    QObject::connect(&fermeur, &QTimer::timeout, [&] {
        Apropos* boite = Apropos::instance();
        if (boite != nullptr && boite->isVisible()) {
            ++fermetures;
            QTest::keyPress(boite, Qt::Key_Alt, Qt::AltModifier);
            QTest::keyClick(boite, Qt::Key_F4, Qt::AltModifier);
            if (QWidget* focus = QApplication::focusWidget()) {
                QTest::keyRelease(focus, Qt::Key_Alt); // wherever the focus went, if anywhere
            }
        }
    });
    fermeur.start();
    int ouvertures = 0;
    GuetteurMenu guetteur([&](QMenu& ouvert) {
        ++ouvertures;
        QTest::keyClick(&ouvert, ouvertures == 1 ? Qt::Key_A : Qt::Key_Escape);
    });

    message(517);
    ASSERT_EQ(fermetures, 1);
    message(517);

    EXPECT_EQ(ouvertures, 2);
    EXPECT_EQ(banc.programme.terminaisons, 0);
}

} // namespace
