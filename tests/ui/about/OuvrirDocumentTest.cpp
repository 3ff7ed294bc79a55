// The seven buttons that open documents and addresses, against a recording shell.
#include "tests/ui/about/BancApropos.h"

#include <algorithm>
#include <QPushButton>
#include <QTest>
#include <QWidgetList>

namespace {

struct Bouton {
    const char* nom;
    int page;
    const char* legende;
    const char* cible;
};

const Bouton Boutons[] = {
    {"EMail", 3, "M'envoyer un E-Mail : etienne.exemple@example.org",
     "mailto:etienne.exemple@example.org"},
    {"Internet", 3, "Visiter mon site : http://www.example.org/tarvane/",
     "http://www.example.org/tarvane/"},
    {"SSCommand1", 4, "Lire Le_VELk_.txt", "Le_velk_.txt"},
    {"SSCommand2", 4, "Lire Adhésion.txt", "Adhesion.txt"},
    {"SSCommand3", 4, "Lire Le_VELk_.hlp", "Le_Velk_.hlp"},
    {"SSCommand4", 4, "Lire Le_VELk_.htm", "Le_Velk_.htm"},
    {"SSCommand5", 4, "Visiter le site de VELk : http://velk.example.com/",
     "http://velk.example.com/"},
};

QPushButton* montrer(BancApropos& banc, const Bouton& b) {
    banc.onglet()->setCurrentIndex(b.page);
    QApplication::processEvents();
    return banc.controle<QPushButton>(b.nom);
}

} // namespace

TEST(OuvrirDocument, EachButton_opensItsTargetOnce_ownedByTheBox_withEmptyTextsAndMaximised) {
    for (const Bouton& b : Boutons) {
        SCOPED_TRACE(b.nom);
        BancApropos banc;
        Apropos& boite = banc.ouvrir();
        QPushButton* bouton = montrer(banc, b);
        ASSERT_NE(bouton, nullptr);
        EXPECT_EQ(bouton->text(), QString::fromUtf8(b.legende));

        QTest::mouseClick(bouton, Qt::LeftButton);

        ASSERT_EQ(banc.documents.appels.size(), 1u);
        const AppelShellExecute& appel = banc.documents.appels[0];
        EXPECT_EQ(appel.hwnd, &boite);
        EXPECT_EQ(appel.operation, QByteArray("Open"));
        EXPECT_EQ(appel.fichier, QByteArray(b.cible));
        // Empty texts, not null ones.
        EXPECT_TRUE(appel.parametres.isEmpty());
        EXPECT_FALSE(appel.parametres.isNull());
        EXPECT_TRUE(appel.repertoire.isEmpty());
        EXPECT_FALSE(appel.repertoire.isNull());
        EXPECT_EQ(appel.affichage, 3);
        // Nothing else happens: the box stays open on the same page.
        EXPECT_TRUE(boite.isVisible());
        EXPECT_EQ(banc.onglet()->currentIndex(), b.page);
    }
}

TEST(OuvrirDocument, TwoClicks_openTheTargetTwice) {
    BancApropos banc;
    banc.ouvrir();
    QPushButton* bouton = montrer(banc, Boutons[2]);
    ASSERT_NE(bouton, nullptr);
    QTest::mouseClick(bouton, Qt::LeftButton);
    QTest::mouseClick(bouton, Qt::LeftButton);
    ASSERT_EQ(banc.documents.appels.size(), 2u);
    EXPECT_EQ(banc.documents.appels[1].fichier, QByteArray("Le_velk_.txt"));
}

TEST(OuvrirDocument, RefusedByTheShell_changesNothingAndSaysNothing) {
    BancApropos banc;
    banc.documents.resultat = 2; // the file is not found
    Apropos& boite = banc.ouvrir();
    QPushButton* bouton = montrer(banc, Boutons[4]);
    ASSERT_NE(bouton, nullptr);
    QTest::mouseClick(bouton, Qt::LeftButton);
    EXPECT_EQ(banc.documents.appels.size(), 1u);
    EXPECT_TRUE(boite.isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), &boite) << "a message box came up";
    const QWidgetList fenetres = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(fenetres.begin(), fenetres.end(),
                            [](const QWidget* w) { return w->isVisible(); }),
              1);
}
