#include "platform/unix/ShellIconeQt.h"

#include "platform/Journal.h"
#include "platform/ProgrammeEnCours.h"
#include "platform/unix/ElementSni.h"
#include "platform/unix/ObservateurSni.h"

#include <algorithm>
#include <QApplication>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <QWidget>

struct ShellIconeQt::Icone {
    QPointer<QWidget> fenetre;
    ProcedureFenetre* procedure = nullptr; // the window's handler of the callback message
    std::uint32_t uID = 0;
    std::unique_ptr<QSystemTrayIcon> tray; // on an XEmbed tray
    std::unique_ptr<ElementSni> element;   // on a D-Bus one
};

namespace {

// The tooltip field is NUL-terminated when it holds one; the blanks after the NUL are never shown.
QString lireInfobulle(const std::array<char, LongueurInfobulle>& szTip) {
    const auto fin = std::find(szTip.begin(), szTip.end(), '\0');
    return QString::fromLatin1(szTip.data(), static_cast<qsizetype>(fin - szTip.begin()));
}

// The shell's mouse-message code for a click on the icon, or 0 for none.
int codePour(QSystemTrayIcon::ActivationReason raison) {
    switch (raison) {
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONDOWN;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONDOWN;
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}

// Qt's widget for an icon in an XEmbed tray; D-Bus trays report clicks themselves.
bool estIconeXEmbed(const QObject* objet) {
    return objet->isWidgetType() &&
           qstrcmp(objet->metaObject()->className(), "QSystemTrayIconSys") == 0;
}

} // namespace

bool ClicDroitAuRelachement::eventFilter(QObject* objet, QEvent* evenement) {
    const auto type = evenement->type();
    if (m_relaiEnCours ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) ||
        !estIconeXEmbed(objet)) {
        return false;
    }
    const auto* souris = static_cast<QMouseEvent*>(evenement);
    if (souris->button() != Qt::RightButton) {
        return false;
    }
    if (type == QEvent::MouseButtonRelease) {
        // The icon's own press handler reports the click, to the icon it stands for.
        QMouseEvent appui(QEvent::MouseButtonPress, souris->position(), souris->globalPosition(),
                          Qt::RightButton, Qt::RightButton, souris->modifiers());
        m_relaiEnCours = true;
        QCoreApplication::sendEvent(objet, &appui);
        m_relaiEnCours = false;
    }
    return true;
}

ShellIconeQt::ShellIconeQt(const ProgrammeEnCours& programme, ObservateurSni* sni)
    : m_programme(programme), m_sni(sni) {}
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

    const bool dbus = m_sni != nullptr && m_sni->observateur();
    if (dbus && std::any_of(m_icones.begin(), m_icones.end(), [](const std::unique_ptr<Icone>& i) {
            return i->element != nullptr;
        })) {
        return false; // the item's object paths are taken
    }

    auto icone = std::make_unique<Icone>();
    icone->fenetre = donnees.hWnd;
    icone->uID = donnees.uID;
    const QIcon image = (donnees.uFlags & NIF_ICON) ? donnees.hIcon : QIcon();
    const bool avecInfobulle = (donnees.uFlags & NIF_TIP) != 0;
    const QString infobulle = avecInfobulle ? lireInfobulle(donnees.szTip) : QString();

    // Only a mouse-move callback can be delivered: it is what the window decodes.
    if ((donnees.uFlags & NIF_MESSAGE) && donnees.uCallbackMessage == WM_MOUSEMOVE) {
        icone->procedure = dynamic_cast<ProcedureFenetre*>(donnees.hWnd);
        if (icone->procedure == nullptr) {
            qCWarning(journalPlateforme)
                << "icon added for" << donnees.hWnd
                << "whose clicks cannot be delivered: the window has no mouse-move handler";
        }
    }
    Icone* cible = icone.get();

    if (dbus) {
        // The host draws the menu itself and reports the other clicks.
        icone->element = std::make_unique<ElementSni>(
            m_sni->bus(), image, infobulle, m_menu,
            m_sni->hoteCoquille() ? ElementSni::Nom::Unique : ElementSni::Nom::Propre);
        QObject::connect(icone->element.get(), &ElementSni::clic, icone->element.get(),
                         [this, cible](int code) { envoyerMessage(*cible, code); });
        QObject::connect(icone->element.get(), &ElementSni::jetonActivation, icone->element.get(),
                         [this](const QString& jeton) { m_jeton.recevoir(jeton); });
        m_sni->suivre(icone->element.get());
        m_icones.push_back(std::move(icone));
        return true;
    }

    icone->tray = std::make_unique<QSystemTrayIcon>();
    if (!image.isNull()) {
        icone->tray->setIcon(image);
    }
    if (avecInfobulle) {
        icone->tray->setToolTip(infobulle);
    }
    if (!m_clicDroit) {
        m_clicDroit = std::make_unique<ClicDroitAuRelachement>();
        qApp->installEventFilter(m_clicDroit.get());
    }
    QObject::connect(cible->tray.get(), &QSystemTrayIcon::activated, cible->tray.get(),
                     [this, cible](QSystemTrayIcon::ActivationReason raison) {
                         if (const int code = codePour(raison); code != 0) {
                             envoyerMessage(*cible, code);
                         }
                     });
    icone->tray->show();
    m_icones.push_back(std::move(icone));
    return true;
}

void ShellIconeQt::envoyerMessage(const Icone& icone, int code) {
    ProcedureFenetre* procedure = icone.procedure;
    if (procedure == nullptr || icone.fenetre.isNull()) {
        return;
    }
    // Queued, as the shell posts its callback: the window handles it from its own event loop, not
    // from inside the tray's mouse handler, and not at all once the window is gone. X carries the
    // code in twips, as the toolkit hands a mouse position to the form.
    const auto X = static_cast<float>(code * m_programme.twipsParPixel());
    QWidget* fenetre = icone.fenetre.data();
    QMetaObject::invokeMethod(
        fenetre,
        [this, procedure, fenetre, X] {
            procedure->Form_MouseMove(0, 0, X, 0.0F);
            m_jeton.utiliser(*fenetre);
        },
        Qt::QueuedConnection);
}

bool ShellIconeQt::supprimer(const NOTIFYICONDATA& donnees) {
    const auto trouvee = trouver(donnees.hWnd, donnees.uID);
    if (trouvee == m_icones.end()) {
        return false;
    }
    if ((*trouvee)->element != nullptr && m_sni != nullptr) {
        m_sni->suivre(nullptr);
    }
    if ((*trouvee)->tray != nullptr) {
        (*trouvee)->tray->hide();
    }
    m_icones.erase(trouvee);
    return true;
}
