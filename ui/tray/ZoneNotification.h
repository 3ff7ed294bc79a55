#pragma once

#include "ui/tray/IconeNotification.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QTimer>

class PresenceZoneNotification;
class ProgrammeEnCours;
class QAction;
class QPoint;

// The program's place in the notification area: the icon record handed to the shell, the pop-up
// menu with its bold default item, the decoding of the icon's messages, and the watch on the
// notification area itself, which panels bring late, take away and bring back. It acts on the
// window only through its signals; the window hands it the messages of its mouse-move handler.
class ZoneNotification : public QObject {
    Q_OBJECT

public:
    // The window receives the icon's messages and is the menu's parent.
    ZoneNotification(QWidget& fenetre, ShellIcone& shell, const ProgrammeEnCours& programme,
                     PresenceZoneNotification& presence);
    ~ZoneNotification() override;

    // From start-up on, the icon, with the given picture and the program's tooltip, is in the
    // notification area whenever there is one: added now if there is, and added or removed as
    // one comes and goes. Nothing is asked of the shell while there is none.
    void demarrer(const QIcon& icone);
    // Removes the icon for good, if it is there.
    void arreter();

    // Whether a notification area shows the icon, the window's way back. An icon handed to the
    // shell counts only once an area has taken it, within DelaiAccueilMs; until then, and
    // whenever that stops being true, it does not.
    bool iconePresente() const { return m_iconePresente; }
    // Whether that is not known yet: an icon waits for its area, or the first look at the
    // desktop is under way. iconeChangee() tells the outcome.
    bool enAttente() const { return m_attente.isActive(); }

    static constexpr int DelaiAccueilMs = 2000;

    // A message of the icon, as the window's mouse-move handler receives it: X is the shell's
    // mouse-message code in twips. A left press asks for the window, a right release opens the
    // menu at the pointer; every other code is ignored.
    void recevoirMessage(float X);

    // Opens MenuPopUp at a screen position, through the shell, which may show a menu of its own
    // made from it, and returns once it is closed and the chosen item has been handled. While it,
    // or what an item opened, is up, a second opening does nothing.
    void ouvrirMenuPopUp(const QPoint& position);

    // While the window shows a box of its own, the menu's items are disabled, so that a tray that
    // draws the menu itself offers nothing that would do nothing. Calls nest.
    void suspendreMenu();
    void reprendreMenu();

signals:
    void affichageDemande(); // a left press on the icon
    void aproposChoisi();
    void quitterChoisi();
    // The icon came into a notification area, or left it with the area; also once when a wait
    // ends without one.
    void iconeChangee(bool presente);

private:
    void suivrePresence();
    void delaiEcoule();
    void retirerIcone();
    void executerElement(const QAction* element);

    QWidget& m_fenetre;
    ShellIcone& m_shell;
    const ProgrammeEnCours& m_programme;
    PresenceZoneNotification& m_presence;
    DonneesIcone m_donnees;
    QIcon m_icone;

    QPointer<QMenu> MenuPopUp; // a child of the window, which may be destroyed first
    QAction* MenuApropos = nullptr;
    QAction* MenuQuitter = nullptr;

    QTimer m_attente; // the deadline of the wait for an area
    bool m_demarree = false;
    bool m_iconeAjoutee = false;  // handed to the shell
    bool m_refusee = false;       // not taken in time: not offered again until the area changes
    bool m_iconePresente = false; // shown by an area
    bool m_menuOuvert = false;    // the pop-up menu, or a dialog chosen from it, is up
    int m_suspensions = 0;
};

// Suspends the menu of a place in the notification area for the life of a scope.
class MenuSuspendu {
public:
    explicit MenuSuspendu(ZoneNotification& zone) : m_zone(zone) { m_zone.suspendreMenu(); }
    ~MenuSuspendu() { m_zone.reprendreMenu(); }
    MenuSuspendu(const MenuSuspendu&) = delete;
    MenuSuspendu& operator=(const MenuSuspendu&) = delete;

private:
    ZoneNotification& m_zone;
};
