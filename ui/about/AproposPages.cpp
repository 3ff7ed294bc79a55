// The About box's controls, page by page, where and as they were drawn.
#include "ui/about/Apropos.h"
#include "ui/about/DocumentsApropos.h"
#include "ui/about/OngletApropos.h"
#include "ui/about/TexteRelief.h"
#include "ui/about/TextesApropos.h"
#include "ui/CouleursFixes.h"
#include "ui/Polices.h"
#include "ui/Twips.h"

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const QColor Gris(192, 192, 192);
const QColor JauneClair(255, 255, 192);
const QColor Bleu(0, 0, 255);

template <typename Controle> Controle* nommer(Controle* controle, const char* nom) {
    controle->setObjectName(QString::fromLatin1(nom));
    return controle;
}

// The design's colour and the one it was drawn with, so that a dark desktop palette keeps both.
void colorer(QWidget* controle, QPalette::ColorRole roleFond, const QColor& fond,
             QPalette::ColorRole roleTexte, const QColor& texte) {
    colorerPaire(controle, roleFond, fond, roleTexte, texte);
    if (roleFond == QPalette::Window) {
        controle->setAutoFillBackground(true);
    }
}

// A panel with a bevelled edge that holds other controls.
QFrame* panneau(QWidget* page, const char* nom, QFrame::Shadow relief) {
    auto* cadre = nommer(new QFrame(page), nom);
    cadre->setFrameStyle(QFrame::Panel | relief);
    cadre->setLineWidth(1);
    return cadre;
}

QPushButton* bouton(QWidget* page, const char* nom, const QString& legende) {
    auto* resultat = nommer(new QPushButton(legende, page), nom);
    // Neither default nor cancel: Enter and Escape never close the box behind the user's back.
    resultat->setAutoDefault(false);
    resultat->setDefault(false);
    return resultat;
}

