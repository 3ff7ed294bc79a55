// A minimal tray program: one hidden window, an icon with a tooltip, a menu that ends it.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QWidget fenetre;
    fenetre.setWindowTitle(QStringLiteral("Plancher"));

    // A plain square is enough: the icon's picture costs nothing worth measuring.
    QPixmap image(32, 32);
    image.fill(Qt::darkGray);

    QMenu menu;
    QObject::connect(menu.addAction(QStringLiteral("&Quitter")), &QAction::triggered, &application,
                     &QApplication::quit);

    QSystemTrayIcon icone{QIcon(image)};
    icone.setToolTip(QStringLiteral("Plancher Tarvane"));
    icone.setContextMenu(&menu);
    icone.show();

    return QApplication::exec();
}
