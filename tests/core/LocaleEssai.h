#pragma once
// Regional settings written by hand, so that the core tests need no toolkit.

#include "core/LocaleNumerique.h"

#include <charconv>
#include <string>
#include <utility>

// Reads plain decimal and exponent forms with the given separator and minus sign; like the
// toolkit's parser it accepts "inf" and "nan", which the rules must refuse themselves.
class LocaleEssai : public LocaleNumerique {
public:
    LocaleEssai(std::string separateur, std::string moins)
        : separateur_(std::move(separateur)), moins_(std::move(moins)) {}

    std::optional<double> lireNombre(std::string_view texte) const override {
        std::string c(texte);
        if (separateur_ != "." && c.find('.') != std::string::npos) {
            return std::nullopt; // only the settings' own separator is a decimal separator
        }
        remplacer(c, separateur_, ".");
        remplacer(c, moins_, "-");
        double valeur = 0;
        const auto [fin, erreur] = std::from_chars(c.data(), c.data() + c.size(), valeur);
        if (erreur != std::errc() || fin != c.data() + c.size()) {
            return std::nullopt;
        }
        return valeur;
    }
    std::string separateurDecimal() const override { return separateur_; }
    std::string signeMoins() const override { return moins_; }

private:
    static void remplacer(std::string& c, const std::string& de, const std::string& par) {
        for (auto p = c.find(de); !de.empty() && p != std::string::npos;
             p = c.find(de, p + par.size())) {
            c.replace(p, de.size(), par);
        }
    }

    std::string separateur_;
    std::string moins_;
};

inline const LocaleEssai& localeFrancaise() {
    static const LocaleEssai locale(",", "-");
    return locale;
}
