// Giant pastes into Francs: a text longer than any amount is refused whole and the field keeps
// what it had; a text of exactly the longest length is taken, and converting it is refused with a
// message, keeps what was pasted and leaves the other field alone. Run under the hand-written
// French settings and under the toolkit's, whose parser sees the whole text.
#include "core/ConvertirMontants.h"
#include "platform/LocaleQt.h"
#include "tests/support/FauxServices.h"
#include "tests/support/FenetreActive.h"
#include "tests/support/MessagesConversion.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

constexpr qsizetype UnMillion = 1000000;
constexpr qsizetype Limite = LongueurSaisieMaximale;

const QString MessageFrancs = QString::fromUtf8(messages::Francs);
const QString MessageDeuxRemplies = QString::fromUtf8(messages::DeuxRemplies);

// `taille` characters in all: `fin` at the end, `remplissage` before it.
QString texteDe(qsizetype taille, QChar remplissage, const QString& fin = QString()) {
    return QString(taille - fin.size(), remplissage) + fin;
}

struct Reglages {
    const char* nom;
    std::function<std::unique_ptr<LocaleNumerique>()> creer;
};

const Reglages reglages[] = {
    {"hand-written French settings", [] { return std::make_unique<FausseLocaleFrancaise>(); }},
    {"QLocale French settings",
     [] { return std::make_unique<LocaleQt>(QLocale(QLocale::French, QLocale::France)); }},
};

class CollageGeantTest : public ::testing::Test {
protected:
    void ouvrir(const LocaleNumerique& locale) {
        fenetre.reset();
        fenetre = std::make_unique<Depart>(faux.services(locale, faux.messages));
        fenetre->Form_Load();
        fenetre->show();
        ASSERT_TRUE(rendreActive(fenetre.get()));
        faux.messages.affiches.clear();
    }

    QLineEdit* champ(const char* nom) const {
        return fenetre->findChild<QLineEdit*>(QString::fromLatin1(nom));
    }

    // As a user pastes: the text on the clipboard, Ctrl+V at the end of Francs holding `avant`.
    void collerDansFrancs(const QString& texte, const QString& avant = QString()) {
        champ("Francs")->setText(avant);
        champ("Francs")->setFocus();
        champ("Francs")->end(false);
        QApplication::clipboard()->setText(texte);
        QTest::keyClick(champ("Francs"), Qt::Key_V, Qt::ControlModifier);
    }

    FauxServices faux;
    std::unique_ptr<Depart> fenetre;
};

TEST_F(CollageGeantTest, PasteLongerThanTheLimit_isRefusedWhole_theFieldKeepsWhatItHad) {
    struct Cas {
        const char* nom;
        QString avant;
        QString colle;
    };
    const Cas cas[] = {
        {"a million digits into the empty field", QString(), texteDe(UnMillion, QLatin1Char('1'))},
        {"ten million letters after an amount", QStringLiteral("100"),
         texteDe(10 * UnMillion, QLatin1Char('x'))},
        {"one character over the limit", QString(), texteDe(Limite + 1, QLatin1Char('1'))},
        {"a short paste that the text already there takes over the limit",
         texteDe(Limite - 3, QLatin1Char('1')), QStringLiteral("2345")},
    };
    const FausseLocaleFrancaise locale;
    ouvrir(locale);
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        collerDansFrancs(c.colle, c.avant);
        EXPECT_TRUE(champ("Francs")->text() == c.avant)
            << "kept " << champ("Francs")->text().size() << " characters, not " << c.avant.size();
    }
    EXPECT_TRUE(faux.messages.affiches.empty());
}

TEST_F(CollageGeantTest, PasteOfExactlyTheLimit_isTaken_andGivesItsVerdictKeepingBothTexts) {
    struct Cas {
        const char* nom;
        QString colle;
        QString euros; // Euros, before the click and after it
        QString message;
    };
    const Cas cas[] = {
        {"letters", texteDe(Limite, QLatin1Char('x')), QString(), MessageFrancs},
        {"blanks", texteDe(Limite, QLatin1Char(' ')), QString(), MessageFrancs},
        {"digits then a letter", texteDe(Limite, QLatin1Char('1'), QStringLiteral("x")), QString(),
         MessageFrancs},
        {"letters beside filled Euros", texteDe(Limite, QLatin1Char('x')), QStringLiteral("12,5"),
         MessageDeuxRemplies},
    };
    for (const Reglages& r : reglages) {
        const auto locale = r.creer();
        ouvrir(*locale);
        for (const Cas& c : cas) {
            SCOPED_TRACE(std::string(c.nom) + " under " + r.nom);
            champ("Euros")->setText(c.euros);
            collerDansFrancs(c.colle);
            ASSERT_TRUE(champ("Francs")->text() == c.colle)
                << "the paste arrived whole, not " << champ("Francs")->text().size()
                << " characters";
            faux.messages.affiches.clear();

            QTest::mouseClick(fenetre->findChild<QPushButton*>(QStringLiteral("Convertir")),
                              Qt::LeftButton);

            ASSERT_EQ(faux.messages.affiches.size(), 1u);
            EXPECT_EQ(faux.messages.affiches.front().texte, c.message);
            EXPECT_TRUE(champ("Francs")->text() == c.colle) << "the pasted text is never rewritten";
            EXPECT_EQ(champ("Euros")->text().toStdString(), c.euros.toStdString());
        }
    }
}

// The longest number the field takes, 512 digits, is beyond the range of doubles: refused as not
// numeric under both settings, never an infinity written and never a crash.
TEST_F(CollageGeantTest, LongestDigitPaste_isRefusedAsNotNumeric_allOfItSelected) {
    const QString chiffres = texteDe(Limite, QLatin1Char('1'));
    for (const Reglages& r : reglages) {
        SCOPED_TRACE(r.nom);
        const auto locale = r.creer();
        ouvrir(*locale);
        collerDansFrancs(chiffres);
        ASSERT_EQ(champ("Francs")->text().size(), Limite);

        QTest::mouseClick(fenetre->findChild<QPushButton*>(QStringLiteral("Convertir")),
                          Qt::LeftButton);

        ASSERT_EQ(faux.messages.affiches.size(), 1u);
        EXPECT_EQ(faux.messages.affiches.front().texte, MessageFrancs);
        EXPECT_TRUE(champ("Francs")->text() == chiffres);
        EXPECT_EQ(champ("Francs")->selectedText().size(), Limite);
        EXPECT_TRUE(champ("Euros")->text().isEmpty())
            << champ("Euros")->text().left(80).toStdString();
    }
}

} // namespace
