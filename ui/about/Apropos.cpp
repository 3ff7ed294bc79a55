#include "ui/about/Apropos.h"

#include "core/BlocVersion.h"
#include "platform/DecorationsFenetre.h"
#include "platform/PointeurSouris.h"
#include "platform/ProgrammeEnCours.h"
#include "ui/about/OngletApropos.h"
#include "ui/about/TexteRelief.h"
#include "ui/Polices.h"
#include "ui/Twips.h"

#include <QAbstractButton>
#include <QCursor>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <utility>

namespace {

QPointer<Apropos> instanceApropos;

QString texte(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

void Apropos::Show(const ServicesApropos& services) {
    if (instanceApropos) {
        instanceApropos->raise();
        instanceApropos->activateWindow();
        return;
    }
    // No parent: the box belongs to no window, and exec() makes it modal for the application.
    instanceApropos = new Apropos(services);
    instanceApropos->Form_Load();
    instanceApropos->centrerSurEcran();
    // Given the keyboard once exec() has shown it: GNOME on Wayland leaves a new window behind
    // the one it shows, where the keys would reach a window that the box blocks.
    QTimer::singleShot(0, instanceApropos, [] { instanceApropos->activateWindow(); });
    // Closing deletes the box (WA_DeleteOnClose), and exec() returns then.
    instanceApropos->exec();
}

Apropos* Apropos::instance() {
    return instanceApropos;
}

Apropos::Apropos(const ServicesApropos& services)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), m_services(services) {
    setObjectName(QStringLiteral("Apropos"));
    setAttribute(Qt::WA_DeleteOnClose);
    // No caption; an empty one would be replaced by the program's name for pagers and task
    // switchers, a lone blank is not.
    setWindowTitle(QStringLiteral(" "));
    setWindowModality(Qt::ApplicationModal);

    setFont(policeDessin(QStringLiteral("MS Sans Serif"), 8.25, true));

    resize(enPixels(7710), enPixels(4305));
    creerControles();
    // Ctrl+PageDown and Ctrl+PageUp turn the pages, as Ctrl+Tab and Ctrl+Shift+Tab do.
    for (const auto& [touche, pas] :
         {std::pair{Qt::Key_PageDown, 1}, std::pair{Qt::Key_PageUp, -1}}) {
        auto* raccourci = new QShortcut(QKeySequence(Qt::ControlModifier | touche), this);
        connect(raccourci, &QShortcut::activated, this, [this, pas = pas] {
            const int pages = Onglet->count();
            Onglet->setCurrentIndex((Onglet->currentIndex() + pas + pages) % pages);
        });
    }
}

void Apropos::Form_Load() {
    const BlocVersion& bloc = m_services.programme.blocVersion();
    const InformationsApplication& informations = m_services.informations;
    const QString dateCompilation = texte(informations.DateCompilation);

    m_services.pointeur.definir(vbHourglass);

    // The box has no border: given the tab control's size, it is exactly filled by it.
    Onglet->move(0, 0);
    // Fixed, so that tiling window managers float it rather than stretch it over the screen.
    setFixedSize(Onglet->size());
    decorerFenetre(*this, false);

    Titre->setText(texte(bloc.ProductName));
    // Arial 18 points, keeping the rest of the box's font.
    Titre->setFont(
        policeDessin(QStringLiteral("Arial"), 18, Titre->font().bold(), Titre->font().italic()));

    SousTitre->setText(QStringLiteral("Version ") + texte(informations.VersionApplication) +
                       QStringLiteral(" compilée le ") + dateCompilation);
    Description->setText(texte(bloc.ProductName));
    NomApplication->setText(QStringLiteral("  Nom de l'éxecutable : ") +
                            m_services.programme.nomExecutable() + QStringLiteral(".EXE"));
    Commentaires->setText(QStringLiteral("  Commentaires :          ") + texte(bloc.Comments));
    Copyright->setText(QStringLiteral("  Copyright :                ") +
                       texte(bloc.LegalCopyright));
    Company->setText(QStringLiteral("  Organisation :            ") + texte(bloc.CompanyName));
    TradeMarks->setText(QStringLiteral("  Marques légales :       ") + texte(bloc.LegalTrademarks));
    Version->setText(QStringLiteral("  Version :                  ") +
                     QString::number(bloc.majeure) + QStringLiteral(".") +
                     QString::number(bloc.mineure) + QStringLiteral(" du ") + dateCompilation);

    // No text is cut where the font found is wider than Arial: the sheet of "Infos techniques"
    // keeps one font for all its lines.
    ajusterPolice({Titre});
    ajusterPolice({SousTitre});
    ajusterPolice({Description});
    ajusterPolice({NomApplication, Version, Commentaires, TradeMarks, Copyright, Company});

    m_services.pointeur.definir(vbArrow);
}

void Apropos::Quitter_Click() {
    close();
}

void Apropos::keyPressEvent(QKeyEvent* evenement) {
    switch (evenement->key()) {
    case Qt::Key_Escape:
        // No button cancels the box: Escape must not reject it.
        evenement->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // No button is the default either. Enter presses the focused button, as Space does, and
        // reaches here only when no text box has taken it.
        if (auto* bouton = qobject_cast<QAbstractButton*>(focusWidget());
            bouton != nullptr && (evenement->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            bouton->click();
        }
        evenement->accept();
        return;
    case Qt::Key_F4:
        // The keyboard close command, for window managers that do not give it to frameless windows.
        if (evenement->modifiers() == Qt::AltModifier) {
            close();
            evenement->accept();
            return;
        }
        break;
    default:
        break;
    }
    QDialog::keyPressEvent(evenement);
}

void Apropos::centrerSurEcran() {
    QScreen* ecran = QGuiApplication::screenAt(QCursor::pos());
    if (ecran == nullptr) {
        ecran = QGuiApplication::primaryScreen();
    }
    if (ecran != nullptr) {
        move(ecran->geometry().center() - rect().center());
    }
}
