// The D-Bus tray's presence and the program's own item, on a private bus: the item counts as
// shown only while the watcher took it and a host that read it is still on the bus.
#include "platform/unix/PresenceZoneNotificationQt.h"

#include "platform/unix/ElementSni.h"
#include "platform/unix/ObservateurSni.h"
#include "platform/unix/TypesSni.h"

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

// One event of a dbusmenu group. (isvu)
struct EvenementMenu {
    int id = 0;
    QString quoi;
    QDBusVariant donnees;
    uint instant = 0;
};
Q_DECLARE_METATYPE(EvenementMenu)

QDBusArgument& operator<<(QDBusArgument& argument, const EvenementMenu& evenement) {
    argument.beginStructure();
    argument << evenement.id << evenement.quoi << evenement.donnees << evenement.instant;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, EvenementMenu& evenement) {
    argument.beginStructure();
    argument >> evenement.id >> evenement.quoi >> evenement.donnees >> evenement.instant;
    argument.endStructure();
    return argument;
}

namespace {

const QString Service = QStringLiteral("org.kde.StatusNotifierWatcher");

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

class PresenceZoneNotificationQtTest : public ::testing::Test {
protected:
    // The bus's configuration: the usual session bus's.
    virtual QString configuration() { return QStringLiteral("--session"); }

    void SetUp() override {
        m_demon.start(QStringLiteral("dbus-daemon"),
                      {configuration(), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                       QStringLiteral("--print-address=1")});
        ASSERT_TRUE(m_demon.waitForReadyRead(10000)) << "dbus-daemon did not start";
        m_adresse = QString::fromUtf8(m_demon.readLine()).trimmed();
        m_panneau.emplace(connexion(QStringLiteral("panneau")));
        // Exported before it moves: the bus gives the object a child of its own, which must be
        // made in the object's thread and then moves with it.
        ASSERT_TRUE(m_panneau->registerObject(
            QStringLiteral("/StatusNotifierWatcher"), &m_observateur,
            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableProperties));
        m_observateur.moveToThread(&m_filPanneau);
        m_filPanneau.start();
        QPixmap image(16, 16);
        image.fill(Qt::darkBlue); // sent over the bus: every byte set
        m_icone.addPixmap(image);
    }

    void TearDown() override {
        m_filPanneau.quit();
        m_filPanneau.wait();
        for (const char* nom : {"panneau", "programme", "hote"}) {
            QDBusConnection::disconnectFromBus(QString::fromLatin1(nom));
        }
        m_demon.kill();
        m_demon.waitForFinished();
    }

    QDBusConnection connexion(const QString& nom) const {
        return QDBusConnection::connectToBus(m_adresse, nom);
    }

