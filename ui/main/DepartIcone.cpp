// The notification icon's messages, which reach the window as mouse moves, and the pop-up menu.
#include "platform/ProgrammeEnCours.h"
#include "platform/ShellIcone.h"
#include "ui/main/Depart.h"
#include "ui/tray/DecoderMessageIcone.h"

#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

namespace {

constexpr float BoutonGauchePresse = WM_LBUTTONDOWN;
constexpr float BoutonDroitRelache = WM_RBUTTONUP;

// Button and Shift arguments of the mouse handlers: 1 left, 2 right, 4 middle; 1 Shift, 2 Ctrl,
// 4 Alt.
int boutons(Qt::MouseButtons etat) {
    return (etat & Qt::LeftButton ? 1 : 0) | (etat & Qt::RightButton ? 2 : 0) |
           (etat & Qt::MiddleButton ? 4 : 0);
}

int touches(Qt::KeyboardModifiers etat) {
    return (etat & Qt::ShiftModifier ? 1 : 0) | (etat & Qt::ControlModifier ? 2 : 0) |
           (etat & Qt::AltModifier ? 4 : 0);
}

// Set for the life of a scope, however it is left.
class Occupation {
public:
    explicit Occupation(bool& drapeau) : m_drapeau(drapeau) { m_drapeau = true; }
    ~Occupation() { m_drapeau = false; }
    Occupation(const Occupation&) = delete;
    Occupation& operator=(const Occupation&) = delete;

private:
    bool& m_drapeau;
};

} // namespace

void Depart::creerMenu() {
    MenuPopUp = new QMenu(QStringLiteral("MenuPopUp"), this);
    MenuPopUp->setObjectName(QStringLiteral("MenuPopUp"));
    MenuApropos = MenuPopUp->addAction(QStringLiteral("&A propos"));
    MenuApropos->setObjectName(QStringLiteral("MenuApropos"));
    MenuQuitter = MenuPopUp->addAction(QStringLiteral("&Quitter"));
    MenuQuitter->setObjectName(QStringLiteral("MenuQuitter"));
    MenuPopUp->setDefaultAction(MenuApropos); // drawn in bold

    // Items chosen where the window did not open the menu itself: on a tray that draws it.
    connect(MenuApropos, &QAction::triggered, this, [this] { executerElementMenu(MenuApropos); });
    connect(MenuQuitter, &QAction::triggered, this, [this] { executerElementMenu(MenuQuitter); });
}

void Depart::Form_MouseMove(int Button, int Shift, float X, float Y) {
    (void)Button;
    (void)Shift;
    (void)Y;
    const float code = DecoderMessageIcone(X, m_services.programme.twipsParPixel());
    if (code == BoutonGauchePresse) {
        // A double click sends this twice: showing must leave a shown window as it is.
        if (!isVisible()) {
            show();
            raise();
            activateWindow();
            Francs->setFocus();
        }
    } else if (code == BoutonDroitRelache) {
        ouvrirMenuPopUp(QCursor::pos());
    }
}

void Depart::mouseMoveEvent(QMouseEvent* evenement) {
    const int twips = m_services.programme.twipsParPixel();
    const QPointF position = evenement->position();
    Form_MouseMove(boutons(evenement->buttons()), touches(evenement->modifiers()),
                   static_cast<float>(position.x() * twips),
                   static_cast<float>(position.y() * twips));
}

void Depart::ouvrirMenuPopUp(const QPoint& position) {
    // While the menu, or the About box chosen from it, is up, this handler has not returned:
    // further clicks on the icon open nothing more and end nothing under them.
    if (m_menuOuvert) {
        return;
    }
    const Occupation occupation(m_menuOuvert);
    QAction* choix = MenuPopUp->exec(position);
    if (choix == MenuApropos) {
        MenuApropos_Click();
    } else if (choix == MenuQuitter) {
        MenuQuitter_Click();
    }
}

void Depart::executerElementMenu(QAction* element) {
    // An item of the window's own pop-up is run by ouvrirMenuPopUp once the menu has closed.
    if (m_menuOuvert) {
        return;
    }
    const Occupation occupation(m_menuOuvert);
    if (element == MenuApropos) {
        MenuApropos_Click();
    } else if (element == MenuQuitter) {
        MenuQuitter_Click();
    }
}

void Depart::MenuQuitter_Click() {
    int Cancel = 0;
    Form_Unload(Cancel);
}
