#pragma once
// French settings written by hand for the fuzzers, so that millions of inputs a minute go through
// the rules and not through the toolkit.

#include "core/LocaleNumerique.h"

#include <cstdlib>
#include <string>

namespace fuzz {

// Reads [blanks][sign]digits[,digits][e[sign]digits][blanks], with a comma or a full stop for the
// decimal separator and at least one digit. Like the toolkit's parser it also reads "inf" and
// "nan" and lets a huge exponent overflow to an infinity: refusing those is the rules' work.
class LocaleFrancaiseFuzz : public LocaleNumerique {
public:
    std::optional<double> lireNombre(std::string_view texte) const override {
        const auto blanc = [](char c) { return c == ' ' || c == '\t'; };
        while (!texte.empty() && blanc(texte.front())) {
            texte.remove_prefix(1);
        }
        while (!texte.empty() && blanc(texte.back())) {
            texte.remove_suffix(1);
        }
        std::string c;
        std::size_t i = 0;
        if (i < texte.size() && (texte[i] == '-' || texte[i] == '+')) {
            c += texte[i++];
        }
        const std::string_view mot = texte.substr(i);
        if (egauxSansCasse(mot, "inf") || egauxSansCasse(mot, "nan")) {
            return std::strtod((c + std::string(mot)).c_str(), nullptr);
        }
        std::size_t chiffres = 0;
        const auto lireChiffres = [&] {
            std::size_t n = 0;
            for (; i < texte.size() && texte[i] >= '0' && texte[i] <= '9'; ++i, ++n) {
                c += texte[i];
            }
            return n;
        };
        chiffres += lireChiffres();
        if (i < texte.size() && (texte[i] == ',' || texte[i] == '.')) {
            c += '.';
            ++i;
            chiffres += lireChiffres();
        }
        if (chiffres == 0) {
            return std::nullopt;
        }
        if (i < texte.size() && (texte[i] == 'e' || texte[i] == 'E')) {
            c += 'e';
            ++i;
            if (i < texte.size() && (texte[i] == '-' || texte[i] == '+')) {
                c += texte[i++];
            }
            if (lireChiffres() == 0) {
                return std::nullopt;
            }
        }
        if (i != texte.size()) {
            return std::nullopt;
        }
        return std::strtod(c.c_str(), nullptr);
    }
    std::string separateurDecimal() const override { return ","; }
    std::string signeMoins() const override { return "-"; }

private:
    static bool egauxSansCasse(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t k = 0; k < a.size(); ++k) {
            if ((a[k] | 0x20) != b[k]) {
                return false;
            }
        }
        return true;
    }
};

} // namespace fuzz
