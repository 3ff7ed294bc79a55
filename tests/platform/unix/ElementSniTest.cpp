// The program's own item and its menu on a private bus, as hosts and other clients call them.
#include "platform/unix/ElementSni.h"

#include "platform/unix/ProtocoleSni.h"
#include "platform/unix/TypesSni.h"
#include "tests/platform/unix/BusSessionPrive.h"

#include <gtest/gtest.h>
#include <optional>
#include <QDBusMetaType>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

using ElementSniTest = BusSessionPrive;

// Counts the signals it is connected to.
class Compteur : public QObject {
    Q_OBJECT
public:
    int vus = 0;
public slots:
    void compter() { ++vus; }
};

// What hosts send the item and its menu, as the real ones were seen to: clicks come back as the
// shell's codes; the menu's entries carry their access keys and greying; a click on an entry,
// alone or in a group, runs it; only the "opened" event, not a pre-fetching AboutToShow, tells
// that the menu opened.
TEST_F(ElementSniTest, HostsCallsOnItemAndMenu_reachTheProgramAsItsOwnEvents) {
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
            chemin == sni::CheminMenu ? sni::InterfaceMenu : sni::InterfaceElement, methode);
        question.setArguments(arguments);
        const QDBusMessage reponse = hote.call(question, QDBus::BlockWithGui, 5000);
        EXPECT_EQ(reponse.type(), QDBusMessage::ReplyMessage)
            << methode.toStdString() << ": " << reponse.errorMessage().toStdString();
        return reponse;
    };
    const auto libelles = [&] {
        const QDBusMessage reponse =
            appeler(QString(sni::CheminMenu), QStringLiteral("GetLayout"), {0, -1, QStringList()});
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
        appeler(QString(sni::CheminElement), QString::fromLatin1(methode), {10, 20});
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return clics.count() == 3; }));
    EXPECT_EQ(clics.at(0).at(0).toInt(), 0x201);
    EXPECT_EQ(clics.at(1).at(0).toInt(), 0x205);
    EXPECT_EQ(clics.at(2).at(0).toInt(), 0x207);

    EXPECT_EQ(libelles(), (QStringList{QStringLiteral("_A propos"), QStringLiteral("_Quitter")}));
    apropos->setEnabled(false);
    EXPECT_EQ(libelles(),
              (QStringList{QStringLiteral("_A propos (off)"), QStringLiteral("_Quitter")}));
    appeler(QString(sni::CheminMenu), QStringLiteral("Event"),
            {1, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), 0u});
    apropos->setEnabled(true);

    appeler(QString(sni::CheminMenu), QStringLiteral("AboutToShow"), {0});
    QTest::qWait(100);
    EXPECT_EQ(ouvertures.count(), 0) << "a pre-fetch is no opening";
    appeler(QString(sni::CheminMenu), QStringLiteral("Event"),
            {0, QStringLiteral("opened"), QVariant::fromValue(QDBusVariant(0)), 0u});
    ASSERT_TRUE(QTest::qWaitFor([&] { return ouvertures.count() == 1; }));

    // A group of events, as xfce4-panel's menu may send them: an unknown entry is reported back.
    const QList<EvenementMenuSni> groupe{{2, QStringLiteral("clicked"), QDBusVariant(0), 0},
                                         {7, QStringLiteral("clicked"), QDBusVariant(0), 0}};
    const QDBusMessage erreurs = appeler(QString(sni::CheminMenu), QStringLiteral("EventGroup"),
                                         {QVariant::fromValue(groupe)});
    EXPECT_EQ(qdbus_cast<QList<int>>(erreurs.arguments().value(0)), QList<int>{7});

    // Each entry once, however often a group names it: the answer never outgrows the menu.
    const auto groupeDe = [&](const QList<int>& ids) {
        const QDBusMessage reponse =
            appeler(QString(sni::CheminMenu), QStringLiteral("GetGroupProperties"),
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

    // Both entries greyed at once, as while a box is open: one new layout told.
    Compteur dispositions;
    ASSERT_TRUE(hote.connect(element.service(), sni::CheminMenu, sni::InterfaceMenu,
                             QStringLiteral("LayoutUpdated"), &dispositions, SLOT(compter())));
    apropos->setEnabled(false);
    quitter->setEnabled(false);
    QTest::qWait(300);
    EXPECT_EQ(dispositions.vus, 1);
}

TEST_F(ElementSniTest, ItemRecognisedInEveryFormWatchersWrite) {
    ElementSni element(connexion(QStringLiteral("programme")), m_icone, QString(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !element.service().isEmpty(); }));
    const QString nom = element.service();
    const QString unique = connexion(QStringLiteral("programme")).baseService();
    for (const QString& forme :
         {nom, nom + QString(sni::CheminElement), unique, unique + QString(sni::CheminElement),
          unique + QLatin1Char('@') + sni::CheminElement}) {
        EXPECT_TRUE(element.designe(forme)) << forme.toStdString();
    }
    for (const QString& forme :
         {nom + QStringLiteral("-2"), unique + QStringLiteral("/org/ayatana/NotificationItem/x"),
          QStringLiteral(":1.999@/StatusNotifierItem"), QString()}) {
        EXPECT_FALSE(element.designe(forme)) << forme.toStdString();
    }
}

