#include "platform/unix/ElementSni.h"

#include "platform/Journal.h"
#include "platform/ShellIcone.h"
#include "platform/unix/TypesSni.h"

#include <algorithm>
#include <QAction>
#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QMenu>
#include <vector>

namespace {

const QString CheminElement = QStringLiteral("/StatusNotifierItem");
const QString CheminMenu = QStringLiteral("/MenuBar");
const QString InterfaceElement = QStringLiteral("org.kde.StatusNotifierItem");
const QString InterfaceMenu = QStringLiteral("com.canonical.dbusmenu");
const QString InterfaceProprietes = QStringLiteral("org.freedesktop.DBus.Properties");

// A bus name already taken (by a copy in another PID namespace with the same pid): the next one.
constexpr int EssaisNom = 8;
constexpr int DelaiReponseMs = 2000;
constexpr uint NePasAttendre = 4;      // RequestName's DBUS_NAME_FLAG_DO_NOT_QUEUE
constexpr uint ProprietaireUnique = 1; // its DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER

const char* const IntrospectionElement = R"xml(  <interface name="org.kde.StatusNotifierItem">
    <property name="Category" type="s" access="read"/>
    <property name="Id" type="s" access="read"/>
    <property name="Title" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="WindowId" type="i" access="read"/>
    <property name="IconThemePath" type="s" access="read"/>
    <property name="IconName" type="s" access="read"/>
    <property name="IconPixmap" type="a(iiay)" access="read"/>
    <property name="OverlayIconName" type="s" access="read"/>
    <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionIconName" type="s" access="read"/>
    <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
    <property name="AttentionMovieName" type="s" access="read"/>
    <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
    <property name="ItemIsMenu" type="b" access="read"/>
    <property name="Menu" type="o" access="read"/>
    <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
    <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
    <method name="ProvideXdgActivationToken"><arg name="token" type="s" direction="in"/></method>
    <signal name="NewTitle"/>
    <signal name="NewIcon"/>
    <signal name="NewAttentionIcon"/>
    <signal name="NewOverlayIcon"/>
    <signal name="NewToolTip"/>
    <signal name="NewStatus"><arg name="status" type="s"/></signal>
  </interface>
)xml";

const char* const IntrospectionMenu = R"xml(  <interface name="com.canonical.dbusmenu">
    <property name="Version" type="u" access="read"/>
    <property name="TextDirection" type="s" access="read"/>
    <property name="Status" type="s" access="read"/>
    <property name="IconThemePath" type="as" access="read"/>
    <method name="GetLayout">
      <arg name="parentId" type="i" direction="in"/>
      <arg name="recursionDepth" type="i" direction="in"/>
      <arg name="propertyNames" type="as" direction="in"/>
      <arg name="revision" type="u" direction="out"/>
      <arg name="layout" type="(ia{sv}av)" direction="out"/>
    </method>
    <method name="GetGroupProperties">
      <arg name="ids" type="ai" direction="in"/>
      <arg name="propertyNames" type="as" direction="in"/>
      <arg name="properties" type="a(ia{sv})" direction="out"/>
    </method>
    <method name="GetProperty">
      <arg name="id" type="i" direction="in"/>
      <arg name="name" type="s" direction="in"/>
      <arg name="value" type="v" direction="out"/>
    </method>
    <method name="Event">
      <arg name="id" type="i" direction="in"/>
      <arg name="eventId" type="s" direction="in"/>
      <arg name="data" type="v" direction="in"/>
      <arg name="timestamp" type="u" direction="in"/>
    </method>
    <method name="EventGroup">
      <arg name="events" type="a(isvu)" direction="in"/>
      <arg name="idErrors" type="ai" direction="out"/>
    </method>
    <method name="AboutToShow">
      <arg name="id" type="i" direction="in"/>
      <arg name="needUpdate" type="b" direction="out"/>
    </method>
    <method name="AboutToShowGroup">
      <arg name="ids" type="ai" direction="in"/>
      <arg name="updatesNeeded" type="ai" direction="out"/>
      <arg name="idErrors" type="ai" direction="out"/>
    </method>
    <signal name="ItemsPropertiesUpdated">
      <arg name="updatedProps" type="a(ia{sv})"/>
      <arg name="removedProps" type="a(ias)"/>
    </signal>
    <signal name="LayoutUpdated">
      <arg name="revision" type="u"/>
      <arg name="parent" type="i"/>
    </signal>
    <signal name="ItemActivationRequested">
      <arg name="id" type="i"/>
      <arg name="timestamp" type="u"/>
    </signal>
  </interface>
)xml";

