#pragma once

#include <QWidget>

class QToolButton;

// A title bar of the window's own, for desktops where neither the toolkit's nor the compositor's
// shows only the buttons the window has: the window's caption and a close button, which closes
// the window as the desktop's own would. Pressed anywhere else, it moves the window.
class BarreTitre : public QWidget {
    Q_OBJECT

public:
    explicit BarreTitre(QWidget& fenetre);

    // Its height, for the desktop's font.
    static int hauteur();

protected:
    bool event(QEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void paintEvent(QPaintEvent* evenement) override;
    void resizeEvent(QResizeEvent* evenement) override;

private:
    QToolButton* m_fermer;
};