// A client that holds the names the item would take next keeps it out of no tray.
TEST_F(ElementSniTest, ItemNamesAllTaken_itemServedUnderItsConnectionsName) {
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

// What no host sends is refused, each as the protocol names it, and is no reading of the item.
TEST_F(ElementSniTest, CallsNoHostSends_refusedAsSuch_andNoReading) {
    QMenu menu;
    menu.addAction(QStringLiteral("&A propos"));
    ElementSni element(connexion(QStringLiteral("programme")), m_icone, QString(), &menu);
    QSignalSpy lectures(&element, &ElementSni::luPar);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !element.service().isEmpty(); }));
    QDBusConnection hote = connexion(QStringLiteral("hote"));
    const auto v = [](const QVariant& valeur) { return QVariant::fromValue(QDBusVariant(valeur)); };
    const auto ids = [](const QList<int>& liste) { return QVariant::fromValue(liste); };
    const QString item = QString(sni::InterfaceElement);
    const QString dbusmenu = QString(sni::InterfaceMenu);
    struct Cas {
        QLatin1String chemin;
        QLatin1String interface;
        QString methode;
        QVariantList arguments;
        QString erreur;
    };
    const QList<Cas> cas{
        {sni::CheminElement,
         sni::InterfaceProprietes,
         "Set",
         {item, "Title", v("x")},
         "PropertyReadOnly"},
        {sni::CheminElement,
         sni::InterfaceProprietes,
         "Get",
         {item, "Inconnue"},
         "UnknownProperty"},
        {sni::CheminElement,
         sni::InterfaceProprietes,
         "Get",
         {dbusmenu, "Version"},
         "UnknownProperty"},
        {sni::CheminElement, sni::InterfaceProprietes, "Get", {item}, "InvalidArgs"},
        {sni::CheminElement, sni::InterfaceElement, "Activate", {"10"}, "InvalidArgs"},
        {sni::CheminElement, sni::InterfaceElement, "Inconnue", {}, "UnknownMethod"},
        {sni::CheminElement,
         sni::InterfaceMenu,
         "GetLayout",
         {0, -1, QStringList()},
         "UnknownMethod"},
        {sni::CheminMenu,
         sni::InterfaceProprietes,
         "Set",
         {dbusmenu, "Version", v(4u)},
         "PropertyReadOnly"},
        {sni::CheminMenu, sni::InterfaceMenu, "Inconnue", {}, "UnknownMethod"},
        {sni::CheminMenu, sni::InterfaceMenu, "GetLayout", {9, -1, QStringList()}, "InvalidArgs"},
        {sni::CheminMenu, sni::InterfaceMenu, "GetLayout", {0, -1}, "InvalidArgs"},
        {sni::CheminMenu, sni::InterfaceMenu, "GetProperty", {1, "inconnue"}, "InvalidArgs"},
        {sni::CheminMenu, sni::InterfaceMenu, "GetProperty", {9, "label"}, "InvalidArgs"},
        {sni::CheminMenu, sni::InterfaceMenu, "GetGroupProperties", {ids({1})}, "InvalidArgs"},
        {sni::CheminMenu, sni::InterfaceMenu, "Event", {1, "clicked"}, "InvalidArgs"},
    };
    for (const Cas& c : cas) {
        QDBusMessage question =
            QDBusMessage::createMethodCall(element.service(), c.chemin, c.interface, c.methode);
        question.setArguments(c.arguments);
        const QDBusMessage reponse = hote.call(question, QDBus::BlockWithGui, 5000);
        EXPECT_EQ(reponse.errorName(), "org.freedesktop.DBus.Error." + c.erreur)
            << QString(c.chemin).toStdString() << " " << c.methode.toStdString() << " "
            << question.signature().toStdString();
    }
    QTest::qWait(100);
    EXPECT_EQ(lectures.count(), 0) << "a refused call counted as a host's reading";
}

// Each object's introspection lists exactly the properties that its GetAll gives.
TEST_F(ElementSniTest, IntrospectionListsTheVeryPropertiesGetAllGives) {
    ElementSni element(connexion(QStringLiteral("programme")), m_icone, QString(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !element.service().isEmpty(); }));
    QDBusConnection hote = connexion(QStringLiteral("hote"));
    for (const auto& [chemin, interface] : {std::pair{sni::CheminElement, sni::InterfaceElement},
                                            std::pair{sni::CheminMenu, sni::InterfaceMenu}}) {
        const QDBusMessage xml = hote.call(
            QDBusMessage::createMethodCall(element.service(), chemin,
                                           QStringLiteral("org.freedesktop.DBus.Introspectable"),
                                           QStringLiteral("Introspect")),
            QDBus::BlockWithGui, 5000);
        QStringList annoncees;
        const QRegularExpression propriete(QStringLiteral("<property name=\"(\\w+)\""));
        for (const auto& trouvee : propriete.globalMatch(xml.arguments().value(0).toString())) {
            annoncees << trouvee.captured(1);
        }
        QDBusMessage question = QDBusMessage::createMethodCall(
            element.service(), chemin, sni::InterfaceProprietes, QStringLiteral("GetAll"));
        question << QString(interface);
        const QDBusMessage toutes = hote.call(question, QDBus::BlockWithGui, 5000);
        QStringList donnees = qdbus_cast<QVariantMap>(toutes.arguments().value(0)).keys();
        annoncees.sort();
        donnees.sort();
        EXPECT_FALSE(annoncees.isEmpty()) << xml.errorMessage().toStdString();
        EXPECT_EQ(annoncees.join(u' ').toStdString(), donnees.join(u' ').toStdString());
    }
}

} // namespace

#include "ElementSniTest.moc"
