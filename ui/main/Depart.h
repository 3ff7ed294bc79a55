#pragma once

#include "core/InformationsApplication.h"
#include "platform/ShellIcone.h"

#include <QWidget>

class LocaleNumerique;
class PresenceZoneNotification;
class ServiceMessages;
class ShellIcone;
class ProgrammeEnCours;
class ShellDocuments;
class PointeurSouris;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;
class ZoneNotification;
enum class Zone;

// What the main window asks of the platform; the program hands the real services, tests recorders.
struct ServicesDepart {
    const LocaleNumerique& locale;
    ServiceMessages& messages;
    ShellIcone& shell;
    ProgrammeEnCours& programme;
    ShellDocuments& documents;
    PointeurSouris& pointeur;
    PresenceZoneNotification& presence;
};

// The conversion window, with the program's start-up and shutdown: two entry fields, three
// buttons, and its place in the notification area, to which it hands the icon's messages.
// Its controls carry object names equal to their member names ("Francs", "Convertir", ...);
// they are built when the window is first shown or a handler first needs them, not at start-up,
// where nothing of them is seen and their fonts alone would cost more than the rest of the start.
class Depart : public QWidget, public ProcedureFenetre {
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

    // Messages of the notification icon, X in twips, and the items of its pop-up menu.
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void MenuApropos_Click();
    void MenuQuitter_Click();

    const InformationsApplication& informations() const { return m_informations; }

    // Builds the controls, if not yet done, before the window is first shown.
    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;

private:
    void creerControles(); // once, on first need; every later call does nothing
    void nommerQuitter();
    QLineEdit* zone(Zone champ) const;
    void afficher();
    void amener(); // to the front, with the keyboard, focus in Francs
    void changerMode(bool avecIcone);

    ServicesDepart m_services;
    InformationsApplication m_informations;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Francs = nullptr;
    QLineEdit* Euros = nullptr;
    QPushButton* Convertir = nullptr;
    QPushButton* Quitter = nullptr;
    QPushButton* Annuler = nullptr;

    ZoneNotification* m_zoneNotification = nullptr;

    int m_hauteurTitre = 0;     // the window's own title bar, where it draws one
    bool m_dejaCentree = false; // centred on the first show only, then left where the user puts it
    bool m_sansZoneNotification = false; // no icon in a notification area: see changerMode
};
