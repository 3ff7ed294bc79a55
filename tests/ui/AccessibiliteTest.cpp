// What a screen reader finds in both windows: every control that takes the keyboard focus has a
// name that says something and, beyond the page tabs, a description.
#include "core/ConvertirMontants.h"
#include "tests/support/FauxServices.h"
#include "tests/ui/about/BancApropos.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <utility>

namespace {

struct Controle {
    QString chemin; // object names from the window down, for the failure message
    QAccessible::Role role;
    QString nom;
    QString description;
};

void parcourir(QAccessibleInterface* element, const QString& chemin,
               std::vector<Controle>& focusables) {
    // What is not shown is not read either (each page is walked while it is shown).
    if (element == nullptr || element->state().invisible) {
        return;
    }
    const QObject* objet = element->object();
    const QString ici =
        chemin + QStringLiteral("/") +
        (objet != nullptr && !objet->objectName().isEmpty()
             ? objet->objectName()
             : QStringLiteral("[%1]").arg(static_cast<int>(element->role()), 0, 16));
    if (element->state().focusable) {
        focusables.push_back({ici, element->role(), element->text(QAccessible::Name),
                              element->text(QAccessible::Description)});
    }
    for (int i = 0; i < element->childCount(); ++i) {
        parcourir(element->child(i), ici, focusables);
    }
}

std::vector<Controle> focusables(QWidget* fenetre) {
    std::vector<Controle> trouves;
    parcourir(QAccessible::queryAccessibleInterface(fenetre), QString(), trouves);
    return trouves;
}

// A name must say something: a bare access key such as "Q" says nothing.
QStringList fautes(const std::vector<Controle>& controles) {
    QStringList liste;
    for (const Controle& c : controles) {
        if (c.nom.trimmed().size() < 2) {
            liste << c.chemin + QStringLiteral(": name '") + c.nom + QStringLiteral("'");
        }
        // Tabs, and the row of tabs (which Qt names after the page shown and never describes),
        // are described by their pages.
        const bool onglet = c.role == QAccessible::PageTab || c.role == QAccessible::PageTabList;
        if (!onglet && c.description.trimmed().isEmpty()) {
            liste << c.chemin + QStringLiteral(" (") + c.nom + QStringLiteral("): no description");
        }
    }
    return liste;
}

TEST(Accessibilite, Depart_everyFocusableControlNamedAndDescribed) {
    FauxServices faux;
    Depart fenetre(faux.services());
    fenetre.Form_Load();
    fenetre.show();

    const std::vector<Controle> controles = focusables(&fenetre);
    // Both fields and the three buttons, at least: a walk that found nothing would prove nothing.
    EXPECT_GE(controles.size(), 5u);
    const QStringList erreurs = fautes(controles);
    EXPECT_TRUE(erreurs.isEmpty()) << erreurs.join(QStringLiteral("\n")).toStdString();
}

TEST(Accessibilite, QButton_namedForWhatItDoes_hidingOrEndingTheProgram) {
    FauxServices avecZone;
    Depart cache(avecZone.services());
    cache.Form_Load();
    cache.show(); // as a left click on the icon does; the controls are built then
    FauxServices sansZone;
    sansZone.presence.zone = false;
    Depart seul(sansZone.services());
    seul.Form_Load();

    const auto nom = [](const Depart& fenetre) {
        return fenetre.findChild<QPushButton*>(QStringLiteral("Quitter"))->accessibleName();
    };
    // Where nothing could bring the window back, the button ends the program: it must not say
    // that it hides the window.
    EXPECT_EQ(nom(cache).toStdString(), "Masquer la fenêtre");
    EXPECT_EQ(nom(seul).toStdString(), "Quitter Tarvane");
}

// A reader reads a field's text run of attributes by run, as Orca does to find each run's
// language, and speaks what the runs cover: every run must hold the offset asked for, and the
// runs together the whole amount, its last character too.
TEST(Accessibilite, AmountFields_readRunByRun_giveTheWholeText) {
    FauxServices faux;
    Depart fenetre(faux.services());
    fenetre.Form_Load();
    fenetre.show();

    for (const char* nom : {"Francs", "Euros"}) {
        auto* zone = fenetre.findChild<QLineEdit*>(QString::fromLatin1(nom));
        ASSERT_NE(zone, nullptr) << nom;
        for (const char* texte : {"", "7", "1234", "188,12"}) {
            SCOPED_TRACE(std::string(nom) + " '" + texte + "'");
            zone->setText(QString::fromUtf8(texte));
            QAccessibleTextInterface* lu =
                QAccessible::queryAccessibleInterface(zone)->textInterface();
            ASSERT_NE(lu, nullptr);
            QString lus;
            for (int offset = 0; offset < lu->characterCount();) {
                int debut = -1;
                int fin = -1;
                EXPECT_TRUE(lu->attributes(offset, &debut, &fin).isEmpty());
                ASSERT_LE(debut, offset) << "run at offset " << offset;
                ASSERT_GT(fin, offset) << "run at offset " << offset << " holds nothing";
                lus += lu->text(offset, fin);
                offset = fin;
            }
            EXPECT_EQ(lus.toStdString(), texte);
        }
    }
}

// The fields' interface is the program's own: through it a reader sees and changes what a user
// sees and types, no more (the length limit holds for text written by a reader).
TEST(Accessibilite, AmountFields_throughTheReader_asTyped_lengthLimitKept) {
    FauxServices faux;
    Depart fenetre(faux.services());
    fenetre.Form_Load();
    fenetre.show();
    auto* zone = fenetre.findChild<QLineEdit*>(QStringLiteral("Euros"));
    ASSERT_NE(zone, nullptr);
    QAccessibleInterface* lu = QAccessible::queryAccessibleInterface(zone);
    ASSERT_NE(lu->editableTextInterface(), nullptr);

    zone->setText(QStringLiteral("15,24"));
    zone->setSelection(3, 2);
    EXPECT_EQ(lu->text(QAccessible::Value).toStdString(), "15,24");
    EXPECT_TRUE(lu->state().editable && lu->state().selectableText && !lu->state().readOnly);
    int debut = -1;
    int fin = -1;
    ASSERT_EQ(lu->textInterface()->selectionCount(), 1);
    lu->textInterface()->selection(0, &debut, &fin);
    EXPECT_EQ(std::make_pair(debut, fin), std::make_pair(3, 5));

    lu->setText(QAccessible::Value, QString(LongueurSaisieMaximale + 1, QLatin1Char('9')));
    EXPECT_EQ(zone->text().toStdString(), "15,24") << "a reader wrote past the length limit";
    lu->setText(QAccessible::Value, QStringLiteral("2,5"));
    EXPECT_EQ(zone->text().toStdString(), "2,5");
}

// A conversion's result is announced to a reader that listens; with none (as here: no reader has
// turned Qt's accessibility on), nothing is made for one.
TEST(Accessibilite, Conversion_withNoReaderListening_makesNothingForOne) {
    ASSERT_FALSE(QAccessible::isActive());
    FauxServices faux;
    Depart fenetre(faux.services());
    fenetre.Form_Load();
    fenetre.show();
    fenetre.findChild<QLineEdit*>(QStringLiteral("Francs"))->setText(QStringLiteral("100"));
    const auto avant = fenetre.findChildren<QObject*>().size();

    fenetre.Convertir_Click();
    EXPECT_EQ(fenetre.findChild<QLineEdit*>(QStringLiteral("Euros"))->text().toStdString(),
              "15,24");
    EXPECT_EQ(fenetre.findChildren<QObject*>().size(), avant);
}

TEST(Accessibilite, Apropos_everyPageEveryFocusableControlNamedAndDescribed) {
    BancApropos banc;
    Apropos& boite = banc.ouvrir();
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(&boite)->text(QAccessible::Name).isEmpty())
        << "the box has no title; screen readers need its name";

    QTabWidget* onglet = banc.onglet();
    ASSERT_NE(onglet, nullptr);
    for (int page = 0; page < onglet->count(); ++page) {
        SCOPED_TRACE(onglet->tabText(page).toStdString());
        onglet->setCurrentIndex(page);
        QApplication::processEvents();

        EXPECT_FALSE(onglet->widget(page)->accessibleDescription().isEmpty());
        const std::vector<Controle> controles = focusables(&boite);
        const QStringList erreurs = fautes(controles);
        EXPECT_TRUE(erreurs.isEmpty()) << erreurs.join(QStringLiteral("\n")).toStdString();
    }
}

} // namespace
