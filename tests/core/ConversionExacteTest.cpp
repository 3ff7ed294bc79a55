// Every written amount against the exact quotient or product of the amount as typed and the legal
// rate, computed here on integers: an amount with mantissa m and d decimals is m / 10^d, and
//   francs to euros: m * 10^7 / (655957 * 10^d) cents,
//   euros to francs: m * 655957 / 10^(3 + d) cents,
// rounded to the cent with a half cent away from zero.

#include "core/ConvertirMontants.h"
#include "tests/support/FausseLocaleFrancaise.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>

namespace {

const FausseLocaleFrancaise francaise;

// 128 bits hold every numerator and denominator here: a mantissa of at most 25 digits times 10^7,
// and 655957 times 10^(decimals) with at most 30 decimals.
__extension__ typedef unsigned __int128 Entier;

Entier puissanceDeDix(int n) {
    Entier p = 1;
    while (n-- > 0) {
        p *= 10;
    }
    return p;
}

std::string enTexte(Entier n) {
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(n % 10)));
        n /= 10;
    } while (n != 0);
    return s;
}

struct Montant {
    bool negatif = false;
    std::string entiers; // may be empty: ",5"
    std::string decimales;
    bool exposant = false; // typed as every digit, then "e-" and the number of decimals

    std::string saisie() const {
        std::string s = negatif ? "-" : "";
        if (exposant) {
            return s + entiers + decimales + "e-" + std::to_string(decimales.size());
        }
        s += entiers;
        if (!decimales.empty()) {
            s += "," + decimales;
        }
        return s;
    }
    Entier mantisse() const {
        Entier m = 0;
        for (char c : entiers + decimales) {
            m = m * 10 + static_cast<unsigned>(c - '0');
        }
        return m;
    }
};

// Numerator and denominator of the exact amount in cents of the other currency.
struct Fraction {
    Entier numerateur;
    Entier denominateur;
};

Fraction exacte(const Montant& montant, bool versEuros) {
    const int d = static_cast<int>(montant.decimales.size());
    if (versEuros) {
        return {montant.mantisse() * puissanceDeDix(7), Entier{655957} * puissanceDeDix(d)};
    }
    return {montant.mantisse() * 655957, puissanceDeDix(3 + d)};
}

Entier centimesArrondis(const Fraction& f) {
    return (2 * f.numerateur + f.denominateur) / (2 * f.denominateur);
}

std::string texteCentimes(Entier centimes, bool negatif) {
    std::string texte = negatif && centimes != 0 ? "-" : "";
    texte += enTexte(centimes / 100);
    const auto reste = static_cast<int>(centimes % 100);
    texte += ',';
    texte += static_cast<char>('0' + reste / 10);
    texte += static_cast<char>('0' + reste % 10);
    return texte;
}

class Verificateur {
public:
    // The written text must be the exact rounding of the amount as typed, however many digits.
    void verifier(const Montant& montant, bool versEuros) {
        ++m_cas;
        const std::string saisie = montant.saisie();
        const auto r = versEuros ? ConvertirMontants(saisie, "", francaise)
                                 : ConvertirMontants("", saisie, francaise);
        const auto issueAttendue =
            versEuros ? IssueConversion::FrancsEnEuros : IssueConversion::EurosEnFrancs;
        const Entier attendu = centimesArrondis(exacte(montant, versEuros));
        const std::string texteAttendu = texteCentimes(attendu, montant.negatif);

        const bool juste = r.issue == issueAttendue &&
                           r.cible == (versEuros ? Zone::Euros : Zone::Francs) &&
                           r.texte == texteAttendu;
        if (!juste && ++m_echecs <= 20) {
            ADD_FAILURE() << (versEuros ? "francs \"" : "euros \"") << saisie << "\" wrote \""
                          << r.texte << "\", exact rounding is \"" << texteAttendu << "\"";
        }
    }
    int cas() const { return m_cas; }
    int echecs() const { return m_echecs; }

private:
    int m_cas = 0;
    int m_echecs = 0;
};

