#include "platform/ShellIcone.h"

#include <QMenu>

QAction* ShellIcone::ouvrirMenu(QMenu& menu, const QPoint& position) {
    return menu.exec(position);
}
