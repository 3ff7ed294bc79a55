#include "core/ArrondiLegal.h"

#include "core/TauxEuro.h"

#include <cmath>
#include <cstdint>
#include <utility>

// The quotient or product of the amount as typed by 6.55957 is done exactly on decimal digit
// strings, so that a half cent is recognised as such, whatever the number of digits typed.

namespace {

// The rate written as an integer over 10^5: 6.55957 = 655957 / 100000.
constexpr std::uint64_t TauxEntier = 655957;

// A finite double has at most 309 digits before the point; the digits of an amount agree with its
// double, so this bound only guards the arithmetic against a reader that broke that agreement.
constexpr std::int64_t ChiffresEntiersMaximaux = 309;

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
MontantArrondi arrondir(const NombreDecimal& montant, std::uint64_t multiplicateur, int puissance,
                        std::uint64_t diviseur) {
    std::string n = multiplier(montant.chiffres, 2 * multiplicateur);
    const std::int64_t decalage = montant.exposant + puissance;
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
    resultat.negatif = montant.negatif && centimes.find_first_not_of('0') != std::string::npos;
    return resultat;
}

bool calculable(const NombreDecimal& montant, double resultat) {
    return std::isfinite(montant.valeur) && std::isfinite(resultat) &&
           static_cast<std::int64_t>(montant.chiffres.size()) + montant.exposant <=
               ChiffresEntiersMaximaux;
}

} // namespace

std::optional<MontantArrondi> francsEnEurosArrondi(const NombreDecimal& francs) {
    if (!calculable(francs, francs.valeur / TauxEuro)) {
        return std::nullopt;
    }
    // francs * 100000 / 655957 euros, times 100 cents.
    return arrondir(francs, 1, 7, TauxEntier);
}

std::optional<MontantArrondi> eurosEnFrancsArrondi(const NombreDecimal& euros) {
    if (!calculable(euros, euros.valeur * TauxEuro)) {
        return std::nullopt;
    }
    // euros * 655957 / 100000 francs, times 100 cents.
    return arrondir(euros, TauxEntier, -3, 1);
}
