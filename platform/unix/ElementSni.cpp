#include "platform/unix/ElementSni.h"

#include "platform/Journal.h"
#include "platform/ShellIcone.h"
#include "platform/unix/ProtocoleSni.h"
#include "platform/unix/TypesSni.h"

#include <algorithm>
#include <array>
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

using namespace sni;

// A bus name already taken (by a copy in another PID namespace with the same pid): the next one.
constexpr int EssaisNom = 8;
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
    return QDBusMessage::createMethodCall(ServiceBus, CheminBus, ServiceBus, methode);
}

// A name for each item of this process, never the same twice: a host that saw one item's name go
// may still be following it when the next one comes (GNOME Shell's extension waits 500 ms).
int prochainNumero() {
    static int numero = 0;
    return ++numero;
}

} // namespace

// A call being answered: the question and the connection it came on.
class ElementSni::Appel {
public:
    Appel(const QDBusMessage& question, const QDBusConnection& bus)
        : m_question(question), m_bus(bus) {}

    const QDBusMessage& question() const { return m_question; }
    QVariant argument(qsizetype rang) const { return m_question.arguments().at(rang); }

    void repondre(const QVariantList& valeurs = {}) const {
        if (m_question.isReplyRequired()) {
            m_bus.send(m_question.createReply(valeurs));
        }
    }

    void refuser(QDBusError::ErrorType erreur, const QString& pourquoi) const {
        if (m_question.isReplyRequired()) {
            m_bus.send(m_question.createErrorReply(erreur, pourquoi));
        }
    }

    // The asker read what a host reads to draw the item: told once the answer is sent, from the
    // program's loop, so that nothing this sets off runs inside the bus's call to the object.
    void noterLecture(ElementSni& element) const {
        if (m_question.service() == m_bus.baseService()) {
            return;
        }
        QMetaObject::invokeMethod(
            &element, [&element, lecteur = m_question.service()] { emit element.luPar(lecteur); },
            Qt::QueuedConnection);
    }

private:
    const QDBusMessage& m_question;
    const QDBusConnection& m_bus;
};

// What the item and its menu share: read-only properties of one interface, and methods reached
// through one table of interface, member and signature. An unknown member is refused as such, a
// known one with other arguments as invalid, on both objects alike.
class ElementSni::ObjetBus : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override {
        return QString::fromLatin1(m_introspection);
    }

protected:
    template <typename Objet> struct Methode {
        QLatin1String interface;
        QLatin1String membre;
        QLatin1String signature;
        void (Objet::*reponse)(const Appel&);
    };

    ObjetBus(ElementSni& element, QLatin1String interface, const char* introspection)
        : m_element(element), m_interface(interface), m_introspection(introspection) {}

    // False for introspection, which the toolkit answers from introspect().
    template <typename Objet, std::size_t N>
    static bool distribuer(Objet& objet, const std::array<Methode<Objet>, N>& methodes,
                           const Appel& appel) {
        const QDBusMessage& question = appel.question();
        if (question.interface() == QLatin1String("org.freedesktop.DBus.Introspectable") ||
            (question.interface().isEmpty() && question.member() == QLatin1String("Introspect"))) {
            return false;
        }
        bool membreConnu = false;
        for (const Methode<Objet>& methode : methodes) {
            if (question.member() != methode.membre ||
                (!question.interface().isEmpty() && question.interface() != methode.interface)) {
                continue;
            }
            if (question.signature() == methode.signature) {
                (objet.*methode.reponse)(appel);
                return true;
            }
            membreConnu = true;
        }
        if (membreConnu) {
            appel.refuser(QDBusError::InvalidArgs, QStringLiteral("unexpected arguments"));
        } else {
            appel.refuser(QDBusError::UnknownMethod, QStringLiteral("no such method"));
        }
        return true;
    }

    void Get(const Appel& appel) {
        const QString interface = appel.argument(0).toString();
        const auto trouvee = m_proprietes.constFind(appel.argument(1).toString());
        if (trouvee == m_proprietes.constEnd() ||
            (!interface.isEmpty() && interface != m_interface)) {
            appel.refuser(QDBusError::UnknownProperty, QStringLiteral("no such property"));
            return;
        }
        appel.repondre({QVariant::fromValue(QDBusVariant(trouvee.value()))});
        appel.noterLecture(m_element);
    }

    void GetAll(const Appel& appel) {
        const QString interface = appel.argument(0).toString();
        const bool notre = interface.isEmpty() || interface == m_interface;
        appel.repondre({QVariant::fromValue(notre ? m_proprietes : QVariantMap{})});
        if (notre) {
            appel.noterLecture(m_element);
        }
    }

    void Set(const Appel& appel) {
        appel.refuser(QDBusError::PropertyReadOnly, QStringLiteral("the properties are read-only"));
    }

    ElementSni& m_element;
    QVariantMap m_proprietes;

