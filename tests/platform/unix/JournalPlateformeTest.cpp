// Failures the platform survives leave one warning each under tarvane.platform; the normal case
// leaves none.
#include "platform/unix/LieuxVerrou.h"
#include "platform/unix/ShellDocumentsQt.h"

#include <functional>
#include <gtest/gtest.h>
#include <QDir>
#include <QLoggingCategory>
#include <QStringList>
#include <QTemporaryDir>
#include <sys/stat.h>

namespace {

QStringList g_lignes;

void noter(QtMsgType type, const QMessageLogContext& contexte, const QString& texte) {
    if (type == QtWarningMsg && QLatin1String(contexte.category) == "tarvane.platform") {
        g_lignes.push_back(texte);
    }
}

// The warnings printed while the action runs, with the category switched on as a user would.
QStringList journal(const std::function<void()>& action) {
    QLoggingCategory::setFilterRules(QStringLiteral("tarvane.*=true"));
    g_lignes.clear();
    const QtMessageHandler precedent = qInstallMessageHandler(noter);
    action();
    qInstallMessageHandler(precedent);
    QLoggingCategory::setFilterRules(QString());
    return g_lignes;
}

long ouvrir(const QByteArray& operation, const QByteArray& cible) {
    return ShellDocumentsQt().ShellExecuteA(nullptr, operation, cible, "", "", SW_SHOWMAXIMIZED);
}

TEST(JournalPlateforme, EachSurvivedFailure_oneWarningNamingWhatAndWhy) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    const std::string racine = dossier.path().toStdString();
    const struct {
        const char* nom;
        std::function<void()> action;
        const char* raison; // in the one line expected
    } cas[] = {
        {"no place for the lock",
         [] {
             EXPECT_EQ(VerrouInstance({{}, "/nonexistent/run", "/nonexistent"}).prendre(),
                       VerrouInstance::Etat::Indisponible);
         },
         "/nonexistent not used: it does not exist"},
        {"runtime directory open to others",
         [&] {
             ::chmod(racine.c_str(), 0755);
             const std::string maison = racine + "/maison";
             ::mkdir(maison.c_str(), 0700);
             EXPECT_EQ(VerrouInstance({{}, racine, maison}).prendre(), VerrouInstance::Etat::Pris);
         },
         "mode is not 0700"},
        {"another verb", [] { EXPECT_LE(ouvrir("Print", "Le_velk_.txt"), 32); }, "Print"},
        {"no target", [] { EXPECT_LE(ouvrir("Open", ""), 32); }, "no target"},
    };
    for (const auto& c : cas) {
        const QStringList lignes = journal(c.action);
        ASSERT_EQ(lignes.size(), 1) << c.nom << ": " << lignes.join('\n').toStdString();
        EXPECT_TRUE(lignes[0].contains(QLatin1String(c.raison))) << lignes[0].toStdString();
    }
}

TEST(JournalPlateforme, CurrentDirectoryDeleted_relativeNameOpensNothing_andSaysWhy) {
    const QString ancien = QDir::currentPath();
    {
        QTemporaryDir dossier;
        ASSERT_TRUE(dossier.isValid());
        ASSERT_TRUE(QDir::setCurrent(dossier.path()));
    }
    const QStringList lignes =
        journal([] { EXPECT_EQ(ouvrir("Open", "Le_velk_.txt"), SE_ERR_FNF); });
    QDir::setCurrent(ancien);
    ASSERT_EQ(lignes.size(), 1);
    EXPECT_TRUE(lignes[0].contains(QLatin1String("Le_velk_.txt")));
}

TEST(JournalPlateforme, NormalLock_printsNothing) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    ::chmod(dossier.path().toLocal8Bit().constData(), 0700);
    const QStringList lignes = journal([&] {
        VerrouInstance verrou({{}, dossier.path().toStdString(), {}});
        EXPECT_EQ(verrou.prendre(), VerrouInstance::Etat::Pris);
    });
    EXPECT_TRUE(lignes.isEmpty()) << lignes.join('\n').toStdString();
}

} // namespace
