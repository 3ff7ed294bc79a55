#include "platform/LocaleQt.h"

#include "core/ConvertirMontants.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

const QLocale francaise(QLocale::French, QLocale::France);
const QLocale allemande(QLocale::German, QLocale::Germany);
const QLocale suedoise(QLocale::Swedish, QLocale::Sweden);

struct Lecture {
    std::string texte;
    std::optional<double> valeur; // nothing: not a number
};

void verifierLectures(const QLocale& locale, const std::vector<Lecture>& cas) {
    const LocaleQt lqt(locale);
    for (const auto& c : cas) {
        const auto lu = lqt.lireNombre(c.texte);
        EXPECT_EQ(lu ? std::optional(lu->valeur) : std::nullopt, c.valeur)
            << "\"" << c.texte << "\" under " << locale.name().toStdString();
        // The numeric test and the value come from the same parse.
        EXPECT_EQ(EstNumerique(c.texte, lqt), c.valeur.has_value())
            << "\"" << c.texte << "\" under " << locale.name().toStdString();
    }
}

TEST(LocaleQt, FrenchSettings_readCommaAndFullStopAsDecimalSeparator) {
    verifierLectures(francaise, {
                                    {"12,5", 12.5},
                                    {"12.5", 12.5},
                                    {".5", 0.5},
                                    {",5", 0.5},
                                    {"-3", -3.0},
                                    {"-0,01", -0.01},
                                    {"1e3", 1000.0},
                                    {"6.55957", 6.55957},
                                });
}

TEST(LocaleQt, FrenchSettings_acceptBlanksAroundAndBetweenDigitGroups) {
    verifierLectures(francaise, {
                                    {" 12,5", 12.5},
                                    {"12,5 ", 12.5},
                                    {"\t12,5\t", 12.5},
                                    {"1 234,5", 1234.5},
                                    {"1\u202f234,5", 1234.5},
                                    {"1 000 000", 1000000.0},
                                    {"1 234.5", 1234.5},
                                });
}

// Word processors and web pages group digits with the no-break space, the toolkit's settings with
// the narrow one or the no-break one, keyboards with the space: where the settings group with a
// blank, any of the three groups digits; where they do not, none does.
TEST(LocaleQt, BlankGroupSeparators_allThreeAcceptedOnlyWhereTheSettingsGroupWithABlank) {
    const std::vector<Lecture> blancs = {
        {"1 000", 1000.0},
        {"1\u00a0000", 1000.0},
        {"1\u202f000", 1000.0},
        {"-1\u00a0234\u202f567,5", -1234567.5},
        {"1\u00a0000\u00a0", 1000.0},
        {"1\u00a0\u00a0000", std::nullopt},
        {"1\t000", std::nullopt},
    };
    verifierLectures(francaise, blancs);
    verifierLectures(QLocale(QLocale::French, QLocale::Canada), blancs);
    verifierLectures(suedoise, blancs);
    for (const QLocale& sansBlanc : {allemande, QLocale(QLocale::English, QLocale::UnitedStates)}) {
        verifierLectures(sansBlanc, {
                                        {"1 000", std::nullopt},
                                        {"1\u00a0000", std::nullopt},
                                        {"1\u202f000", std::nullopt},
                                        {"1000", 1000.0},
                                    });
    }
}

TEST(LocaleQt, FrenchSettings_refuseMixedSeparatorsAndNonNumbers) {
    verifierLectures(francaise, {
                                    {"1.234,5", std::nullopt},
                                    {"1,234.5", std::nullopt},
                                    {"12,5.", std::nullopt},
                                    {"1.234.567", std::nullopt},
                                    {"1,2,3", std::nullopt},
                                    {"", std::nullopt},
                                    {" ", std::nullopt},
                                    {"   ", std::nullopt},
                                    {"abc", std::nullopt},
                                    {"12 €", std::nullopt},
                                    {"inf", std::nullopt},
                                    {"-inf", std::nullopt},
                                    {"nan", std::nullopt},
                                    {"1e400", std::nullopt},
                                });
}

TEST(LocaleQt, TextsOverFiveHundredTwelveCharacters_areNotNumbers) {
    // The largest double written out in full still reads; a pasted page does not reach the parser.
    const std::string plusGrand = "1" + std::string(308, '0');
    const std::string zerosDeTete = std::string(511, '0') + "7";
    verifierLectures(francaise, {
                                    {plusGrand, 1e308},
                                    {zerosDeTete, 7.0},
                                    {std::string(512, '0') + "7", std::nullopt},
                                    {std::string(1000000, '1'), std::nullopt},
                                });
}

