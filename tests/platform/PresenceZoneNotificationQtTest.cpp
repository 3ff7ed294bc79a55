// The D-Bus tray's presence as the watcher service and its host come and go, on a private bus.
#include "platform/PresenceZoneNotificationQt.h"

#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <QDBusConnection>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {

const QString Service = QStringLiteral("org.kde.StatusNotifierWatcher");

// The watcher as a panel exports it: the host's registration, as a property and a signal. It
// answers from a thread of its own, as another process would.
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

TEST_F(PresenceZoneNotificationQtTest, HostCountsOnlyWhileAliveOnTheBus_reportedOncePerChange) {
    PresenceZoneNotificationQt presence(busDuProgramme());
    QSignalSpy changements(&presence, &PresenceZoneNotification::changee);
    EXPECT_TRUE(presence.enCours()) << "nothing is asked synchronously";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !presence.enCours(); }));
    ASSERT_EQ(changements.count(), 1) << "the end of the first look is told";
    EXPECT_FALSE(changements.at(0).at(0).toBool()) << "no watcher on the bus";

    // A watcher that says a host is registered while none is alive, as one that outlives its
    // panel does: no tray.
    ASSERT_TRUE(m_panneau->registerService(Service));
    m_observateur.m_hote = true;
    m_observateur.annoncerHote();
    QTest::qWait(300);
    EXPECT_EQ(changements.count(), 1) << "a watcher's word without a live host";

    // The host comes: it owns its name on the bus.
    // A connection closes once its last handle goes: the host lives in this one.
    auto hote =
        std::make_optional(QDBusConnection::connectToBus(m_adresse, QStringLiteral("hote")));
    ASSERT_TRUE(hote->registerService(QStringLiteral("org.kde.StatusNotifierHost-4242")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() == 2; }));
    EXPECT_TRUE(presence.presente());

    // It dies; the watcher says nothing and goes on saying yes.
    hote.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("hote"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() == 3; }));
    EXPECT_FALSE(presence.presente());

    // A host back, then a watcher that changes its answer without a signal: the next client to
    // leave the bus has it asked again.
    hote.emplace(QDBusConnection::connectToBus(m_adresse, QStringLiteral("hote")));
    ASSERT_TRUE(hote->registerService(QStringLiteral("org.kde.StatusNotifierHost-4243")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() == 4; }));
    m_observateur.m_hote = false;
    QDBusConnection::connectToBus(m_adresse, QStringLiteral("passant"));
    QDBusConnection::disconnectFromBus(QStringLiteral("passant"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() == 5; }));
    EXPECT_FALSE(presence.presente());

    // Repeated registrations change nothing.
    m_observateur.m_hote = true;
    m_observateur.annoncerHote();
    ASSERT_TRUE(QTest::qWaitFor([&] { return changements.count() == 6; }));
    m_observateur.annoncerHote();
    QTest::qWait(300);
    EXPECT_EQ(changements.count(), 6) << "a second registration of the same host";
    hote.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("hote"));
}

} // namespace

#include "PresenceZoneNotificationQtTest.moc"