std::string chiffres(std::mt19937_64& alea, int n, bool premierNonNul) {
    std::uniform_int_distribution<int> chiffre(0, 9);
    std::uniform_int_distribution<int> nonNul(1, 9);
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += static_cast<char>('0' + (i == 0 && premierNonNul ? nonNul(alea) : chiffre(alea)));
    }
    return s;
}

TEST(ConversionExacte, RandomAmounts_matchExactDecimalRounding) {
    std::mt19937_64 alea(20020217);
    std::uniform_int_distribution<int> nbEntiers(0, 12);
    std::uniform_int_distribution<int> nbDecimales(0, 6);
    std::bernoulli_distribution pile;
    Verificateur v;
    while (v.cas() < 160000) {
        Montant m;
        m.negatif = pile(alea);
        const int entiers = nbEntiers(alea);
        const int decimales = nbDecimales(alea);
        m.entiers = entiers == 0 ? (pile(alea) ? "0" : "") : chiffres(alea, entiers, true);
        m.decimales = chiffres(alea, decimales, false);
        if (m.entiers.empty() && m.decimales.empty()) {
            m.entiers = "0";
        }
        v.verifier(m, pile(alea));
    }
    EXPECT_EQ(v.echecs(), 0) << "out of " << v.cas() << " amounts";
}

TEST(ConversionExacte, ExactHalfCents_roundAwayFromZero) {
    std::mt19937_64 alea(19990101);
    std::bernoulli_distribution pile;
    std::uniform_int_distribution<std::uint64_t> impair(0, 999'999);
    std::uniform_int_distribution<std::uint64_t> grand(0, 99'999'999'999);
    Verificateur v;
    for (int i = 0; i < 20000; ++i) {
        // (2k + 1) * 655957 / (2 * 10^7) francs is exactly k cents and a half in euros.
        const std::uint64_t k = impair(alea);
        Montant francs;
        francs.negatif = pile(alea);
        const std::string m = enTexte(Entier{2 * k + 1} * 655957 * 5); // over 10^8
        const std::string tout = std::string(9 - std::min<std::size_t>(m.size(), 9), '0') + m;
        francs.entiers = tout.substr(0, tout.size() - 8);
        francs.decimales = tout.substr(tout.size() - 8);
        v.verifier(francs, true);

        // An odd number of 500 euros is a whole number of cents and a half in francs.
        Montant euros;
        euros.negatif = pile(alea);
        euros.entiers = enTexte(Entier{2 * grand(alea) + 1} * 500);
        v.verifier(euros, false);
    }
    EXPECT_EQ(v.echecs(), 0) << "out of " << v.cas() << " amounts";
}

TEST(ConversionExacte, AmountsOfSixteenToTwentyFiveDigits_convertedFromTheDigitsTyped) {
    // Beyond 15 significant digits a double no longer holds the amount typed; reading through one
    // gave ...903,40 for the first and 0,01 for the second.
    Verificateur v;
    Montant vingtNeufs;
    vingtNeufs.entiers = std::string(20, '9');
    v.verifier(vingtNeufs, true);
    Montant justeSousLaMoitie;
    justeSousLaMoitie.entiers = "0";
    justeSousLaMoitie.decimales = "0327978499999999999999";
    v.verifier(justeSousLaMoitie, true);

    std::mt19937_64 alea(20011231);
    std::uniform_int_distribution<int> nbChiffres(16, 25);
    std::uniform_int_distribution<int> zerosDeTete(0, 5);
    std::bernoulli_distribution pile;
    while (v.cas() < 60000) {
        const int n = nbChiffres(alea);
        const int entiers = std::uniform_int_distribution<int>(0, n)(alea);
        Montant m;
        m.negatif = pile(alea);
        m.exposant = pile(alea);
        m.entiers = entiers == 0 ? "0" : chiffres(alea, entiers, true);
        m.decimales = (entiers == 0 ? std::string(zerosDeTete(alea), '0') : std::string()) +
                      chiffres(alea, n - entiers, entiers == 0);
        v.verifier(m, pile(alea));
    }
    EXPECT_EQ(v.echecs(), 0) << "out of " << v.cas() << " amounts";
}

} // namespace
