// What a screen reader finds in both windows: every control that takes the keyboard focus has a
// name that says something and, beyond the page tabs, a description.
#include "tests/support/FauxServices.h"
#include "tests/ui/about/BancApropos.h"

#include <gtest/gtest.h>
#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>

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
