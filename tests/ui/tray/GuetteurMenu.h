#pragma once
// A watcher for the pop-up menu, for the tests of the tray and of the window that opens it.

#include <functional>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>

// The handler that opens the pop-up menu waits until it closes; this timer runs inside the menu's
// own event loop, notes each menu that opens and acts on it once: by default it closes it, as
// Escape would. A menu that never opens is simply never seen, so no test can hang on one.
class GuetteurMenu {
public:
    using Action = std::function<void(QMenu&)>;

    explicit GuetteurMenu(Action action = [](QMenu& menu) { menu.close(); })
        : m_action(std::move(action)) {
        m_minuteur.setInterval(2);
        QObject::connect(&m_minuteur, &QTimer::timeout, [this] { guetter(); });
        m_minuteur.start();
    }

    int ouvertures() const { return m_ouvertures; }
    QMenu* dernier() const { return m_dernier; }

private:
    void guetter() {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            m_vu = nullptr;
            return;
        }
        if (menu == m_vu) {
            menu->close(); // left open by the action: closed, so that nothing waits for ever
            return;
        }
        m_vu = menu;
        m_dernier = menu;
        ++m_ouvertures;
        m_action(*menu);
        if (!menu->isVisible()) {
            m_vu = nullptr; // the same menu may open again at once
        }
    }

    Action m_action;
    QTimer m_minuteur;
    QPointer<QMenu> m_vu;
    QPointer<QMenu> m_dernier;
    int m_ouvertures = 0;
};
