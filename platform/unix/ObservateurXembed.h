#pragma once

#include <functional>
#include <memory>
#include <QAbstractNativeEventFilter>
#include <vector>
#include <xcb/xcb.h>

// The XEmbed tray of the screen: the owner of the manager selection. A tray that takes the
// selection announces it with a MANAGER client message on the root window; a tray that goes
// away destroys the window that owned it. Both events come through Qt's own X connection.
class ObservateurXembed : public QAbstractNativeEventFilter {
public:
    // The watcher of the screen Qt opened, when Qt runs on X11; none elsewhere. changement is
    // called at each change of tray or of the windows holding our icon.
    static std::unique_ptr<ObservateurXembed> surEcranDeQt(std::function<void()> changement);

    ObservateurXembed(xcb_connection_t* connexion, int ecran, std::function<void()> changement);
    ~ObservateurXembed() override;
    ObservateurXembed(const ObservateurXembed&) = delete;
    ObservateurXembed& operator=(const ObservateurXembed&) = delete;

    bool present() const { return m_proprietaire != XCB_WINDOW_NONE; }
    xcb_window_t fenetreProprietaire() const { return m_proprietaire; }

    // Whether a tray shows an icon of ours: Qt's icon window (override-redirect, so no window
    // manager frames it) has been taken from the root window into a window that is viewable,
    // mapped along with all its ancestors. A tray may take the icon into a window that it never
    // shows: those windows are followed, so that their mapping or unmapping is seen at once.
    bool iconeEmbarquee();

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override;

private:
    xcb_atom_t atome(const QByteArray& nom);
    std::vector<xcb_window_t> ancetres(xcb_window_t fenetre) const;
    bool visible(xcb_window_t fenetre) const;
    void suivre(xcb_window_t fenetre);
    bool suivie(xcb_window_t fenetre) const;
    xcb_window_t proprietaire();
    void suivreProprietaire();
    void relire();

    xcb_connection_t* m_connexion;
    std::function<void()> m_changement;
    xcb_window_t m_racine = XCB_WINDOW_NONE;
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    xcb_atom_t m_manager = XCB_ATOM_NONE;
    xcb_window_t m_proprietaire = XCB_WINDOW_NONE;
    std::vector<xcb_window_t> m_suivies; // the windows holding our icon, followed
};
