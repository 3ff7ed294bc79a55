// The About box shown from the tray's menu: modal, one instance, rebuilt at every showing.
#include "tests/support/FauxServices.h"
#include "ui/about/Apropos.h"

#include <functional>
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

struct Observation {
    QPointer<Apropos> boite;
    bool modale = false;
    int page = -1;
    QStringList textes;
    QString historique;
};

const char* const Etiquettes[] = {"Titre",          "SousTitre", "Description",
                                  "NomApplication", "Version",   "Commentaires",
                                  "TradeMarks",     "Copyright", "Company"};

// Opens the box through the menu item; once it is up, looks at it, acts, and presses Quitter.
// Returns once the modal showing has returned.
Observation ouvrirParLeMenu(Depart& depart, const std::function<void(Apropos&)>& agir = {}) {
    Observation vu;
    QTimer::singleShot(0, [&] {
        auto* boite = qobject_cast<Apropos*>(QApplication::activeModalWidget());
        vu.boite = boite;
        if (boite == nullptr) {
            ADD_FAILURE() << "no modal About box";
            if (Apropos::instance() != nullptr) {
                Apropos::instance()->close();
            }
            return;
        }
        vu.modale = boite->isModal() && boite->isVisible();
        auto* onglet = boite->findChild<QTabWidget*>(QStringLiteral("Onglet"));
        vu.page = onglet->currentIndex();
        for (const char* nom : Etiquettes) {
            vu.textes << boite->findChild<QLabel*>(QString::fromLatin1(nom))->text();
        }
        vu.historique =
            boite->findChild<QPlainTextEdit*>(QStringLiteral("Afficheur"))->toPlainText();
        if (agir) {
            agir(*boite);
        }
        onglet->setCurrentIndex(0);
        QApplication::processEvents();
        QTest::mouseClick(boite->findChild<QPushButton*>(QStringLiteral("Quitter")),
                          Qt::LeftButton);
        if (!vu.boite.isNull() && boite->isVisible()) {
            ADD_FAILURE() << "Quitter did not close the box";
            boite->close();
        }
    });
    depart.MenuApropos_Click();
    return vu;
}

// The main window loaded, so that the box has its information strings to show.
class AproposMenu : public ::testing::Test {
protected:
    void SetUp() override { depart.Form_Load(); }

    FauxServices faux;
    Depart depart{faux.services()};
};

} // namespace

TEST_F(AproposMenu, ShowsTheBoxModally_andReturnsWhenQuitterDestroysIt) {
    const Observation vu = ouvrirParLeMenu(depart);
    EXPECT_TRUE(vu.modale);
    EXPECT_EQ(vu.page, 0);
    EXPECT_TRUE(vu.boite.isNull()) << "the box outlives its closing";
    EXPECT_EQ(Apropos::instance(), nullptr);
    EXPECT_EQ(faux.programme.terminaisons, 0);
    // Its texts come from the main window's information strings.
    EXPECT_EQ(vu.textes[1].toStdString(), "Version 1.0 compilée le 16/04/2000 à 21:06");
}

TEST_F(AproposMenu, ShowingAgain_startsAfresh_onPageOne_withTheSameTextsAndNoEdits) {
    const Observation premiere = ouvrirParLeMenu(depart, [](Apropos& boite) {
        auto* onglet = boite.findChild<QTabWidget*>(QStringLiteral("Onglet"));
        onglet->setCurrentIndex(2);
        QApplication::processEvents();
        auto* afficheur = boite.findChild<QPlainTextEdit*>(QStringLiteral("Afficheur"));
        afficheur->setFocus();
        QTest::keyClicks(afficheur, QStringLiteral("ajout"));
        auto* support = boite.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        support->setPlainText(QStringLiteral("effacé"));
    });
    ASSERT_EQ(faux.pointeur.codes, (std::vector<int>{vbHourglass, vbArrow}));

    QPointer<Apropos> deuxiemeBoite;
    QString support;
    const Observation seconde = ouvrirParLeMenu(depart, [&](Apropos& boite) {
        deuxiemeBoite = &boite;
        support = boite.findChild<QPlainTextEdit*>(QStringLiteral("Text1"))->toPlainText();
    });
    EXPECT_EQ(seconde.page, 0);
    EXPECT_EQ(seconde.textes.join(u'\n').toStdString(), premiere.textes.join(u'\n').toStdString());
    EXPECT_EQ(seconde.historique, premiere.historique);
    EXPECT_FALSE(seconde.historique.contains(QStringLiteral("ajout")));
    EXPECT_TRUE(support.startsWith(QStringLiteral("ASSISTANCE TECHNIQUE :")));
    EXPECT_EQ(faux.pointeur.codes, (std::vector<int>{vbHourglass, vbArrow, vbHourglass, vbArrow}));
    EXPECT_EQ(faux.pointeur.actuel(), vbArrow);
}

TEST_F(AproposMenu, Buttons_openWithTheBoxAsOwner_notTheMainWindow) {
    QWidget* boiteVue = nullptr;
    ouvrirParLeMenu(depart, [&](Apropos& boite) {
        boiteVue = &boite;
        boite.findChild<QTabWidget*>(QStringLiteral("Onglet"))->setCurrentIndex(3);
        QApplication::processEvents();
        QTest::mouseClick(boite.findChild<QPushButton*>(QStringLiteral("EMail")), Qt::LeftButton);
        EXPECT_TRUE(boite.isVisible());
    });
    ASSERT_EQ(faux.documents.appels.size(), 1u);
    EXPECT_EQ(faux.documents.appels[0].hwnd, boiteVue);
    EXPECT_NE(faux.documents.appels[0].hwnd, &depart);
    EXPECT_EQ(faux.documents.appels[0].fichier, QByteArray("mailto:etienne.exemple@example.org"));
}

TEST_F(AproposMenu, ClosingWithTheMainWindowHidden_neitherEndsNorShowsAnything) {
    ASSERT_FALSE(depart.isVisible());
    ouvrirParLeMenu(depart);
    EXPECT_EQ(faux.programme.terminaisons, 0);
    EXPECT_FALSE(depart.isVisible());
    EXPECT_TRUE(faux.messages.affiches.empty());
}

TEST_F(AproposMenu, WhileOpen_aSecondShowingBringsTheSameBoxForward) {
    int boitesVues = 0;
    ouvrirParLeMenu(depart, [&](Apropos& boite) {
        // The menu cannot normally be reached while the box is up; should it be, no second box.
        depart.MenuApropos_Click();
        EXPECT_EQ(Apropos::instance(), &boite);
        const QWidgetList fenetres = QApplication::topLevelWidgets();
        for (QWidget* w : fenetres) {
            boitesVues += qobject_cast<Apropos*>(w) != nullptr ? 1 : 0;
        }
    });
    EXPECT_EQ(boitesVues, 1);
    EXPECT_EQ(faux.pointeur.codes, (std::vector<int>{vbHourglass, vbArrow}));
}
