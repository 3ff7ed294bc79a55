#include "core/NombreDecimal.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// An exponent is read up to this size: anything past it already makes a zero or an infinity of
// any mantissa that fits in memory.
constexpr std::int64_t ExposantMaximal = 1'000'000'000'000;

bool chiffre(char c) {
    return c >= '0' && c <= '9';
}

// The double nearest to chiffres * 10^exposant, found by the standard library's correctly rounded
// reader; out of range means an infinity for a large number and a zero for a tiny one.
double valeurDouble(const NombreDecimal& n) {
    const std::string texte = n.chiffres + 'e' + std::to_string(n.exposant);
    double valeur = 0;
    const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
    if (erreur == std::errc::result_out_of_range) {
        const auto ordre = static_cast<std::int64_t>(n.chiffres.size()) + n.exposant;
        valeur = ordre > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return n.negatif ? -valeur : valeur;
}

} // namespace

std::optional<NombreDecimal> lireNombreDecimal(std::string_view texte) {
    std::size_t i = 0;
    const auto signe = [&] {
        const bool moins = i < texte.size() && texte[i] == '-';
        if (i < texte.size() && (texte[i] == '-' || texte[i] == '+')) {
            ++i;
        }
        return moins;
    };

    NombreDecimal n;
    n.negatif = signe();
    std::string chiffres;
    std::int64_t decimales = 0;
    for (; i < texte.size() && chiffre(texte[i]); ++i) {
        chiffres += texte[i];
    }
    if (i < texte.size() && texte[i] == '.') {
        for (++i; i < texte.size() && chiffre(texte[i]); ++i) {
            chiffres += texte[i];
            ++decimales;
        }
    }
    if (chiffres.empty()) {
        return std::nullopt;
    }
    std::int64_t exposant = 0;
    if (i < texte.size() && (texte[i] == 'e' || texte[i] == 'E')) {
        ++i;
        const bool exposantNegatif = signe();
        const std::size_t debut = i;
        for (; i < texte.size() && chiffre(texte[i]); ++i) {
            exposant = std::min(exposant * 10 + (texte[i] - '0'), ExposantMaximal);
        }
        if (i == debut) {
            return std::nullopt;
        }
        exposant = exposantNegatif ? -exposant : exposant;
    }
    if (i != texte.size()) {
        return std::nullopt;
    }

    const auto premier = chiffres.find_first_not_of('0');
    if (premier == std::string::npos) {
        n.negatif = false;
        n.valeur = 0.0;
        return n;
    }
    const auto dernier = chiffres.find_last_not_of('0');
    n.chiffres = chiffres.substr(premier, dernier + 1 - premier);
    n.exposant = exposant - decimales + static_cast<std::int64_t>(chiffres.size() - 1 - dernier);
    n.valeur = valeurDouble(n);
    return n;
}
