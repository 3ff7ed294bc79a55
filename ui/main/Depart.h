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
class QPushButton;

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

private:
    void creerControles();
    void creerMenu();

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
};
