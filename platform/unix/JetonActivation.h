#pragma once

#include <QMetaObject>
#include <QString>

class QWidget;
class QWindow;

// The leave to activate a window that a tray host hands over before a click (GNOME Shell's
// extension on a double click and on each menu entry, Plasma before every click): on Wayland the
// compositor raises and focuses a window only with it, and the host's start-up sequence, a busy
// pointer, ends only when it is used. Qt's Wayland plugin takes it from XDG_ACTIVATION_TOKEN at
// the next activation of a window, and removes it from there; elsewhere nothing is kept.
class JetonActivation {
public:
    JetonActivation() = default;
    ~JetonActivation();
    JetonActivation(const JetonActivation&) = delete;
    JetonActivation& operator=(const JetonActivation&) = delete;

    // Keeps the token for the next activation, on Wayland. A window that the click opened and
    // the compositor focused without it (the About box) is activated with it then.
    void recevoir(const QString& jeton);
    // After the click that the token came with, if the click did not use it: the program's
    // window on screen (its modal box first) is activated now; with none, the token is dropped.
    // Either way it is not left to an unrelated activation later.
    void utiliser(QWidget& fenetre);

private:
    void fenetreActive(QWindow* fenetre);
    void oublier();

    QString m_jeton; // handed over and maybe not used yet
    QMetaObject::Connection m_suivi;
};
