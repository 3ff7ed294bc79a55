// The toolkit's own texts read French whatever the session's language (the tests run under the
// C locale), while the regional settings that govern numbers stay the user's.
#include "platform/TraductionsQt.h"
#include "tests/support/FauxServices.h"

#include <gtest/gtest.h>
#include <memory>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QStringList>

namespace {

QStringList entrees(const QMenu& menu) {
    QStringList textes;
    for (const QAction* action : menu.actions()) {
        if (!action->isSeparator()) {
            textes << action->text().section(QLatin1Char('\t'), 0, 0); // without the shortcut
        }
    }
    return textes;
}

TEST(TraductionsFrancaises, FrancsContextMenu_readsFrench_regionalSettingsUnchanged) {
    const QLocale avant;
    ASSERT_TRUE(InstallerTraductionsFrancaises(*QCoreApplication::instance()))
        << "qtbase_fr.qm not found: is qt6-translations-l10n installed?";

    FauxServices faux;
    Depart fenetre(faux.services());
    fenetre.show(); // the controls are built at the first showing
    auto* francs = fenetre.findChild<QLineEdit*>(QStringLiteral("Francs"));
    ASSERT_NE(francs, nullptr);
    francs->setText(QStringLiteral("100")); // so that every entry applies
    const std::unique_ptr<QMenu> menu(francs->createStandardContextMenu());
    const QStringList textes = entrees(*menu);

    for (const char* attendu : {"&Annuler", "&Rétablir", "Co&uper", "Cop&ier", "Co&ller",
                                "Supprimer", "Tout sélectionner"}) {
        EXPECT_TRUE(textes.contains(QString::fromUtf8(attendu)))
            << attendu << " missing from: " << textes.join(QStringLiteral(" | ")).toStdString();
    }

    // Translating texts must not switch the numbers to French settings behind the user's back.
    EXPECT_EQ(QLocale().name(), avant.name());
    EXPECT_EQ(QLocale().decimalPoint(), avant.decimalPoint());
}

} // namespace
