// The conversion window driven as a user drives it: real widgets, real keys and clicks, with
// message boxes recorded instead of shown.
#include "platform/BoiteMessageQt.h"
#include "tests/support/FauxServices.h"
#include "tests/support/FenetreActive.h"
#include "tests/support/MessagesConversion.h"
#include "ui/main/BarreTitre.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// Readable texts in failure messages.
void PrintTo(const QString& texte, std::ostream* sortie) {
    *sortie << '"' << texte.toStdString() << '"';
}

namespace {

const QString Titre = QStringLiteral("Tarvane 1.0");
const QString MessageDeuxRemplies = QString::fromUtf8(messages::DeuxRemplies);
const QString MessageDeuxVides = QString::fromUtf8(messages::DeuxVides);
const QString MessageFrancs = QString::fromUtf8(messages::Francs);
const QString MessageEuros = QString::fromUtf8(messages::Euros);

QString nomDuFocus() {
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(aucun)");
}

class DepartTest : public ::testing::Test {
protected:
    void SetUp() override {
        fenetre = std::make_unique<Depart>(faux.services());
        fenetre->Form_Load();
        montrer();
    }

    // Shown and active, the focus in Francs, as a left click on the tray icon leaves it.
    void montrer() {
        fenetre->show();
        ASSERT_TRUE(rendreActive(fenetre.get()));
        champ("Francs")->setFocus();
        ASSERT_EQ(nomDuFocus(), QStringLiteral("Francs"));
    }

    template <class T> T* enfant(const char* nom) const {
        T* widget = fenetre->findChild<T*>(QString::fromLatin1(nom));
        if (!widget) {
            ADD_FAILURE() << "no child named " << nom;
        }
        return widget;
    }
    QLineEdit* champ(const char* nom) const { return enfant<QLineEdit>(nom); }
    QPushButton* bouton(const char* nom) const { return enfant<QPushButton>(nom); }

    // Keys go where a user's keys go: to the widget that has the focus.
    void taper(int touche, Qt::KeyboardModifiers modificateurs = Qt::NoModifier) {
        QWidget* cible = QApplication::focusWidget();
        ASSERT_NE(cible, nullptr);
        QTest::keyClick(cible, static_cast<Qt::Key>(touche), modificateurs);
    }
    void ecrire(const QString& texte) {
        QWidget* cible = QApplication::focusWidget();
        ASSERT_NE(cible, nullptr);
        QTest::keyClicks(cible, texte);
    }
    void cliquer(const char* nom) { QTest::mouseClick(bouton(nom), Qt::LeftButton); }

    void remplir(const QString& francs, const QString& euros) {
        champ("Francs")->setText(francs);
        champ("Euros")->setText(euros);
    }

