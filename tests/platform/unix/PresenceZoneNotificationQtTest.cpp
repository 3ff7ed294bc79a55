// The D-Bus tray's presence and the program's own item, on a private bus: the item counts as
// shown only while the watcher took it and a host that read it is still on the bus.
#include "platform/unix/PresenceZoneNotificationQt.h"

#include "platform/unix/ElementSni.h"
#include "platform/unix/ObservateurSni.h"
#include "platform/unix/TypesSni.h"
#include "tests/platform/unix/BusSessionPrive.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QFile>
#include <QMenu>
#include <QMutex>
#include <QPixmap>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

const QString Service = sni::ServiceObservateur;

// The watcher as a panel exports it. It answers from a thread of its own, as another process
// would, and, when told to, never answers a registration.
class FauxObservateur : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hoteInscrit SCRIPTABLE true)

public:
    bool hoteInscrit() const { return m_hote; }
    std::atomic<bool> m_hote = true;
    QString inscrit() const {
        const QMutexLocker verrou(&m_mutex);
        return m_inscrit;
    }
    std::atomic<bool> m_muet = false;

public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service) {
        if (m_muet) {
            setDelayedReply(true); // and no reply ever
            return;
        }
        const QMutexLocker verrou(&m_mutex);
        m_inscrit = service;
    }

private:
    mutable QMutex m_mutex;
    QString m_inscrit;
};

class PresenceZoneNotificationQtTest : public BusSessionPrive {
protected:
    void SetUp() override {
        BusSessionPrive::SetUp();
        m_panneau.emplace(connexion(QStringLiteral("panneau")));
        // Exported before it moves: the bus gives the object a child of its own, which must be
        // made in the object's thread and then moves with it.
        ASSERT_TRUE(m_panneau->registerObject(QString(sni::CheminObservateur), &m_observateur,
                                              QDBusConnection::ExportScriptableSlots |
                                                  QDBusConnection::ExportScriptableProperties));
        m_observateur.moveToThread(&m_filPanneau);
        m_filPanneau.start();
    }

    void TearDown() override {
        m_filPanneau.quit();
        m_filPanneau.wait();
        BusSessionPrive::TearDown();
    }

    std::optional<QDBusConnection> m_panneau;
    QThread m_filPanneau;
    FauxObservateur m_observateur;
};

TEST_F(PresenceZoneNotificationQtTest, ItemShownWhileTakenAndReadByAHostOnTheBus) {
    ObservateurSni sni(connexion(QStringLiteral("programme")));
    PresenceZoneNotificationQt presence(sni);
    EXPECT_TRUE(presence.enCours()) << "nothing is asked synchronously";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presence.enCours(); }));
    EXPECT_FALSE(presence.presente()) << "no watcher on the bus";

    ASSERT_TRUE(m_panneau->registerService(Service));
    ASSERT_TRUE(QTest::qWaitFor([&] { return presence.presente(); }));

    ElementSni element(sni.bus(), m_icone, QStringLiteral("Tarvane Francs/Euros/Francs"), nullptr);
    sni.suivre(&element);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !element.service().isEmpty(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_observateur.inscrit() == element.service(); }));
    QTest::qWait(200);
    EXPECT_FALSE(presence.accueillie()) << "taken by the watcher, read by no host";

    auto hote = std::make_optional(connexion(QStringLiteral("hote")));
    // A call that the item refuses is no reading, from a client that stays on the bus.
    const QDBusMessage refusee =
        hote->call(QDBusMessage::createMethodCall(element.service(), sni::CheminElement,
                                                  QStringLiteral("org.example.Inconnue"),
                                                  QStringLiteral("Lire")),
                   QDBus::BlockWithGui, 5000);
    EXPECT_EQ(refusee.type(), QDBusMessage::ErrorMessage);
    QTest::qWait(200);
    EXPECT_FALSE(presence.accueillie()) << "a refused call counted as a host's reading";
    const QDBusMessage proprietes = lire(*hote, element.service());
    ASSERT_EQ(proprietes.type(), QDBusMessage::ReplyMessage)
        << proprietes.errorMessage().toStdString();
    const auto valeurs = qdbus_cast<QVariantMap>(proprietes.arguments().constFirst());
    EXPECT_EQ(qdbus_cast<InfobulleSni>(valeurs.value(QStringLiteral("ToolTip"))).titre,
              QStringLiteral("Tarvane Francs/Euros/Francs"));
    const auto images = qdbus_cast<PixmapsSni>(valeurs.value(QStringLiteral("IconPixmap")));
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(images.at(0).pixels.size(), 16 * 16 * 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return presence.accueillie(); }));

    // The host dies; the watcher stays and says nothing.
    hote.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("hote"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presence.accueillie(); }));
    EXPECT_TRUE(presence.presente());

    // Another watcher, which never answers the registration: read or not, the item is not shown.
    m_observateur.m_muet = true;
    ASSERT_TRUE(m_panneau->unregisterService(Service));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presence.presente(); }));
    ASSERT_TRUE(m_panneau->registerService(Service));
    ASSERT_TRUE(QTest::qWaitFor([&] { return presence.presente(); }));
    hote.emplace(connexion(QStringLiteral("hote")));
    ASSERT_EQ(lire(*hote, element.service()).type(), QDBusMessage::ReplyMessage);
    QTest::qWait(2500);
    EXPECT_FALSE(presence.accueillie()) << "a watcher that never took the item";
    hote.reset();
}

