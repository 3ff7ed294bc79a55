// The D-Bus tray's presence as the watcher service and its host come and go, on a private bus.
#include "platform/PresenceZoneNotificationQt.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <QDBusConnection>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

const QString Service = QStringLiteral("org.kde.StatusNotifierWatcher");

// The watcher as a panel exports it: the host's registration, as a property and a signal. It
// answers from a thread of its own, as another process would: the watcher under test asks
// synchronously at construction.
class FauxObservateur : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hote)

public:
    bool hote() const { return m_hote; }

    // The bus relays a signal only when it is emitted in the object's own thread.
    void annoncerHote() {
        QMetaObject::invokeMethod(this, [this] { emit StatusNotifierHostRegistered(); });
    }

    std::atomic<bool> m_hote = false;

signals:
    void StatusNotifierHostRegistered();
};

class PresenceZoneNotificationQtTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_demon.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
        ASSERT_TRUE(m_demon.waitForReadyRead(10000)) << "dbus-daemon did not start";
        m_adresse = QString::fromUtf8(m_demon.readLine()).trimmed();
        m_panneau = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(m_adresse, QStringLiteral("panneau")));
        ASSERT_TRUE(m_panneau->isConnected());
        // Exported before it moves: the bus gives the object a child of its own, which must be
        // made in the object's thread and then moves with it.
        ASSERT_TRUE(m_panneau->registerObject(
            QStringLiteral("/StatusNotifierWatcher"), &m_observateur,
            QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSignals));
        m_observateur.moveToThread(&m_filPanneau);
        m_filPanneau.start();
    }

    void TearDown() override {
        m_filPanneau.quit();
        m_filPanneau.wait();
        m_panneau.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("panneau"));
        QDBusConnection::disconnectFromBus(QStringLiteral("programme"));
        m_demon.kill();
        m_demon.waitForFinished();
    }

    QDBusConnection busDuProgramme() const {
        return QDBusConnection::connectToBus(m_adresse, QStringLiteral("programme"));
    }

    QProcess m_demon;
    QString m_adresse;
    std::unique_ptr<QDBusConnection> m_panneau;
    QThread m_filPanneau;
    FauxObservateur m_observateur;
};

TEST_F(PresenceZoneNotificationQtTest, HostComingAndGoing_reportedOncePerRealChange) {
    PresenceZoneNotificationQt presence(busDuProgramme());
    QSignalSpy changements(&presence, &PresenceZoneNotification::changee);
    EXPECT_FALSE(presence.presente()) << "no watcher on the bus";

    // A watcher without a host is no tray yet.
    ASSERT_TRUE(m_panneau->registerService(Service));
    QTest::qWait(300);
    EXPECT_EQ(changements.count(), 0) << "a watcher without a host";

    m_observateur.m_hote = true;
    m_observateur.annoncerHote();
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() == 1; }));
    EXPECT_TRUE(changements.at(0).at(0).toBool());
    EXPECT_TRUE(presence.presente());

    // The panel crashes: its name leaves the bus.
    ASSERT_TRUE(m_panneau->unregisterService(Service));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() == 2; }));
    EXPECT_FALSE(changements.at(1).at(0).toBool());
    EXPECT_FALSE(presence.presente());

    // It comes back with its host already registered.
    ASSERT_TRUE(m_panneau->registerService(Service));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() == 3; }));
    EXPECT_TRUE(changements.at(2).at(0).toBool());

    // A host registering again changes nothing.
    m_observateur.annoncerHote();
    QTest::qWait(300);
    EXPECT_EQ(changements.count(), 3) << "a second registration of the same host";
}

TEST_F(PresenceZoneNotificationQtTest, HostAlreadyThere_knownAtConstruction) {
    m_observateur.m_hote = true;
    ASSERT_TRUE(m_panneau->registerService(Service));

    const PresenceZoneNotificationQt presence(busDuProgramme());
    EXPECT_TRUE(presence.presente()) << "start-up decides from this whether to hide the window";
}

} // namespace

#include "PresenceZoneNotificationQtTest.moc"
