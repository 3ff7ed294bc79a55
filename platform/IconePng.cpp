#include "platform/IconePng.h"

#include "platform/Journal.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <utility>

namespace {

bool ajouterImage(QIcon& icone, const QString& chemin) {
    QImageReader lecteur(chemin, "png");
    lecteur.setAutoDetectImageFormat(false); // the format is known: no plugin is asked
    QImage image;
    if (!lecteur.read(&image)) {
        qCWarning(journalPlateforme)
            << "reading the icon" << chemin << "failed:" << lecteur.errorString();
        return false;
    }
    icone.addPixmap(QPixmap::fromImage(std::move(image)));
    return true;
}

} // namespace

QIcon lireIconePng(const QString& chemin) {
    QIcon icone;
    if (!ajouterImage(icone, chemin)) {
        return icone;
    }
    const QLatin1String suffixe(".png");
    if (qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1.0 &&
        chemin.endsWith(suffixe, Qt::CaseInsensitive)) {
        const QString cheminDouble = chemin.chopped(suffixe.size()) + QLatin1String("@2x.png");
        if (QFile::exists(cheminDouble)) {
            ajouterImage(icone, cheminDouble);
        }
    }
    return icone;
}

QIcon lireIconePng(std::initializer_list<QString> chemins) {
    QIcon icone;
    for (const QString& chemin : chemins) {
        ajouterImage(icone, chemin);
    }
    return icone;
}
