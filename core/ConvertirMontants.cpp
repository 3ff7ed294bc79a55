#include "core/ConvertirMontants.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* MessageDeuxRemplies = "L'une des deux zones de saisie doit être vide !!!";
constexpr const char* MessageDeuxVides = "L'une des deux zones de saisie doit être remplie !!!";
constexpr const char* MessageFrancs = "La saisie des Francs doit être du numérique !!!";
constexpr const char* MessageEuros = "La saisie des Euros doit être du numérique !!!";

ResultatConversion refus(IssueConversion issue, const char* message, Zone selection, Zone focus) {
    ResultatConversion resultat;
    resultat.issue = issue;
    resultat.message = message;
    resultat.selection = selection;
    resultat.focus = focus;
    return resultat;
}

ResultatConversion francsRefuses() {
    return refus(IssueConversion::FrancsNonNumeriques, MessageFrancs, Zone::Francs, Zone::Francs);
}

ResultatConversion eurosRefuses() {
    return refus(IssueConversion::EurosNonNumeriques, MessageEuros, Zone::Euros, Zone::Euros);
}

} // namespace

bool EstNumerique(std::string_view texte, const LocaleNumerique& locale) {
    const auto nombre = locale.lireNombre(texte);
    return nombre && std::isfinite(nombre->valeur);
}

NombreDecimal ValeurNumerique(std::string_view texte, const LocaleNumerique& locale) {
    return locale.lireNombre(texte).value_or(NombreDecimal());
}

std::string FormaterMontant(const MontantArrondi& montant, const LocaleNumerique& locale) {
    std::string texte = montant.negatif ? locale.signeMoins() : std::string();
    texte += montant.unites;
    texte += locale.separateurDecimal();
    texte += montant.centimes;
    return texte;
}

ResultatConversion ConvertirMontants(std::string_view francs, std::string_view euros,
                                     const LocaleNumerique& locale) {
    // Emptiness is decided on the exact characters: a blank is not empty.
    if (!francs.empty() && !euros.empty()) {
        return refus(IssueConversion::DeuxZonesRemplies, MessageDeuxRemplies, Zone::Aucune,
                     Zone::Francs);
    }
    if (francs.empty() && euros.empty()) {
        return refus(IssueConversion::DeuxZonesVides, MessageDeuxVides, Zone::Aucune, Zone::Francs);
    }
    if (!francs.empty() && !EstNumerique(francs, locale)) {
        return francsRefuses();
    }
    if (!euros.empty() && !EstNumerique(euros, locale)) {
        return eurosRefuses();
    }

    ResultatConversion resultat;
    resultat.focus = Zone::Francs;
    if (!francs.empty()) {
        const auto montant = francsEnEurosArrondi(ValeurNumerique(francs, locale));
        if (!montant) {
            return francsRefuses(); // beyond what a double holds: refused as not a usable number
        }
        resultat.issue = IssueConversion::FrancsEnEuros;
        resultat.cible = Zone::Euros;
        resultat.texte = FormaterMontant(*montant, locale);
    } else {
        const auto montant = eurosEnFrancsArrondi(ValeurNumerique(euros, locale));
        if (!montant) {
            return eurosRefuses();
        }
        resultat.issue = IssueConversion::EurosEnFrancs;
        resultat.cible = Zone::Francs;
        resultat.texte = FormaterMontant(*montant, locale);
    }
    return resultat;
}

std::string AnnonceResultat(const ResultatConversion& verdict) {
    if (verdict.cible == Zone::Aucune || verdict.texte.empty()) {
        return {};
    }
    // The units are the first run of digits, after the sign.
    constexpr std::string_view chiffres = "0123456789";
    const std::string_view texte = verdict.texte;
    const auto debut = std::min(texte.find_first_of(chiffres), texte.size());
    const auto unites = texte.substr(debut, texte.find_first_not_of(chiffres, debut) - debut);
    const bool singulier = unites == "0" || unites == "1";
    const bool euros = verdict.cible == Zone::Euros;
    return verdict.texte +
           (euros ? (singulier ? " euro" : " euros") : (singulier ? " franc" : " francs"));
}