// A watcher that reads the item for a shell, and outlives it, says only that no host is left.
TEST_F(PresenceZoneNotificationQtTest, ItemNotShownWhileTheWatcherSaysNoHostIsRegistered) {
    const auto annoncer = [](QDBusConnection& bus, bool hote) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QString(sni::CheminObservateur), QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"));
        signal << Service << QVariantMap{{QStringLiteral("IsStatusNotifierHostRegistered"), hote}}
               << QStringList();
        EXPECT_TRUE(bus.send(signal));
    };
    m_observateur.m_hote = false; // already so when the program comes
    ASSERT_TRUE(m_panneau->registerService(Service));
    ObservateurSni sni(connexion(QStringLiteral("programme")));
    PresenceZoneNotificationQt presence(sni);
    ElementSni element(sni.bus(), m_icone, QString(), nullptr);
    sni.suivre(&element);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !element.service().isEmpty(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_observateur.inscrit() == element.service(); }));
    QDBusConnection hote = connexion(QStringLiteral("hote"));
    ASSERT_EQ(lire(hote, element.service()).type(), QDBusMessage::ReplyMessage);
    QTest::qWait(300);
    EXPECT_FALSE(presence.accueillie()) << "read, but the watcher has no host";
    EXPECT_TRUE(presence.presente());

    annoncer(*m_panneau, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return presence.accueillie(); }));
    annoncer(hote, false); // not the watcher's word
    QTest::qWait(300);
    EXPECT_TRUE(presence.accueillie());
    annoncer(*m_panneau, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presence.accueillie(); }));
    EXPECT_TRUE(presence.presente());
}

// A session bus that takes no message over 64 KiB, and drops a client that sends one.
class PresenceBusBorneTest : public PresenceZoneNotificationQtTest {
protected:
    QString configuration() override { return configurationBornee(m_dossier, 65536); }
    QTemporaryDir m_dossier;
};

// The bus drops the program and is still there: the program connects again and finds the tray.
TEST_F(PresenceBusBorneTest, ConnectionDroppedByTheBus_madeAgain_trayFoundThere) {
    ASSERT_TRUE(m_panneau->registerService(Service));
    QStringList connexions;
    ObservateurSni sni(connexion(QStringLiteral("programme")), [&](int numero) {
        connexions << QStringLiteral("programme-%1").arg(numero);
        return connexion(connexions.constLast());
    });
    PresenceZoneNotificationQt presence(sni);
    ASSERT_TRUE(QTest::qWaitFor([&] { return presence.presente(); }));
    QSignalSpy changements(&presence, &PresenceZoneNotification::changee);

    QDBusMessage tropLong = QDBusMessage::createSignal(
        QStringLiteral("/"), QStringLiteral("org.example.Essai"), QStringLiteral("TropLong"));
    tropLong << QString(100000, QLatin1Char('x'));
    sni.bus().send(tropLong);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() >= 2; }, 10000));
    EXPECT_FALSE(changements.at(0).at(0).toBool()) << "the tray lost with the bus";
    EXPECT_TRUE(changements.constLast().at(0).toBool()) << "and found again";
    EXPECT_EQ(connexions, QStringList{QStringLiteral("programme-1")});
    EXPECT_TRUE(sni.bus().isConnected());
    for (const QString& nom : std::as_const(connexions)) {
        QDBusConnection::disconnectFromBus(nom);
    }
}

} // namespace

#include "PresenceZoneNotificationQtTest.moc"
