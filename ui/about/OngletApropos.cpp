#include "ui/about/OngletApropos.h"

#include "ui/about/Twips.h"

#include <QStackedWidget>
#include <QTabBar>

namespace {

// Each tab gets its natural width plus an equal share of what is left of the row.
class BarreOnglets : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        QSize taille = QTabBar::tabSizeHint(index);
        const QWidget* onglet = parentWidget();
        if (onglet == nullptr || count() == 0) {
            return taille;
        }
        int naturelle = 0;
        for (int i = 0; i < count(); ++i) {
            naturelle += QTabBar::tabSizeHint(i).width();
        }
        const int reste = onglet->width() - naturelle;
        if (reste > 0) {
            taille.rwidth() += reste / count() + (index < reste % count() ? 1 : 0);
        }
        return taille;
    }
};

} // namespace

OngletApropos::OngletApropos(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new BarreOnglets(this));
    // One row, never scrolled: with a wider font than designed the captions are shortened.
    tabBar()->setExpanding(false);
    tabBar()->setUsesScrollButtons(false);
    tabBar()->setElideMode(Qt::ElideRight);
}

void OngletApropos::placer(QWidget* controle, int gauche, int haut, int largeur, int hauteur) {
    m_places.push_back({controle, enPixels(gauche, haut, largeur, hauteur)});
    replacer();
}

void OngletApropos::showEvent(QShowEvent* evenement) {
    QTabWidget::showEvent(evenement);
    replacer();
}

void OngletApropos::resizeEvent(QResizeEvent* evenement) {
    QTabWidget::resizeEvent(evenement);
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
