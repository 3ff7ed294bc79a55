#pragma once

#include "core/InformationsApplication.h"

#include <QWidget>

class LocaleNumerique;
class ServiceMessages;
class ShellIcone;
class ProgrammeEnCours;
class ShellDocuments;
class PointeurSouris;
class QLabel;
class QLineEdit;
class QMenu;
class QAction;
class QPoint;
class QPushButton;
class QShowEvent;
enum class Zone;

// What the main window asks of the platform; the program hands the real services, tests recorders.
struct ServicesDepart {
    const LocaleNumerique& locale;
    ServiceMessages& messages;
    ShellIcone& shell;
    ProgrammeEnCours& programme;
    ShellDocuments& documents;
    PointeurSouris& pointeur;
};

// The conversion window: two entry fields, three buttons, and the pop-up menu of the tray icon.
// Its controls carry object names equal to their member names ("Francs", "Convertir", ...).
class Depart : public QWidget {
    Q_OBJECT

public:
    explicit Depart(ServicesDepart services, QWidget* parent = nullptr);
    ~Depart() override;

    // Start-up and shutdown.
    void Form_Load();
    void Form_Unload(int& Cancel);

    // Handlers of the window's controls.
    void Convertir_Click();
    void Annuler_Click();
    void Francs_KeyPress(int& KeyAscii);
    void Euros_KeyPress(int& KeyAscii);
    void Quitter_Click();

    // Messages of the notification icon, and the items of its pop-up menu.
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    void MenuApropos_Click();
    void MenuQuitter_Click();

    const InformationsApplication& informations() const { return m_informations; }

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void mouseMoveEvent(QMouseEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;

private:
    void creerControles();
    void creerMenu();
    QLineEdit* zone(Zone champ) const;

    // The pop-up menu: opened at a screen position, one at a time, and its chosen item run.
    void ouvrirMenuPopUp(const QPoint& position);
    void executerElementMenu(QAction* element);

    ServicesDepart m_services;
    InformationsApplication m_informations;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Francs = nullptr;
    QLineEdit* Euros = nullptr;
    QPushButton* Convertir = nullptr;
    QPushButton* Quitter = nullptr;
    QPushButton* Annuler = nullptr;

    QMenu* MenuPopUp = nullptr;
    QAction* MenuApropos = nullptr;
    QAction* MenuQuitter = nullptr;

    bool m_dejaCentree = false; // centred on the first show only, then left where the user puts it
    // Without a notification area nothing could bring the window back: it stays on screen, its
    // right click opens the pop-up menu and its Quitter button ends the program.
    bool m_sansZoneNotification = false;
    bool m_menuOuvert = false; // the pop-up menu, or a dialog chosen from it, is up
};
