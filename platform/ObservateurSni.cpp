#include "platform/ObservateurSni.h"

#include "platform/Journal.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QVariantMap>

namespace {

const QString ServiceBus = QStringLiteral("org.freedesktop.DBus");
const QString CheminBus = QStringLiteral("/org/freedesktop/DBus");
const QString ServiceObservateur = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString CheminObservateur = QStringLiteral("/StatusNotifierWatcher");
const QString ServiceCoquille = QStringLiteral("org.gnome.Shell");

// An answer later than this is none; the next change asks again.
constexpr int DelaiReponseMs = 2000;
// While an icon just added waits for its tray: questions this far apart, this many.
constexpr int IntervalleAjoutMs = 250;
constexpr int RelancesAjout = 8;

bool nomDHote(const QString& nom) {
    return nom.startsWith(QLatin1String("org.kde.StatusNotifierHost-")) ||
           nom.startsWith(QLatin1String("org.freedesktop.StatusNotifierHost-"));
}

QDBusMessage questionBus(const QString& methode, const QVariantList& arguments = {}) {
    QDBusMessage question =
        QDBusMessage::createMethodCall(ServiceBus, CheminBus, ServiceBus, methode);
    question.setArguments(arguments);
    return question;
}

QDBusMessage questionObservateur(const QString& interface, const QString& methode) {
    QDBusMessage question =
        QDBusMessage::createMethodCall(ServiceObservateur, CheminObservateur, interface, methode);
    // A watcher that the bus would start on demand is no panel: only a running one counts.
    question.setAutoStartService(false);
    return question;
}

bool reponse(const QDBusMessage& message) {
    return message.type() == QDBusMessage::ReplyMessage && !message.arguments().isEmpty();
}

// The service of an item as watchers list it: "service", "service/path" or "service:path".
QString serviceDElement(const QString& element) {
    const auto fin = element.indexOf(QLatin1Char('/'));
    return fin < 0 ? element : element.left(fin);
}

} // namespace

ObservateurSni::ObservateurSni(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {
    m_suiviAjout.setInterval(IntervalleAjoutMs);
    connect(&m_suiviAjout, &QTimer::timeout, this, [this] {
        if (++m_relancesAjout >= RelancesAjout || m_notreElement) {
            m_suiviAjout.stop();
        }
        demander();
    });
    if (!m_bus.isConnected()) {
        m_enCours = false;
        return;
    }
    m_bus.connect(ServiceBus, CheminBus, ServiceBus, QStringLiteral("NameOwnerChanged"), this,
                  SLOT(nomChange(QString, QString, QString)));
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered",
                               "StatusNotifierItemRegistered", "StatusNotifierItemUnregistered"}) {
        m_bus.connect(ServiceObservateur, CheminObservateur, ServiceObservateur,
                      QString::fromLatin1(signal), this, SLOT(demander()));
    }
    demander();
}

void ObservateurSni::suivreAjout() {
    m_relancesAjout = 0;
    m_suiviAjout.start();
    demander();
}

void ObservateurSni::nomChange(const QString& nom, const QString&, const QString& nouveau) {
    // A client leaving may be a host that its watcher forgets to report.
    if (nom == ServiceObservateur || nom == ServiceCoquille || nomDHote(nom) ||
        (nom.startsWith(QLatin1Char(':')) && nouveau.isEmpty())) {
        m_processus.remove(nom);
        demander();
    }
}

void ObservateurSni::demander() {
    if (m_enVol) {
        m_aRedemander = true;
        return;
    }
    poser();
}

void ObservateurSni::appeler(const QDBusMessage& question,
                             std::function<void(const QDBusMessage&)> suite) {
    auto* appel = new QDBusPendingCallWatcher(m_bus.asyncCall(question, DelaiReponseMs), this);
    connect(appel, &QDBusPendingCallWatcher::finished, this, [appel, suite = std::move(suite)] {
        appel->deleteLater();
        suite(appel->reply());
    });
}

void ObservateurSni::poser() {
    m_enVol = true;
    m_aRedemander = false;
    appeler(questionBus(QStringLiteral("ListNames")), [this](const QDBusMessage& noms) {
        if (!reponse(noms)) {
            echec(QStringLiteral("the names on the bus"), noms);
            terminer({});
            return;
        }
        Releve releve;
        bool observateur = false;
        for (const QString& nom : noms.arguments().constFirst().toStringList()) {
            if (nomDHote(nom)) {
                releve.hotes.push_back(nom);
            }
            observateur = observateur || nom == ServiceObservateur;
        }
        if (!observateur) {
            terminer(releve); // no watcher: a desktop without such a tray, not a failure
            return;
        }
        lireObservateur(releve);
    });
}

