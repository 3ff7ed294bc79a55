#pragma once

#include <functional>
#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QDBusMessage;

// The StatusNotifierItem side of the desktop, as the session bus shows it. A watcher's word alone
// is not trusted: some outlive their panel and keep saying a host is there, some change their
// answer without a signal, some answer late, with the wrong type, or not at all. So:
// - a host counts when a watcher answers, with a D-Bus boolean, that one is registered, and a
//   host is alive on the bus: one owning an org.kde / org.freedesktop StatusNotifierHost-* name,
//   as hosts do, or the watcher itself when it lives in GNOME Shell (its built-in host owns no
//   such name);
// - every question is asked without blocking and given up after a bound; none is final: any
//   tray-related change on the bus (the watcher's signals, a watcher or host name changing hands,
//   any client leaving the bus) asks again;
// - at most one question is in flight, and one more after it if something changed meanwhile; an
//   answer to a question overtaken by a change is dropped, so that a burst costs one answer.
// Before a host is taken as there, the watcher must have answered an Introspect and the
// properties, the very calls that Qt's tray icon makes, synchronously, when it is created.
class ObservateurSni : public QObject {
    Q_OBJECT

public:
    explicit ObservateurSni(QDBusConnection bus, QObject* parent = nullptr);

    bool hote() const { return m_hote; }
    // Whether the watcher lists an item of this process.
    bool notreElement() const { return m_notreElement; }
    // Whether the host is GNOME Shell's own, whose extension opens the menu on a left click.
    bool hoteCoquille() const { return m_hoteCoquille; }
    // Whether the first answer is still awaited.
    bool enCours() const { return m_enCours; }
    // Who the tray is: the watcher's owner and the hosts, as last seen. A tray replaced between
    // two answers is another tray even where hote() stays true.
    const QString& identite() const { return m_identite; }

    // Asks again now, and a few times within the acceptance delay: an item registers on a
    // connection of its own, and not every watcher signals it.
    void suivreAjout();

signals:
    // An answer changed what hote() or notreElement() say, or the first answer came.
    void change();

private slots:
    void nomChange(const QString& nom, const QString& ancien, const QString& nouveau);
    void demander();

private:
    struct Releve {
        QStringList hotes;
        QString observateur;   // unique name of the watcher's owner
        bool coquille = false; // GNOME Shell owns the watcher
        bool hoteDeclare = false;
        QStringList elements;
    };

    void appeler(const QDBusMessage& question, std::function<void(const QDBusMessage&)> suite);
    void poser();
    void lireObservateur(Releve releve);
    void lireProprietes(Releve releve);
    void identifierElements(Releve releve);
    void echec(const QString& quoi, const QDBusMessage& reponse);
    void terminer(const Releve& releve);

    QDBusConnection m_bus;
    QHash<QString, qint64> m_processus; // of unique names, which the bus never gives twice
    QTimer m_suiviAjout;
    int m_relancesAjout = 0;
    bool m_enVol = false;
    bool m_aRedemander = false;
    bool m_enCours = true;
    bool m_hote = false;
    bool m_notreElement = false;
    bool m_hoteCoquille = false;
    bool m_echecSignale = false;
    QString m_identite;
};
