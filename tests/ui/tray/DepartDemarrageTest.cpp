// Start-up and shutdown of the program, with the platform's answers recorded.
#include "tests/ui/tray/BancIcone.h"

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class DepartDemarrageTest : public ::testing::Test {
protected:
    void SetUp() override { depart = std::make_unique<Depart>(banc.services()); }

    QMenu* menu() const { return depart->findChild<QMenu*>(QStringLiteral("MenuPopUp")); }
    QString nomDuFocus() const {
        const QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QStringLiteral("(aucun)");
    }

    BancIcone banc;
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
    EXPECT_EQ(std::string(ajout.donnees.szTip.data()), "Tarvane Francs/Euros/Francs");
    EXPECT_EQ(banc.shell.menuAssocie, menu());

    EXPECT_FALSE(depart->isVisible());
    EXPECT_TRUE(banc.messages.affiches.empty());
    EXPECT_EQ(banc.programme.terminaisons, 0);
}

TEST_F(DepartDemarrageTest, WithANotificationArea_theQuitterButtonOnlyHides) {
    depart->Form_Load();
    depart->Form_MouseMove(0, 0, 513.0f * banc.programme.twips, 0.0f);
    ASSERT_TRUE(depart->isVisible());

    QTest::mouseClick(depart->findChild<QPushButton*>(QStringLiteral("Quitter")), Qt::LeftButton);

    EXPECT_FALSE(depart->isVisible());
    EXPECT_EQ(banc.programme.terminaisons, 0);
    EXPECT_EQ(banc.shell.appels.size(), 1u);
}

TEST_F(DepartDemarrageTest, WithoutNotificationArea_theWindowShowsAndRightClickOpensTheMenu) {
    banc.shell.zoneDisponible = false;
    GuetteurMenu guetteur;

    depart->Form_Load();

    ASSERT_TRUE(depart->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(depart.get()));
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Francs"));
    EXPECT_EQ(banc.shell.appels.size(), 1u); // should a tray appear later, the icon is there

    // On the window's background, between the Convertir and Effacer buttons.
    QTest::mouseClick(depart->windowHandle(), Qt::RightButton, {}, QPoint(100, 60));
    EXPECT_EQ(guetteur.ouvertures(), 1);
    EXPECT_EQ(guetteur.dernier(), menu());
    EXPECT_TRUE(depart->isVisible());
}

TEST_F(DepartDemarrageTest, WithoutNotificationArea_theQuitterButtonRemovesTheIconAndEnds) {
    banc.shell.zoneDisponible = false;
    depart->Form_Load();

    QTest::mouseClick(depart->findChild<QPushButton*>(QStringLiteral("Quitter")), Qt::LeftButton);

    EXPECT_EQ(banc.programme.terminaisons, 1);
    ASSERT_EQ(banc.shell.appels.size(), 2u);
    EXPECT_EQ(banc.shell.appels[1].message, NIM_DELETE);
    EXPECT_EQ(banc.programme.appelsIconeAvantFin, 2u);
}

} // namespace
