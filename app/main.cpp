// Tarvane: the franc and euro converter of the notification area.
#include "platform/BoiteMessageQt.h"
#include "platform/DemandesArret.h"
#include "platform/LocaleQt.h"
#include "platform/PointeurSourisQt.h"
#include "platform/Systeme.h"
#include "platform/TraductionsQt.h"
#include "ui/main/Depart.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallerTraductionsFrancaises(application); // Qt's own texts (context menus, buttons)
    // The program lives without a window on screen: closing the About box while the main window
    // is hidden must not end it. It ends through the main window's unload handler only.
    QApplication::setQuitOnLastWindowClosed(false);

    const LocaleQt locale{QLocale()}; // the user's regional settings
    BoiteMessageQt messages;
    PointeurSourisQt pointeur;
    const auto systeme = ServicesSysteme::creer(); // the shell, the tray, the running program
    Depart depart(ServicesDepart{locale, messages, systeme->shell(), systeme->programme(),
                                 systeme->documents(), pointeur, systeme->presence()});

    // A request to end from the system or the desktop session leaves the way the menu's Quitter
    // does, so that the icon is removed. The session manager's request to save data is not one:
    // it also comes for a mere checkpoint of a session that goes on.
    const auto decharger = [&depart] {
        int Cancel = 0;
        depart.Form_Unload(Cancel);
    };
    DemandesArret demandes;
    QObject::connect(&demandes, &DemandesArret::arretDemande, &depart, decharger);
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &depart, decharger);

    depart.Form_Load();
    return QApplication::exec();
}
