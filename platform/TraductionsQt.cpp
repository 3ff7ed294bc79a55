#include "platform/TraductionsQt.h"

#include "platform/Journal.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallerTraductionsFrancaises(QCoreApplication& application) {
    // Owned by the application, which must keep it for as long as texts are translated.
    auto* traducteur = new QTranslator(&application);
    const QString repertoire = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!traducteur->load(QStringLiteral("qtbase_fr"), repertoire)) {
        qCWarning(journalPlateforme)
            << "toolkit's French texts not loaded: no qtbase_fr in" << repertoire;
        delete traducteur;
        return false;
    }
    if (!QCoreApplication::installTranslator(traducteur)) {
        qCWarning(journalPlateforme) << "toolkit's French texts loaded but not installed";
        delete traducteur;
        return false;
    }
    return true;
}