QPlainTextEdit* zoneTexte(QWidget* page, const char* nom, const char* texte) {
    auto* zone = nommer(new QPlainTextEdit(page), nom);
    zone->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    zone->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    zone->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Tab moves on to the page's buttons rather than typing into the text.
    zone->setTabChangesFocus(true);
    colorer(zone, QPalette::Base, JauneClair, QPalette::Text, Qt::black);
    // The text is kept with CR LF line ends; the editor wants bare line feeds.
    zone->setPlainText(
        QString::fromUtf8(texte).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    return zone;
}

// One line of the white sheet of the "Infos techniques" page.
QLabel* ligneInfos(QFrame* support, const char* nom, int haut, int hauteur) {
    auto* ligne = nommer(new QLabel(support), nom);
    ligne->setGeometry(enPixels(120, haut, 6735, hauteur));
    colorer(ligne, QPalette::Window, Qt::white, QPalette::WindowText, Qt::black);
    ligne->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return ligne;
}

// What a screen reader says of a control: its name, then what it is for.
void decrire(QWidget* controle, const QString& nom, const QString& description) {
    controle->setAccessibleName(nom);
    controle->setAccessibleDescription(description);
}

// The spanner is a 32-pixel bitmap stretched to the image's size, pixel by pixel, as the image
// control draws it.
QPixmap etirer(const QString& chemin, QSize taille, qreal densite) {
    QPixmap source(chemin);
    if (source.isNull()) {
        return source;
    }
    QPixmap resultat =
        source.scaled(taille * densite, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    resultat.setDevicePixelRatio(densite);
    return resultat;
}

} // namespace

void Apropos::creerControles() {
    Onglet = nommer(new OngletApropos(this), "Onglet");
    Onglet->setGeometry(enPixels(120, 120, 7485, 4095));
    Onglet->setFixedSize(Onglet->size());

    Onglet->addTab(creerPagePresentation(), QStringLiteral("Tarvane"));
    Onglet->addTab(creerPageInfos(), QStringLiteral("Infos techniques"));
    Onglet->addTab(creerPageHistorique(), QStringLiteral("Historique"));
    Onglet->addTab(creerPageAssistance(), QStringLiteral("Assistance technique"));
    Onglet->addTab(creerPageVelk(), QStringLiteral("V.E.Lk"));
    Onglet->setCurrentIndex(0);

    // The box has no title (it has no title bar); screen readers still name it.
    decrire(this, QStringLiteral("A propos de Tarvane"),
            QStringLiteral("Version, informations techniques, historique et assistance"));
    const QString descriptions[] = {
        QStringLiteral("Nom et version du programme"),
        QStringLiteral("Les informations techniques du programme"),
        QStringLiteral("Les versions successives du programme"),
        QStringLiteral("Comment joindre l'auteur"),
        QStringLiteral("L'association Velk et ses documents"),
    };
    for (int page = 0; page < Onglet->count(); ++page) {
        decrire(Onglet->widget(page), Onglet->tabText(page), descriptions[page]);
    }
    decrire(Onglet, QStringLiteral("Pages de la boîte A propos"),
            QStringLiteral("Tarvane, Infos techniques, Historique, Assistance technique, V.E.Lk"));

    setTabOrder(EMail, Internet);
    setTabOrder(SSCommand1, SSCommand2);
    setTabOrder(SSCommand2, SSCommand3);
    setTabOrder(SSCommand3, SSCommand4);
    setTabOrder(SSCommand4, SSCommand5);
}

QWidget* Apropos::creerPagePresentation() {
    auto* page = new QWidget;

    Panel3D1 = panneau(page, "Panel3D1", QFrame::Raised);
    Onglet->placer(Panel3D1, 2040, 600, 5175, 1095);

    Titre = nommer(new TexteRelief(Panel3D1), "Titre");
    Titre->setGeometry(enPixels(120, 120, 4935, 495));
    Titre->setAlignment(Qt::AlignCenter);

    SousTitre = nommer(new QLabel(Panel3D1), "SousTitre");
    SousTitre->setGeometry(enPixels(120, 600, 4935, 255));
    SousTitre->setFont(policeDessin(QStringLiteral("Arial"), 9.75, true));
    SousTitre->setAlignment(Qt::AlignCenter);
    colorer(SousTitre, QPalette::Window, Gris, QPalette::WindowText, Qt::black);

    Panel3D3 = panneau(page, "Panel3D3", QFrame::Raised);
    Onglet->placer(Panel3D3, 240, 2280, 1575, 1575);

    Dessin4 = nommer(new QLabel(Panel3D3), "Dessin4");
    Dessin4->setGeometry(enPixels(120, 120, 1335, 1365));
    Dessin4->setPixmap(
        etirer(QStringLiteral(":/images/dessin4.png"), Dessin4->size(), devicePixelRatioF()));

    Quitter = bouton(page, "Quitter", QString());
    Onglet->placer(Quitter, 6600, 3240, 735, 735);
    Quitter->setIcon(QIcon(QStringLiteral(":/images/quitter.png")));
    Quitter->setIconSize(QSize(41, 41));
    connect(Quitter, &QPushButton::clicked, this, &Apropos::Quitter_Click);
    decrire(Quitter, QStringLiteral("Fermer"), QStringLiteral("Ferme la boîte A propos"));
    decrire(Dessin4, QStringLiteral("Clé plate"), QStringLiteral("L'icône de Tarvane"));
    return page;
}

QWidget* Apropos::creerPageInfos() {
    auto* page = new QWidget;

    SupportInfos = panneau(page, "SupportInfos", QFrame::Sunken);
    Onglet->placer(SupportInfos, 240, 600, 6975, 3255);
    colorer(SupportInfos, QPalette::Window, Gris, QPalette::WindowText, Qt::black);

    // Top to bottom; each line overlaps the one above by a twip row, so they read as one sheet.
    Description = ligneInfos(SupportInfos, "Description", 120, 495);
    Description->setFont(policeDessin(QStringLiteral("MS Sans Serif"), 12, true, true));
    Description->setAlignment(Qt::AlignCenter);
    NomApplication = ligneInfos(SupportInfos, "NomApplication", 600, 375);
    Version = ligneInfos(SupportInfos, "Version", 960, 375);
    Commentaires = ligneInfos(SupportInfos, "Commentaires", 1320, 375);
    TradeMarks = ligneInfos(SupportInfos, "TradeMarks", 1680, 375);
    Copyright = ligneInfos(SupportInfos, "Copyright", 2040, 375);
    Company = ligneInfos(SupportInfos, "Company", 2400, 375);
    return page;
}

QWidget* Apropos::creerPageHistorique() {
    auto* page = new QWidget;
    Afficheur = zoneTexte(page, "Afficheur", TexteAfficheur);
    decrire(Afficheur, QStringLiteral("Historique"),
            QStringLiteral("Les versions de Tarvane et ce que chacune a changé"));
    Onglet->placer(Afficheur, 240, 600, 6975, 3255);
    return page;
}

QWidget* Apropos::creerPageAssistance() {
    auto* page = new QWidget;
    Text1 = zoneTexte(page, "Text1", TexteText1);
    decrire(Text1, QStringLiteral("Assistance technique"),
            QStringLiteral("Comment obtenir de l'aide sur Tarvane"));
    Onglet->placer(Text1, 240, 600, 6975, 2415);

    EMail = bouton(page, "EMail",
                   QStringLiteral("M'envoyer un E-Mail : ") + QString::fromUtf8(AdresseEMail));
    Onglet->placer(EMail, 240, 3120, 6975, 375);
    colorer(EMail, QPalette::Button, FaceClaire, QPalette::ButtonText, Bleu);
    connect(EMail, &QPushButton::clicked, this, &Apropos::EMail_Click);
    decrire(EMail, EMail->text(),
            QStringLiteral("Ouvre un nouveau message à l'auteur dans le logiciel de messagerie"));

    Internet = bouton(page, "Internet",
                      QStringLiteral("Visiter mon site : ") + QString::fromUtf8(SiteAuteur));
    Onglet->placer(Internet, 240, 3600, 6975, 375);
    colorer(Internet, QPalette::Button, FaceClaire, QPalette::ButtonText, Bleu);
    connect(Internet, &QPushButton::clicked, this, &Apropos::Internet_Click);
    decrire(Internet, Internet->text(),
            QStringLiteral("Ouvre le site de l'auteur dans le navigateur"));
    return page;
}

QWidget* Apropos::creerPageVelk() {
    auto* page = new QWidget;

    Picture1 = nommer(new QLabel(page), "Picture1");
    Onglet->placer(Picture1, 360, 600, 2940, 1035);
    Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Picture1->setLineWidth(2);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    colorer(Picture1, QPalette::Window, Gris, QPalette::WindowText, Qt::black);
    Picture1->setPixmap(QIcon(QStringLiteral(":/images/velk.png")).pixmap(QSize(192, 65)));
    decrire(Picture1, QStringLiteral("Logo de l'association Velk"),
            QStringLiteral("Ses initiales, V.E.Lk, et son nom"));

    SSCommand1 = bouton(page, "SSCommand1", QStringLiteral("Lire Le_VELk_.txt"));
    Onglet->placer(SSCommand1, 3840, 720, 2895, 375);
    connect(SSCommand1, &QPushButton::clicked, this, &Apropos::SSCommand1_Click);
    decrire(SSCommand1, SSCommand1->text(),
            QStringLiteral("Ouvre la présentation de l'association, un texte"));

    SSCommand2 = bouton(page, "SSCommand2", QStringLiteral("Lire Adhésion.txt"));
    Onglet->placer(SSCommand2, 3840, 1200, 2895, 375);
    connect(SSCommand2, &QPushButton::clicked, this, &Apropos::SSCommand2_Click);
    decrire(SSCommand2, SSCommand2->text(),
            QStringLiteral("Ouvre le bulletin d'adhésion à l'association, un texte"));

    SSCommand3 = bouton(page, "SSCommand3", QStringLiteral("Lire Le_VELk_.hlp"));
    Onglet->placer(SSCommand3, 3840, 1680, 2895, 375);
    connect(SSCommand3, &QPushButton::clicked, this, &Apropos::SSCommand3_Click);
    decrire(SSCommand3, SSCommand3->text(), QStringLiteral("Ouvre l'aide de l'association"));

    SSCommand4 = bouton(page, "SSCommand4", QStringLiteral("Lire Le_VELk_.htm"));
    Onglet->placer(SSCommand4, 3840, 2160, 2895, 375);
    connect(SSCommand4, &QPushButton::clicked, this, &Apropos::SSCommand4_Click);
    decrire(SSCommand4, SSCommand4->text(),
            QStringLiteral("Ouvre la page de l'association dans le navigateur"));

    SSCommand5 = bouton(page, "SSCommand5",
                        QStringLiteral("Visiter le site de VELk : ") + QString::fromUtf8(SiteVelk));
    Onglet->placer(SSCommand5, 240, 3480, 6975, 375);
    colorer(SSCommand5, QPalette::Button, FaceClaire, QPalette::ButtonText, Bleu);
    connect(SSCommand5, &QPushButton::clicked, this, &Apropos::SSCommand5_Click);
    decrire(SSCommand5, SSCommand5->text(),
            QStringLiteral("Ouvre le site de l'association dans le navigateur"));
    return page;
}
