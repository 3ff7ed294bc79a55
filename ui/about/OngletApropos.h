#pragma once

#include <QPointer>
#include <QRect>
#include <QTabWidget>
#include <vector>

// The About box's tab control. Its pages' controls were placed in twips from the top-left
// corner of the whole tab control, tab row included, whereas Qt puts a page below its tab row
// at a height that depends on the style; each control is therefore moved up by wherever the
// page area starts, so that it lands at its designed place within the tab control. The tabs
// share out the whole width, as on a tab control with all its tabs in one row; where the font
// found is wider than the designed one, the captions take a narrower or smaller one instead of
// being cut.
class OngletApropos : public QTabWidget {
    Q_OBJECT

public:
    explicit OngletApropos(QWidget* parent);

    // Places a control of one of the pages, in twips from the tab control's top-left corner.
    void placer(QWidget* controle, int gauche, int haut, int largeur, int hauteur);

protected:
    void showEvent(QShowEvent* evenement) override;
    void resizeEvent(QResizeEvent* evenement) override;
    void changeEvent(QEvent* evenement) override;
    void tabInserted(int index) override;

private:
    void replacer();
    void ajusterLegendes();

    struct Place {
        QPointer<QWidget> controle;
        QRect pixels; // from the tab control's top-left corner
    };
    std::vector<Place> m_places;
};