void repondre(const QDBusMessage& question, const QDBusConnection& bus,
              const QVariantList& arguments = {}) {
    if (question.isReplyRequired()) {
        bus.send(question.createReply(arguments));
    }
}

void refuser(const QDBusMessage& question, const QDBusConnection& bus, const QString& pourquoi) {
    if (question.isReplyRequired()) {
        bus.send(question.createErrorReply(QDBusError::InvalidArgs, pourquoi));
    }
}

// Properties.Get and GetAll on an object whose properties are all read-only, of one interface.
// LU tells whether a property was read: what a host does, as a refused call is not.
bool repondreProprietes(const QDBusMessage& question, const QDBusConnection& bus,
                        const QString& interface, const QVariantMap& proprietes, bool& lu) {
    const QString methode = question.member();
    const QVariantList arguments = question.arguments();
    lu = false;
    if (methode == QLatin1String("GetAll") && question.signature() == QLatin1String("s")) {
        const QString demandee = arguments.at(0).toString();
        lu = demandee.isEmpty() || demandee == interface;
        repondre(question, bus, {QVariant::fromValue(lu ? proprietes : QVariantMap{})});
        return true;
    }
    if (methode == QLatin1String("Get") && question.signature() == QLatin1String("ss")) {
        const auto trouvee = proprietes.constFind(arguments.at(1).toString());
        const QString demandee = arguments.at(0).toString();
        if (trouvee == proprietes.constEnd() || (!demandee.isEmpty() && demandee != interface)) {
            if (question.isReplyRequired()) {
                bus.send(question.createErrorReply(QDBusError::UnknownProperty,
                                                   QStringLiteral("no such property")));
            }
        } else {
            lu = true;
            repondre(question, bus, {QVariant::fromValue(QDBusVariant(trouvee.value()))});
        }
        return true;
    }
    if (methode == QLatin1String("Set")) {
        if (question.isReplyRequired()) {
            bus.send(question.createErrorReply(QDBusError::PropertyReadOnly,
                                               QStringLiteral("the properties are read-only")));
        }
        return true;
    }
    return false;
}

// A toolkit caption with its access key ("&A propos") as dbusmenu writes it ("_A propos").
QString libelleDbusmenu(const QString& texte) {
    QString libelle;
    libelle.reserve(texte.size());
    for (qsizetype i = 0; i < texte.size(); ++i) {
        const QChar c = texte.at(i);
        if (c == QLatin1Char('&') && i + 1 < texte.size()) {
            ++i;
            libelle += texte.at(i) == QLatin1Char('&') ? QStringLiteral("&")
                                                       : QLatin1Char('_') + texte.at(i);
        } else if (c == QLatin1Char('_')) {
            libelle += QStringLiteral("__");
        } else {
            libelle += c;
        }
    }
    return libelle;
}

// What a compositor's activation token can be: a short run of printable ASCII (the program puts
// it in its environment, where children would find it too).
bool jetonRecevable(const QString& jeton) {
    constexpr qsizetype LongueurMaximale = 512;
    if (jeton.isEmpty() || jeton.size() > LongueurMaximale) {
        return false;
    }
    return std::all_of(jeton.cbegin(), jeton.cend(),
                       [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7f; });
}

// A call to the bus itself.
QDBusMessage questionBus(const QString& methode) {
    const QString bus = QStringLiteral("org.freedesktop.DBus");
    return QDBusMessage::createMethodCall(bus, QStringLiteral("/org/freedesktop/DBus"), bus,
                                          methode);
}