void ObservateurSni::lireObservateur(Releve releve) {
    appeler(questionBus(QStringLiteral("GetNameOwner"), {ServiceObservateur}),
            [this, releve](const QDBusMessage& proprietaire) mutable {
                if (!reponse(proprietaire)) {
                    terminer({}); // gone meanwhile: its leaving asks again
                    return;
                }
                releve.observateur = proprietaire.arguments().constFirst().toString();
                if (!releve.hotes.isEmpty()) {
                    lireProprietes(releve);
                    return;
                }
                appeler(questionBus(QStringLiteral("GetNameOwner"), {ServiceCoquille}),
                        [this, releve](const QDBusMessage& coquille) mutable {
                            releve.coquille =
                                reponse(coquille) &&
                                coquille.arguments().constFirst().toString() == releve.observateur;
                            lireProprietes(releve);
                        });
            });
}

void ObservateurSni::lireProprietes(Releve releve) {
    appeler(questionObservateur(QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                QStringLiteral("Introspect")),
            [this, releve](const QDBusMessage& description) {
                if (!reponse(description)) {
                    echec(QStringLiteral("the watcher's description"), description);
                    terminer({});
                    return;
                }
                QDBusMessage question = questionObservateur(
                    QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
                question << ServiceObservateur;
                appeler(question, [this, releve](const QDBusMessage& proprietes) mutable {
                    if (!reponse(proprietes)) {
                        echec(QStringLiteral("whether a tray host is registered"), proprietes);
                        terminer({});
                        return;
                    }
                    const auto valeurs =
                        qdbus_cast<QVariantMap>(proprietes.arguments().constFirst());
                    const QVariant declare =
                        valeurs.value(QStringLiteral("IsStatusNotifierHostRegistered"));
                    // Only a D-Bus boolean says yes: "true" as a string or 1 as a number is no
                    // watcher that Qt's tray icon would understand either.
                    releve.hoteDeclare =
                        declare.metaType().id() == QMetaType::Bool && declare.toBool();
                    const QVariant elements =
                        valeurs.value(QStringLiteral("RegisteredStatusNotifierItems"));
                    if (elements.metaType().id() == QMetaType::QStringList) {
                        releve.elements = elements.toStringList();
                    }
                    identifierElements(releve);
                });
            });
}

void ObservateurSni::identifierElements(Releve releve) {
    QStringList inconnus;
    for (const QString& element : std::as_const(releve.elements)) {
        const QString service = serviceDElement(element);
        if (service.startsWith(QLatin1Char(':')) && !m_processus.contains(service) &&
            !inconnus.contains(service)) {
            inconnus.push_back(service);
        }
    }
    if (inconnus.isEmpty()) {
        terminer(releve);
        return;
    }
    auto restants = std::make_shared<qsizetype>(inconnus.size());
    for (const QString& service : std::as_const(inconnus)) {
        appeler(questionBus(QStringLiteral("GetConnectionUnixProcessID"), {service}),
                [this, service, restants, releve](const QDBusMessage& processus) {
                    m_processus.insert(
                        service,
                        reponse(processus) ? processus.arguments().constFirst().toLongLong() : -1);
                    if (--*restants == 0) {
                        terminer(releve);
                    }
                });
    }
}

void ObservateurSni::echec(const QString& quoi, const QDBusMessage& reponse) {
    // Once until the next answer that goes through: a watcher that hangs is asked again often.
    if (!m_echecSignale) {
        m_echecSignale = true;
        qCWarning(journalPlateforme) << "could not ask the tray watcher" << quoi << ":"
                                     << reponse.errorName() << reponse.errorMessage();
    }
}

void ObservateurSni::terminer(const Releve& releve) {
    m_enVol = false;
    if (m_aRedemander) {
        poser(); // overtaken by a change: only the answer after it counts
        return;
    }
    const QString notrePrefixe =
        QStringLiteral("org.kde.StatusNotifierItem-%1-").arg(QCoreApplication::applicationPid());
    bool notre = false;
    for (const QString& element : releve.elements) {
        const QString service = serviceDElement(element);
        notre = notre || service.startsWith(notrePrefixe) ||
                m_processus.value(service, -1) == QCoreApplication::applicationPid();
    }
    if (!releve.observateur.isEmpty()) {
        m_echecSignale = false;
    }
    const bool hote = releve.hoteDeclare && (!releve.hotes.isEmpty() || releve.coquille);
    QStringList hotes = releve.hotes;
    hotes.sort();
    const QString identite = releve.observateur + QLatin1Char(' ') + hotes.join(QLatin1Char(' '));
    const bool premier = m_enCours;
    m_enCours = false;
    if (premier || hote != m_hote || notre != m_notreElement || identite != m_identite) {
        m_hote = hote;
        m_notreElement = notre;
        m_hoteCoquille = hote && releve.coquille && releve.hotes.isEmpty();
        m_identite = identite;
        emit change();
    }
}
