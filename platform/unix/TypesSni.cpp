#include "platform/unix/TypesSni.h"

#include <QDBusMetaType>
#include <QIcon>
#include <QImage>
#include <QtEndian>

QDBusArgument& operator<<(QDBusArgument& argument, const PixmapSni& pixmap) {
    argument.beginStructure();
    argument << pixmap.largeur << pixmap.hauteur << pixmap.pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PixmapSni& pixmap) {
    argument.beginStructure();
    argument >> pixmap.largeur >> pixmap.hauteur >> pixmap.pixels;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const InfobulleSni& infobulle) {
    argument.beginStructure();
    argument << infobulle.nomIcone << infobulle.images << infobulle.titre << infobulle.texte;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, InfobulleSni& infobulle) {
    argument.beginStructure();
    argument >> infobulle.nomIcone >> infobulle.images >> infobulle.titre >> infobulle.texte;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const ElementMenuSni& element) {
    argument.beginStructure();
    argument << element.id << element.proprietes;
    // The entries below are variants, each holding an entry of the same form.
    argument.beginArray(qMetaTypeId<QDBusVariant>());
    for (const ElementMenuSni& enfant : element.enfants) {
        argument << QDBusVariant(QVariant::fromValue(enfant));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ElementMenuSni& element) {
    argument.beginStructure();
    argument >> element.id >> element.proprietes;
    element.enfants.clear();
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant enfant;
        argument >> enfant;
        element.enfants.push_back(
            qdbus_cast<ElementMenuSni>(enfant.variant().value<QDBusArgument>()));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const ProprietesMenuSni& proprietes) {
    argument.beginStructure();
    argument << proprietes.id << proprietes.proprietes;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ProprietesMenuSni& proprietes) {
    argument.beginStructure();
    argument >> proprietes.id >> proprietes.proprietes;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const EvenementMenuSni& evenement) {
    argument.beginStructure();
    argument << evenement.id << evenement.quoi << evenement.donnees << evenement.instant;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, EvenementMenuSni& evenement) {
    argument.beginStructure();
    argument >> evenement.id >> evenement.quoi >> evenement.donnees >> evenement.instant;
    argument.endStructure();
    return argument;
}

void enregistrerTypesSni() {
    qDBusRegisterMetaType<PixmapSni>();
    qDBusRegisterMetaType<PixmapsSni>();
    qDBusRegisterMetaType<InfobulleSni>();
    qDBusRegisterMetaType<ElementMenuSni>();
    qDBusRegisterMetaType<ProprietesMenuSni>();
    qDBusRegisterMetaType<ListeProprietesMenuSni>();
    qDBusRegisterMetaType<EvenementMenuSni>();
    qDBusRegisterMetaType<QList<EvenementMenuSni>>();
}

PixmapsSni pixmapsSni(const QIcon& icone) {
    PixmapsSni pixmaps;
    for (const QSize& taille : icone.availableSizes()) {
        const QImage image = icone.pixmap(taille).toImage().convertToFormat(QImage::Format_ARGB32);
        PixmapSni pixmap{image.width(), image.height(), {}};
        pixmap.pixels.resize(static_cast<qsizetype>(image.width()) * image.height() * 4);
        char* sortie = pixmap.pixels.data();
        for (int y = 0; y < image.height(); ++y) {
            const auto* ligne = reinterpret_cast<const quint32*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x, sortie += 4) {
                qToBigEndian(ligne[x], sortie);
            }
        }
        pixmaps.push_back(pixmap);
    }
    return pixmaps;
}
