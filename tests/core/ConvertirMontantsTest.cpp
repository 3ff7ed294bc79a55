#include "core/ConvertirMontants.h"

#include "tests/support/FausseLocaleFrancaise.h"
#include "tests/support/MessagesConversion.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

// Readable verdicts in failure messages.
void PrintTo(const ResultatConversion& r, std::ostream* os) {
    *os << "{issue " << static_cast<int>(r.issue) << ", message \"" << r.message << "\", selection "
        << static_cast<int>(r.selection) << ", cible " << static_cast<int>(r.cible) << ", texte \""
        << r.texte << "\", focus " << static_cast<int>(r.focus) << "}";
}

namespace {

const FausseLocaleFrancaise francaise;

ResultatConversion verdict(IssueConversion issue, std::string message, Zone selection, Zone focus,
                           Zone cible = Zone::Aucune, std::string texte = {}) {
    ResultatConversion r;
    r.issue = issue;
    r.message = std::move(message);
    r.selection = selection;
    r.cible = cible;
    r.texte = std::move(texte);
    r.focus = focus;
    return r;
}

ResultatConversion remplies() {
    return verdict(IssueConversion::DeuxZonesRemplies, messages::DeuxRemplies, Zone::Aucune,
                   Zone::Francs);
}
ResultatConversion vides() {
    return verdict(IssueConversion::DeuxZonesVides, messages::DeuxVides, Zone::Aucune,
                   Zone::Francs);
}
ResultatConversion francsRefuses() {
    return verdict(IssueConversion::FrancsNonNumeriques, messages::Francs, Zone::Francs,
                   Zone::Francs);
}
ResultatConversion eurosRefuses() {
    return verdict(IssueConversion::EurosNonNumeriques, messages::Euros, Zone::Euros, Zone::Euros);
}
// The typed field keeps its text: only the other one is written.
ResultatConversion enEuros(std::string texte) {
    return verdict(IssueConversion::FrancsEnEuros, "", Zone::Aucune, Zone::Francs, Zone::Euros,
                   std::move(texte));
}
ResultatConversion enFrancs(std::string texte) {
    return verdict(IssueConversion::EurosEnFrancs, "", Zone::Aucune, Zone::Francs, Zone::Francs,
                   std::move(texte));
}

struct Cas {
    std::string francs;
    std::string euros;
    ResultatConversion attendu;
};

void verifier(const std::vector<Cas>& cas, const LocaleNumerique& locale = francaise) {
    for (const auto& c : cas) {
        EXPECT_EQ(ConvertirMontants(c.francs, c.euros, locale), c.attendu)
            << "Francs \"" << c.francs << "\", Euros \"" << c.euros << "\"";
    }
}

TEST(ConvertirMontants, Refusals_giveTheirMessageSelectionAndFocus_checkedInTheirOrder) {
    verifier({
        {"100", "15,24", remplies()}, // a second click after a conversion
        {"", "", vides()},
        {"abc", "", francsRefuses()},
        {"", "abc", eurosRefuses()},
        {"12,5,3", "", francsRefuses()},
        {"", "12 €", eurosRefuses()},
        // Two filled fields are refused before either is read.
        {"abc", "12", remplies()},
        {"12", "abc", remplies()},
        {"abc", "xyz", remplies()},
        {" ", " ", remplies()},
        {"inf", "1e308", remplies()},
        // A blank is not empty: it goes to the numeric check.
        {" ", "", francsRefuses()},
        {"", " ", eurosRefuses()},
        {"\t", "", francsRefuses()},
        {"  ", "", francsRefuses()},
        // Entries that are not finite are not numbers.
        {"inf", "", francsRefuses()},
        {"-inf", "", francsRefuses()},
        {"nan", "", francsRefuses()},
        {"infinity", "", francsRefuses()},
        {"", "inf", eurosRefuses()},
        {"", "-INF", eurosRefuses()},
        {"", "nan", eurosRefuses()},
        {"1e400", "", francsRefuses()},
        // A result beyond a double: refused, nothing written.
        {"", "1e308", eurosRefuses()},
        {"", "-1e308", eurosRefuses()},
        {"", "2,8e307", eurosRefuses()},
    });
}

TEST(ConvertirMontants, LargestAmounts_convertedExactly) {
    // 2e307 euros is 1311914 followed by 302 zeros francs: no double rounding noise in the digits.
    verifier({{"", "2e307", enFrancs("1311914" + std::string(302, '0') + ",00")}});

    // 1e308 francs: 10^310 / 655957 cents has 310 digits, rounded up at the last one.
    const auto r = ConvertirMontants("1e308", "", francaise);
    EXPECT_EQ(r.issue, IssueConversion::FrancsEnEuros);
    EXPECT_EQ(r.texte.size(), 308u + 3u);
    EXPECT_EQ(r.texte.substr(0, 20), "15244901723741037903");
    EXPECT_EQ(r.texte.substr(r.texte.size() - 3), ",67");
}

TEST(ConvertirMontants, WorkedValues_writtenIntoTheOtherField) {
    verifier({
        {"100", "", enEuros("15,24")},
        {"1000", "", enEuros("152,45")},
        {"6,55957", "", enEuros("1,00")},
        {"-100", "", enEuros("-15,24")},
        {"0", "", enEuros("0,00")},
        {"1000000", "", enEuros("152449,02")}, // no digit grouping
        {"", "1", enFrancs("6,56")},
        {"", "12,5", enFrancs("81,99")},
        {"", "100", enFrancs("655,96")},
        {"", "0,01", enFrancs("0,07")},
        {"", "0", enFrancs("0,00")},
    });
}

TEST(ConvertirMontants, Rounding_halfCentsAwayFromZero_zeroNeverNegative) {
    // 500 euros are exactly 3279,785 francs; a plain double product gives 3279,78.
    verifier({
        {"", "500", enFrancs("3279,79")},
        {"", "1500", enFrancs("9839,36")},
        {"", "2500", enFrancs("16398,93")},
        {"", "-500", enFrancs("-3279,79")},
        {"", "-1500", enFrancs("-9839,36")},
        // 99, 125 and 625 times 655957 / 2*10^7 francs are 49,5, 62,5 and 312,5 cents exactly.
        {"3,24698715", "", enEuros("0,50")},
        {"4,09973125", "", enEuros("0,63")},
        {"20,49865625", "", enEuros("3,13")},
        {"-4,09973125", "", enEuros("-0,63")},
        // Just below a half cent stays below.
        {"4,09973124", "", enEuros("0,62")},
        {"", "499,9999", enFrancs("3279,78")},
        // An amount rounding to zero is never written negative.
        {"-0", "", enEuros("0,00")},
        {"-0,001", "", enEuros("0,00")},
        {"", "-0", enFrancs("0,00")},
        {"", "-0,0007", enFrancs("0,00")},
        {"", "-0,0008", enFrancs("-0,01")}, // 0,52 cent of a franc
    });
}

TEST(ConvertirMontants, Result_usesTheSettingsSeparatorAndMinusSign) {
    const FausseLocaleFrancaise autre(".", "\u2212");
    verifier(
        {
            {"\u2212100", "", enEuros("\u221215.24")},
            {"1000000", "", enEuros("152449.02")},
            {"", "12.5", enFrancs("81.99")},
            {"", "\u22120.0001", enFrancs("0.00")},
        },
        autre);
}

TEST(AnnonceResultat, AmountAndCurrency_singularBelowTwo_nothingForARefusal) {
    const FausseLocaleFrancaise autre(".", "\u2212");
    const std::vector<std::pair<std::string, std::string>> lus{
        {AnnonceResultat(ConvertirMontants("100", "", francaise)), "15,24 euros"},
        {AnnonceResultat(ConvertirMontants("", "100", francaise)), "655,96 francs"},
        {AnnonceResultat(ConvertirMontants("6,55957", "", francaise)), "1,00 euro"},
        {AnnonceResultat(ConvertirMontants("13,1", "", francaise)), "2,00 euros"},
        {AnnonceResultat(ConvertirMontants("3,24698715", "", francaise)), "0,50 euro"},
        {AnnonceResultat(ConvertirMontants("", "0,01", francaise)), "0,07 franc"},
        {AnnonceResultat(ConvertirMontants("", "10", francaise)), "65,60 francs"},
        {AnnonceResultat(ConvertirMontants("-6,55957", "", francaise)), "-1,00 euro"},
        {AnnonceResultat(ConvertirMontants("\u221210", "", autre)), "\u22121.52 euro"},
        {AnnonceResultat(ConvertirMontants("abc", "", francaise)), ""},
        {AnnonceResultat(ConvertirMontants("100", "15,24", francaise)), ""},
    };
    for (const auto& [lu, attendu] : lus) {
        EXPECT_EQ(lu, attendu);
    }
}

TEST(EstNumerique, AgreesWithValeurNumerique_whichKeepsEveryDigitTyped) {
    struct {
        const char* texte;
        bool numerique;
        NombreDecimal valeur;
    } const cas[] = {
        {"12,5", true, {false, "125", -1, 12.5}},
        {"-3", true, {true, "3", 0, -3.0}},
        {"+0012,500e2", true, {false, "125", 1, 1250.0}},
        {"-0,000", true, {false, "0", 0, 0.0}},
        {"0,0327978499999999999999",
         true,
         {false, "327978499999999999999", -22, 0.0327978499999999999999}},
        {"1e-400", true, {false, "1", -400, 0.0}},
        {"1e400", false, {}},
        {"inf", false, {}},
        {"nan", false, {}},
        {" ", false, {}},
        {"", false, {}},
        {"abc", false, {}},
        {"1e", false, {}},
        {"e5", false, {}},
        {",", false, {}},
    };
    for (const auto& c : cas) {
        EXPECT_EQ(EstNumerique(c.texte, francaise), c.numerique) << c.texte;
        if (c.numerique) {
            const NombreDecimal lu = ValeurNumerique(c.texte, francaise);
            EXPECT_EQ(lu, c.valeur) << c.texte << ": " << (lu.negatif ? "-" : "") << lu.chiffres
                                    << "e" << lu.exposant << " (" << lu.valeur << ")";
        }
    }
}

} // namespace
