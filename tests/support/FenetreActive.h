#pragma once
// Makes a shown window the active one, as the window manager does when the user clicks it, so
// that the keys typed next reach it.

#include <QApplication>
#include <QTest>
#include <QWidget>

[[nodiscard]] inline bool rendreActive(QWidget* fenetre) {
    // The offscreen platform keeps a hidden window as its focus window, so activateWindow() on
    // that window shown again changes nothing and no widget gets the focus (Qt 6.4 and 6.8
    // alike); only the application-side call, deprecated since Qt 6.5, activates it.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(fenetre);
    QT_WARNING_POP
    return QTest::qWaitForWindowActive(fenetre);
}
