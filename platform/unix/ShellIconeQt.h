#pragma once

#include "platform/ShellIcone.h"
#include "platform/unix/JetonActivation.h"

#include <memory>
#include <QObject>
#include <QPointer>
#include <vector>

class ObservateurSni;
class ProgrammeEnCours;
class QSystemTrayIcon;

// Qt's XEmbed icon reports a right click on the press; the shell reports it on the release, where
// the menu opens. Holds the press back and hands it to the icon when the button is released.
class ClicDroitAuRelachement : public QObject {
public:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    bool m_relaiEnCours = false;
};

// The shell's notification-icon call, made only once a notification area is known to exist.
// Adding creates the icon of (hWnd, uID) with its picture and its tooltip: the program's own
// StatusNotifierItem where a watcher is on the session bus (one such icon at a time), else Qt's
// tray icon, for XEmbed trays; deleting removes it. A click on
// the icon comes back to hWnd as the record's callback message: a queued call of the window's
// mouse-move handler whose X is the shell's mouse-message code (513 left press, 515 double click,
// 517 right release, 519 middle) times the screen's twips per pixel.
class ShellIconeQt : public ShellIcone {
public:
    // Without sni, every icon is Qt's.
    explicit ShellIconeQt(const ProgrammeEnCours& programme, ObservateurSni* sni = nullptr);
    ~ShellIconeQt() override;

    bool Shell_NotifyIconA(std::uint32_t dwMessage, const NOTIFYICONDATA& lpData) override;
    void associerMenu(QMenu* menu) override;

    // The tray icon standing for (hWnd, uID), or nothing.
    QSystemTrayIcon* icone(const QWidget* hWnd, std::uint32_t uID) const;

private:
    struct Icone;

    bool ajouter(const NOTIFYICONDATA& donnees);
    bool supprimer(const NOTIFYICONDATA& donnees);
    void envoyerMessage(const Icone& icone, int code);
    std::vector<std::unique_ptr<Icone>>::const_iterator trouver(const QWidget* hWnd,
                                                                std::uint32_t uID) const;

    const ProgrammeEnCours& m_programme;
    ObservateurSni* m_sni;
    std::vector<std::unique_ptr<Icone>> m_icones;
    QPointer<QMenu> m_menu;
    std::unique_ptr<ClicDroitAuRelachement> m_clicDroit;
    JetonActivation m_jeton;
};
