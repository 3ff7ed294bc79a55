#include "ui/main/Depart.h"

#include "core/ConvertirMontants.h"
#include "core/ResultatConversion.h"
#include "platform/DecorationsFenetre.h"
#include "platform/IconePng.h"
#include "platform/ServiceMessages.h"
#include "ui/CouleursFixes.h"
#include "ui/main/AnnonceLecteur.h"
#include "ui/main/BarreTitre.h"
#include "ui/main/SaisieAccessible.h"
#include "ui/Polices.h"
#include "ui/tray/ZoneNotification.h"
#include "ui/Twips.h"

#include <QCloseEvent>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShortcutEvent>
#include <QShowEvent>
#include <QValidator>

namespace {

// The client area once the menu bar is hidden: the controls keep their places, with the same
// margin below the buttons as at the right edge.
const QSize TailleFenetre = enPixels(0, 0, 3825, 1185).size();

constexpr int KeyAsciiRetour = 13;

// Both Enter keys give a carriage return; with Ctrl or Alt held they give no such character.
bool estRetourChariot(const QKeyEvent& touche) {
    const bool toucheEntree = touche.key() == Qt::Key_Return || touche.key() == Qt::Key_Enter;
    const auto modificateurs = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return toucheEntree && !(touche.modifiers() & modificateurs);
}

QLabel* creerEtiquette(QWidget* fenetre, const char* nom, const QString& legende, QRect place) {
    auto* etiquette = new QLabel(legende, fenetre);
    etiquette->setObjectName(QString::fromLatin1(nom));
    etiquette->setGeometry(place);
    etiquette->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return etiquette;
}

// Refuses, whole, an edit that would make the text longer than any amount the rules read.
class ValidateurLongueur : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texte, int&) const override {
        return texte.size() > LongueurSaisieMaximale ? Invalid : Acceptable;
    }
};

QLineEdit* creerZoneSaisie(QWidget* fenetre, const char* nom, QRect place) {
    auto* zone = new QLineEdit(fenetre);
    zone->setObjectName(QString::fromLatin1(nom));
    zone->setGeometry(place);
    zone->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // One character over the limit: a longer paste is cut there before it is inserted (a giant
    // paste never reaches the field's memory), then the validator refuses the edit whole and the
    // field keeps what it had, rather than an amount cut into a different number.
    zone->setMaxLength(LongueurSaisieMaximale + 1);
    zone->setValidator(new ValidateurLongueur(zone));

    QFont police(QStringLiteral("Arial"));
    police.setStyleHint(QFont::SansSerif);
    police.setPointSizeF(9.75);
    police.setBold(true);
    zone->setFont(police);

    // The amounts keep a white field, so that the designed blue stays legible on a dark desktop.
    colorerPaire(zone, QPalette::Base, Qt::white, QPalette::Text, QColor(0, 0, 255));
    return zone;
}

QPushButton* creerBouton(QWidget* fenetre, const char* nom, const QString& legende, QRect place) {
    auto* bouton = new QPushButton(legende, fenetre);
    bouton->setObjectName(QString::fromLatin1(nom));
    bouton->setGeometry(place);
    // Enter on a focused button presses it, as Space does; no button is the window's default.
    bouton->setAutoDefault(true);
    return bouton;
}

} // namespace

