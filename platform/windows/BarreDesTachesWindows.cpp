#include "platform/windows/BarreDesTachesWindows.h"

#include "platform/Journal.h"
#include "platform/ProgrammeEnCours.h"

#include <algorithm>
#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace {

// A position in the toolkit's device-independent pixels, in the screen's own: each screen keeps
// its top left corner in both and scales what lies beyond it.
QPoint pixelsEcran(const QPoint& position) {
    const QScreen* ecran = QGuiApplication::screenAt(position);
    if (ecran == nullptr) {
        return position;
    }
    const QPoint coin = ecran->geometry().topLeft();
    return coin + (QPointF(position - coin) * ecran->devicePixelRatio()).toPoint();
}

} // namespace

BarreDesTachesWindows::Icone::~Icone() {
    if (interception.receveur != nullptr) {
        natif::cesserIntercepter(natif.hWnd, &interception);
    }
    natif::detruireIcone(natif.hIcon);
}

BarreDesTachesWindows::BarreDesTachesWindows(const ProgrammeEnCours& programme)
    : m_programme(programme) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

BarreDesTachesWindows::~BarreDesTachesWindows() {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->removeNativeEventFilter(this);
    }
}

bool BarreDesTachesWindows::presente() const {
    return m_presente;
}

bool BarreDesTachesWindows::Shell_NotifyIconA(std::uint32_t dwMessage,
                                              const NOTIFYICONDATA& lpData) {
    // The size tells the shell which of the record's forms it is handed.
    if (lpData.cbSize != natif::tailleEnregistrementV1() || lpData.hWnd == nullptr) {
        qCWarning(journalPlateforme)
            << "notification icon call" << dwMessage << "refused: record of" << lpData.cbSize
            << "bytes for" << lpData.hWnd << ", the shell expects"
            << natif::tailleEnregistrementV1() << "and a window";
        return false;
    }
    switch (dwMessage) {
    case NIM_ADD:
        return ajouter(lpData);
    case NIM_DELETE:
        return supprimer(lpData);
    default:
        return false;
    }
}

std::vector<std::unique_ptr<BarreDesTachesWindows::Icone>>::iterator
BarreDesTachesWindows::trouver(const QWidget* hWnd, std::uint32_t uID) {
    return std::find_if(m_icones.begin(), m_icones.end(), [&](const std::unique_ptr<Icone>& i) {
        return i->fenetre == hWnd && i->natif.uID == uID;
    });
}

bool BarreDesTachesWindows::ajouter(const NOTIFYICONDATA& donnees) {
    if (trouver(donnees.hWnd, donnees.uID) != m_icones.end()) {
        return false; // the shell refuses a second icon with the same identity
    }
    auto icone = std::make_unique<Icone>();
    icone->fenetre = donnees.hWnd;
    icone->procedure = dynamic_cast<ProcedureFenetre*>(donnees.hWnd);
    icone->programme = &m_programme;
    natif::EnregistrementIcone& natif = icone->natif;
    natif.hWnd = static_cast<std::uintptr_t>(donnees.hWnd->winId());
    natif.uID = donnees.uID;
    natif.uFlags = donnees.uFlags;
    natif.uCallbackMessage = donnees.uCallbackMessage;
    if (donnees.uFlags & NIF_ICON) {
        natif.hIcon = natif::creerIcone(donnees.hIcon);
    }
    if (donnees.uFlags & NIF_TIP) {
        std::copy(donnees.szTip.begin(), donnees.szTip.end(), natif.szTip.begin());
    }

    if (!natif::notifierIcone(NIM_ADD, natif)) {
        qCWarning(journalPlateforme) << "the task bar refused the notification icon";
        m_presente = false;
        return false;
    }
    m_presente = true;
    // An elevated program would not hear a task bar of a lower integrity level otherwise.
    natif::accepterMessageBarreCreee(natif.hWnd);
    if ((donnees.uFlags & NIF_MESSAGE) && icone->procedure != nullptr) {
        icone->interception = {donnees.uCallbackMessage, donnees.uID, &recevoir, icone.get()};
        if (!natif::intercepter(natif.hWnd, &icone->interception)) {
            icone->interception.receveur = nullptr;
            qCWarning(journalPlateforme) << "the icon's clicks cannot reach" << donnees.hWnd;
        }
    }
    m_icones.push_back(std::move(icone));
    return true;
}

