#pragma once

#include "platform/PresenceZoneNotification.h"
#include "platform/ShellIcone.h"
#include "platform/windows/ShellNatifWindows.h"

#include <memory>
#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <vector>

class ProgrammeEnCours;

// The notification area of Windows, the task bar's: the shell's own Shell_NotifyIconA for the
// icon, and the watch on the task bar. The shell sends a click on the icon to the record's window
// as the record's callback message, with the mouse message in lParam; taken from the window
// before the toolkit's own handling, it reaches the window's mouse-move handler with X = that code
// times the screen's twips per pixel, as every other platform delivers it. When Explorer restarts,
// the new task bar knows no icon: Windows then broadcasts "TaskbarCreated", and every icon is added
// again; if the new task bar refuses it, the area counts as gone until the next one comes.
class BarreDesTachesWindows : public PresenceZoneNotification,
                              public ShellIcone,
                              public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit BarreDesTachesWindows(const ProgrammeEnCours& programme);
    ~BarreDesTachesWindows() override;

    bool presente() const override;
    bool Shell_NotifyIconA(std::uint32_t dwMessage, const NOTIFYICONDATA& lpData) override;
    // The system's own pop-up menu, made from the menu's visible items (their texts, their
    // enabled state, the default one in bold) for the window the menu belongs to: the toolkit's
    // menu may close at once when the icon's click leaves the program's window active.
    QAction* ouvrirMenu(QMenu& menu, const QPoint& position) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Icone {
        QPointer<QWidget> fenetre;
        ProcedureFenetre* procedure = nullptr;
        natif::EnregistrementIcone natif;
        natif::Interception interception;
        const ProgrammeEnCours* programme = nullptr;
        ~Icone();
    };
    static void recevoir(void* icone, std::uint32_t code);

    bool ajouter(const NOTIFYICONDATA& donnees);
    bool supprimer(const NOTIFYICONDATA& donnees);
    void barreRecreee();
    static void envoyerMessage(const Icone& icone, std::uint32_t code);
    std::vector<std::unique_ptr<Icone>>::iterator trouver(const QWidget* hWnd, std::uint32_t uID);

    const ProgrammeEnCours& m_programme;
    std::vector<std::unique_ptr<Icone>> m_icones;
    // The task bar took the last icon asked of it; a refusal leaves the program as without one
    // until Windows announces a new task bar.
    bool m_presente = true;
};
