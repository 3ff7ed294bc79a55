#include "platform/unix/ObservateurSni.h"

#include "platform/Journal.h"
#include "platform/unix/ElementSni.h"
#include "platform/unix/PlafondReception.h"
#include "platform/unix/ProtocoleSni.h"

#include <algorithm>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

namespace {

using namespace sni;

// One reader is proof enough; a peer that reads from ever new connections costs no more.
constexpr qsizetype LecteursRetenus = 16;

bool nomDHote(const QString& nom) {
    return nom.startsWith(QLatin1String("org.kde.StatusNotifierHost-")) ||
           nom.startsWith(QLatin1String("org.freedesktop.StatusNotifierHost-"));
}

} // namespace

ObservateurSni::ObservateurSni(QDBusConnection bus, Reconnexion reconnexion, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_reconnexion(std::move(reconnexion)) {
    m_attenteBus.setSingleShot(true);
    connect(&m_attenteBus, &QTimer::timeout, this, &ObservateurSni::reconnecter);
    if (!m_bus.isConnected()) {
        m_enCours = false;
        return;
    }
    brancher();
}

void ObservateurSni::brancher() {
    leverPlafondReception(m_bus);
    // Followed before the owners are asked: whatever comes after the answer is newer than it.
    m_bus.connect(ServiceBus, CheminBus, ServiceBus, QStringLiteral("NameOwnerChanged"), this,
                  SLOT(nomChange(QString, QString, QString)));
    m_bus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                  QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"),
                  this, SLOT(busPerdu()));
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        m_bus.connect(ServiceObservateur, CheminObservateur, ServiceObservateur,
                      QString::fromLatin1(signal), this, SLOT(hoteChange()));
    }
    m_bus.connect(ServiceObservateur, CheminObservateur, ServiceObservateur,
                  QStringLiteral("StatusNotifierItemUnregistered"), this,
                  SLOT(elementRetire(QString)));
    m_bus.connect(ServiceObservateur, CheminObservateur, InterfaceProprietes,
                  QStringLiteral("PropertiesChanged"), this,
                  SLOT(proprietesChangees(QString, QVariantMap, QStringList)));
    demanderProprietaire(ServiceObservateur);
}

ObservateurSni::~ObservateurSni() = default;

bool ObservateurSni::notreElement() const {
    return !m_element.isNull() && !m_observateur.isEmpty() && m_inscritAupres == m_observateur &&
           !m_lecteurs.isEmpty() && m_hoteAnnonce;
}

bool ObservateurSni::hoteCoquille() const {
    return !m_observateur.isEmpty() && m_observateur == m_coquille;
}

QString ObservateurSni::identite() const {
    return m_observateur + QLatin1Char('#') + QString::number(m_generation);
}

void ObservateurSni::demanderProprietaire(const QString& nom) {
    QDBusMessage question = QDBusMessage::createMethodCall(ServiceBus, CheminBus, ServiceBus,
                                                           QStringLiteral("GetNameOwner"));
    question << nom;
    auto* appel = new QDBusPendingCallWatcher(m_bus.asyncCall(question, DelaiReponseMs), this);
    connect(appel, &QDBusPendingCallWatcher::finished, this, [this, appel, nom] {
        appel->deleteLater();
        const QDBusMessage reponse = appel->reply();
        // No owner is an error answer: a desktop without such a tray, or without GNOME Shell.
        const QString proprietaire =
            reponse.type() == QDBusMessage::ReplyMessage && !reponse.arguments().isEmpty()
                ? reponse.arguments().constFirst().toString()
                : QString();
        if (reponse.type() == QDBusMessage::ErrorMessage &&
            reponse.errorName() != QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
            qCWarning(journalPlateforme) << "could not ask the session bus who owns" << nom << ":"
                                         << reponse.errorName() << reponse.errorMessage();
        }
        nomChange(nom, QString(), proprietaire);
        if (nom == ServiceObservateur) {
            demanderProprietaire(ServiceCoquille); // one question at a time
        } else {
            // The first look is over, whatever it found: only now is it known whether the
            // watcher is GNOME Shell's, which decides how the item is named.
            m_enCours = false;
            emit change();
        }
    });
}

void ObservateurSni::nomChange(const QString& nom, const QString&, const QString& nouveau) {
    if (nom == ServiceObservateur) {
        if (nouveau == m_observateur) {
            return;
        }
        // Another watcher knows nothing of the item, and its hosts have to read it again.
        m_observateur = nouveau;
        m_inscritAupres.clear();
        m_lecteurs.clear();
        m_hoteAnnonce = true;
        ++m_motsHote;
        ++m_generation;
        inscrire();
        demanderHoteAnnonce();
        emit change();
    } else if (nom == ServiceCoquille) {
        if (nouveau != m_coquille) {
            m_coquille = nouveau;
            emit change();
        }
    } else if (nomDHote(nom)) {
        hoteChange();
    } else if (nouveau.isEmpty() && m_lecteurs.remove(nom) && m_lecteurs.isEmpty()) {
        emit change(); // the last host that read the item left the bus
    }
}

void ObservateurSni::hoteChange() {
    ++m_generation;
    if (m_inscritAupres.isEmpty()) {
        inscrire(); // a watcher that refused or hung may take the item now that a host came
    }
    emit change();
}

void ObservateurSni::elementRetire(const QString& element) {
    if (!m_element.isNull() && m_element->designe(element) && !m_inscritAupres.isEmpty()) {
        m_inscritAupres.clear();
        emit change();
    }
}