    // What a host does first with a new item: read all its properties.
    static QDBusMessage lire(QDBusConnection& hote, const QString& service) {
        QDBusMessage question = QDBusMessage::createMethodCall(
            service, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
        question << QStringLiteral("org.kde.StatusNotifierItem");
        return hote.call(question, QDBus::BlockWithGui, 5000); // the item answers from this thread
    }

    QProcess m_demon;
    QString m_adresse;
    std::optional<QDBusConnection> m_panneau;
    QThread m_filPanneau;
    FauxObservateur m_observateur;
    QIcon m_icone;
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
        hote->call(QDBusMessage::createMethodCall(
                       element.service(), QStringLiteral("/StatusNotifierItem"),
                       QStringLiteral("org.example.Inconnue"), QStringLiteral("Lire")),
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
            QStringLiteral("/StatusNotifierWatcher"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
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

// What hosts send the item and its menu, as the real ones were seen to: clicks come back as the
// shell's codes; the menu's entries carry their access keys and greying; a click on an entry,
// alone or in a group, runs it; only the "opened" event, not a pre-fetching AboutToShow, tells
// that the menu opened.
TEST_F(PresenceZoneNotificationQtTest, HostsCallsOnItemAndMenu_reachTheProgramAsItsOwnEvents) {
    QMenu menu;
    QAction* apropos = menu.addAction(QStringLiteral("&A propos"));
    QAction* quitter = menu.addAction(QStringLiteral("&Quitter"));
    QSignalSpy ouvertures(&menu, &QMenu::aboutToShow);
    QSignalSpy choixApropos(apropos, &QAction::triggered);
    QSignalSpy choixQuitter(quitter, &QAction::triggered);
    ElementSni element(connexion(QStringLiteral("programme")), m_icone, QString(), &menu);
    QSignalSpy clics(&element, &ElementSni::clic);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !element.service().isEmpty(); }));

    QDBusConnection hote = connexion(QStringLiteral("hote"));
    const auto appeler = [&](const QString& chemin, const QString& methode,
                             const QVariantList& arguments) {
        QDBusMessage question = QDBusMessage::createMethodCall(
            element.service(), chemin,
            chemin == QLatin1String("/MenuBar") ? QStringLiteral("com.canonical.dbusmenu")
                                                : QStringLiteral("org.kde.StatusNotifierItem"),
            methode);
        question.setArguments(arguments);
        const QDBusMessage reponse = hote.call(question, QDBus::BlockWithGui, 5000);
        EXPECT_EQ(reponse.type(), QDBusMessage::ReplyMessage)
            << methode.toStdString() << ": " << reponse.errorMessage().toStdString();
        return reponse;
    };
    const auto libelles = [&] {
        const QDBusMessage reponse = appeler(QStringLiteral("/MenuBar"),
                                             QStringLiteral("GetLayout"), {0, -1, QStringList()});
        QStringList vus;
        for (const ElementMenuSni& entree :
             qdbus_cast<ElementMenuSni>(reponse.arguments().value(1)).enfants) {
            vus << entree.proprietes.value(QStringLiteral("label")).toString() +
                       (entree.proprietes.value(QStringLiteral("enabled")).toBool() ? ""
                                                                                    : " (off)");
        }
        return vus;
    };

    for (const auto& [methode, code] :
         {std::pair{"Activate", 0x201}, {"ContextMenu", 0x205}, {"SecondaryActivate", 0x207}}) {
        appeler(QStringLiteral("/StatusNotifierItem"), QString::fromLatin1(methode), {10, 20});
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return clics.count() == 3; }));
    EXPECT_EQ(clics.at(0).at(0).toInt(), 0x201);
    EXPECT_EQ(clics.at(1).at(0).toInt(), 0x205);
    EXPECT_EQ(clics.at(2).at(0).toInt(), 0x207);