private:
    QLatin1String m_interface;
    const char* m_introspection;
};

// The item: its properties, and the clicks that hosts report.
class ElementSni::ObjetElement : public ObjetBus {
public:
    ObjetElement(ElementSni& element, const QIcon& icone, const QString& infobulle)
        : ObjetBus(element, InterfaceElement, IntrospectionElement) {
        const PixmapsSni images = pixmapsSni(icone);
        m_proprietes = {
            {QStringLiteral("Category"), QStringLiteral("ApplicationStatus")},
            {QStringLiteral("Id"), QCoreApplication::applicationName()},
            {QStringLiteral("Title"), QGuiApplication::applicationDisplayName()},
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

    bool handleMessage(const QDBusMessage& question, const QDBusConnection& bus) override {
        using O = ObjetElement;
        static const std::array<Methode<O>, 8> Methodes{{
            {InterfaceProprietes, QLatin1String("Get"), QLatin1String("ss"), &O::Get},
            {InterfaceProprietes, QLatin1String("GetAll"), QLatin1String("s"), &O::GetAll},
            {InterfaceProprietes, QLatin1String("Set"), QLatin1String("ssv"), &O::Set},
            {InterfaceElement, QLatin1String("Activate"), QLatin1String("ii"), &O::Activate},
            {InterfaceElement, QLatin1String("ContextMenu"), QLatin1String("ii"), &O::ContextMenu},
            {InterfaceElement, QLatin1String("SecondaryActivate"), QLatin1String("ii"),
             &O::SecondaryActivate},
            {InterfaceElement, QLatin1String("Scroll"), QLatin1String("is"), &O::Scroll},
            {InterfaceElement, QLatin1String("ProvideXdgActivationToken"), QLatin1String("s"),
             &O::ProvideXdgActivationToken},
        }};
        return distribuer(*this, Methodes, Appel(question, bus));
    }

private:
    void Activate(const Appel& appel) { cliquer(appel, WM_LBUTTONDOWN); }
    // A host that draws no menu: the window opens its own.
    void ContextMenu(const Appel& appel) { cliquer(appel, WM_RBUTTONUP); }
    void SecondaryActivate(const Appel& appel) { cliquer(appel, WM_MBUTTONDOWN); }
    // The wheel over the icon does nothing.
    void Scroll(const Appel& appel) { appel.repondre(); }

    // Sent before a click by GNOME Shell and Plasma: the compositor's leave to activate a window,
    // which ends the host's start-up sequence (its busy pointer).
    void ProvideXdgActivationToken(const Appel& appel) {
        const QString jeton = appel.argument(0).toString();
        if (!jetonRecevable(jeton)) {
            appel.refuser(QDBusError::InvalidArgs, QStringLiteral("not an activation token"));
            return;
        }
        appel.repondre();
        emit m_element.jetonActivation(jeton);
    }

    void cliquer(const Appel& appel, int code) {
        appel.repondre();
        emit m_element.clic(code);
    }
};

// The menu, read from the window's QMenu at each question, so that greyed entries show greyed.
class ElementSni::ObjetMenu : public ObjetBus {
public:
    ObjetMenu(ElementSni& element, QDBusConnection bus, QMenu* menu)
        : ObjetBus(element, InterfaceMenu, IntrospectionMenu), m_bus(std::move(bus)), m_menu(menu) {
        m_proprietes = {{QStringLiteral("Version"), 3u},
                        {QStringLiteral("TextDirection"), QStringLiteral("ltr")},
                        {QStringLiteral("Status"), QStringLiteral("normal")},
                        {QStringLiteral("IconThemePath"), QStringList()}};
        if (menu == nullptr) {
            return;
        }
        for (QAction* action : menu->actions()) {
            connect(action, &QAction::changed, this, &ObjetMenu::annoncerDisposition);
        }
    }

    bool handleMessage(const QDBusMessage& question, const QDBusConnection& bus) override {
        using O = ObjetMenu;
        static const std::array<Methode<O>, 10> Methodes{{
            {InterfaceProprietes, QLatin1String("Get"), QLatin1String("ss"), &O::Get},
            {InterfaceProprietes, QLatin1String("GetAll"), QLatin1String("s"), &O::GetAll},
            {InterfaceProprietes, QLatin1String("Set"), QLatin1String("ssv"), &O::Set},
            {InterfaceMenu, QLatin1String("GetLayout"), QLatin1String("iias"), &O::GetLayout},
            {InterfaceMenu, QLatin1String("GetGroupProperties"), QLatin1String("aias"),
             &O::GetGroupProperties},
            {InterfaceMenu, QLatin1String("GetProperty"), QLatin1String("is"), &O::GetProperty},
            {InterfaceMenu, QLatin1String("Event"), QLatin1String("isvu"), &O::Event},
            {InterfaceMenu, QLatin1String("EventGroup"), QLatin1String("a(isvu)"), &O::EventGroup},
            {InterfaceMenu, QLatin1String("AboutToShow"), QLatin1String("i"), &O::AboutToShow},
            {InterfaceMenu, QLatin1String("AboutToShowGroup"), QLatin1String("ai"),
             &O::AboutToShowGroup},
        }};
        return distribuer(*this, Methodes, Appel(question, bus));
    }

private:
    void GetLayout(const Appel& appel) {
        const int parent = appel.argument(0).toInt();
        if (parent != 0 && action(parent) == nullptr) {
            appel.refuser(QDBusError::InvalidArgs, QStringLiteral("no such menu entry"));
            return;
        }
        appel.repondre(
            {m_revision, QVariant::fromValue(disposition(parent, appel.argument(1).toInt()))});
        appel.noterLecture(m_element);
    }

    // Each entry once, however often a request names it: the answer holds no more than the
    // menu, and the request is read no further once every entry is in it.
    void GetGroupProperties(const Appel& appel) {
        const auto demandes = premiers<int>(appel.argument(0));
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
        appel.repondre({QVariant::fromValue(liste)});
        appel.noterLecture(m_element);
    }

    void GetProperty(const Appel& appel) {
        const QAction* entree = action(appel.argument(0).toInt());
        const QVariantMap valeurs = entree ? proprietes(*entree) : QVariantMap{};
        const auto trouvee = valeurs.constFind(appel.argument(1).toString());
        if (trouvee == valeurs.constEnd()) {
            appel.refuser(QDBusError::InvalidArgs,
                          QStringLiteral("no such menu entry or property"));
            return;
        }
        appel.repondre({QVariant::fromValue(QDBusVariant(trouvee.value()))});
        appel.noterLecture(m_element);
    }

    void Event(const Appel& appel) {
        appel.repondre();
        evenement(appel.argument(0).toInt(), appel.argument(1).toString());
    }

    // Events for unknown entries are reported back; the others run once the answer is sent.
    void EventGroup(const Appel& appel) {
        const auto groupe = premiers<EvenementMenuSni>(appel.argument(0));
        QList<int> inconnus;
        for (const EvenementMenuSni& e : groupe) {
            if (e.id != 0 && action(e.id) == nullptr) {
                inconnus.push_back(e.id);
            }
        }
        appel.repondre({QVariant::fromValue(inconnus)});
        for (const EvenementMenuSni& e : groupe) {
            evenement(e.id, e.quoi);
        }
    }

    // Hosts ask this ahead of any click (GNOME Shell does for every new item): it says nothing
    // of the user, and the menu never needs an update first.
    void AboutToShow(const Appel& appel) { appel.repondre({false}); }
    void AboutToShowGroup(const Appel& appel) {
        appel.repondre({QVariant::fromValue(QList<int>()), QVariant::fromValue(QList<int>())});
    }

    // The first elements of an array that a host sends: no host names more than a few times
    // the entries of a menu, and reading the array further would cost each element's time.
    template <typename T> static QList<T> premiers(const QVariant& valeur) {
        constexpr qsizetype Maximum = 256;
        const auto tableau = valeur.value<QDBusArgument>();
        QList<T> lus;
        tableau.beginArray();
        while (!tableau.atEnd() && lus.size() < Maximum) {
            T element;
            tableau >> element;
            lus.push_back(element);
        }
        tableau.endArray(); // even before the end: the array's reader holds the message
        return lus;
    }

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

    // Run from the program's own loop once the host has its answer: an entry may open a modal box.
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

    // Entries greyed together (both while a box is open) make one new layout, told once.
    void annoncerDisposition() {
        if (m_annonceEnAttente) {
            return;
        }
        m_annonceEnAttente = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_annonceEnAttente = false;
                ++m_revision;
                QDBusMessage signal = QDBusMessage::createSignal(CheminMenu, InterfaceMenu,
                                                                 QStringLiteral("LayoutUpdated"));
                signal << m_revision << 0;
                m_bus.send(signal);
            },
            Qt::QueuedConnection);
    }

    QDBusConnection m_bus;
    QPointer<QMenu> m_menu;
    uint m_revision = 1;
    bool m_annonceEnAttente = false;
};
ElementSni::ElementSni(QDBusConnection bus, const QIcon& icone, const QString& infobulle,
                       QMenu* menu, Nom nom)
    : m_bus(std::move(bus)) {
    enregistrerTypesSni();
    m_objet = std::make_unique<ObjetElement>(*this, icone, infobulle);
    m_menu = std::make_unique<ObjetMenu>(*this, m_bus, menu);
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
