#pragma once

#include <memory>
#include <QDBusConnection>
#include <QIcon>
#include <QObject>
#include <QPointer>

class QDBusMessage;
class QMenu;

// The program's own StatusNotifierItem on the session bus: the item at /StatusNotifierItem and
// the com.canonical.dbusmenu menu it points to at /MenuBar, served under a bus name of its own,
// org.kde.StatusNotifierItem-<pid>-<n>, n new for each item, which it releases when it goes
// (watchers then drop it).
// Serving it here, not through the toolkit's tray icon, lets the program see a host at work
// (every host reads the item it draws) and keeps every call on the bus asynchronous.
class ElementSni : public QObject {
    Q_OBJECT

public:
    // Serves at once; asks for the bus name without waiting for the answer.
    ElementSni(QDBusConnection bus, const QIcon& icone, const QString& infobulle, QMenu* menu);
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
    // A client other than the program asked the item or its menu something.
    void lu(const QString& lecteur);
    // A click on the item, as the shell's mouse-message code.
    void clic(int code);

private:
    class Objet;
    class Menu;

    void demanderNom(int essai);
    static void noterLecture(ElementSni& element, const QDBusMessage& question,
                             const QDBusConnection& bus);

    QDBusConnection m_bus;
    QString m_service;
    QString m_nomDemande; // asked for, owned or not yet
    std::unique_ptr<Objet> m_objet;
    std::unique_ptr<Menu> m_menu;
};
