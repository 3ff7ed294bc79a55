#include "ui/about/OngletApropos.h"

#include "ui/Polices.h"
#include "ui/Twips.h"

#include <QEvent>
#include <QStackedWidget>
#include <QTabBar>

namespace {

// Each tab gets its natural width plus an equal share of what is left of the row.
class BarreOnglets : public QTabBar {
public:
    using QTabBar::QTabBar;

    // The width of the tabs side by side, each just wide enough for its caption.
    int largeurNaturelle() const {
        int naturelle = 0;
        for (int i = 0; i < count(); ++i) {
            naturelle += QTabBar::tabSizeHint(i).width();
        }
        return naturelle;
    }

protected:
    QSize tabSizeHint(int index) const override {
        QSize taille = QTabBar::tabSizeHint(index);
        const QWidget* onglet = parentWidget();
        if (onglet == nullptr || count() == 0) {
            return taille;
        }
        const int reste = onglet->width() - largeurNaturelle();
        if (reste > 0) {
            taille.rwidth() += reste / count() + (index < reste % count() ? 1 : 0);
        }
        return taille;
    }
};

} // namespace

OngletApropos::OngletApropos(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new BarreOnglets(this));
    // One row, never scrolled, no caption shortened: the captions' font is chosen to fit.
    tabBar()->setExpanding(false);
    tabBar()->setUsesScrollButtons(false);
    tabBar()->setElideMode(Qt::ElideNone);
}

void OngletApropos::placer(QWidget* controle, int gauche, int haut, int largeur, int hauteur) {
    m_places.push_back({controle, enPixels(gauche, haut, largeur, hauteur)});
    replacer();
}

void OngletApropos::showEvent(QShowEvent* evenement) {
    ajusterLegendes();
    QTabWidget::showEvent(evenement);
    replacer();
}

void OngletApropos::changeEvent(QEvent* evenement) {
    QTabWidget::changeEvent(evenement);
    if (evenement->type() == QEvent::FontChange || evenement->type() == QEvent::StyleChange) {
        ajusterLegendes();
    }
}

void OngletApropos::tabInserted(int index) {
    QTabWidget::tabInserted(index);
    ajusterLegendes();
}

void OngletApropos::ajusterLegendes() {
    // The bar takes its own font, chosen from the tab control's, so that a font change of the
    // box starts again from the designed one.
    auto* barre = static_cast<BarreOnglets*>(tabBar());
    const QFont police = policeQuiTient(font(), [&](const QFont& essai) {
        barre->setFont(essai);
        return barre->largeurNaturelle() <= width();
    });
    barre->setFont(police);
}

void OngletApropos::resizeEvent(QResizeEvent* evenement) {
    QTabWidget::resizeEvent(evenement);
    ajusterLegendes();
    replacer();
}

void OngletApropos::replacer() {
    // Every page fills the stack, so the stack's corner is where each page's area starts.
    const auto* pile = findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    const QPoint debutPage = pile != nullptr ? pile->geometry().topLeft() : QPoint();
    for (const Place& place : m_places) {
        if (place.controle) {
            place.controle->setGeometry(place.pixels.translated(-debutPage));
        }
    }
}
