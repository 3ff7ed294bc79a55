#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;
class QWindow;

// The leave to activate a window that a tray host hands over before a click (GNOME Shell's
// extension on a double click and on each menu entry, Plasma before every click): on Wayland the
// compositor raises and focuses an existing window only with it, and the host's start-up
// sequence, a busy pointer, ends only when it is used on a window that is on screen (mutter drops
// it for a window still being mapped). Qt's Wayland plugin sends it from XDG_ACTIVATION_TOKEN at
// an activation; it is put there only at the moment of its use. Elsewhere nothing is kept.
class JetonActivation : public QObject {
public:
    // Keeps the token, on Wayland, for the window that the click brings, or failing that the
    // next window that takes the keyboard (the About box that a menu entry opens).
    void recevoir(const QString& jeton);
    // After the click that the token came with: the program's window on screen (its modal box
    // first) is activated with it, at once or as soon as it is drawn; with none, it is dropped.
    void utiliser(QWidget& fenetre);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void activer(QWindow* fenetre);
    void oublier();

    QString m_jeton;              // handed over and not used yet
    QPointer<QWindow> m_attendue; // shown but not yet drawn: activated at its first exposure
    QMetaObject::Connection m_suivi;
};
