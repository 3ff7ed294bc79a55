#pragma once

#include "core/InformationsApplication.h"

#include <QDialog>

class OngletApropos;
class PointeurSouris;
class ProgrammeEnCours;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class ShellDocuments;
class TexteRelief;

// What the About box reads and calls: the shell's opener, the screen's pointer, the facts about
// the running program and the information strings composed at start-up.
struct ServicesApropos {
    ShellDocuments& documents;
    PointeurSouris& pointeur;
    const ProgrammeEnCours& programme;
    const InformationsApplication& informations;
};

// The About box: one tab control with five pages, borderless, modal. There is one instance for
// the whole application, created when it is shown and destroyed when it is closed, so that every
// showing starts afresh. Controls carry object names equal to their member names.
class Apropos : public QDialog {
    Q_OBJECT

public:
    // Creates the instance, loads it and shows it modally with no owner; returns once it is
    // closed. While it is open, a second call only brings it to the front.
    static void Show(const ServicesApropos& services);

    // The instance while it exists, or null.
    static Apropos* instance();

    explicit Apropos(const ServicesApropos& services);

    void Form_Load();
    void Quitter_Click();

    // The buttons that open documents and addresses.
    void EMail_Click();
    void Internet_Click();
    void SSCommand1_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSCommand4_Click();
    void SSCommand5_Click();

protected:
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    void creerControles();
    QWidget* creerPagePresentation();
    QWidget* creerPageInfos();
    QWidget* creerPageHistorique();
    QWidget* creerPageAssistance();
    QWidget* creerPageVelk();
    void centrerSurEcran();
    void OuvrirDocument(const QString& cible);

    ServicesApropos m_services;

    OngletApropos* Onglet = nullptr;
    QFrame* Panel3D1 = nullptr;
    TexteRelief* Titre = nullptr;
    QLabel* SousTitre = nullptr;
    QFrame* Panel3D3 = nullptr;
    QLabel* Dessin4 = nullptr;
    QPushButton* Quitter = nullptr;
    QFrame* SupportInfos = nullptr;
    QLabel* Description = nullptr;
    QLabel* NomApplication = nullptr;
    QLabel* Version = nullptr;
    QLabel* Commentaires = nullptr;
    QLabel* TradeMarks = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Company = nullptr;
    QPlainTextEdit* Afficheur = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* EMail = nullptr;
    QPushButton* Internet = nullptr;
    QLabel* Picture1 = nullptr;
    QPushButton* SSCommand1 = nullptr;
    QPushButton* SSCommand2 = nullptr;
    QPushButton* SSCommand3 = nullptr;
    QPushButton* SSCommand4 = nullptr;
    QPushButton* SSCommand5 = nullptr;
};