// A name for each item of this process, never the same twice: a host that saw one item's name go
// may still be following it when the next one comes (GNOME Shell's extension waits 500 ms).
int prochainNumero() {
    static int numero = 0;
    return ++numero;
}

} // namespace

// The properties' answer, and a read noted when a property was read.
bool ElementSni::repondreProprietes(ElementSni& element, const QDBusMessage& question,
                                    const QDBusConnection& bus, const QString& interface,
                                    const QVariantMap& proprietes) {
    bool lu = false;
    const bool traitee = ::repondreProprietes(question, bus, interface, proprietes, lu);
    if (lu) {
        noterLecture(element, question, bus);
    }
    return traitee;
}

// Tells that a client read the item, once the question is answered and from the program's loop:
// nothing that this sets off runs inside the bus's call to the object.
void ElementSni::noterLecture(ElementSni& element, const QDBusMessage& question,
                              const QDBusConnection& bus) {
    if (question.service() == bus.baseService()) {
        return;
    }
    QMetaObject::invokeMethod(
        &element, [&element, lecteur = question.service()] { emit element.lu(lecteur); },
        Qt::QueuedConnection);
}

// The item: its properties, and the clicks that hosts report.
class ElementSni::Objet : public QDBusVirtualObject {
public:
    Objet(ElementSni& element, const QIcon& icone, const QString& infobulle) : m_element(element) {
        const PixmapsSni images = pixmapsSni(icone);
        const QString nom = QGuiApplication::applicationDisplayName();
        m_proprietes = {
            {QStringLiteral("Category"), QStringLiteral("ApplicationStatus")},
            {QStringLiteral("Id"), QCoreApplication::applicationName()},
            {QStringLiteral("Title"), nom},
            {QStringLiteral("Status"), QStringLiteral("Active")},
            {QStringLiteral("WindowId"), 0},
            {QStringLiteral("IconThemePath"), QString()},
            {QStringLiteral("IconName"), QString()},
            {QStringLiteral("IconPixmap"), QVariant::fromValue(images)},
            {QStringLiteral("OverlayIconName"), QString()},
            {QStringLiteral("OverlayIconPixmap"), QVariant::fromValue(PixmapsSni{})},
            {QStringLiteral("AttentionIconName"), QString()},
            {QStringLiteral("AttentionIconPixmap"), QVariant::fromValue(PixmapsSni{})},
            {QStringLiteral("AttentionMovieName"), QString()},
            {QStringLiteral("ToolTip"), QVariant::fromValue(InfobulleSni{{}, {}, infobulle, {}})},
            {QStringLiteral("ItemIsMenu"), false},
            {QStringLiteral("Menu"), QVariant::fromValue(QDBusObjectPath(CheminMenu))},
        };
    }

    QString introspect(const QString&) const override {
        return QString::fromLatin1(IntrospectionElement);
    }

    bool handleMessage(const QDBusMessage& question, const QDBusConnection& bus) override {
        if (question.interface() == InterfaceProprietes) {
            return repondreProprietes(m_element, question, bus, InterfaceElement, m_proprietes);
        }
        if (!question.interface().isEmpty() && question.interface() != InterfaceElement) {
            return false;
        }
        const QString methode = question.member();
        if (methode == QLatin1String("ProvideXdgActivationToken")) {
            // Sent before a click by GNOME Shell and Plasma: the compositor's leave to activate
            // a window, which ends the host's start-up sequence (its busy pointer).
            if (question.signature() != QLatin1String("s")) {
                refuser(question, bus, QStringLiteral("unexpected arguments"));
                return true;
            }
            const QString jeton = question.arguments().constFirst().toString();
            if (!jetonRecevable(jeton)) {
                refuser(question, bus, QStringLiteral("not an activation token"));
                return true;
            }
            repondre(question, bus);
            emit m_element.jetonActivation(jeton);
            return true;
        }
        int code = 0;
        if (methode == QLatin1String("Activate")) {
            code = WM_LBUTTONDOWN;
        } else if (methode == QLatin1String("ContextMenu")) {
            code = WM_RBUTTONUP; // a host that draws no menu: the window opens its own
        } else if (methode == QLatin1String("SecondaryActivate")) {
            code = WM_MBUTTONDOWN;
        } else if (methode != QLatin1String("Scroll")) {
            return false;
        }
        if (question.signature() != (code == 0 ? QLatin1String("is") : QLatin1String("ii"))) {
            refuser(question, bus, QStringLiteral("unexpected arguments"));
            return true;
        }
        repondre(question, bus);
        if (code != 0) {
            emit m_element.clic(code);
        }
        return true;
    }

private:
    ElementSni& m_element;
    QVariantMap m_proprietes;
};

