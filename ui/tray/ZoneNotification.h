#pragma once

#include "ui/tray/IconeNotification.h"

#include <QMenu>
#include <QObject>
#include <QPointer>

class ProgrammeEnCours;
class QAction;
class QPoint;

// The program's place in the notification area: the icon record handed to the shell, the pop-up
// menu with its bold default item, and the decoding of the icon's messages. It acts on the window
// only through its signals; the window hands it the messages that reach its mouse-move handler.
class ZoneNotification : public QObject {
    Q_OBJECT

public:
    // The window receives the icon's messages and is the menu's parent.
    ZoneNotification(QWidget& fenetre, ShellIcone& shell, const ProgrammeEnCours& programme);
    ~ZoneNotification() override;

    // Adds the icon, with the given picture and the program's tooltip; removes it.
    void ajouterIcone(const QIcon& icone);
    void supprimerIcone();

    // A message of the icon, as the window's mouse-move handler receives it: X is the shell's
    // mouse-message code in twips. A left press asks for the window, a right release opens the
    // menu at the pointer; every other code is ignored.
    void recevoirMessage(float X);

    // Opens MenuPopUp at a screen position and returns once it is closed and the chosen item has
    // been handled. While it, or what an item opened, is up, a second opening does nothing.
    void ouvrirMenuPopUp(const QPoint& position);

signals:
    void affichageDemande(); // a left press on the icon
    void aproposChoisi();
    void quitterChoisi();

private:
    void executerElement(const QAction* element);

    QWidget& m_fenetre;
    ShellIcone& m_shell;
    const ProgrammeEnCours& m_programme;
    DonneesIcone m_donnees;

    QPointer<QMenu> MenuPopUp; // a child of the window, which may be destroyed first
    QAction* MenuApropos = nullptr;
    QAction* MenuQuitter = nullptr;

    bool m_menuOuvert = false; // the pop-up menu, or a dialog chosen from it, is up
};