    EXPECT_EQ(libelles(), (QStringList{QStringLiteral("_A propos"), QStringLiteral("_Quitter")}));
    apropos->setEnabled(false);
    EXPECT_EQ(libelles(),
              (QStringList{QStringLiteral("_A propos (off)"), QStringLiteral("_Quitter")}));
    appeler(QStringLiteral("/MenuBar"), QStringLiteral("Event"),
            {1, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    apropos->setEnabled(true);

    appeler(QStringLiteral("/MenuBar"), QStringLiteral("AboutToShow"), {0});
    QTest::qWait(100);
    EXPECT_EQ(ouvertures.count(), 0) << "a pre-fetch is no opening";
    appeler(QStringLiteral("/MenuBar"), QStringLiteral("Event"),
            {0, QStringLiteral("opened"), QVariant::fromValue(QDBusVariant(0)), 0u});
    ASSERT_TRUE(QTest::qWaitFor([&] { return ouvertures.count() == 1; }));

    // A group of events, as xfce4-panel's menu may send them: an unknown entry is reported back.
    qDBusRegisterMetaType<EvenementMenu>();
    qDBusRegisterMetaType<QList<EvenementMenu>>();
    const QList<EvenementMenu> groupe{{2, QStringLiteral("clicked"), QDBusVariant(0), 0},
                                      {7, QStringLiteral("clicked"), QDBusVariant(0), 0}};
    const QDBusMessage erreurs = appeler(QStringLiteral("/MenuBar"), QStringLiteral("EventGroup"),
                                         {QVariant::fromValue(groupe)});
    EXPECT_EQ(qdbus_cast<QList<int>>(erreurs.arguments().value(0)), QList<int>{7});

    // Each entry once, however often a group names it: the answer never outgrows the menu.
    const auto groupeDe = [&](const QList<int>& ids) {
        const QDBusMessage reponse =
            appeler(QStringLiteral("/MenuBar"), QStringLiteral("GetGroupProperties"),
                    {QVariant::fromValue(ids), QStringList()});
        QList<int> vus;
        for (const ProprietesMenuSni& entree :
             qdbus_cast<ListeProprietesMenuSni>(reponse.arguments().value(0))) {
            vus << entree.id;
        }
        return vus;
    };
    EXPECT_EQ(groupeDe({2, 9, 2, 1, 2}), (QList<int>{2, 1}));
    EXPECT_EQ(groupeDe(QList<int>(200000, 1)), QList<int>{1});
    ASSERT_TRUE(QTest::qWaitFor([&] { return choixQuitter.count() == 1; }));
    EXPECT_EQ(choixApropos.count(), 0) << "a greyed entry clicked does nothing";
}

TEST_F(PresenceZoneNotificationQtTest, ItemRecognisedInEveryFormWatchersWrite) {
    ElementSni element(connexion(QStringLiteral("programme")), m_icone, QString(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !element.service().isEmpty(); }));
    const QString nom = element.service();
    const QString unique = connexion(QStringLiteral("programme")).baseService();
    for (const QString& forme : {nom, nom + QStringLiteral("/StatusNotifierItem"), unique,
                                 unique + QStringLiteral("/StatusNotifierItem"),
                                 unique + QStringLiteral("@/StatusNotifierItem")}) {
        EXPECT_TRUE(element.designe(forme)) << forme.toStdString();
    }
    for (const QString& forme :
         {nom + QStringLiteral("-2"), unique + QStringLiteral("/org/ayatana/NotificationItem/x"),
          QStringLiteral(":1.999@/StatusNotifierItem"), QString()}) {
        EXPECT_FALSE(element.designe(forme)) << forme.toStdString();
    }
}

// A client that holds the names the item would take next keeps it out of no tray.
TEST_F(PresenceZoneNotificationQtTest, ItemNamesAllTaken_itemServedUnderItsConnectionsName) {
    QDBusConnection programme = connexion(QStringLiteral("programme"));
    auto premier = std::make_optional<ElementSni>(programme, m_icone, QString(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !premier->service().isEmpty(); }));
    const QString nom = premier->service(); // org.kde.StatusNotifierItem-<pid>-<n>
    premier.reset();
    const qsizetype tiret = nom.lastIndexOf(QLatin1Char('-'));
    QDBusConnection squatteur = connexion(QStringLiteral("hote"));
    for (int n = nom.mid(tiret + 1).toInt() + 1, fin = n + 20; n < fin; ++n) {
        ASSERT_TRUE(squatteur.registerService(nom.left(tiret + 1) + QString::number(n)));
    }
    ElementSni second(programme, m_icone, QString(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !second.service().isEmpty(); }));
    EXPECT_EQ(second.service(), programme.baseService());
}

// A call bigger than a connection may hold unread (63 MiB) leaves the program hearing the bus.
TEST_F(PresenceZoneNotificationQtTest, HugeCall_theItemStillAnswersAfterIt) {
    ObservateurSni sni(connexion(QStringLiteral("programme")));
    ElementSni element(sni.bus(), m_icone, QString(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !element.service().isEmpty(); }));
    QDBusConnection hote = connexion(QStringLiteral("hote"));
    QDBusMessage enorme = QDBusMessage::createMethodCall(
        element.service(), QStringLiteral("/StatusNotifierItem"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    enorme << QByteArray(35 << 20, 'x') << QByteArray(35 << 20, 'y'); // arrays stop at 64 MiB
    const QDBusMessage refus = hote.call(enorme, QDBus::BlockWithGui, 20000);
    EXPECT_EQ(refus.type(), QDBusMessage::ErrorMessage) << "a call of no method the item has";
    QDBusMessage question = QDBusMessage::createMethodCall(
        element.service(), QStringLiteral("/StatusNotifierItem"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    question << QStringLiteral("org.kde.StatusNotifierItem");
    const QDBusMessage reponse = hote.call(question, QDBus::BlockWithGui, 1000);
    EXPECT_EQ(reponse.type(), QDBusMessage::ReplyMessage) << reponse.errorMessage().toStdString();
}

// A session bus that takes no message over 64 KiB, and drops a client that sends one.
class PresenceBusBorneTest : public PresenceZoneNotificationQtTest {
protected:
    QString configuration() override {
        QFile fichier(m_dossier.filePath(QStringLiteral("bus.conf")));
        EXPECT_TRUE(fichier.open(QIODevice::WriteOnly));
        fichier.write("<busconfig><include>/usr/share/dbus-1/session.conf</include>"
                      "<limit name=\"max_message_size\">65536</limit></busconfig>");
        return QStringLiteral("--config-file=") + fichier.fileName();
    }
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