// The menu, read from the window's QMenu at each question, so that greyed items show greyed.
class ElementSni::Menu : public QDBusVirtualObject {
public:
    Menu(ElementSni& element, QDBusConnection bus, QMenu* menu)
        : m_element(element), m_bus(std::move(bus)), m_menu(menu) {
        if (menu == nullptr) {
            return;
        }
        for (QAction* action : menu->actions()) {
            connect(action, &QAction::changed, this, &Menu::miseAJour);
        }
    }

    QString introspect(const QString&) const override {
        return QString::fromLatin1(IntrospectionMenu);
    }

    bool handleMessage(const QDBusMessage& question, const QDBusConnection& bus) override {
        if (question.interface() == InterfaceProprietes) {
            return repondreProprietes(m_element, question, bus, InterfaceMenu,
                                      {{QStringLiteral("Version"), 3u},
                                       {QStringLiteral("TextDirection"), QStringLiteral("ltr")},
                                       {QStringLiteral("Status"), QStringLiteral("normal")},
                                       {QStringLiteral("IconThemePath"), QStringList()}});
        }
        if (!question.interface().isEmpty() && question.interface() != InterfaceMenu) {
            return false;
        }
        const QString methode = question.member();
        const QString signature = question.signature();
        const QVariantList arguments = question.arguments();
        if (methode == QLatin1String("GetLayout") && signature == QLatin1String("iias")) {
            const int parent = arguments.at(0).toInt();
            if (parent != 0 && action(parent) == nullptr) {
                refuser(question, bus, QStringLiteral("no such menu entry"));
                return true;
            }
            noterLecture(m_element, question, bus);
            repondre(
                question, bus,
                {m_revision, QVariant::fromValue(disposition(parent, arguments.at(1).toInt()))});
        } else if (methode == QLatin1String("GetGroupProperties") &&
                   signature == QLatin1String("aias")) {
            // Each entry once, however often a request names it: the answer holds no more than
            // the menu, and the request is read no further once every entry is in it.
            const QList<int> demandes = qdbus_cast<QList<int>>(arguments.at(0));
            const qsizetype entrees = m_menu.isNull() ? 0 : m_menu->actions().size();
            std::vector<bool> vues(static_cast<std::size_t>(entrees) + 1, false);
            ListeProprietesMenuSni liste;
            for (const int id : demandes) {
                if (liste.size() == entrees) {
                    break;
                }
                const QAction* entree = action(id);
                if (entree != nullptr && !vues[static_cast<std::size_t>(id)]) {
                    vues[static_cast<std::size_t>(id)] = true;
                    liste.push_back({id, proprietes(*entree)});
                }
            }
            noterLecture(m_element, question, bus);
            repondre(question, bus, {QVariant::fromValue(liste)});
        } else if (methode == QLatin1String("GetProperty") && signature == QLatin1String("is")) {
            const QAction* entree = action(arguments.at(0).toInt());
            const QVariantMap valeurs = entree ? proprietes(*entree) : QVariantMap{};
            const auto trouvee = valeurs.constFind(arguments.at(1).toString());
            if (trouvee == valeurs.constEnd()) {
                refuser(question, bus, QStringLiteral("no such menu entry or property"));
            } else {
                noterLecture(m_element, question, bus);
                repondre(question, bus, {QVariant::fromValue(QDBusVariant(trouvee.value()))});
            }
        } else if (methode == QLatin1String("Event") && signature == QLatin1String("isvu")) {
            repondre(question, bus);
            evenement(arguments.at(0).toInt(), arguments.at(1).toString());
        } else if (methode == QLatin1String("EventGroup") &&
                   signature == QLatin1String("a(isvu)")) {
            QList<int> inconnus;
            QList<std::pair<int, QString>> evenements;
            const auto lu = arguments.at(0).value<QDBusArgument>();
            lu.beginArray();
            while (!lu.atEnd()) {
                int id = 0;
                QString quoi;
                QDBusVariant donnees;
                uint instant = 0;
                lu.beginStructure();
                lu >> id >> quoi >> donnees >> instant;
                lu.endStructure();
                if (id != 0 && action(id) == nullptr) {
                    inconnus.push_back(id);
                } else {
                    evenements.push_back({id, quoi});
                }
            }
            lu.endArray();
            repondre(question, bus, {QVariant::fromValue(inconnus)});
            for (const auto& [id, quoi] : std::as_const(evenements)) {
                evenement(id, quoi);
            }
        } else if (methode == QLatin1String("AboutToShow") && signature == QLatin1String("i")) {
            // Hosts ask this ahead of any click (GNOME Shell does for every new item): it
            // says nothing of the user.
            repondre(question, bus, {false});
        } else if (methode == QLatin1String("AboutToShowGroup") &&
                   signature == QLatin1String("ai")) {
            repondre(question, bus,
                     {QVariant::fromValue(QList<int>()), QVariant::fromValue(QList<int>())});
        } else {
            refuser(question, bus, QStringLiteral("unexpected method or arguments"));
        }
        return true;
    }

private:
    // Entries are numbered from 1 in the menu's order; 0 is the menu itself.
    QAction* action(int id) const {
        if (m_menu.isNull() || id < 1 || id > m_menu->actions().size()) {
            return nullptr;
        }
        return m_menu->actions().at(id - 1);
    }

