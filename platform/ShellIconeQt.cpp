#include "platform/ShellIconeQt.h"

#include <algorithm>
#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QWidget>

struct ShellIconeQt::Icone {
    QPointer<QWidget> fenetre;
    std::uint32_t uID = 0;
    std::unique_ptr<QSystemTrayIcon> tray;
    bool menuDuTray = false; // the tray draws the menu itself on a right click
};

namespace {

// The tooltip field is NUL-terminated when it holds one; the blanks after the NUL are never shown.
QString lireInfobulle(const std::array<char, 64>& szTip) {
    const auto fin = std::find(szTip.begin(), szTip.end(), '\0');
    return QString::fromLatin1(szTip.data(), static_cast<qsizetype>(fin - szTip.begin()));
}

struct MessageSouris {
    int code = 0;
    Qt::MouseButton bouton = Qt::NoButton;
};

MessageSouris messagePour(QSystemTrayIcon::ActivationReason raison) {
    switch (raison) {
    case QSystemTrayIcon::Trigger:
        return {WM_LBUTTONDOWN, Qt::LeftButton};
    case QSystemTrayIcon::DoubleClick:
        return {WM_LBUTTONDBLCLK, Qt::LeftButton};
    case QSystemTrayIcon::Context:
        return {WM_RBUTTONUP, Qt::RightButton};
    case QSystemTrayIcon::MiddleClick:
        return {WM_MBUTTONDOWN, Qt::MiddleButton};
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

// Posted, as the shell posts its callback: the window handles it from its own event loop, not
// from inside the tray's mouse handler. The button is reported as held, so that the move reaches
// the window even where it does not track the mouse.
void envoyerMessage(QWidget* fenetre, const MessageSouris& message) {
    const QPointF position(message.code, 0);
    QCoreApplication::postEvent(fenetre,
                                new QMouseEvent(QEvent::MouseMove, position, QCursor::pos(),
                                                Qt::NoButton, message.bouton, Qt::NoModifier));
}

// Qt hands the menu to trays that draw it themselves (StatusNotifierItem hosts) as a native
// menu; trays that do not (XEmbed) would pop the menu up on their own beside the window's.
bool trayDessineLeMenu(QSystemTrayIcon& tray, QMenu& menu) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    tray.setContextMenu(&menu);
    if (menu.platformMenu() != nullptr) {
        return true;
    }
    tray.setContextMenu(nullptr);
#else
    // Windows reports the right click to the window, which opens the menu with its default item.
    (void)tray;
    (void)menu;
#endif
    return false;
}

} // namespace

ShellIconeQt::ShellIconeQt() = default;
ShellIconeQt::~ShellIconeQt() = default;

bool ShellIconeQt::Shell_NotifyIconA(std::uint32_t dwMessage, const NOTIFYICONDATA& lpData) {
    switch (dwMessage) {
    case NIM_ADD:
        return ajouter(lpData);
    case NIM_DELETE:
        return supprimer(lpData);
    default:
        return false;
    }
}

bool ShellIconeQt::zoneNotificationDisponible() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void ShellIconeQt::associerMenu(QMenu* menu) {
    m_menu = menu;
}

QSystemTrayIcon* ShellIconeQt::icone(const QWidget* hWnd, std::uint32_t uID) const {
    const auto trouvee = trouver(hWnd, uID);
    return trouvee == m_icones.end() ? nullptr : (*trouvee)->tray.get();
}

std::vector<std::unique_ptr<ShellIconeQt::Icone>>::const_iterator
ShellIconeQt::trouver(const QWidget* hWnd, std::uint32_t uID) const {
    return std::find_if(m_icones.begin(), m_icones.end(), [&](const std::unique_ptr<Icone>& i) {
        return i->fenetre == hWnd && i->uID == uID;
    });
}

bool ShellIconeQt::ajouter(const NOTIFYICONDATA& donnees) {
    // The shell refuses a second icon with the same identity, and an icon without a window.
    if (donnees.hWnd == nullptr || trouver(donnees.hWnd, donnees.uID) != m_icones.end()) {
        return false;
    }

    auto icone = std::make_unique<Icone>();
    icone->fenetre = donnees.hWnd;
    icone->uID = donnees.uID;
    icone->tray = std::make_unique<QSystemTrayIcon>();
    if (donnees.uFlags & NIF_ICON) {
        icone->tray->setIcon(donnees.hIcon);
    }
    if (donnees.uFlags & NIF_TIP) {
        icone->tray->setToolTip(lireInfobulle(donnees.szTip));
    }
    if (m_menu) {
        icone->menuDuTray = trayDessineLeMenu(*icone->tray, *m_menu);
    }

    // Only a mouse-move callback can be delivered: it is what the window decodes.
    if ((donnees.uFlags & NIF_MESSAGE) && donnees.uCallbackMessage == WM_MOUSEMOVE) {
        Icone* cible = icone.get();
        QObject::connect(cible->tray.get(), &QSystemTrayIcon::activated, cible->tray.get(),
                         [cible](QSystemTrayIcon::ActivationReason raison) {
                             const MessageSouris message = messagePour(raison);
                             if (message.code == 0 || !cible->fenetre) {
                                 return;
                             }
                             if (message.code == WM_RBUTTONUP && cible->menuDuTray) {
                                 return; // the tray shows the menu itself
                             }
                             envoyerMessage(cible->fenetre, message);
                         });
    }

    icone->tray->show();
    m_icones.push_back(std::move(icone));
    return true;
}

bool ShellIconeQt::supprimer(const NOTIFYICONDATA& donnees) {
    const auto trouvee = trouver(donnees.hWnd, donnees.uID);
    if (trouvee == m_icones.end()) {
        return false;
    }
    (*trouvee)->tray->hide();
    m_icones.erase(trouvee);
    return true;
}