Depart::Depart(ServicesDepart services, QWidget* parent)
    // A tool window gets no task-bar button; without a close, minimise or maximise box, the
    // window is put away with Quitter and the program ends from the tray menu.
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_services(services) {
    setObjectName(QStringLiteral("Depart"));
    setWindowTitle(QStringLiteral("Tarvane"));
    // The 16-pixel drawing where trays draw 16 pixels, and a drawing for each other size used.
    setWindowIcon(lireIconePng(
        {QStringLiteral(":/images/tarvane-16.png"), QStringLiteral(":/images/tarvane-22.png"),
         QStringLiteral(":/images/tarvane-24.png"), QStringLiteral(":/images/tarvane-32.png"),
         QStringLiteral(":/images/tarvane-48.png"), QStringLiteral(":/images/tarvane@2x.png")}));

    // The window's own font, bold, for the captions and buttons; the fields choose theirs.
    setFont(policeDessin(QStringLiteral("MS Sans Serif"), 8.25, true));

    if (barreDeTitreParLaFenetre()) {
        // The window's own title bar above the client area, which keeps its design.
        setWindowFlag(Qt::FramelessWindowHint);
        m_hauteurTitre = BarreTitre::hauteur();
    }

    m_zoneNotification =
        new ZoneNotification(*this, m_services.shell, m_services.programme, m_services.presence);
    connect(m_zoneNotification, &ZoneNotification::iconeChangee, this, &Depart::changerMode);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        m_zoneNotification->ouvrirMenuPopUp(mapToGlobal(position));
    });
    connect(m_zoneNotification, &ZoneNotification::affichageDemande, this, &Depart::afficher);
    connect(m_zoneNotification, &ZoneNotification::aproposChoisi, this, &Depart::MenuApropos_Click);
    connect(m_zoneNotification, &ZoneNotification::quitterChoisi, this, &Depart::MenuQuitter_Click);

    setFixedSize(TailleFenetre + QSize(0, m_hauteurTitre));
    changerMode(true); // until start-up knows better
}

Depart::~Depart() = default;

void Depart::setVisible(bool visible) {
    if (visible) {
        creerControles(); // before the first show, so that they are shown with the window
        decorerFenetre(*this, m_sansZoneNotification);
    }
    QWidget::setVisible(visible);
}

void Depart::creerControles() {
    if (Francs != nullptr) {
        return;
    }
    installerSaisieAccessible(); // before a reader can ask for the fields
    // Created in the order of the form's design; the tab order is set apart below.
    Annuler =
        creerBouton(this, "Annuler", QStringLiteral("&Effacer"), enPixels(1680, 720, 1215, 375));
    Quitter = creerBouton(this, "Quitter", QStringLiteral("&Q"), enPixels(3240, 720, 495, 375));
    Convertir =
        creerBouton(this, "Convertir", QStringLiteral("&Convertir"), enPixels(120, 720, 1215, 375));
    Euros = creerZoneSaisie(this, "Euros", enPixels(2040, 240, 1695, 375));
    Francs = creerZoneSaisie(this, "Francs", enPixels(120, 240, 1695, 375));
    Label2 = creerEtiquette(this, "Label2", QStringLiteral("Euros"), enPixels(2040, 0, 855, 255));
    Label1 = creerEtiquette(this, "Label1", QStringLiteral("Francs"), enPixels(120, 0, 855, 255));
    Label1->setBuddy(Francs);
    Label2->setBuddy(Euros);
    if (m_hauteurTitre > 0) {
        for (QWidget* controle : std::initializer_list<QWidget*>{Annuler, Quitter, Convertir, Euros,
                                                                 Francs, Label2, Label1}) {
            controle->move(controle->pos() + QPoint(0, m_hauteurTitre));
        }
        new BarreTitre(*this);
    }

    // For screen readers: names as the captions read, the narrow button named for what it does.
    Francs->setAccessibleName(QStringLiteral("Francs"));
    Francs->setAccessibleDescription(
        QStringLiteral("Montant en francs ; laisser vide pour convertir des euros en francs"));
    Euros->setAccessibleName(QStringLiteral("Euros"));
    Euros->setAccessibleDescription(
        QStringLiteral("Montant en euros ; laisser vide pour convertir des francs en euros"));
    Convertir->setAccessibleName(QStringLiteral("Convertir"));
    Convertir->setAccessibleDescription(QStringLiteral(
        "Convertit le montant saisi dans l'autre monnaie, à 6,55957 francs pour un euro"));
    Annuler->setAccessibleName(QStringLiteral("Effacer"));
    Annuler->setAccessibleDescription(QStringLiteral("Vide les deux zones de saisie"));

    setTabOrder(Francs, Euros);
    setTabOrder(Euros, Convertir);
    setTabOrder(Convertir, Quitter);
    setTabOrder(Quitter, Annuler);

    Francs->installEventFilter(this);
    Euros->installEventFilter(this);
    for (QPushButton* bouton : {Convertir, Annuler, Quitter}) {
        bouton->installEventFilter(this);
    }

    connect(Convertir, &QPushButton::clicked, this, &Depart::Convertir_Click);
    connect(Annuler, &QPushButton::clicked, this, &Depart::Annuler_Click);
    connect(Quitter, &QPushButton::clicked, this, &Depart::Quitter_Click);
    nommerQuitter();
}