    static QVariantMap proprietes(const QAction& entree) {
        QVariantMap valeurs{{QStringLiteral("enabled"), entree.isEnabled()},
                            {QStringLiteral("visible"), entree.isVisible()}};
        if (entree.isSeparator()) {
            valeurs.insert(QStringLiteral("type"), QStringLiteral("separator"));
        } else {
            valeurs.insert(QStringLiteral("label"), libelleDbusmenu(entree.text()));
        }
        return valeurs;
    }

    ElementMenuSni disposition(int parent, int profondeur) const {
        if (parent != 0) {
            return {parent, proprietes(*action(parent)), {}};
        }
        ElementMenuSni racine{
            0, {{QStringLiteral("children-display"), QStringLiteral("submenu")}}, {}};
        if (profondeur != 0 && !m_menu.isNull()) {
            for (int id = 1; id <= m_menu->actions().size(); ++id) {
                racine.enfants.push_back({id, proprietes(*action(id)), {}});
            }
        }
        return racine;
    }

    // Run once the host has its answer, from the program's own loop: an item may open a modal box.
    void evenement(int id, const QString& quoi) {
        if (quoi == QLatin1String("clicked")) {
            QPointer<QAction> entree = action(id);
            if (!entree.isNull() && entree->isEnabled()) {
                QMetaObject::invokeMethod(
                    this,
                    [entree] {
                        if (entree)
                            entree->trigger();
                    },
                    Qt::QueuedConnection);
            }
        } else if (id == 0 && quoi == QLatin1String("opened") && !m_menu.isNull()) {
            // A host opened the menu on a click, as the toolkit's own platform menu reports it.
            QMetaObject::invokeMethod(
                this,
                [menu = m_menu] {
                    if (menu)
                        emit menu->aboutToShow();
                },
                Qt::QueuedConnection);
        }
    }