bool BarreDesTachesWindows::supprimer(const NOTIFYICONDATA& donnees) {
    const auto trouvee = trouver(donnees.hWnd, donnees.uID);
    if (trouvee == m_icones.end()) {
        return false;
    }
    // The task bar that held the icon may be gone with it: then there is nothing to delete.
    const bool fait = natif::notifierIcone(NIM_DELETE, (*trouvee)->natif);
    m_icones.erase(trouvee);
    return fait;
}

bool BarreDesTachesWindows::nativeEventFilter(const QByteArray& eventType, void* message,
                                              qintptr*) {
    // Broadcast to every top-level window, and seen here once for each of the program's: acting
    // on it twice does no harm.
    if (eventType == "windows_generic_MSG" &&
        natif::lireMessage(message).message == natif::messageBarreCreee()) {
        barreRecreee();
    }
    return false;
}

void BarreDesTachesWindows::recevoir(void* icone, std::uint32_t code) {
    envoyerMessage(*static_cast<const Icone*>(icone), code);
}

void BarreDesTachesWindows::envoyerMessage(const Icone& icone, std::uint32_t code) {
    ProcedureFenetre* procedure = icone.procedure;
    if (procedure == nullptr || icone.fenetre.isNull()) {
        return;
    }
    // Handled from the window's own event loop, as the Linux shell does, not from inside the
    // window procedure that received the message.
    const auto X = static_cast<float>(static_cast<int>(code) * icone.programme->twipsParPixel());
    QMetaObject::invokeMethod(
        icone.fenetre.data(), [procedure, X] { procedure->Form_MouseMove(0, 0, X, 0.0F); },
        Qt::QueuedConnection);
}

QAction* BarreDesTachesWindows::ouvrirMenu(QMenu& menu, const QPoint& position) {
    QWidget* proprietaire =
        menu.parentWidget() != nullptr ? menu.parentWidget()->window() : nullptr;
    if (proprietaire == nullptr) {
        return ShellIcone::ouvrirMenu(menu, position); // no window for the system's menu
    }
    std::vector<natif::ElementMenu> elements;
    std::vector<QPointer<QAction>> actions; // the menu's loop runs the program's events too
    std::optional<std::size_t> parDefaut;
    for (QAction* action : menu.actions()) {
        if (!action->isVisible()) {
            continue;
        }
        if (action == menu.defaultAction()) {
            parDefaut = elements.size();
        }
        elements.push_back(
            {action->text().toStdWString(), action->isSeparator(), action->isEnabled()});
        actions.emplace_back(action);
    }
    const QPoint ecran = pixelsEcran(position);
    const auto choix = natif::ouvrirMenu(static_cast<std::uintptr_t>(proprietaire->winId()),
                                         elements, parDefaut, ecran.x(), ecran.y());
    if (!choix || actions[*choix].isNull()) {
        return nullptr;
    }
    actions[*choix]->trigger(); // as the toolkit's menu does with the item chosen
    return actions[*choix].data();
}

void BarreDesTachesWindows::barreRecreee() {
    if (!m_presente) {
        m_presente = true;
        emit changee(true); // the program adds its icon again through the usual call
        return;
    }
    // The icons died with the old task bar; they are added again as they were. One the task bar
    // still holds accepts a change.
    for (const auto& icone : m_icones) {
        if (natif::notifierIcone(NIM_MODIFY, icone->natif)) {
            continue;
        }
        if (!natif::notifierIcone(NIM_ADD, icone->natif)) {
            qCWarning(journalPlateforme)
                << "the new task bar refused the notification icon: the window stays reachable";
            m_presente = false;
            emit changee(false);
            return;
        }
    }
}
