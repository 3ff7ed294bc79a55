// The shell's own calls under a real Windows shell (Wine's): the notification icon, its
// callback, its menu, the task bar created anew, the opener, the version resource, the one-copy
// mutex.
#include "platform/BlocVersionProgramme.h"
#include "platform/BlocVersionSysteme.h"
#include "platform/VerrouInstance.h"
#include "platform/windows/BarreDesTachesWindows.h"
#include "platform/windows/ShellDocumentsWindows.h"
#include "platform/windows/ShellNatifWindows.h"
#include "tests/platform/windows/NatifTest.h"
#include "tests/support/FauxServices.h"
#include "ui/tray/IconeNotification.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <vector>

namespace {

class FenetreTemoin : public QWidget, public ProcedureFenetre {
public:
    void Form_MouseMove(int, int, float X, float) override { positions.push_back(X); }
    std::vector<float> positions;
};

class BarreDesTachesTest : public ::testing::Test {
protected:
    void SetUp() override {
        programme.twips = 15;
        QPixmap image(16, 16);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(IconeNotification(barre, donnees, &fenetre, NIM_ADD, QIcon(image),
                                      QStringLiteral("Tarvane Francs/Euros/Francs")));
        hWnd = static_cast<std::uintptr_t>(fenetre.winId());
    }
    void TearDown() override { IconeNotification(barre, donnees, &fenetre, NIM_DELETE); }

    void livrer() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
    }

    // Opens the menu through the task bar; once the system's own menu is up, notes what it shows
    // and presses a key in it. A menu of the toolkit's is closed and noted as none; a menu that
    // the key leaves up is closed after two seconds.
    struct MenuEssaye {
        QAction* choix = nullptr;
        std::optional<natiftest::MenuVu> vu;
    };
    MenuEssaye essayerMenu(QMenu& menu, const QPoint& position,
                           const std::function<void()>& touche) {
        MenuEssaye essai;
        int tours = 0;
        QTimer guet;
        guet.setInterval(20);
        QObject::connect(&guet, &QTimer::timeout, [&] {
            if (QWidget* menuQt = QApplication::activePopupWidget()) {
                menuQt->close();
            } else if (!essai.vu && (essai.vu = natiftest::menuOuvert())) {
                touche();
            } else if (++tours == 100) {
                natiftest::finirMenu();
            }
        });
        guet.start();
        essai.choix = barre.ouvrirMenu(menu, position);
        return essai;
    }

    FauxProgramme programme;
    BarreDesTachesWindows barre{programme};
    FenetreTemoin fenetre;
    DonneesIcone donnees;
    std::uintptr_t hWnd = 0;
};

TEST_F(BarreDesTachesTest, TheRecordIsTheSystemsV1Form_theShellHoldsTheIconUntilDeleted) {
    EXPECT_EQ(TailleEnregistrementIcone, natif::tailleEnregistrementV1());
    EXPECT_TRUE(natiftest::iconePresente(hWnd, IdentifiantIcone));

    EXPECT_TRUE(IconeNotification(barre, donnees, &fenetre, NIM_DELETE));
    EXPECT_FALSE(natiftest::iconePresente(hWnd, IdentifiantIcone));
    // A second add of the same icon is refused; after the delete it is accepted again.
    EXPECT_TRUE(IconeNotification(barre, donnees, &fenetre, NIM_ADD));
    EXPECT_FALSE(IconeNotification(barre, donnees, &fenetre, NIM_ADD));
}

TEST_F(BarreDesTachesTest, IconMessages_reachTheMouseMoveHandlerInTwips_realMovesDoNot) {
    // The shell's callback, sent: the icon's number in wParam, the mouse message in lParam.
    natiftest::notifier(hWnd, WM_MOUSEMOVE, IdentifiantIcone, WM_LBUTTONDOWN);
    natiftest::notifier(hWnd, WM_MOUSEMOVE, IdentifiantIcone, WM_RBUTTONUP);
    // A move with the left button held (MK_LBUTTON is 1 too) at 513,40: the window's own.
    natiftest::notifier(hWnd, WM_MOUSEMOVE, 1, (40 << 16) | WM_LBUTTONDOWN);
    // Another icon's message.
    natiftest::notifier(hWnd, WM_MOUSEMOVE, IdentifiantIcone + 1, WM_LBUTTONDOWN);
    QTest::qWait(100);
    livrer();

    EXPECT_EQ(fenetre.positions, (std::vector<float>{513 * 15, 517 * 15}));
}

TEST_F(BarreDesTachesTest, TaskbarCreated_addsTheLostIconAgain_areaStaysPresent) {
    const QSignalSpy changements(&barre, &PresenceZoneNotification::changee);
    natiftest::oublierIcone(hWnd, IdentifiantIcone); // Explorer died with it
    ASSERT_FALSE(natiftest::iconePresente(hWnd, IdentifiantIcone));

    natiftest::annoncerBarreCreee(hWnd);

    EXPECT_TRUE(natiftest::iconePresente(hWnd, IdentifiantIcone));
    EXPECT_TRUE(barre.presente());
    EXPECT_EQ(changements.count(), 0);
}