    void miseAJour() {
        ++m_revision;
        QDBusMessage signal =
            QDBusMessage::createSignal(CheminMenu, InterfaceMenu, QStringLiteral("LayoutUpdated"));
        signal << m_revision << 0;
        m_bus.send(signal);
    }

    ElementSni& m_element;
    QDBusConnection m_bus;
    QPointer<QMenu> m_menu;
    uint m_revision = 1;
};

ElementSni::ElementSni(QDBusConnection bus, const QIcon& icone, const QString& infobulle,
                       QMenu* menu, Nom nom)
    : m_bus(std::move(bus)) {
    enregistrerTypesSni();
    m_objet = std::make_unique<Objet>(*this, icone, infobulle);
    m_menu = std::make_unique<Menu>(*this, m_bus, menu);
    if (!m_bus.registerVirtualObject(CheminElement, m_objet.get()) ||
        !m_bus.registerVirtualObject(CheminMenu, m_menu.get())) {
        qCWarning(journalPlateforme) << "could not serve the tray item on the session bus";
        return;
    }
    if (nom == Nom::Propre) {
        demanderNom(1);
        return;
    }
    m_service = m_bus.baseService();
    QMetaObject::invokeMethod(this, &ElementSni::publie, Qt::QueuedConnection);
}

ElementSni::~ElementSni() {
    m_bus.unregisterObject(CheminElement);
    m_bus.unregisterObject(CheminMenu);
    if (!m_nomDemande.isEmpty()) {
        // After the request on the same connection, so released even if not yet granted.
        m_bus.send(questionBus(QStringLiteral("ReleaseName")) << m_nomDemande);
    }
}

void ElementSni::demanderNom(int essai) {
    m_nomDemande = QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                       .arg(QCoreApplication::applicationPid())
                       .arg(prochainNumero());
    QDBusMessage question = questionBus(QStringLiteral("RequestName"));
    question << m_nomDemande << NePasAttendre;
    auto* appel = new QDBusPendingCallWatcher(m_bus.asyncCall(question, DelaiReponseMs), this);
    connect(appel, &QDBusPendingCallWatcher::finished, this, [this, appel, essai] {
        appel->deleteLater();
        const QDBusMessage reponse = appel->reply();
        const bool acquis = reponse.type() == QDBusMessage::ReplyMessage &&
                            !reponse.arguments().isEmpty() &&
                            reponse.arguments().constFirst().toUInt() == ProprietaireUnique;
        if (acquis) {
            m_service = m_nomDemande;
            emit publie();
        } else if (reponse.type() == QDBusMessage::ReplyMessage && essai < EssaisNom) {
            demanderNom(essai + 1); // taken by another process
        } else {
            // Names that others hold, or a bus that refuses them: the item is served under the
            // connection's own name, which no other client can take, as for GNOME Shell.
            if (reponse.type() == QDBusMessage::ReplyMessage) {
                qCWarning(journalPlateforme)
                    << "every bus name tried for the tray item is taken; served as"
                    << m_bus.baseService();
            } else {
                qCWarning(journalPlateforme)
                    << "could not own a bus name for the tray item:" << reponse.errorName()
                    << reponse.errorMessage() << "; served as" << m_bus.baseService();
            }
            m_nomDemande.clear();
            m_service = m_bus.baseService();
            emit publie();
        }
    });
}

bool ElementSni::designe(const QString& element) const {
    // The service ends where a path begins, with or without an '@' before it.
    qsizetype fin = element.indexOf(QLatin1Char('/'));
    if (fin < 0) {
        fin = element.size();
    }
    QString service = element.left(fin);
    if (service.endsWith(QLatin1Char('@'))) {
        service.chop(1);
    }
    const QString chemin = element.mid(fin);
    if (!chemin.isEmpty() && chemin != CheminElement) {
        return false;
    }
    return (!m_service.isEmpty() && service == m_service) || service == m_bus.baseService();
}
