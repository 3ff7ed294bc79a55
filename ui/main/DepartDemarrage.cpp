// Start-up and shutdown of the program, in the main window's load and unload handlers.
#include "platform/ProgrammeEnCours.h"
#include "platform/ServiceMessages.h"
#include "platform/ShellIcone.h"
#include "ui/main/Depart.h"
#include "ui/tray/IconeNotification.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

QString messageAutreCopie() {
    return QStringLiteral("L'application est déjà en mémoire !!") + QStringLiteral("\n\n") +
           QStringLiteral("Utiliser la barre des taches");
}

} // namespace

void Depart::Form_Load() {
    ProgrammeEnCours& programme = m_services.programme;

    // Before anything else, so that a second copy adds no icon; the title is still empty.
    if (programme.autreCopieEnCours()) {
        m_services.messages.MsgBox(nullptr, messageAutreCopie(), vbCritical,
                                   QString::fromStdString(m_informations.TitreApplication));
        programme.terminer();
        return;
    }

    const BlocVersion& bloc = programme.blocVersion();
    m_informations = CalculerInformations(
        programme.nomExecutable().toStdString(), bloc.majeure, bloc.mineure,
        [&programme](const std::string& nomFichier) { return programme.dateFichier(nomFichier); });

    // MenuPopUp is a pop-up menu only, never a menu bar: there is nothing to hide.
    m_sansZoneNotification = !m_services.shell.zoneNotificationDisponible();
    m_services.shell.associerMenu(MenuPopUp);
    IconeNotification(m_services.shell, this, NIM_ADD, windowIcon(),
                      QStringLiteral("Tarvane Francs/Euros/Francs"));

    if (m_sansZoneNotification) {
        Quitter->setAccessibleName(QStringLiteral("Quitter Tarvane"));
        Quitter->setAccessibleDescription(
            QStringLiteral("Termine le programme : sans zone de notification, rien ne rappellerait "
                           "la fenêtre"));
        setContextMenuPolicy(Qt::CustomContextMenu);
        connect(this, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& position) { ouvrirMenuPopUp(mapToGlobal(position)); });
        show();
        raise();
        activateWindow();
        Francs->setFocus();
        return;
    }
    hide();
}

void Depart::Form_Unload(int& Cancel) {
    (void)Cancel; // never set: the unload always proceeds
    IconeNotification(m_services.shell, this, NIM_DELETE);
    m_services.programme.terminer();
}
