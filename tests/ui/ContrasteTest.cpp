// Every text of both windows reads on its background, under the light palette and a dark one.
#include "tests/support/FauxServices.h"
#include "tests/ui/about/BancApropos.h"
#include "ui/about/TexteRelief.h"

#include <cmath>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

double contraste(const QColor& a, const QColor& b) { // WCAG's, 1 to 21
    const auto l = [](const QColor& c) {
        const auto v = [](double x) {
            return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * v(c.redF()) + 0.7152 * v(c.greenF()) + 0.0722 * v(c.blueF()) + 0.05;
    };
    return std::max(l(a), l(b)) / std::min(l(a), l(b));
}

// Each control's text on what its own palette puts behind it.
void verifier(const QWidget* fenetre) {
    for (const QWidget* w : fenetre->findChildren<QWidget*>()) {
        QPalette::ColorRole texte = QPalette::ButtonText, fond = QPalette::Button;
        if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w)) {
            texte = QPalette::Text, fond = QPalette::Base;
        } else if (qobject_cast<const QLabel*>(w) && !qobject_cast<const TexteRelief*>(w)) {
            texte = QPalette::WindowText, fond = QPalette::Window;
        } else if (!qobject_cast<const QPushButton*>(w)) {
            continue;
        }
        EXPECT_GE(contraste(w->palette().color(texte), w->palette().color(fond)), 4.5)
            << w->objectName().toStdString();
    }
}

TEST(Contraste, EveryText_readsOnItsBackground_underALightAndADarkPalette) {
    const QPalette claire = QApplication::palette();
    const QPalette sombre(QColor(0x42, 0x42, 0x45), QColor(0x22, 0x20, 0x20)); // white text
    for (const QPalette* palette : {&claire, &sombre}) {
        SCOPED_TRACE(palette == &claire ? "light" : "dark");
        QApplication::setPalette(*palette);
        FauxServices faux;
        Depart fenetre(faux.services());
        fenetre.Form_Load();
        fenetre.show();
        verifier(&fenetre);
        BancApropos banc;
        Apropos& boite = banc.ouvrir();
        verifier(&boite);
        // The engraved title is drawn black: behind it, read from the box's pixels.
        const QPoint titre = banc.controle("Titre")->mapTo(&boite, QPoint(2, 2));
        EXPECT_GE(contraste(Qt::black, boite.grab().toImage().pixelColor(titre)), 4.5);
    }
    QApplication::setPalette(claire);
}

} // namespace
