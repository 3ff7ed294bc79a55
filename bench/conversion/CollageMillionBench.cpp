// Cost of a million characters pasted into Francs: the decision alone under the toolkit's French
// settings, the paste into the field, and the press of Convertir in the window up to the message
// or the result. The window is real, on the offscreen platform; the message box is a recorder.
#include "core/ConvertirMontants.h"
#include "platform/LocaleQt.h"
#include "tests/support/FauxServices.h"
#include "tests/support/FenetreActive.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>

namespace {

constexpr qsizetype UnMillion = 1000000;

enum Texte { Lettres, Blancs, Chiffres, ZerosPuisCent };

QString texte(int genre) {
    switch (genre) {
    case Lettres:
        return QString(UnMillion, QLatin1Char('x'));
    case Blancs:
        return QString(UnMillion, QLatin1Char(' '));
    case Chiffres:
        return QString(UnMillion, QLatin1Char('1'));
    default:
        return QString(UnMillion - 3, QLatin1Char('0')) + QStringLiteral("100");
    }
}

const LocaleQt& localeFrancaise() {
    static const LocaleQt locale(QLocale(QLocale::French, QLocale::France));
    return locale;
}

void DecisionLocaleQt(benchmark::State& etat, int genre) {
    const std::string francs = texte(genre).toStdString();
    for (auto _ : etat) {
        benchmark::DoNotOptimize(ConvertirMontants(francs, "", localeFrancaise()));
    }
}

// The window with the toolkit's French settings and recording services.
struct Banc {
    FauxServices faux;
    std::unique_ptr<Depart> fenetre;
    QLineEdit* Francs = nullptr;
    QLineEdit* Euros = nullptr;
    QPushButton* Convertir = nullptr;

    Banc() {
        fenetre = std::make_unique<Depart>(
            ServicesDepart{localeFrancaise(), faux.messages, faux.shell, faux.programme,
                           faux.documents, faux.pointeur, faux.presence});
        fenetre->Form_Load();
        fenetre->show();
        (void)rendreActive(fenetre.get());
        Francs = fenetre->findChild<QLineEdit*>(QStringLiteral("Francs"));
        Euros = fenetre->findChild<QLineEdit*>(QStringLiteral("Euros"));
        Convertir = fenetre->findChild<QPushButton*>(QStringLiteral("Convertir"));
    }

    void coller(const QString& t) {
        Francs->clear();
        Euros->clear();
        Francs->setFocus();
        QApplication::clipboard()->setText(t);
        QTest::keyClick(Francs, Qt::Key_V, Qt::ControlModifier);
    }
};

void CollerDansFrancs(benchmark::State& etat, int genre) {
    Banc banc;
    const QString t = texte(genre);
    for (auto _ : etat) {
        banc.coller(t);
        QApplication::processEvents(); // the field repaints what it now holds
    }
    if (banc.Francs->text().size() != UnMillion) {
        etat.SkipWithError("the paste did not arrive whole");
    }
}

void ConvertirApresCollage(benchmark::State& etat, int genre) {
    Banc banc;
    const QString t = texte(genre);
    for (auto _ : etat) {
        etat.PauseTiming();
        banc.coller(t);
        QApplication::processEvents();
        banc.faux.messages.affiches.clear();
        etat.ResumeTiming();

        QTest::mouseClick(banc.Convertir, Qt::LeftButton);
        QApplication::processEvents(); // the message is recorded, or the result painted
    }
    const bool repondu = !banc.faux.messages.affiches.empty() || !banc.Euros->text().isEmpty();
    if (!repondu) {
        etat.SkipWithError("neither a message nor a result");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const struct {
        const char* nom;
        Texte genre;
    } textes[] = {{"lettres", Lettres},
                  {"blancs", Blancs},
                  {"chiffres", Chiffres},
                  {"zerosPuisCent", ZerosPuisCent}};
    for (const auto& t : textes) {
        const std::string suffixe = std::string("/") + t.nom;
        benchmark::RegisterBenchmark(("DecisionLocaleQt" + suffixe).c_str(), DecisionLocaleQt,
                                     t.genre)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("CollerDansFrancs" + suffixe).c_str(), CollerDansFrancs,
                                     t.genre)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        benchmark::RegisterBenchmark(("ConvertirApresCollage" + suffixe).c_str(),
                                     ConvertirApresCollage, t.genre)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
