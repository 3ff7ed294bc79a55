// Start-up and shutdown of the program, in the main window's load and unload handlers, and what
// the window does for its place in the notification area: show itself, the About box, the end.
#include "platform/DecorationsFenetre.h"
#include "platform/ProgrammeEnCours.h"
#include "platform/ServiceMessages.h"
#include "ui/about/Apropos.h"
#include "ui/main/Depart.h"
#include "ui/tray/ZoneNotification.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

namespace {

// Qt takes a Wayland window for not exposed once a frame has gone 100 ms unanswered; the rest
// is a margin for a loaded machine.
constexpr int DelaiReponseImageMs = 300;

QString messageAutreCopie() {
    return QStringLiteral("L'application est déjà en mémoire !!") + QStringLiteral("\n\n") +
           QStringLiteral("Utiliser la barre des taches");
}

} // namespace

void Depart::Form_Load() {
    ProgrammeEnCours& programme = m_services.programme;

    // Before anything else, so that a second copy adds no icon; the title is still empty.
    if (programme.autreCopieEnCours()) {
        m_services.messages.MsgBox(nullptr, messageAutreCopie(), vbCritical,
                                   QString::fromStdString(m_informations.TitreApplication));
        programme.terminer();
        return;
    }

    const BlocVersion& bloc = programme.blocVersion();
    m_informations = CalculerInformations(
        programme.nomExecutable().toStdString(), bloc.majeure, bloc.mineure,
        [&programme](const std::string& nomFichier) { return programme.dateFichier(nomFichier); });

    // MenuPopUp is a pop-up menu only, never a menu bar: there is nothing to hide. The icon goes
    // into the notification area now if there is one, later if one comes. While an area is still
    // to take it, the window stays unshown: iconeChangee() settles which mode follows.
    m_zoneNotification->demarrer(windowIcon());
    if (m_zoneNotification->iconePresente() || m_zoneNotification->enAttente()) {
        hide();
    } else {
        changerMode(false);
    }
}

void Depart::Form_Unload(int&) {
    // Cancel is never set: the unload always proceeds.
    m_zoneNotification->arreter();
    m_services.programme.terminer();
}

void Depart::changerMode(bool avecIcone) {
    // Without an icon nothing could bring the window back: it stays on screen, its right click
    // opens the pop-up menu and its Quitter button, like its close box, ends the program.
    m_sansZoneNotification = !avecIcone;
    setContextMenuPolicy(avecIcone ? Qt::DefaultContextMenu : Qt::CustomContextMenu);
    nommerQuitter();
    // In the task bar only where no icon could bring the window back, also from a minimise.
    if (internalWinId() != 0) {
        decorerFenetre(*this, m_sansZoneNotification);
    }
    if (!avecIcone) {
        afficher();
    }
}

void Depart::nommerQuitter() {
    if (Quitter == nullptr) {
        return; // named with the mode of the moment when the controls are built
    }
    if (m_sansZoneNotification) {
        Quitter->setAccessibleName(QStringLiteral("Quitter Tarvane"));
        Quitter->setAccessibleDescription(QStringLiteral(
            "Termine le programme : sans zone de notification, rien ne rappellerait la fenêtre"));
        return;
    }
    Quitter->setAccessibleName(QStringLiteral("Masquer la fenêtre"));
    Quitter->setAccessibleDescription(
        QStringLiteral("Range la fenêtre ; un clic gauche sur l'icône de Tarvane la rappelle"));
}

void Depart::Form_MouseMove(int, int, float X, float) {
    m_zoneNotification->recevoirMessage(X);
}

void Depart::afficher() {
    // While a box is up the window waits for it: the click brings the box forward, which keeps
    // the keyboard, and shows nothing that could not take input behind it.
    if (QWidget* boite = QApplication::activeModalWidget()) {
        boite->raise();
        boite->activateWindow();
        return;
    }
    if (isMinimized()) {
        showNormal();
    } else if (!isVisible()) {
        show();
    } else if (reductionSignalee() || isActiveWindow()) {
        // A double click sends a left press twice: a window on screen is left as it is, focus
        // included.
        return;
    } else {
        // Wayland never tells a window that it was minimised: a frame that the compositor leaves
        // unanswered does (Qt then takes the window for not exposed). Mapped anew, it comes back
        // as a window shown from hidden: the protocol has no other way back without the host's
        // activation token.
        update();
        QTimer::singleShot(DelaiReponseImageMs, this, [this] {
            if (isVisible() && !isActiveWindow() && windowHandle() != nullptr &&
                !windowHandle()->isExposed()) {
                hide();
                show();
                amener();
            }
        });
        return;
    }
    amener();
}

void Depart::amener() {
    raise();
    activateWindow();
    Francs->setFocus();
}

void Depart::MenuApropos_Click() {
    // Returns once the box is closed; until then the window and the tray's menu wait.
    const MenuSuspendu suspendu(*m_zoneNotification);
    Apropos::Show(
        {m_services.documents, m_services.pointeur, m_services.programme, m_informations});
}

void Depart::MenuQuitter_Click() {
    int Cancel = 0;
    Form_Unload(Cancel);
}
