#include "core/ArrondiLegal.h"

#include "core/TauxEuro.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>

// A double is first turned back into the shortest decimal that reads as it, which is the amount as
// typed for every amount of up to 15 significant digits. The quotient or product by 6.55957 is then
// done exactly on decimal digit strings, so that a half cent is recognised as such.

namespace {

// The rate written as an integer over 10^5: 6.55957 = 655957 / 100000.
constexpr std::uint64_t tauxEntier = 655957;

struct Decimal {
    std::string chiffres; // significant digits, no leading zero (or "0")
    int exposant = 0;     // value = chiffres * 10^exposant
};

Decimal decimalLePlusCourt(double positif) {
    char tampon[64];
    const auto fin =
        std::to_chars(tampon, tampon + sizeof tampon, positif, std::chars_format::scientific).ptr;
    const std::string_view texte(tampon, static_cast<std::size_t>(fin - tampon));
    const auto e = texte.find('e');
    Decimal d;
    for (char c : texte.substr(0, e)) {
        if (c != '.') {
            d.chiffres += c;
        }
    }
    int exposant = 0;
    const auto partie = texte.substr(e + 1);
    const char* debut = partie.data() + (partie.front() == '+' ? 1 : 0);
    std::from_chars(debut, partie.data() + partie.size(), exposant);
    d.exposant = exposant - static_cast<int>(d.chiffres.size() - 1);
    return d;
}

void retirerZerosDeTete(std::string& n) {
    const auto premier = n.find_first_not_of('0');
    n.erase(0, premier == std::string::npos ? n.size() - 1 : premier);
}

std::string multiplier(const std::string& n, std::uint64_t facteur) {
    std::string produit(n.size() + 20, '0');
    std::uint64_t retenue = 0;
    auto sortie = produit.rbegin();
    for (auto chiffre = n.rbegin(); chiffre != n.rend(); ++chiffre, ++sortie) {
        const std::uint64_t valeur = static_cast<std::uint64_t>(*chiffre - '0') * facteur + retenue;
        *sortie = static_cast<char>('0' + valeur % 10);
        retenue = valeur / 10;
    }
    for (; retenue != 0; ++sortie) {
        *sortie = static_cast<char>('0' + retenue % 10);
        retenue /= 10;
    }
    retirerZerosDeTete(produit);
    return produit;
}

// Floor of n / diviseur.
std::string diviser(const std::string& n, std::uint64_t diviseur) {
    std::string quotient;
    quotient.reserve(n.size());
    std::uint64_t reste = 0;
    for (char chiffre : n) {
        reste = reste * 10 + static_cast<std::uint64_t>(chiffre - '0');
        quotient += static_cast<char>('0' + reste / diviseur);
        reste %= diviseur;
    }
    retirerZerosDeTete(quotient);
    return quotient;
}

// Rounds |montant| * multiplicateur * 10^puissance / diviseur to an integer number of cents,
// a half away from zero: round(x) = floor((floor(2x) + 1) / 2), each floor exact on integers.
MontantArrondi arrondir(double montant, std::uint64_t multiplicateur, int puissance,
                        std::uint64_t diviseur) {
    const Decimal d = decimalLePlusCourt(std::fabs(montant));
    std::string n = multiplier(d.chiffres, 2 * multiplicateur);
    const int decalage = d.exposant + puissance;
    if (decalage >= 0) {
        n.append(static_cast<std::size_t>(decalage), '0');
    } else if (static_cast<std::size_t>(-decalage) >= n.size()) {
        n.assign(1, '0');
    } else {
        n.resize(n.size() - static_cast<std::size_t>(-decalage));
    }
    // floor(2x) + 1, then halved.
    // The leading zero takes the carry of the +1, so the digits never need to grow.
    std::string centimes(1, '0');
    centimes += diviser(n, diviseur);
    std::uint64_t retenue = 1;
    for (auto chiffre = centimes.rbegin(); chiffre != centimes.rend() && retenue != 0; ++chiffre) {
        const std::uint64_t valeur = static_cast<std::uint64_t>(*chiffre - '0') + retenue;
        *chiffre = static_cast<char>('0' + valeur % 10);
        retenue = valeur / 10;
    }
    centimes = diviser(centimes, 2);

    if (centimes.size() < 3) {
        std::string complete(3 - centimes.size(), '0');
        complete += centimes;
        centimes = std::move(complete);
    }
    MontantArrondi resultat;
    resultat.unites = centimes.substr(0, centimes.size() - 2);
    resultat.centimes = centimes.substr(centimes.size() - 2);
    resultat.negatif = montant < 0 && centimes.find_first_not_of('0') != std::string::npos;
    return resultat;
}

} // namespace

std::optional<MontantArrondi> FrancsEnEurosArrondi(double francs) {
    if (!std::isfinite(francs) || !std::isfinite(francs / TauxEuro)) {
        return std::nullopt;
    }
    // francs * 100000 / 655957 euros, times 100 cents.
    return arrondir(francs, 1, 7, tauxEntier);
}

std::optional<MontantArrondi> EurosEnFrancsArrondi(double euros) {
    if (!std::isfinite(euros) || !std::isfinite(euros * TauxEuro)) {
        return std::nullopt;
    }
    // euros * 655957 / 100000 francs, times 100 cents.
    return arrondir(euros, tauxEntier, -3, 1);
}

std::optional<MontantArrondi> ArrondirAuCentime(double montant) {
    if (!std::isfinite(montant)) {
        return std::nullopt;
    }
    return arrondir(montant, 1, 2, 1);
}
