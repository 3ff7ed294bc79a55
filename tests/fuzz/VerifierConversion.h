#pragma once
// What must hold for every pair of texts handed to the conversion decision, checked from the
// rules themselves rather than from the code; any breach aborts, so the fuzzer keeps the input.

#include "core/ConvertirMontants.h"
#include "core/TauxEuro.h"
#include "tests/support/MessagesConversion.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz {

[[noreturn]] inline void echec(const char* regle, std::string_view francs, std::string_view euros,
                               const ResultatConversion& r) {
    std::fprintf(stderr,
                 "broken rule: %s\n  Francs (%zu bytes): \"%.200s\"\n  Euros (%zu bytes): "
                 "\"%.200s\"\n  issue %d, message \"%s\", selection %d, cible %d, focus %d, "
                 "texte \"%.400s\"\n",
                 regle, francs.size(), std::string(francs.substr(0, 200)).c_str(), euros.size(),
                 std::string(euros.substr(0, 200)).c_str(), static_cast<int>(r.issue),
                 r.message.c_str(), static_cast<int>(r.selection), static_cast<int>(r.cible),
                 static_cast<int>(r.focus), r.texte.c_str());
    std::abort();
}

// The written amount: an optional minus sign, digits with no leading zero, the separator, two
// digits; never "-0,00" and never a word such as "inf" or "nan".
inline bool formeDeuxDecimales(const std::string& texte, const LocaleNumerique& locale) {
    const std::string moins = locale.signeMoins();
    const std::string separateur = locale.separateurDecimal();
    std::string_view reste(texte);
    const bool negatif = reste.substr(0, moins.size()) == moins;
    if (negatif) {
        reste.remove_prefix(moins.size());
    }
    const auto position = reste.find(separateur);
    if (position == std::string_view::npos || position == 0) {
        return false;
    }
    const auto unites = reste.substr(0, position);
    const auto centimes = reste.substr(position + separateur.size());
    const auto chiffres = [](std::string_view s) {
        return s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (!chiffres(unites) || !chiffres(centimes) || centimes.size() != 2) {
        return false;
    }
    if (unites.size() > 1 && unites.front() == '0') {
        return false;
    }
    return !(negatif && unites == "0" && centimes == "00");
}

// The decision on (francs, euros) under `locale`, checked against the rules: the outcome follows
// from emptiness and the numeric test in their order, only the other field is written, and the
// written text reads back, under the same settings, within half a cent of the exact result.
inline void verifierConversion(std::string_view francs, std::string_view euros,
                               const LocaleNumerique& locale) {
    const ResultatConversion r = ConvertirMontants(francs, euros, locale);
    const auto refuse = [&](IssueConversion issue, const std::string& message, Zone selection,
                            Zone focus) {
        return r.issue == issue && r.message == message && r.selection == selection &&
               r.cible == Zone::Aucune && r.texte.empty() && r.focus == focus;
    };
    const auto nombre = [&](std::string_view t) -> std::optional<double> {
        const auto n = locale.lireNombre(t);
        return n && std::isfinite(n->valeur) ? std::optional(n->valeur) : std::nullopt;
    };

    if (!(ConvertirMontants(francs, euros, locale) == r)) {
        echec("the same texts must give the same verdict", francs, euros, r);
    }
    if (!francs.empty() && !euros.empty()) {
        if (!refuse(IssueConversion::DeuxZonesRemplies, messages::DeuxRemplies, Zone::Aucune,
                    Zone::Francs)) {
            echec("two filled fields are refused before anything else", francs, euros, r);
        }
        return;
    }
    if (francs.empty() && euros.empty()) {
        if (!refuse(IssueConversion::DeuxZonesVides, messages::DeuxVides, Zone::Aucune,
                    Zone::Francs)) {
            echec("two empty fields are refused", francs, euros, r);
        }
        return;
    }

    const bool depuisFrancs = !francs.empty();
    const std::string_view saisie = depuisFrancs ? francs : euros;
    const Zone zoneSaisie = depuisFrancs ? Zone::Francs : Zone::Euros;
    const Zone autreZone = depuisFrancs ? Zone::Euros : Zone::Francs;
    const IssueConversion nonNumerique =
        depuisFrancs ? IssueConversion::FrancsNonNumeriques : IssueConversion::EurosNonNumeriques;
    const std::string messageRefus = depuisFrancs ? messages::Francs : messages::Euros;
    const IssueConversion conversion =
        depuisFrancs ? IssueConversion::FrancsEnEuros : IssueConversion::EurosEnFrancs;

    if (r.cible == zoneSaisie) {
        echec("the typed field is never written", francs, euros, r);
    }
    const auto valeur = nombre(saisie);
    if (!valeur) {
        if (!refuse(nonNumerique, messageRefus, zoneSaisie, zoneSaisie)) {
            echec("a text that is not a number is refused with its field selected", francs, euros,
                  r);
        }
        return;
    }

    // The exact result, in a wider type than the rules compute with.
    const long double taux = 6.55957L;
    const long double exact = depuisFrancs ? static_cast<long double>(*valeur) / taux
                                           : static_cast<long double>(*valeur) * taux;
    if (!std::isfinite(depuisFrancs ? *valeur / TauxEuro : *valeur * TauxEuro)) {
        // Beyond what a double holds: refused, never written.
        if (!refuse(nonNumerique, messageRefus, zoneSaisie, zoneSaisie)) {
            echec("a result beyond the range of a double is refused", francs, euros, r);
        }
        return;
    }
    if (r.issue != conversion || !r.message.empty() || r.selection != Zone::Aucune ||
        r.cible != autreZone || r.focus != Zone::Francs) {
        echec("a number in one field is converted into the other, focus on Francs", francs, euros,
              r);
    }
    if (!formeDeuxDecimales(r.texte, locale)) {
        echec("the amount is written as 0.00 with the settings' separator, never -0,00", francs,
              euros, r);
    }
    const auto reluDecimal = locale.lireNombre(r.texte);
    if (!reluDecimal || !std::isfinite(reluDecimal->valeur)) {
        echec("the written amount reads back as a number", francs, euros, r);
    }
    const double relu = reluDecimal->valeur;
    // Half a cent, plus what the double of the input, the double read back and the wider
    // exact value may each be off by: a few units in the last place of the amount.
    const long double ecart = std::fabs(static_cast<long double>(relu) - exact);
    const long double tolerance = 0.005L + std::fabs(exact) * 1e-15L;
    if (ecart > tolerance) {
        echec("the written amount is within half a cent of the exact result", francs, euros, r);
    }
    if ((r.texte.rfind(locale.signeMoins(), 0) == 0) != (exact < 0 && relu < 0)) {
        echec("only a negative amount of at least one cent carries a minus sign", francs, euros, r);
    }
}

// The fuzzer's bytes as the two fields: before the first '|' is Francs, after it Euros; without
// a '|' the whole input is Francs and Euros is empty.
inline void verifierOctets(const unsigned char* donnees, std::size_t taille,
                           const LocaleNumerique& locale) {
    const std::string_view entree(reinterpret_cast<const char*>(donnees), taille);
    const auto barre = entree.find('|');
    if (barre == std::string_view::npos) {
        verifierConversion(entree, {}, locale);
    } else {
        verifierConversion(entree.substr(0, barre), entree.substr(barre + 1), locale);
    }
}

} // namespace fuzz