TEST_F(BarreDesTachesTest, IconsMenu_isTheSystemsOwnCopyOfTheItems_theChoiceReturnedAndTriggered) {
    QMenu menu(&fenetre);
    QAction* apropos = menu.addAction(QStringLiteral("&A propos"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("Invisible"))->setVisible(false);
    QAction* quitter = menu.addAction(QStringLiteral("&Quitter"));
    menu.setDefaultAction(apropos);
    const QSignalSpy declenchements(quitter, &QAction::triggered);

    // Quitter disabled, the menu closed by Escape: no choice.
    quitter->setEnabled(false);
    const MenuEssaye ferme = essayerMenu(menu, QPoint(40, 30), natiftest::echapperMenu);
    ASSERT_TRUE(ferme.vu) << "no menu of the system's own came up";
    EXPECT_EQ(ferme.vu->textes, (std::vector<std::wstring>{L"&A propos", L"", L"&Quitter"}));
    EXPECT_EQ(ferme.vu->grises, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(ferme.vu->parDefaut, 0);
    EXPECT_EQ(QPoint(ferme.vu->x, ferme.vu->y), QPoint(40, 30));
    // Unless its window is in the foreground, the menu would not close on a click elsewhere.
    EXPECT_EQ(ferme.vu->premierPlan, hWnd);
    EXPECT_EQ(ferme.choix, nullptr);

    // Enabled again, and chosen by its key.
    quitter->setEnabled(true);
    const MenuEssaye choisi =
        essayerMenu(menu, QPoint(40, 30), [] { natiftest::taperDansMenu(L'q'); });
    ASSERT_TRUE(choisi.vu) << "no menu of the system's own came up";
    EXPECT_EQ(choisi.vu->grises, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(choisi.choix, quitter);
    EXPECT_EQ(declenchements.count(), 1);
}

TEST(ShellDocumentsWindowsTest, RelativeTargetsResolveInTheWorkingDirectory_missingOnesFail) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const QString ancien = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dossier.path()));
    // A command file that leaves a mark where it runs; the shell runs it with the interpreter.
    QFile commande(dossier.filePath(QStringLiteral("marquer.cmd")));
    ASSERT_TRUE(commande.open(QIODevice::WriteOnly));
    commande.write("@echo ouvert> marque.txt\r\n");
    commande.close();

    ShellDocumentsWindows shell;
    const long trouve = shell.ShellExecuteA(nullptr, "Open", "marquer.cmd", "", "", 3);
    const long absent = shell.ShellExecuteA(nullptr, "Open", "Le_velk_.txt", "", "", 3);
    const QString marque = dossier.filePath(QStringLiteral("marque.txt"));
    for (int i = 0; i < 100 && !QFile::exists(marque); ++i) {
        QTest::qWait(100);
    }
    const bool marqueeIci = QFile::exists(marque);
    QDir::setCurrent(ancien);

    EXPECT_GT(trouve, 32);
    EXPECT_TRUE(marqueeIci);
    EXPECT_LE(absent, 32);
}

TEST(BlocVersionWindowsTest, ReadFromTheExecutablesResource_asTheCompiledCopy_noneInOtherFiles) {
    // This test carries the program's own version resource.
    const auto lu = lireBlocVersion(QCoreApplication::applicationFilePath());
    ASSERT_TRUE(lu.has_value());
    const BlocVersion& attendu = BlocVersionProgramme();
    EXPECT_EQ(std::vector<int>({lu->majeure, lu->mineure, lu->revision, lu->construction}),
              std::vector<int>(
                  {attendu.majeure, attendu.mineure, attendu.revision, attendu.construction}));
    for (const auto& [champ, valeurLue, valeurAttendue] :
         std::vector<std::tuple<const char*, std::string, std::string>>{
             {"FileVersion", lu->FileVersion, attendu.FileVersion},
             {"ProductVersion", lu->ProductVersion, attendu.ProductVersion},
             {"ProductName", lu->ProductName, attendu.ProductName},
             {"InternalName", lu->InternalName, attendu.InternalName},
             {"OriginalFilename", lu->OriginalFilename, attendu.OriginalFilename},
             {"Comments", lu->Comments, attendu.Comments},
             {"FileDescription", lu->FileDescription, attendu.FileDescription},
             {"LegalCopyright", lu->LegalCopyright, attendu.LegalCopyright},
             {"CompanyName", lu->CompanyName, attendu.CompanyName},
             {"LegalTrademarks", lu->LegalTrademarks, attendu.LegalTrademarks}}) {
        EXPECT_EQ(valeurLue, valeurAttendue) << champ;
        EXPECT_FALSE(valeurLue.empty()) << champ;
    }

    QTemporaryDir dossier;
    QFile texte(dossier.filePath(QStringLiteral("texte.txt")));
    ASSERT_TRUE(texte.open(QIODevice::WriteOnly));
    texte.write("pas un programme");
    texte.close();
    EXPECT_FALSE(lireBlocVersion(texte.fileName()).has_value());
    EXPECT_FALSE(lireBlocVersion(dossier.filePath(QStringLiteral("absent.exe"))).has_value());
}

TEST(VerrouInstanceWindowsTest, TheSessionsMutexKeepsASecondCopyOut_untilTheFirstEnds) {
    const std::string nom =
        "org.example.TarvaneTest." + std::to_string(QCoreApplication::applicationPid());
    auto premier = std::make_unique<VerrouInstance>(nom);
    ASSERT_EQ(premier->prendre(), VerrouInstance::Etat::Pris);
    VerrouInstance second(nom);
    EXPECT_EQ(second.prendre(), VerrouInstance::Etat::AutreCopie);

    premier.reset();
    VerrouInstance troisieme(nom);
    EXPECT_EQ(troisieme.prendre(), VerrouInstance::Etat::Pris);
}

} // namespace