    FauxServices faux;
    std::unique_ptr<Depart> fenetre;
};

TEST_F(DepartTest, TypedFrancs_enterTwiceReachesConvertir_thirdEnterConverts) {
    struct Cas {
        const char* nom;
        Qt::Key touche;
        Qt::KeyboardModifiers modificateurs;
    };
    const Cas cas[] = {
        {"Return", Qt::Key_Return, Qt::NoModifier},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        remplir(QString(), QString());
        champ("Francs")->setFocus();
        QSignalSpy entreeFrancs(champ("Francs"), &QLineEdit::returnPressed);

        ecrire(QStringLiteral("100"));
        taper(c.touche, c.modificateurs);
        EXPECT_EQ(nomDuFocus(), QStringLiteral("Euros"));
        EXPECT_EQ(entreeFrancs.count(), 1) << "the field still gets its Enter key";
        taper(c.touche, c.modificateurs);
        EXPECT_EQ(nomDuFocus(), QStringLiteral("Convertir"));
        EXPECT_EQ(champ("Euros")->text(), QString()) << "Enter in a field never converts";

        taper(c.touche, c.modificateurs);
        EXPECT_EQ(champ("Euros")->text(), QStringLiteral("15,24"));
        EXPECT_EQ(champ("Francs")->text(), QStringLiteral("100"));
        EXPECT_EQ(nomDuFocus(), QStringLiteral("Francs"));
    }
    EXPECT_TRUE(faux.messages.affiches.empty());
}

TEST_F(DepartTest, EnterInFilledEuros_movesToConvertirWithoutConverting) {
    champ("Euros")->setFocus();
    ecrire(QStringLiteral("12,5"));
    taper(Qt::Key_Return);

    EXPECT_EQ(nomDuFocus(), QStringLiteral("Convertir"));
    EXPECT_EQ(champ("Francs")->text(), QString());
    EXPECT_EQ(champ("Euros")->text(), QStringLiteral("12,5"));

    taper(Qt::Key_Space);
    EXPECT_EQ(champ("Francs")->text(), QStringLiteral("81,99"));
}

TEST_F(DepartTest, RefusedRequests_showTheirMessageAndLeaveTextsAsTyped) {
    struct Cas {
        QString francs;
        QString euros;
        QString message;
        const char* selectionne; // field whose whole text is selected, or nullptr
        const char* focus;
    };
    const Cas cas[] = {
        {"100", "5", MessageDeuxRemplies, nullptr, "Francs"},
        {"", "", MessageDeuxVides, nullptr, "Francs"},
        {" ", "", MessageFrancs, "Francs", "Francs"},
        {"cent", "", MessageFrancs, "Francs", "Francs"},
        {"", "douze", MessageEuros, "Euros", "Euros"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(("Francs \"" + c.francs + "\", Euros \"" + c.euros + "\"").toStdString());
        faux.messages.affiches.clear();
        remplir(c.francs, c.euros);

        cliquer("Convertir");

        ASSERT_EQ(faux.messages.affiches.size(), 1u);
        const MessageAffiche& message = faux.messages.affiches.front();
        EXPECT_EQ(message.texte, c.message);
        EXPECT_EQ(message.style, 16);
        EXPECT_EQ(message.titre, Titre);
        EXPECT_EQ(message.parent, fenetre.get());

        EXPECT_EQ(champ("Francs")->text(), c.francs);
        EXPECT_EQ(champ("Euros")->text(), c.euros);
        EXPECT_EQ(nomDuFocus(), QString::fromLatin1(c.focus));
        for (const char* nom : {"Francs", "Euros"}) {
            const bool attendu = c.selectionne && QByteArray(c.selectionne) == nom;
            EXPECT_EQ(champ(nom)->selectedText(), attendu ? champ(nom)->text() : QString()) << nom;
        }
    }
}

TEST_F(DepartTest, RefusedEuros_keepsFocusWithTextSelected_soTypingReplacesIt) {
    champ("Euros")->setFocus();
    ecrire(QStringLiteral("douze"));
    cliquer("Convertir");
    ASSERT_EQ(faux.messages.affiches.size(), 1u);

    ecrire(QStringLiteral("12,5"));
    EXPECT_EQ(champ("Euros")->text(), QStringLiteral("12,5"));

    cliquer("Convertir");
    EXPECT_EQ(champ("Francs")->text(), QStringLiteral("81,99"));
    EXPECT_EQ(faux.messages.affiches.size(), 1u);
}

// The same refusal through the real box, answered from the keyboard: once the box is gone, the
// focus is back in Euros with all of it selected, ready to be retyped.
TEST_F(DepartTest, RefusedEurosThroughTheRealBox_okByKeyboard_focusBackWithTheTextSelected) {
    BoiteMessageQt boite;
    fenetre = std::make_unique<Depart>(faux.services(faux.locale, boite));
    fenetre->Form_Load();
    montrer();
    champ("Euros")->setFocus();
    ecrire(QStringLiteral("abc"));
    QMessageBox* vue = nullptr;
    QTimer::singleShot(0, fenetre.get(), [&] {
        vue = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(vue, nullptr) << "no modal message box";
        EXPECT_EQ(vue->text(), MessageEuros);
        EXPECT_EQ(vue->windowTitle(), Titre);
        EXPECT_EQ(vue->icon(), QMessageBox::Critical);
        if (QTest::qWaitFor([&] { return vue->isAncestorOf(QApplication::focusWidget()); })) {
            taper(Qt::Key_Return);
        }
        if (vue->isVisible()) {
            ADD_FAILURE() << "Enter did not reach the box's OK";
            vue->done(0);
        }
    });

    cliquer("Convertir");

    ASSERT_NE(vue, nullptr);
    fenetre->activateWindow(); // as the window manager does once a box closes; offscreen has none
    ASSERT_TRUE(QTest::qWaitForWindowActive(fenetre.get()));
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Euros"));
    EXPECT_EQ(champ("Euros")->selectedText(), QStringLiteral("abc"));
}

TEST_F(DepartTest, Effacer_afterMessage_emptiesBothFieldsAndFocusesFrancs) {
    remplir(QStringLiteral("100"), QStringLiteral("abc"));
    cliquer("Convertir");
    ASSERT_EQ(faux.messages.affiches.size(), 1u);

    cliquer("Annuler");

    EXPECT_EQ(champ("Francs")->text(), QString());
    EXPECT_EQ(champ("Euros")->text(), QString());
    EXPECT_EQ(nomDuFocus(), QStringLiteral("Francs"));
    EXPECT_EQ(faux.messages.affiches.size(), 1u);
}

TEST_F(DepartTest, QuitterAndCloseRequest_hideTheWindowAndKeepBothTexts) {
    struct Cas {
        const char* nom;
        std::function<void()> fermer;
    };
    const Cas cas[] = {
        {"Quitter button", [this] { cliquer("Quitter"); }},
        {"window manager close", [this] { EXPECT_FALSE(fenetre->close()); }},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        remplir(QStringLiteral("100"), QStringLiteral("15,24"));

        c.fermer();
        EXPECT_FALSE(fenetre->isVisible());

        montrer();
        EXPECT_EQ(champ("Francs")->text(), QStringLiteral("100"));
        EXPECT_EQ(champ("Euros")->text(), QStringLiteral("15,24"));
    }
}

TEST_F(DepartTest, AccessKeys_pressTheirButtonsAtOnce_soKeysTypedNextAreKept) {
    struct Cas {
        Qt::Key touche;
        QString francsApres;
        QString eurosApres;
        bool visibleApres;
    };
    const Cas cas[] = {
        {Qt::Key_C, "100", "15,24", true},
        {Qt::Key_E, "", "", true},
        {Qt::Key_Q, "100", "", false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(QKeySequence(Qt::AltModifier | c.touche).toString().toStdString());
        if (!fenetre->isVisible()) {
            montrer();
        }
        remplir(QStringLiteral("100"), QString());
        champ("Francs")->setFocus();

        taper(c.touche, Qt::AltModifier);

        // Pressed before the access key returns, not after a delay: no event loop has run.
        EXPECT_EQ(champ("Francs")->text(), c.francsApres);
        EXPECT_EQ(champ("Euros")->text(), c.eurosApres);
        EXPECT_EQ(fenetre->isVisible(), c.visibleApres);
    }
    EXPECT_TRUE(faux.messages.affiches.empty());

    // Effacer, then the next amount typed at once: what is typed stays.
    montrer();
    remplir(QStringLiteral("100"), QStringLiteral("15,24"));
    taper(Qt::Key_E, Qt::AltModifier);
    ecrire(QStringLiteral("250"));
    QApplication::processEvents();
    EXPECT_EQ(champ("Francs")->text(), QStringLiteral("250"));
    EXPECT_EQ(champ("Euros")->text(), QString());
}

TEST_F(DepartTest, Tab_walksFrancsEurosConvertirQuitterEffacer_neverTheLabels) {
    QStringList parcours;
    for (int i = 0; i < 5; ++i) {
        taper(Qt::Key_Tab);
        parcours << nomDuFocus();
    }
    EXPECT_EQ(parcours, (QStringList{"Euros", "Convertir", "Quitter", "Annuler", "Francs"}));
}

TEST_F(DepartTest, Controls_standWhereTheFormPlacesThem) {
    struct Cas {
        const char* nom;
        QString legende;
        QRect place;
    };
    const Cas cas[] = {
        {"Label1", "Francs", {8, 0, 57, 17}},
        {"Label2", "Euros", {136, 0, 57, 17}},
        {"Francs", "", {8, 16, 113, 25}},
        {"Euros", "", {136, 16, 113, 25}},
        {"Convertir", "&Convertir", {8, 48, 81, 25}},
        {"Annuler", "&Effacer", {112, 48, 81, 25}},
        {"Quitter", "&Q", {216, 48, 33, 25}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        const QWidget* controle = enfant<QWidget>(c.nom);
        ASSERT_NE(controle, nullptr);
        EXPECT_EQ(controle->geometry(), c.place);
        EXPECT_TRUE(controle->isVisible());
        if (qobject_cast<const QLineEdit*>(controle) == nullptr) { // the fields have Arial
            EXPECT_EQ(controle->font().families().value(0), QStringLiteral("MS Sans Serif"));
            EXPECT_EQ(controle->font().pointSizeF(), 8.25);
            EXPECT_TRUE(controle->font().bold());
        }
        if (const auto* etiquette = qobject_cast<const QLabel*>(controle)) {
            EXPECT_EQ(etiquette->text(), c.legende);
        } else if (const auto* b = qobject_cast<const QPushButton*>(controle)) {
            EXPECT_EQ(b->text(), c.legende);
        }
    }
}

TEST_F(DepartTest, Window_fixedSizeTitledWithoutCloseMinimiseOrMaximiseBox) {
    EXPECT_EQ(fenetre->windowTitle(), QStringLiteral("Tarvane"));
    EXPECT_EQ(fenetre->size(), QSize(255, 79));
    EXPECT_EQ(fenetre->minimumSize(), fenetre->maximumSize());

    const Qt::WindowFlags drapeaux = fenetre->windowFlags();
    EXPECT_EQ(fenetre->windowType(), Qt::Tool) << "a tool window has no task-bar button";
    EXPECT_TRUE(drapeaux.testFlag(Qt::CustomizeWindowHint));
    for (const Qt::WindowType boite : {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
                                       Qt::WindowMaximizeButtonHint, Qt::WindowSystemMenuHint}) {
        EXPECT_FALSE(drapeaux.testFlag(boite)) << int(boite);
    }
}

TEST_F(DepartTest, FirstShow_centresOnScreen_laterShowsKeepTheUsersPlace) {
    const QRect ecran = fenetre->screen()->availableGeometry();
    const QPoint ecart = fenetre->frameGeometry().center() - ecran.center();
    EXPECT_LE(ecart.manhattanLength(), 1) << ecart.x() << "," << ecart.y();

    fenetre->move(ecran.topLeft() + QPoint(10, 20));
    cliquer("Quitter");
    montrer();
    EXPECT_EQ(fenetre->pos(), ecran.topLeft() + QPoint(10, 20));
}

// The title bar that the window draws where the desktop's would offer other buttons (Wayland).
TEST(BarreTitreTest, SpansTheWindow_itsOnlyButtonClosesTheWindowAsTheDesktopsCloseBoxDoes) {
    QWidget fenetre;
    fenetre.resize(255, 100);
    auto* barre = new BarreTitre(fenetre);
    fenetre.show();
    const auto boutons = barre->findChildren<QToolButton*>();
    ASSERT_EQ(boutons.size(), 1);
    EXPECT_EQ(barre->geometry(), QRect(0, 0, 255, BarreTitre::hauteur()));
    EXPECT_TRUE(barre->rect().contains(boutons.first()->geometry()));
    EXPECT_GT(boutons.first()->x(), barre->width() / 2) << "the close button on the right";

    QTest::mouseClick(boutons.first(), Qt::LeftButton);
    EXPECT_FALSE(fenetre.isVisible());
}

} // namespace