void ObservateurSni::busPerdu() {
    qCWarning(journalPlateforme) << "the session bus went away";
    m_observateur.clear();
    m_coquille.clear();
    m_inscritAupres.clear();
    m_lecteurs.clear();
    m_enCours = false;
    ++m_generation;
    emit change();
    if (m_reconnexion) {
        m_attenteBus.start(0); // a bus that dropped the program is often still there
    }
}

void ObservateurSni::reconnecter() {
    // Half a second after the first try, then twice as long each time, up to a minute.
    constexpr int PremierDelaiMs = 500;
    constexpr int DernierDelaiMs = 60000;
    QDBusConnection bus = m_reconnexion(++m_connexions);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(bus.name());
        const int delai = m_attenteBus.interval();
        m_attenteBus.start(delai == 0 ? PremierDelaiMs : std::min(2 * delai, DernierDelaiMs));
        return;
    }
    qCInfo(journalPlateforme) << "connected to the session bus again, as" << bus.baseService();
    m_bus = bus;
    m_attenteBus.setInterval(0);
    m_enCours = true;
    brancher(); // the item, made anew when a watcher is found, is served there
}

void ObservateurSni::proprietesChangees(const QString& interface, const QVariantMap& changees,
                                        const QStringList&) {
    const QVariant annonce = changees.value(ProprieteHote);
    if (interface == ServiceObservateur && annonce.metaType() == QMetaType::fromType<bool>()) {
        ++m_motsHote; // newer than any answer still on its way
        hoteAnnonce(annonce.toBool());
    }
}

void ObservateurSni::demanderHoteAnnonce() {
    if (m_observateur.isEmpty()) {
        return;
    }
    const QString destinataire = m_observateur;
    const quint64 mots = m_motsHote;
    QDBusMessage question = QDBusMessage::createMethodCall(
        destinataire, CheminObservateur, InterfaceProprietes, QStringLiteral("Get"));
    question << ServiceObservateur << ProprieteHote;
    auto* appel = new QDBusPendingCallWatcher(m_bus.asyncCall(question, DelaiReponseMs), this);
    connect(appel, &QDBusPendingCallWatcher::finished, this, [this, appel, destinataire, mots] {
        appel->deleteLater();
        const QDBusMessage reponse = appel->reply();
        if (destinataire != m_observateur || mots != m_motsHote ||
            reponse.type() != QDBusMessage::ReplyMessage || reponse.arguments().isEmpty()) {
            return; // stale, or a watcher without the property: its hosts' reading decides
        }
        const QVariant annonce =
            qdbus_cast<QDBusVariant>(reponse.arguments().constFirst()).variant();
        if (annonce.metaType() == QMetaType::fromType<bool>()) {
            hoteAnnonce(annonce.toBool());
        }
    });
}

void ObservateurSni::hoteAnnonce(bool annonce) {
    if (annonce == m_hoteAnnonce) {
        return;
    }
    m_hoteAnnonce = annonce;
    ++m_generation; // a host back behind the same watcher is another tray
    emit change();
}

void ObservateurSni::suivre(ElementSni* element) {
    if (element == m_element) {
        return;
    }
    if (!m_element.isNull()) {
        disconnect(m_element, nullptr, this, nullptr);
    }
    m_element = element;
    m_inscritAupres.clear();
    m_lecteurs.clear();
    if (element != nullptr) {
        connect(element, &ElementSni::publie, this, &ObservateurSni::inscrire);
        connect(element, &ElementSni::luPar, this, &ObservateurSni::lecture);
        inscrire();
    }
}

void ObservateurSni::lecture(const QString& lecteur) {
    if (m_lecteurs.contains(lecteur) || m_lecteurs.size() >= LecteursRetenus) {
        return;
    }
    m_lecteurs.insert(lecteur);
    if (m_lecteurs.size() == 1) {
        emit change();
    }
}

void ObservateurSni::inscrire() {
    if (m_element.isNull() || m_element->service().isEmpty() || m_observateur.isEmpty()) {
        return;
    }
    if (m_inscriptionEnVol) {
        m_aReinscrire = true;
        return;
    }
    m_inscriptionEnVol = true;
    m_aReinscrire = false;
    // To the watcher's owner itself, so that the answer says who accepted the item.
    const QString destinataire = m_observateur;
    QDBusMessage question =
        QDBusMessage::createMethodCall(destinataire, CheminObservateur, ServiceObservateur,
                                       QStringLiteral("RegisterStatusNotifierItem"));
    question << m_element->service();
    auto* appel = new QDBusPendingCallWatcher(m_bus.asyncCall(question, DelaiReponseMs), this);
    connect(appel, &QDBusPendingCallWatcher::finished, this,
            [this, appel, destinataire, element = m_element] {
                appel->deleteLater();
                m_inscriptionEnVol = false;
                const QDBusMessage reponse = appel->reply();
                if (reponse.type() != QDBusMessage::ReplyMessage) {
                    // Once until the next registration that goes through: a watcher that hangs
                    // is asked again at every change.
                    if (!m_echecSignale) {
                        m_echecSignale = true;
                        qCWarning(journalPlateforme)
                            << "the tray watcher did not take the item:" << reponse.errorName()
                            << reponse.errorMessage();
                    }
                } else if (element == m_element && destinataire == m_observateur) {
                    m_echecSignale = false;
                    m_inscritAupres = destinataire;
                    emit change();
                }
                if (m_aReinscrire) {
                    inscrire(); // the watcher or the item changed meanwhile
                }
            });
}
