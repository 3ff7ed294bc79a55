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

    // A tray that draws the menu itself tells it is opening; the window's own pop-up is not it.
    connect(MenuPopUp, &QMenu::aboutToShow, this, [this] {
        if (!m_menuOuvert && m_presence.menuAuClicGauche()) {
            emit affichageDemande();
        }
    });

    m_attente.setSingleShot(true);
    m_attente.setInterval(DelaiAccueilMs);
    connect(&m_attente, &QTimer::timeout, this, &ZoneNotification::delaiEcoule);
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
    connect(&m_presence, &PresenceZoneNotification::changee, this, [this] {
        m_refusee = false; // a new area, or the same one back: worth another try
        suivrePresence();
    });
    connect(&m_presence, &PresenceZoneNotification::accueilChange, this,
            &ZoneNotification::suivrePresence);
    if (m_presence.enCours()) {
        m_attente.start();
    }
    suivrePresence();
}

void ZoneNotification::arreter() {
    disconnect(&m_presence, nullptr, this, nullptr);
    m_attente.stop();
    retirerIcone();
    m_iconePresente = false;
}

void ZoneNotification::retirerIcone() {
    if (m_iconeAjoutee) {
        m_iconeAjoutee = false;
        IconeNotification(m_shell, m_donnees, &m_fenetre, NIM_DELETE);
    }
}

void ZoneNotification::suivrePresence() {
    const bool attendait = m_attente.isActive();
    if (!m_presence.presente()) {
        // The area took the icon with it; deleting ours lets the next area get a fresh one.
        retirerIcone();
    } else if (!m_iconeAjoutee && !m_refusee) {
        m_shell.associerMenu(MenuPopUp);
        m_iconeAjoutee = IconeNotification(m_shell, m_donnees, &m_fenetre, NIM_ADD, m_icone,
                                           QStringLiteral("Tarvane Francs/Euros/Francs"));
        if (m_iconeAjoutee) {
            m_attente.start();
            m_presence.iconeAjoutee(); // may answer at once, through this function again
        }
    }
    if (!m_iconeAjoutee && !m_presence.enCours()) {
        m_attente.stop(); // nothing to wait for: no icon out, and the first look is over
    }

    const bool montree = m_iconeAjoutee && m_presence.accueillie();
    if (montree) {
        m_attente.stop();
    } else if (m_iconePresente && m_iconeAjoutee && !attendait && m_presence.retourPossible()) {
        // The area no longer shows it, and is still there: the toolkit may be handing it a new
        // window for the same icon, as it does when an area announces itself. The usual wait
        // decides; an area that went away ends it at once (the icon is then withdrawn above).
        m_attente.start();
    }
    if (!montree && m_attente.isActive()) {
        return; // the wait goes on
    }
    if (montree == m_iconePresente && (!attendait || montree)) {
        return; // nothing new: no wait to end, or shown again within it
    }
    m_iconePresente = montree;
    emit iconeChangee(montree);
}

void ZoneNotification::delaiEcoule() {
    if (m_iconeAjoutee && m_presence.accueillie()) {
        return;
    }
    // No area took the icon in time: the program goes on as without an area, and offers the icon
    // again when the area changes.
    if (m_iconeAjoutee) {
        retirerIcone();
        m_refusee = true;
    }
    m_iconePresente = false;
    emit iconeChangee(false);
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
    const QAction* choix = m_shell.ouvrirMenu(*MenuPopUp, position);
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
