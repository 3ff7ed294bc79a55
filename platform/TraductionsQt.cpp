#include "platform/TraductionsQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallerTraductionsFrancaises(QCoreApplication& application) {
    // Owned by the application, which must keep it for as long as texts are translated.
    auto* traducteur = new QTranslator(&application);
    if (!traducteur->load(QStringLiteral("qtbase_fr"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traducteur;
        return false;
    }
    return QCoreApplication::installTranslator(traducteur);
}
