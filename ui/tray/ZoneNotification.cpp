#include "ui/tray/ZoneNotification.h"

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
                                   const ProgrammeEnCours& programme)
    : QObject(&fenetre), m_fenetre(fenetre), m_shell(shell), m_programme(programme) {
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

void ZoneNotification::ajouterIcone(const QIcon& icone) {
    m_shell.associerMenu(MenuPopUp);
    IconeNotification(m_shell, m_donnees, &m_fenetre, NIM_ADD, icone,
                      QStringLiteral("Tarvane Francs/Euros/Francs"));
}

void ZoneNotification::supprimerIcone() {
    IconeNotification(m_shell, m_donnees, &m_fenetre, NIM_DELETE);
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
