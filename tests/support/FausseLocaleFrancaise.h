#pragma once
// French regional settings written by hand, so that the rules are tested, fuzzed and measured
// without the toolkit, a million inputs a minute.

#include "core/LocaleNumerique.h"

#include <string>
#include <utility>

// Reads [blanks][sign]digits[separator digits][e[sign]digits][blanks]: the settings' separator or a
// full stop before the decimals, their minus sign or '-'. Nothing else: no grouping, no "inf" or
// "nan", which the toolkit's reader refuses too. The separator and the minus sign can be changed
// to test that the rules write what the settings say.
class FausseLocaleFrancaise : public LocaleNumerique {
public:
    explicit FausseLocaleFrancaise(std::string separateur = ",", std::string moins = "-")
        : m_separateur(std::move(separateur)), m_moins(std::move(moins)) {}

    std::optional<NombreDecimal> lireNombre(std::string_view texte) const override {
        const auto blanc = [](char c) { return c == ' ' || c == '\t'; };
        while (!texte.empty() && blanc(texte.front())) {
            texte.remove_prefix(1);
        }
        while (!texte.empty() && blanc(texte.back())) {
            texte.remove_suffix(1);
        }
        std::string simple;
        simple.reserve(texte.size());
        while (!texte.empty()) {
            if (texte.substr(0, m_separateur.size()) == m_separateur) {
                simple += '.';
                texte.remove_prefix(m_separateur.size());
            } else if (texte.substr(0, m_moins.size()) == m_moins) {
                simple += '-';
                texte.remove_prefix(m_moins.size());
            } else {
                simple += texte.front();
                texte.remove_prefix(1);
            }
        }
        return lireNombreDecimal(simple);
    }
    std::string separateurDecimal() const override { return m_separateur; }
    std::string signeMoins() const override { return m_moins; }

private:
    std::string m_separateur;
    std::string m_moins;
};
