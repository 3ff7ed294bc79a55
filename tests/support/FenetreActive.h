#pragma once
// Makes a shown window the active one, as the window manager does when the user clicks it, so
// that the keys typed next reach it.

#include <QApplication>
#include <QTest>
#include <QWidget>

[[nodiscard]] inline bool rendreActive(QWidget* fenetre) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    fenetre->activateWindow();
#else
    // Qt 6.4's offscreen platform does not activate a window shown again after a hide on
    // activateWindow(); the call Qt 6.5 deprecated does.
    QApplication::setActiveWindow(fenetre);
#endif
    return QTest::qWaitForWindowActive(fenetre);
}
