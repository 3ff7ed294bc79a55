#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QString>
#include <QVariantMap>

class QIcon;

// The structures that StatusNotifierItem hosts and dbusmenu clients read, in their D-Bus forms.

// One picture of the icon: width, height, then ARGB32 pixels in network byte order. (iiay)
struct PixmapSni {
    int largeur = 0;
    int hauteur = 0;
    QByteArray pixels;
};
using PixmapsSni = QList<PixmapSni>;

// The item's tooltip: a theme icon name, pictures, a title and a text. (sa(iiay)ss)
struct InfobulleSni {
    QString nomIcone;
    PixmapsSni images;
    QString titre;
    QString texte;
};

// One entry of the menu's layout and the entries below it. (ia{sv}av)
struct ElementMenuSni {
    int id = 0;
    QVariantMap proprietes;
    QList<ElementMenuSni> enfants;
};

// The properties of one entry. (ia{sv})
struct ProprietesMenuSni {
    int id = 0;
    QVariantMap proprietes;
};
using ListeProprietesMenuSni = QList<ProprietesMenuSni>;

// One event of a group that a host sends: the entry, what happened, its data and time. (isvu)
struct EvenementMenuSni {
    int id = 0;
    QString quoi;
    QDBusVariant donnees;
    uint instant = 0;
};

Q_DECLARE_METATYPE(PixmapSni)
Q_DECLARE_METATYPE(InfobulleSni)
Q_DECLARE_METATYPE(ElementMenuSni)
Q_DECLARE_METATYPE(ProprietesMenuSni)
Q_DECLARE_METATYPE(EvenementMenuSni)

QDBusArgument& operator<<(QDBusArgument& argument, const PixmapSni& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, PixmapSni& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const InfobulleSni& infobulle);
const QDBusArgument& operator>>(const QDBusArgument& argument, InfobulleSni& infobulle);
QDBusArgument& operator<<(QDBusArgument& argument, const ElementMenuSni& element);
const QDBusArgument& operator>>(const QDBusArgument& argument, ElementMenuSni& element);
QDBusArgument& operator<<(QDBusArgument& argument, const ProprietesMenuSni& proprietes);
const QDBusArgument& operator>>(const QDBusArgument& argument, ProprietesMenuSni& proprietes);
QDBusArgument& operator<<(QDBusArgument& argument, const EvenementMenuSni& evenement);
const QDBusArgument& operator>>(const QDBusArgument& argument, EvenementMenuSni& evenement);

// Makes the types above known to QtDBus; safe to call more than once.
void enregistrerTypesSni();

// The icon's pictures at each size it was drawn at, as hosts read them.
PixmapsSni pixmapsSni(const QIcon& icone);
