// Cost of one press of the convert button's decision, on the inputs users type and on junk: once
// with French settings written by hand (the rules' own cost) and once with the toolkit's French
// locale, which is what the program runs with.
#include "core/ConvertirMontants.h"
#include "platform/LocaleQt.h"
#include "tests/support/FausseLocaleFrancaise.h"

#include <benchmark/benchmark.h>
#include <QLocale>
#include <string>
#include <string_view>
#include <utility>

namespace {

struct Locale {
    const char* nom;
    const LocaleNumerique& locale;
};

const FausseLocaleFrancaise regles;
const LocaleQt toolkit{QLocale(QLocale::French, QLocale::France)};
const Locale locales[] = {{"rules", regles}, {"qt", toolkit}};

// An entry as typed in one field, the other one empty.
struct Saisie {
    const char* groupe;
    bool francs;
    const char* texte;
};

const Saisie saisies[] = {
    // The worked values.
    {"worked", true, "100"},
    {"worked", true, "1000"},
    {"worked", true, "6,55957"},
    {"worked", true, "0"},
    {"worked", true, "-100"},
    {"worked", false, "1"},
    {"worked", false, "12,5"},
    {"worked", false, "100"},
    {"worked", false, "0,01"},
    // Exact results of a half cent, and a hair below one.
    {"halfCent", true, "4,09973125"},
    {"halfCent", true, "4,0997312"},
    {"halfCent", false, "2500"},
    {"halfCent", false, "2499,99999999"},
    // Long amounts: eighteen digits, and an exact product some three hundred digits long.
    {"long", true, "123456789012,345678"},
    {"long", false, "1e300"},
};

void convertir(benchmark::State& etat, const Saisie& saisie, const LocaleNumerique& locale) {
    const std::string_view vide;
    const std::string_view texte(saisie.texte);
    for (auto _ : etat) {
        benchmark::DoNotOptimize(saisie.francs ? ConvertirMontants(texte, vide, locale)
                                               : ConvertirMontants(vide, texte, locale));
    }
}

// Junk in Francs: letters, refused at the first character, or digits that the parser reads to the
// end before the letter that refuses them.
void junk(benchmark::State& etat, char remplissage, std::size_t longueur,
          const LocaleNumerique& locale) {
    std::string texte(longueur, remplissage);
    texte.back() = 'x';
    for (auto _ : etat) {
        benchmark::DoNotOptimize(ConvertirMontants(texte, "", locale));
    }
}

} // namespace

// Names: group/field=text/locale and junk/kind/length/locale, read back by bench/rapport.py.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    for (const Locale& l : locales) {
        for (const Saisie& s : saisies) {
            const std::string nom =
                std::string(s.groupe) + (s.francs ? "/Francs=" : "/Euros=") + s.texte + "/" + l.nom;
            benchmark::RegisterBenchmark(
                nom.c_str(), [&s, &l](benchmark::State& etat) { convertir(etat, s, l.locale); });
        }
        for (const auto& [genre, remplissage] :
             {std::pair{"letters", 'x'}, std::pair{"digitsThenLetter", '7'}}) {
            for (const std::size_t longueur : {64u, 512u, 4096u, 1u << 20}) {
                const std::string nom =
                    std::string("junk/") + genre + "/" + std::to_string(longueur) + "/" + l.nom;
                benchmark::RegisterBenchmark(
                    nom.c_str(), [remplissage = remplissage, longueur, &l](benchmark::State& etat) {
                        junk(etat, remplissage, longueur, l.locale);
                    });
            }
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
