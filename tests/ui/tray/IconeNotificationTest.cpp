#include "ui/tray/IconeNotification.h"

#include "tests/support/FauxServices.h"

#include <gtest/gtest.h>
#include <QPixmap>
#include <string>

namespace {

std::string enTexte(const std::array<char, 64>& champ) {
    return {champ.begin(), champ.end()};
}

QIcon iconeRouge() {
    QPixmap image(16, 16);
    image.fill(Qt::red);
    return QIcon(image);
}

class IconeNotificationTest : public ::testing::Test {
protected:
    FauxShellIcone shell;
    DonneesIcone donnees; // the record of one owner, reused by every call
    QWidget fenetre;
};

TEST_F(IconeNotificationTest, AddCall_fillsEveryFieldOfTheRecord) {
    const QIcon icone = iconeRouge();
    IconeNotification(shell, donnees, &fenetre, 0, icone,
                      QStringLiteral("Tarvane Francs/Euros/Francs"));

    ASSERT_EQ(shell.appels.size(), 1u);
    const AppelIcone& appel = shell.appels[0];
    EXPECT_EQ(appel.message, NIM_ADD);
    // The 32-bit record's 88 bytes; 104 where handles and their alignment take 64 bits.
    EXPECT_EQ(appel.donnees.cbSize, sizeof(void*) == 4 ? 88u : 104u);
    EXPECT_EQ(appel.donnees.hWnd, &fenetre);
    EXPECT_EQ(appel.donnees.uID, 1u);
    EXPECT_EQ(appel.donnees.uFlags, 7u);
    EXPECT_EQ(appel.donnees.uCallbackMessage, 512u);
    EXPECT_EQ(appel.donnees.hIcon.cacheKey(), icone.cacheKey());
    EXPECT_EQ(enTexte(appel.donnees.szTip),
              std::string("Tarvane Francs/Euros/Francs") + '\0' + std::string(36, ' '));
    EXPECT_EQ(donnees.szTip.size(), 64);
}

TEST_F(IconeNotificationTest, DeleteCall_carriesTheIconAndTooltipLeftByTheAdd) {
    const QIcon icone = iconeRouge();
    IconeNotification(shell, donnees, &fenetre, 0, icone,
                      QStringLiteral("Tarvane Francs/Euros/Francs"));
    IconeNotification(shell, donnees, &fenetre, 2);

    ASSERT_EQ(shell.appels.size(), 2u);
    const AppelIcone& ajout = shell.appels[0];
    const AppelIcone& suppression = shell.appels[1];
    EXPECT_EQ(suppression.message, NIM_DELETE);
    EXPECT_EQ(suppression.donnees.hWnd, &fenetre);
    EXPECT_EQ(suppression.donnees.uID, 1u);
    EXPECT_EQ(suppression.donnees.uFlags, 7u);
    EXPECT_EQ(suppression.donnees.hIcon.cacheKey(), icone.cacheKey());
    EXPECT_EQ(enTexte(suppression.donnees.szTip), enTexte(ajout.donnees.szTip));
}

TEST_F(IconeNotificationTest, CallWithoutIcon_keepsNoIconInAFreshRecord) {
    IconeNotification(shell, donnees, &fenetre, 2);

    ASSERT_EQ(shell.appels.size(), 1u);
    EXPECT_TRUE(shell.appels[0].donnees.hIcon.isNull());
    EXPECT_EQ(shell.appels[0].donnees.szTip, (std::array<char, 64>{}));
}

TEST_F(IconeNotificationTest, Tooltip_isFollowedByNulThenBlanks_andCutAt64Characters) {
    const std::string soixanteDix =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-+*/=#!?";
    ASSERT_EQ(soixanteDix.size(), 70u);
    struct Cas {
        std::string texte;
        std::string champ;
    };
    const Cas cas[] = {
        {"", std::string(1, '\0') + std::string(63, ' ')},
        {"Tarvane", "Tarvane" + std::string(1, '\0') + std::string(56, ' ')},
        {soixanteDix.substr(0, 63), soixanteDix.substr(0, 63) + '\0'},
        {soixanteDix.substr(0, 64), soixanteDix.substr(0, 64)},
        {soixanteDix, soixanteDix.substr(0, 64)},
        // The shell's 8-bit code page: é is one byte.
        {"Tarvane été", "Tarvane \xe9t\xe9" + std::string(1, '\0') + std::string(52, ' ')},
    };
    for (const Cas& c : cas) {
        shell.appels.clear();
        IconeNotification(shell, donnees, &fenetre, 0, std::nullopt,
                          QString::fromStdString(c.texte));
        ASSERT_EQ(shell.appels.size(), 1u);
        EXPECT_EQ(enTexte(shell.appels[0].donnees.szTip), c.champ) << "tooltip: " << c.texte;
    }
}

} // namespace
