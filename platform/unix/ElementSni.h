#pragma once

#include <memory>
#include <QDBusConnection>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QVariantMap>

class QDBusMessage;
class QMenu;

// The program's own StatusNotifierItem on the session bus: the item at /StatusNotifierItem and
// the com.canonical.dbusmenu menu it points to at /MenuBar, served under a bus name of its own,
// org.kde.StatusNotifierItem-<pid>-<n>, n new for each item, which it releases when it goes
// (watchers then drop it), or under the connection's unique name where that name does harm.
// Serving it here, not through the toolkit's tray icon, lets the program see a host at work
// (every host reads the item it draws) and keeps every call on the bus asynchronous.
class ElementSni : public QObject {
    Q_OBJECT

public:
    // How the item is named to watchers.
    enum class Nom {
        Propre, // a bus name of its own, given back when the item goes
        Unique, // the connection's unique name, gone only with the process: for GNOME Shell,
                // whose extension, for an item named otherwise, resets what it read of the item
                // when it sees the name appear, and drops the item on its next reading (a race
                // inside the extension, seen in one start out of a few)
    };

    // Serves at once; asks for its own bus name without waiting for the answer.
    ElementSni(QDBusConnection bus, const QIcon& icone, const QString& infobulle, QMenu* menu,
               Nom nom = Nom::Propre);
    ~ElementSni() override;

    ElementSni(const ElementSni&) = delete;
    ElementSni& operator=(const ElementSni&) = delete;

    // The bus name of the item once it is owned, else empty.
    const QString& service() const { return m_service; }
    // Whether an item as a watcher writes it (":1.5/path", ":1.5@/path", "name", "name/path")
    // is this one.
    bool designe(const QString& element) const;

signals:
    // The bus name is owned: the item may now be registered with a watcher.
    void publie();
    // A client other than the program read what a host reads to draw the item: its properties,
    // or its menu's layout or entries.
    void luPar(const QString& lecteur);
    // A click on the item, as the shell's mouse-message code.
    void clic(int code);
    // The host's leave for the next activation of a window, sent before the click it goes with.
    void jetonActivation(const QString& jeton);

private:
    class Appel;
    class ObjetBus;
    class ObjetElement;
    class ObjetMenu;

    void demanderNom(int essai);

    QDBusConnection m_bus;
    QString m_service;
    QString m_nomDemande; // asked for, owned or not yet
    std::unique_ptr<ObjetElement> m_objet;
    std::unique_ptr<ObjetMenu> m_menu;
};
