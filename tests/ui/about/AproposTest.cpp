// The About box as loaded: texts, layout, pages, keys.
#include "tests/ui/about/BancApropos.h"
#include "ui/about/TextesApropos.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTest>

namespace {

QString texteDe(const BancApropos& banc, const char* nom) {
    auto* etiquette = banc.controle<QLabel>(nom);
    return etiquette != nullptr ? etiquette->text() : QString();
}

// Shows a page and lets its layout settle, as a click on its tab would.
void afficherPage(BancApropos& banc, int page) {
    banc.onglet()->setCurrentIndex(page);
    QApplication::processEvents();
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Texts of the "Infos techniques" page

struct CasBloc {
    const char* nom;
    BlocVersion bloc;
    QString executable;
};

TEST(Apropos, InfosPage_eachLineIsItsPrefixThenItsEntry) {
    BlocVersion plein;
    plein.majeure = 1;
    plein.mineure = 0;
    plein.ProductName = "Tarvane";
    plein.Comments = "Tarvane Francs/Euros/Francs";
    plein.LegalCopyright = "Copyright © 2000 Étienne Exemple";
    plein.CompanyName = "Étienne Exemple, 12 rue des Lilas, 99999 Exempleville";
    plein.LegalTrademarks = "E.E.";
    BlocVersion vide; // every text empty, version 0.0
    BlocVersion autre = plein;
    autre.majeure = 2;
    autre.mineure = 15;

    const CasBloc cas[] = {{"filled block", plein, QStringLiteral("Tarvane")},
                           {"empty entries", vide, QStringLiteral("Tarvane")},
                           {"version 2.15, other executable", autre, QStringLiteral("Conv")}};
    for (const CasBloc& c : cas) {
        SCOPED_TRACE(c.nom);
        BancApropos banc;
        banc.programme.bloc = c.bloc;
        banc.programme.nom = c.executable;
        banc.ouvrir();
        const auto q = [](const std::string& s) { return QString::fromStdString(s); };
        EXPECT_EQ(texteDe(banc, "Description"), q(c.bloc.ProductName));
        EXPECT_EQ(texteDe(banc, "NomApplication"),
                  QStringLiteral("  Nom de l'éxecutable : ") + c.executable + ".EXE");
        EXPECT_EQ(texteDe(banc, "Commentaires"),
                  QStringLiteral("  Commentaires :          ") + q(c.bloc.Comments));
        EXPECT_EQ(texteDe(banc, "Copyright"),
                  QStringLiteral("  Copyright :                ") + q(c.bloc.LegalCopyright));
        EXPECT_EQ(texteDe(banc, "Company"),
                  QStringLiteral("  Organisation :            ") + q(c.bloc.CompanyName));
        EXPECT_EQ(texteDe(banc, "TradeMarks"),
                  QStringLiteral("  Marques légales :       ") + q(c.bloc.LegalTrademarks));
        EXPECT_EQ(texteDe(banc, "Version"), QStringLiteral("  Version :                  %1.%2 du "
                                                           "16/04/2000 à 21:06")
                                                .arg(c.bloc.majeure)
                                                .arg(c.bloc.mineure));
    }
}

// ---------------------------------------------------------------------------------------------
// Title page

TEST(Apropos, TitlePage_showsProductVersionAndBuildDate) {
    BancApropos banc;
    banc.ouvrir();
    auto* titre = banc.controle<QLabel>("Titre");
    ASSERT_NE(titre, nullptr);
    EXPECT_EQ(titre->text(), QStringLiteral("Tarvane"));
    EXPECT_EQ(titre->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(titre->font().pointSize(), 18);
    EXPECT_EQ(texteDe(banc, "SousTitre"),
              QStringLiteral("Version 1.0 compilée le 16/04/2000 à 21:06"));
}

TEST(Apropos, EmptyBuildDate_leavesSubtitleAndVersionEndingOnTheirJoiningWords) {
    BancApropos banc;
    banc.informations.DateCompilation.clear();
    banc.ouvrir();
    EXPECT_EQ(texteDe(banc, "SousTitre"), QStringLiteral("Version 1.0 compilée le "));
    EXPECT_EQ(texteDe(banc, "Version"), QStringLiteral("  Version :                  1.0 du "));
}

TEST(Apropos, Load_setsHourglassThenArrow) {
    BancApropos banc;
    banc.ouvrir();
    EXPECT_EQ(banc.pointeur.codes, (std::vector<int>{vbHourglass, vbArrow}));
}

// ---------------------------------------------------------------------------------------------
// Window and layout

TEST(Apropos, Box_isBorderlessUntitledAndFilledByItsTabControl) {
    BancApropos banc;
    Apropos& boite = banc.ouvrir();
    EXPECT_TRUE(boite.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(boite.isWindow());
    EXPECT_EQ(boite.parentWidget(), nullptr);
    // Blank, not empty, which X11 would show as the program's name.
    EXPECT_FALSE(boite.windowTitle().isEmpty());
    EXPECT_TRUE(boite.windowTitle().trimmed().isEmpty());
    EXPECT_EQ(boite.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(boite.size(), QSize(499, 273));
    ASSERT_NE(banc.onglet(), nullptr);
    EXPECT_EQ(banc.onglet()->geometry(), QRect(0, 0, 499, 273));
}

TEST(Apropos, Tabs_haveTheirCaptions_allVisibleInOneRow_firstSelected) {
    BancApropos banc;
    banc.ouvrir();
    QTabWidget* onglet = banc.onglet();
    ASSERT_NE(onglet, nullptr);
    const QStringList legendes = {"Tarvane", "Infos techniques", "Historique",
                                  "Assistance technique", "V.E.Lk"};
    ASSERT_EQ(onglet->count(), legendes.size());
    EXPECT_EQ(onglet->currentIndex(), 0);
    const QTabBar* barre = onglet->tabBar();
    for (int i = 0; i < onglet->count(); ++i) {
        EXPECT_EQ(onglet->tabText(i), legendes[i]);
        // A tab cut off by the edge would hide its caption behind scroll arrows.
        EXPECT_TRUE(barre->rect().contains(barre->tabRect(i))) << legendes[i].toStdString();
    }
}

// Run again by CTest on machines reduced to DejaVu (wider than the Arial the box was drawn for)
// or to Liberation Sans; TARVANE_POLICE_ATTENDUE then names the family the box must have found.
TEST(Apropos, EveryCaptionAndLabel_showsItsWholeText) {
    BancApropos banc;
    Apropos& boite = banc.ouvrir();
    QApplication::processEvents();
    const QString attendue = qEnvironmentVariable("TARVANE_POLICE_ATTENDUE");
    if (!attendue.isEmpty()) {
        EXPECT_EQ(QFontInfo(boite.font()).family(), attendue);
    }

    struct Texte {
        QString controle;
        QString texte;
        QFont police;
        int place; // pixels the text may take
    };
    std::vector<Texte> textes;
    const QTabBar* barre = banc.onglet()->tabBar();
    EXPECT_EQ(barre->elideMode(), Qt::ElideNone);
    const int margesOnglet =
        barre->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, barre);
    for (int i = 0; i < barre->count(); ++i) {
        textes.push_back({QStringLiteral("tab %1").arg(i + 1), barre->tabText(i), barre->font(),
                          barre->tabRect(i).width() - margesOnglet});
    }
    for (const QLabel* etiquette : boite.findChildren<QLabel*>()) {
        textes.push_back({etiquette->objectName(), etiquette->text(), etiquette->font(),
                          etiquette->contentsRect().width() - 2 * etiquette->margin()});
    }
    for (const QPushButton* bouton : boite.findChildren<QPushButton*>()) {
        const int marges =
            2 * bouton->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, bouton);
        textes.push_back(
            {bouton->objectName(), bouton->text(), bouton->font(), bouton->width() - marges});
    }
    for (const Texte& t : textes) {
        EXPECT_LE(QFontMetrics(t.police).horizontalAdvance(t.texte), t.place)
            << t.controle.toStdString() << ": \"" << t.texte.toStdString() << "\" in "
            << QFontInfo(t.police).family().toStdString() << " " << t.police.pointSizeF();
    }
}

struct Place {
    const char* nom;
    int page;              // the page that holds it, or -1 when its container is named
    const char* conteneur; // for a control held in a panel
    int gauche, haut, largeur, hauteur;
};

TEST(Apropos, EveryControl_standsAtItsDesignedPlace) {
    const Place places[] = {
        {"Panel3D1", 0, nullptr, 2040, 600, 5175, 1095},
        {"Titre", -1, "Panel3D1", 120, 120, 4935, 495},
        {"SousTitre", -1, "Panel3D1", 120, 600, 4935, 255},
        {"Panel3D3", 0, nullptr, 240, 2280, 1575, 1575},
        {"Dessin4", -1, "Panel3D3", 120, 120, 1335, 1365},
        {"Quitter", 0, nullptr, 6600, 3240, 735, 735},
        {"SupportInfos", 1, nullptr, 240, 600, 6975, 3255},
        {"Description", -1, "SupportInfos", 120, 120, 6735, 495},
        {"NomApplication", -1, "SupportInfos", 120, 600, 6735, 375},
        {"Version", -1, "SupportInfos", 120, 960, 6735, 375},
        {"Commentaires", -1, "SupportInfos", 120, 1320, 6735, 375},
        {"TradeMarks", -1, "SupportInfos", 120, 1680, 6735, 375},
        {"Copyright", -1, "SupportInfos", 120, 2040, 6735, 375},
        {"Company", -1, "SupportInfos", 120, 2400, 6735, 375},
        {"Afficheur", 2, nullptr, 240, 600, 6975, 3255},
        {"Text1", 3, nullptr, 240, 600, 6975, 2415},
        {"EMail", 3, nullptr, 240, 3120, 6975, 375},
        {"Internet", 3, nullptr, 240, 3600, 6975, 375},
        {"Picture1", 4, nullptr, 360, 600, 2940, 1035},
        {"SSCommand1", 4, nullptr, 3840, 720, 2895, 375},
        {"SSCommand2", 4, nullptr, 3840, 1200, 2895, 375},
        {"SSCommand3", 4, nullptr, 3840, 1680, 2895, 375},
        {"SSCommand4", 4, nullptr, 3840, 2160, 2895, 375},
        {"SSCommand5", 4, nullptr, 240, 3480, 6975, 375},
    };
    BancApropos banc;
    banc.ouvrir();
    QTabWidget* onglet = banc.onglet();
    ASSERT_NE(onglet, nullptr);
    for (const Place& p : places) {
        SCOPED_TRACE(p.nom);
        QWidget* controle = banc.controle(p.nom);
        ASSERT_NE(controle, nullptr);
        const QRect attendu(p.gauche / 15, p.haut / 15, p.largeur / 15, p.hauteur / 15);
        if (p.page >= 0) {
            afficherPage(banc, p.page);
            QWidget* page = onglet->widget(p.page);
            EXPECT_EQ(controle->parentWidget(), page);
            // Places on a page count from the tab control's corner, tab row included.
            EXPECT_EQ(QRect(controle->mapTo(onglet, QPoint(0, 0)), controle->size()), attendu);
            EXPECT_TRUE(page->rect().contains(controle->geometry()))
                << "cut off by the page's edge or the tab row";
        } else {
            EXPECT_EQ(controle->parentWidget()->objectName(), QString::fromLatin1(p.conteneur));
            EXPECT_EQ(controle->geometry(), attendu);
        }
    }
}

TEST(Apropos, EveryPage_keepsTheBoxSize_QuitterVisibleOnTheFirstOnly) {
    BancApropos banc;
    Apropos& boite = banc.ouvrir();
    auto* quitter = banc.controle("Quitter");
    ASSERT_NE(quitter, nullptr);
    for (int page = 0; page < 5; ++page) {
        afficherPage(banc, page);
        EXPECT_EQ(boite.size(), QSize(499, 273)) << "page " << page + 1;
        EXPECT_EQ(quitter->isVisibleTo(&boite), page == 0) << "page " << page + 1;
    }
}

TEST(Apropos, TextBoxes_holdTheirTextsEditableWithAVerticalScrollBar) {
    BancApropos banc;
    banc.ouvrir();
    const std::pair<const char*, const char*> zones[] = {{"Afficheur", TexteAfficheur},
                                                         {"Text1", TexteText1}};
    for (const auto& [nom, texte] : zones) {
        auto* zone = banc.controle<QPlainTextEdit>(nom);
        ASSERT_NE(zone, nullptr);
        // Shown with plain line feeds: no carriage return may show as a stray glyph.
        EXPECT_EQ(zone->toPlainText(),
                  QString::fromUtf8(texte).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
            << nom;
        EXPECT_FALSE(zone->isReadOnly()) << nom;
        EXPECT_EQ(zone->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << nom;
    }
}

TEST(Apropos, Pictures_areLoaded) {
    BancApropos banc;
    banc.ouvrir();
    auto* dessin = banc.controle<QLabel>("Dessin4");
    ASSERT_NE(dessin, nullptr);
    EXPECT_EQ(dessin->pixmap().deviceIndependentSize().toSize(), QSize(89, 91));
    auto* logo = banc.controle<QLabel>("Picture1");
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->pixmap().deviceIndependentSize().toSize(), QSize(192, 65));
    // The logo fills the picture box inside its two-pixel border.
    EXPECT_EQ(logo->contentsRect().size(), QSize(192, 65));
    auto* quitter = banc.controle<QPushButton>("Quitter");
    ASSERT_NE(quitter, nullptr);
    EXPECT_TRUE(quitter->text().isEmpty());
    EXPECT_FALSE(quitter->icon().isNull());
    EXPECT_EQ(quitter->iconSize(), QSize(41, 41));
}

// ---------------------------------------------------------------------------------------------
// Keys and closing

TEST(Apropos, EnterAndEscape_leaveTheBoxOpen) {
    BancApropos banc;
    Apropos& boite = banc.ouvrir();
    QTabWidget* onglet = banc.onglet();
    ASSERT_NE(onglet, nullptr);
    onglet->tabBar()->setFocus();
    for (Qt::Key touche : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(onglet->tabBar(), touche);
        EXPECT_TRUE(boite.isVisible()) << "key " << touche;
    }
    // Escape in a text box goes up to the box too.
    afficherPage(banc, 2);
    auto* afficheur = banc.controle<QPlainTextEdit>("Afficheur");
    ASSERT_NE(afficheur, nullptr);
    QTest::keyClick(afficheur, Qt::Key_Escape);
    EXPECT_TRUE(boite.isVisible());
    EXPECT_TRUE(banc.documents.appels.empty());
}

TEST(Apropos, TabLeavesTheTextBoxesUntouched_CtrlPageDownAndUpChangePages) {
    BancApropos banc;
    Apropos& boite = banc.ouvrir();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&boite));
    afficherPage(banc, 3);
    auto* texte = banc.controle<QPlainTextEdit>("Text1");
    ASSERT_NE(texte, nullptr);
    const QString avant = texte->toPlainText();
    texte->setFocus();
    QTest::keyClick(texte, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), banc.controle<QPushButton>("EMail"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), banc.controle<QPushButton>("Internet"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), texte);
    EXPECT_EQ(texte->toPlainText(), avant);

    QTest::keyClick(texte, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(banc.onglet()->currentIndex(), 4);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(banc.onglet()->currentIndex(), 2);
}

TEST(Apropos, EnterOnAFocusedButton_pressesItAndOnlyIt) {
    BancApropos banc;
    Apropos& boite = banc.ouvrir();
    afficherPage(banc, 4);
    auto* bouton = banc.controle<QPushButton>("SSCommand2");
    ASSERT_NE(bouton, nullptr);
    bouton->setFocus();
    QTest::keyClick(bouton, Qt::Key_Return);
    ASSERT_EQ(banc.documents.appels.size(), 1u);
    EXPECT_EQ(banc.documents.appels[0].fichier, QByteArray("Adhesion.txt"));
    EXPECT_TRUE(boite.isVisible());
}

TEST(Apropos, AltF4AndQuitter_bothCloseAndDestroyTheBox) {
    for (bool parClavier : {true, false}) {
        SCOPED_TRACE(parClavier ? "Alt+F4" : "Quitter");
        BancApropos banc;
        Apropos& boite = banc.ouvrir();
        if (parClavier) {
            QTest::keyClick(&boite, Qt::Key_F4, Qt::AltModifier);
        } else {
            auto* quitter = banc.controle<QPushButton>("Quitter");
            ASSERT_NE(quitter, nullptr);
            QTest::mouseClick(quitter, Qt::LeftButton);
        }
        EXPECT_FALSE(boite.isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(banc.boite.isNull());
    }
}