TEST(LocaleQt, SettingsWithFullStop_readItAsTheirOwn) {
    verifierLectures(QLocale::c(), {
                                       {"12.5", 12.5},
                                       {" 12.5 ", 12.5},
                                       {"1,234.5", 1234.5},
                                       {"12,5", std::nullopt},
                                       {"", std::nullopt},
                                       {" ", std::nullopt},
                                       {"inf", std::nullopt},
                                       {"nan", std::nullopt},
                                   });
    verifierLectures(QLocale(QLocale::English, QLocale::UnitedStates), {
                                                                           {"12.5", 12.5},
                                                                           {"12,5", std::nullopt},
                                                                       });
    // The full stop groups digits here, so it is never taken for the comma.
    verifierLectures(allemande, {
                                    {"12,5", 12.5},
                                    {"1.234,5", 1234.5},
                                    {"12.5", std::nullopt},
                                });
}

TEST(LocaleQt, Separators_comeFromTheSettings) {
    struct {
        QLocale locale;
        const char* separateur;
        const char* moins;
    } const cas[] = {
        {francaise, ",", "-"},
        {QLocale::c(), ".", "-"},
        {allemande, ",", "-"},
        {suedoise, ",", "\u2212"},
    };
    for (const auto& c : cas) {
        const LocaleQt lqt(c.locale);
        EXPECT_EQ(lqt.separateurDecimal(), c.separateur) << c.locale.name().toStdString();
        EXPECT_EQ(lqt.signeMoins(), c.moins) << c.locale.name().toStdString();
    }
}

TEST(LocaleQt, ConversionUnderFrenchSettings_writesWorkedValues) {
    const LocaleQt lqt(francaise);
    struct {
        const char* francs;
        const char* euros;
        IssueConversion issue;
        const char* texte;
    } const cas[] = {
        {"100", "", IssueConversion::FrancsEnEuros, "15,24"},
        {"-100", "", IssueConversion::FrancsEnEuros, "-15,24"},
        {"1 000 000", "", IssueConversion::FrancsEnEuros, "152449,02"},
        {"", "12,5", IssueConversion::EurosEnFrancs, "81,99"},
        {"", "12.5", IssueConversion::EurosEnFrancs, "81,99"},
        {"", "500", IssueConversion::EurosEnFrancs, "3279,79"},
        {"inf", "", IssueConversion::FrancsNonNumeriques, ""},
        {" ", "", IssueConversion::FrancsNonNumeriques, ""},
        {"", "1.234,5", IssueConversion::EurosNonNumeriques, ""},
        {"", "1e308", IssueConversion::EurosNonNumeriques, ""},
        {"1\u00a0000", "", IssueConversion::FrancsEnEuros, "152,45"},
        // Beyond the digits a double holds, the digits typed still decide the cents.
        {"99999999999999999999", "", IssueConversion::FrancsEnEuros, "15244901723741037903,25"},
        {"0,0327978499999999999999", "", IssueConversion::FrancsEnEuros, "0,00"},
    };
    for (const auto& c : cas) {
        const auto r = ConvertirMontants(c.francs, c.euros, lqt);
        EXPECT_EQ(r.issue, c.issue) << "Francs \"" << c.francs << "\", Euros \"" << c.euros << "\"";
        EXPECT_EQ(r.texte, c.texte) << "Francs \"" << c.francs << "\", Euros \"" << c.euros << "\"";
    }
}

// Digits of the settings' own script count as digits, taken one for one.
TEST(LocaleQt, DigitsOfAnyScript_readDigitForDigit) {
    const LocaleQt arabe(QLocale(QLocale::Arabic, QLocale::Egypt));
    const auto lu = arabe.lireNombre("\u0661\u0662\u0663\u066b\u0664\u0665");
    ASSERT_TRUE(lu.has_value());
    EXPECT_EQ(lu->chiffres, "12345");
    EXPECT_EQ(lu->exposant, -2);
    EXPECT_FALSE(lu->negatif);
}

// Whatever the settings, what the program writes into a field reads back as the same amount:
// bidirectional marks in minus signs, separators of other scripts.
TEST(LocaleQt, WrittenAmounts_readBackUnderEverySetting) {
    struct {
        MontantArrondi montant;
        NombreDecimal nombre;
    } const cas[] = {
        {{true, "1234", "56"}, {true, "123456", -2, -1234.56}},
        {{false, "0", "07"}, {false, "7", -2, 0.07}},
        {{false, "152449", "02"}, {false, "15244902", -2, 152449.02}},
    };
    const auto locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    int refus = 0;
    for (const QLocale& locale : locales) {
        const LocaleQt lqt(locale);
        for (const auto& c : cas) {
            const std::string texte = FormaterMontant(c.montant, lqt);
            const auto lu = lqt.lireNombre(texte);
            if (!(lu == std::optional(c.nombre)) && ++refus <= 20) {
                ADD_FAILURE() << "\"" << texte << "\" under " << locale.name().toStdString()
                              << (lu ? " read as another number" : " not read back");
            }
        }
    }
    EXPECT_EQ(refus, 0) << "out of " << locales.size() << " settings";
}

} // namespace