QLineEdit* Depart::zone(Zone champ) const {
    switch (champ) {
    case Zone::Francs:
        return Francs;
    case Zone::Euros:
        return Euros;
    case Zone::Aucune:
        break;
    }
    return nullptr;
}

void Depart::Convertir_Click() {
    creerControles();
    const ResultatConversion verdict = ConvertirMontants(
        Francs->text().toStdString(), Euros->text().toStdString(), m_services.locale);

    if (!verdict.message.empty()) {
        const MenuSuspendu suspendu(*m_zoneNotification);
        m_services.messages.MsgBox(this, QString::fromStdString(verdict.message), vbCritical,
                                   QString::fromStdString(m_informations.TitreApplication));
    }
    if (QLineEdit* selection = zone(verdict.selection)) {
        selection->setSelection(0, static_cast<int>(selection->text().length()));
    }
    if (QLineEdit* cible = zone(verdict.cible)) {
        cible->setText(QString::fromStdString(verdict.texte));
    }
    if (QLineEdit* focus = zone(verdict.focus)) {
        focus->setFocus();
    }
    // The result is not where the focus goes: a screen reader is told it after the focus.
    if (QLineEdit* cible = zone(verdict.cible)) {
        annoncerAuLecteur(*cible, QString::fromStdString(AnnonceResultat(verdict)));
    }
}

void Depart::Annuler_Click() {
    creerControles();
    Francs->setText(QString());
    Euros->setText(QString());
    Francs->setFocus();
}

void Depart::Francs_KeyPress(int& KeyAscii) {
    creerControles();
    if (KeyAscii == KeyAsciiRetour) {
        Euros->setFocus();
    }
}

void Depart::Euros_KeyPress(int& KeyAscii) {
    creerControles();
    if (KeyAscii == KeyAsciiRetour) {
        Convertir->setFocus();
    }
}

void Depart::Quitter_Click() {
    if (m_sansZoneNotification) {
        int Cancel = 0;
        Form_Unload(Cancel); // nothing could show the window again
        return;
    }
    hide();
}

bool Depart::eventFilter(QObject* objet, QEvent* evenement) {
    // An access key clicks its button at once: Qt's animated click would run a tenth of a second
    // later and undo what the user types meanwhile (Alt+E, then the next amount).
    if (evenement->type() == QEvent::Shortcut &&
        !static_cast<QShortcutEvent*>(evenement)->isAmbiguous()) {
        if (auto* bouton = qobject_cast<QPushButton*>(objet)) {
            bouton->click();
            return true;
        }
    }
    if (evenement->type() == QEvent::KeyPress && (objet == Francs || objet == Euros) &&
        estRetourChariot(*static_cast<QKeyEvent*>(evenement))) {
        int KeyAscii = KeyAsciiRetour;
        if (objet == Francs) {
            Francs_KeyPress(KeyAscii);
        } else {
            Euros_KeyPress(KeyAscii);
        }
    }
    // The key still reaches the field; a line edit does nothing with Enter by itself.
    return QWidget::eventFilter(objet, evenement);
}

void Depart::closeEvent(QCloseEvent* evenement) {
    // The window manager's close box and Alt+F4 do what Quitter does: put the window away while
    // the icon can bring it back, end the program where nothing could. The program's own end
    // goes through the unload handler, never through a close.
    evenement->ignore();
    Quitter_Click();
}

void Depart::showEvent(QShowEvent* evenement) {
    QWidget::showEvent(evenement);
    if (!m_dejaCentree && !evenement->spontaneous()) {
        m_dejaCentree = true;
        // The show event comes before the window is mapped, so it appears in place; the frame
        // counts where the platform already knows it. Wayland compositors place windows
        // themselves and ignore the program's moves.
        const bool placeeParLeCompositeur =
            QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
        if (const QScreen* ecran = screen(); ecran != nullptr && !placeeParLeCompositeur) {
            QRect cadre = frameGeometry();
            cadre.moveCenter(ecran->availableGeometry().center());
            move(cadre.topLeft());
        }
    }
}
