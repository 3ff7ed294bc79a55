#pragma once

#include <functional>
#include <QDBusConnection>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

class ElementSni;

// The StatusNotifierItem side of the desktop, as the session bus shows it, and whether it shows
// the program's item. A watcher's word is not enough (some outlive their panel, some lie, some
// hang): the item counts as shown while
// - the watcher that owns org.kde.StatusNotifierWatcher now accepted its registration, and
// - a client is still on the bus that read the item or its menu since it was served: what
//   every host does when it draws an item, and none does once it is gone, and
// - the watcher has not said that no host is registered with it (IsStatusNotifierHostRegistered):
//   a watcher that is itself the item's only reader, for a shell that draws what it passes on,
//   outlives that shell and says only this.
// Nothing here blocks: the owners of the watcher's and GNOME Shell's names are asked once,
// without waiting, then followed by the bus's NameOwnerChanged; the registration is an
// asynchronous call with a bound, at most one in flight, made again when the watcher changes.
// What is kept is bounded whatever peers send: two names, a few readers, a counter.
// A connection that the bus drops is made again with RECONNEXION, if given: at once, then less
// and less often while the bus does not answer (the only timer, and only while it is lost).
class ObservateurSni : public QObject {
    Q_OBJECT

public:
    // A new connection to the same bus, under a name of its own (numbered from 1).
    using Reconnexion = std::function<QDBusConnection(int numero)>;

    explicit ObservateurSni(QDBusConnection bus, Reconnexion reconnexion = {},
                            QObject* parent = nullptr);
    ~ObservateurSni() override;

    QDBusConnection bus() const { return m_bus; }

    // A watcher is on the bus: an item may be offered to it.
    bool observateur() const { return !m_observateur.isEmpty(); }
    // The item followed is shown by a host (the two conditions above).
    bool notreElement() const;
    // The watcher lives in GNOME Shell, whose extension opens the menu on a left click.
    bool hoteCoquille() const;
    // The first answer about the watcher is still awaited.
    bool enCours() const { return m_enCours; }
    // Who the tray is, changed by any tray-related event: a host coming or going where the
    // watcher stays is another tray, which may take an item that the last one did not show.
    QString identite() const;

    // The item to register with every watcher and to follow; nothing to stop following it.
    void suivre(ElementSni* element);

signals:
    // What observateur(), notreElement() or identite() say changed, or the first answer came.
    void change();

private slots:
    void nomChange(const QString& nom, const QString& ancien, const QString& nouveau);
    void hoteChange();
    void elementRetire(const QString& element);
    void busPerdu();
    void reconnecter();
    void proprietesChangees(const QString& interface, const QVariantMap& changees,
                            const QStringList& perimees);

private:
    void brancher();
    void demanderProprietaire(const QString& nom);
    void inscrire();
    void lecture(const QString& lecteur);
    void demanderHoteAnnonce();
    void hoteAnnonce(bool annonce);

    QDBusConnection m_bus;
    Reconnexion m_reconnexion;
    QTimer m_attenteBus;
    int m_connexions = 0;  // made again since the start
    QString m_observateur; // unique name of the watcher's owner
    QString m_coquille;    // unique name of GNOME Shell
    bool m_enCours = true;
    quint64 m_generation = 0;
    QPointer<ElementSni> m_element;
    QString m_inscritAupres; // the watcher that accepted the item
    bool m_inscriptionEnVol = false;
    bool m_aReinscrire = false;
    bool m_echecSignale = false;
    QSet<QString> m_lecteurs;
    bool m_hoteAnnonce = true; // until the watcher says otherwise
    quint64 m_motsHote = 0;    // what it said of it since it came, to drop older answers
};
