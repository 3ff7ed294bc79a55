#pragma once
// Recorders that stand in for the platform services in tests: they answer at once and keep a
// trace of every call, in order.

#include "platform/BlocVersionProgramme.h"
#include "platform/PointeurSouris.h"
#include "platform/PresenceZoneNotification.h"
#include "platform/ProgrammeEnCours.h"
#include "platform/ServiceMessages.h"
#include "platform/ShellDocuments.h"
#include "platform/ShellIcone.h"
#include "tests/support/FausseLocaleFrancaise.h"
#include "ui/main/Depart.h"

#include <functional>
#include <optional>
#include <QApplication>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>
#include <vector>

struct MessageAffiche {
    QString texte;
    int style = 0;
    QString titre;
    QPointer<QWidget> parent;
    QWidget* focusPendant = nullptr; // the widget that had the focus while the box was up
};

class FauxMessages : public ServiceMessages {
public:
    void MsgBox(QWidget* parent, const QString& texte, int style, const QString& titre) override {
        affiches.push_back({texte, style, titre, parent, QApplication::focusWidget()});
        if (pendant) {
            pendant();
        }
    }
    std::vector<MessageAffiche> affiches;
    std::function<void()> pendant; // run while the box is up
};

class FauxProgramme;

struct AppelIcone {
    std::uint32_t message = 0;
    NOTIFYICONDATA donnees;
    int terminaisonsAvant = 0; // how often the program had been ended when the call came
};

class FauxShellIcone : public ShellIcone {
public:
    bool Shell_NotifyIconA(std::uint32_t dwMessage, const NOTIFYICONDATA& lpData) override;
    void associerMenu(QMenu* menu) override { menuAssocie = menu; }
    QAction* ouvrirMenu(QMenu& menu, const QPoint& position) override {
        return menuPropre ? menuPropre(menu, position) : ShellIcone::ouvrirMenu(menu, position);
    }

    std::vector<AppelIcone> appels;
    bool accepte = true; // the shell's answer
    QMenu* menuAssocie = nullptr;
    // When set, opens the menu in the toolkit's place, as a shell with a menu of its own does.
    std::function<QAction*(QMenu&, const QPoint&)> menuPropre;
    const FauxProgramme* programme = nullptr; // whose end the calls are placed against
};

struct AppelShellExecute {
    QWidget* hwnd = nullptr;
    QByteArray operation;
    QByteArray fichier;
    QByteArray parametres;
    QByteArray repertoire;
    int affichage = 0;
};

class FauxDocuments : public ShellDocuments {
public:
    long ShellExecuteA(QWidget* hwnd, const QByteArray& lpOperation, const QByteArray& lpFile,
                       const QByteArray& lpParameters, const QByteArray& lpDirectory,
                       int nShowCmd) override {
        appels.push_back({hwnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd});
        return resultat;
    }
    std::vector<AppelShellExecute> appels;
    long resultat = 42; // above 32: success; 32 or below: the shell's failure codes
};

class FauxPointeur : public PointeurSouris {
public:
    void definir(int code) override { codes.push_back(code); }
    // The pointer now shown: the last code set.
    int actuel() const { return codes.empty() ? vbDefault : codes.back(); }
    std::vector<int> codes;
};

class FauxProgramme : public ProgrammeEnCours {
public:
    QString nomExecutable() const override { return nom; }
    const BlocVersion& blocVersion() const override { return bloc; }
    bool autreCopieEnCours() override {
        ++questionsCopie;
        return autreCopie;
    }
    int twipsParPixel() const override { return twips; }
    std::optional<DateHeure> dateFichier(const std::string& nomFichier) const override {
        fichiersDemandes.push_back(nomFichier);
        return date;
    }
    void terminer() override { ++terminaisons; }

    QString nom = QStringLiteral("Tarvane");
    BlocVersion bloc = BlocVersionProgramme();
    bool autreCopie = false;
    int questionsCopie = 0;
    int twips = 15;
    std::optional<DateHeure> date = DateHeure{2000, 4, 16, 21, 6, 47};
    mutable std::vector<std::string> fichiersDemandes;
    int terminaisons = 0;
};

inline bool FauxShellIcone::Shell_NotifyIconA(std::uint32_t dwMessage,
                                              const NOTIFYICONDATA& lpData) {
    appels.push_back({dwMessage, lpData, programme ? programme->terminaisons : 0});
    return accepte;
}

// A notification area that the test brings and takes away; it tells of every change it is told
// of, repeated ones included, as watchers may.
class FaussePresence : public PresenceZoneNotification {
public:
    bool presente() const override { return zone; }
    bool accueillie() const override { return zone && prise; }
    bool enCours() const override { return premierRegard; }
    bool retourPossible() const override { return retour; }
    void changer(bool presente) {
        zone = presente;
        premierRegard = false;
        emit changee(presente);
    }
    void prendre(bool montre) {
        prise = montre;
        emit accueilChange(accueillie());
    }
    bool zone = true;
    bool prise = true;          // the area shows the icons it is given
    bool premierRegard = false; // the first look is under way until a change
    bool retour = true;         // an icon no longer shown may come back by itself
};

// Every fake, bundled for a Depart under test.
struct FauxServices {
    FauxServices() { shell.programme = &programme; }
    FauxServices(const FauxServices&) = delete;
    FauxServices& operator=(const FauxServices&) = delete;

    FausseLocaleFrancaise locale;
    FauxMessages messages;
    FauxShellIcone shell;
    FauxProgramme programme;
    FauxDocuments documents;
    FauxPointeur pointeur;
    FaussePresence presence;

    ServicesDepart services() { return services(locale, messages); }
    // Another locale, or the real message box, in place of the fakes.
    ServicesDepart services(const LocaleNumerique& autre, ServiceMessages& boites) {
        return ServicesDepart{autre, boites, shell, programme, documents, pointeur, presence};
    }
};
