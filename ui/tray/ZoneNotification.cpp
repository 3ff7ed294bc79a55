#include "ui/tray/ZoneNotification.h"

#include "platform/PresenceZoneNotification.h"
#include "platform/ProgrammeEnCours.h"
#include "ui/tray/DecoderMessageIcone.h"

#include <QCursor>
#include <QMenu>
#include <QScopedValueRollback>
#include <QWidget>

namespace {

constexpr float BoutonGauchePresse = WM_LBUTTONDOWN;
constexpr float BoutonDroitRelache = WM_RBUTTONUP;

} // namespace

ZoneNotification::ZoneNotification(QWidget& fenetre, ShellIcone& shell,
                                   const ProgrammeEnCours& programme,
                                   PresenceZoneNotification& presence)
    : QObject(&fenetre), m_fenetre(fenetre), m_shell(shell), m_programme(programme),
      m_presence(presence) {
    MenuPopUp = new QMenu(QStringLiteral("MenuPopUp"), &fenetre);
    MenuPopUp->setObjectName(QStringLiteral("MenuPopUp"));
    MenuApropos = MenuPopUp->addAction(QStringLiteral("&A propos"));
    MenuApropos->setObjectName(QStringLiteral("MenuApropos"));
    MenuQuitter = MenuPopUp->addAction(QStringLiteral("&Quitter"));
    MenuQuitter->setObjectName(QStringLiteral("MenuQuitter"));
    MenuPopUp->setDefaultAction(MenuApropos); // drawn in bold

    // Items chosen where the window did not open the menu itself: on a tray that draws it.
    connect(MenuApropos, &QAction::triggered, this, [this] { executerElement(MenuApropos); });
    connect(MenuQuitter, &QAction::triggered, this, [this] { executerElement(MenuQuitter); });
}

ZoneNotification::~ZoneNotification() {
    delete MenuPopUp.data();
}

void ZoneNotification::demarrer(const QIcon& icone) {
    if (m_demarree) {
        return;
    }
    m_demarree = true;
    m_icone = icone;
    connect(&m_presence, &PresenceZoneNotification::changee, this,
            &ZoneNotification::suivrePresence);
    suivrePresence(m_presence.presente());
}

void ZoneNotification::arreter() {
    disconnect(&m_presence, nullptr, this, nullptr);
    if (m_iconePresente) {
        m_iconePresente = false;
        IconeNotification(m_shell, m_donnees, &m_fenetre, NIM_DELETE);
    }
}

void ZoneNotification::suivrePresence(bool presente) {
    // Watchers may repeat themselves: only a change of state reaches the shell and the window.
    if (presente == m_iconePresente) {
        return;
    }
    if (presente) {
        m_shell.associerMenu(MenuPopUp);
        // A refused icon is no way back to the window: the program stays as without an area.
        m_iconePresente = IconeNotification(m_shell, m_donnees, &m_fenetre, NIM_ADD, m_icone,
                                            QStringLiteral("Tarvane Francs/Euros/Francs"));
        if (!m_iconePresente) {
            return;
        }
    } else {
        // The area took the icon with it; deleting ours lets the next area get a fresh one.
        m_iconePresente = false;
        IconeNotification(m_shell, m_donnees, &m_fenetre, NIM_DELETE);
    }
    emit iconeChangee(m_iconePresente);
}

void ZoneNotification::suspendreMenu() {
    if (m_suspensions++ == 0) {
        MenuApropos->setEnabled(false);
        MenuQuitter->setEnabled(false);
    }
}

void ZoneNotification::reprendreMenu() {
    if (--m_suspensions == 0) {
        MenuApropos->setEnabled(true);
        MenuQuitter->setEnabled(true);
    }
}

void ZoneNotification::recevoirMessage(float X) {
    const float code = DecoderMessageIcone(X, m_programme.twipsParPixel());
    if (code == BoutonGauchePresse) {
        emit affichageDemande();
    } else if (code == BoutonDroitRelache) {
        ouvrirMenuPopUp(QCursor::pos());
    }
}

void ZoneNotification::ouvrirMenuPopUp(const QPoint& position) {
    // While the menu, or the About box chosen from it, is up, this call has not returned: further
    // clicks on the icon open nothing more and end nothing under them.
    if (m_menuOuvert) {
        return;
    }
    const QScopedValueRollback occupation(m_menuOuvert, true);
    const QAction* choix = MenuPopUp->exec(position);
    if (choix == MenuApropos) {
        emit aproposChoisi();
    } else if (choix == MenuQuitter) {
        emit quitterChoisi();
    }
}

void ZoneNotification::executerElement(const QAction* element) {
    // An item of the window's own pop-up is run by ouvrirMenuPopUp once the menu has closed.
    if (m_menuOuvert) {
        return;
    }
    const QScopedValueRollback occupation(m_menuOuvert, true);
    if (element == MenuApropos) {
        emit aproposChoisi();
    } else {
        emit quitterChoisi();
    }
}
