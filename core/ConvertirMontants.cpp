#include "core/ConvertirMontants.h"

#include "core/ArrondiLegal.h"

#include <cmath>

namespace {

constexpr const char* messageDeuxRemplies = "L'une des deux zones de saisie doit être vide !!!";
constexpr const char* messageDeuxVides = "L'une des deux zones de saisie doit être remplie !!!";
constexpr const char* messageFrancs = "La saisie des Francs doit être du numérique !!!";
constexpr const char* messageEuros = "La saisie des Euros doit être du numérique !!!";

ResultatConversion refus(IssueConversion issue, const char* message, Zone selection, Zone focus) {
    ResultatConversion resultat;
    resultat.issue = issue;
    resultat.message = message;
    resultat.selection = selection;
    resultat.focus = focus;
    return resultat;
}

ResultatConversion francsRefuses() {
    return refus(IssueConversion::FrancsNonNumeriques, messageFrancs, Zone::Francs, Zone::Francs);
}

ResultatConversion eurosRefuses() {
    return refus(IssueConversion::EurosNonNumeriques, messageEuros, Zone::Euros, Zone::Euros);
}

std::string ecrire(const MontantArrondi& montant, const LocaleNumerique& locale) {
    std::string texte = montant.negatif ? locale.signeMoins() : std::string();
    texte += montant.unites;
    texte += locale.separateurDecimal();
    texte += montant.centimes;
    return texte;
}

} // namespace

bool EstNumerique(std::string_view texte, const LocaleNumerique& locale) {
    const auto valeur = locale.lireNombre(texte);
    return valeur && std::isfinite(*valeur);
}

double ValeurNumerique(std::string_view texte, const LocaleNumerique& locale) {
    return locale.lireNombre(texte).value_or(0.0);
}

std::string FormaterMontant(double montant, const LocaleNumerique& locale) {
    const auto arrondi = ArrondirAuCentime(montant);
    return arrondi ? ecrire(*arrondi, locale) : std::string();
}

ResultatConversion ConvertirMontants(std::string_view francs, std::string_view euros,
                                     const LocaleNumerique& locale) {
    // Emptiness is decided on the exact characters: a blank is not empty.
    if (!francs.empty() && !euros.empty()) {
        return refus(IssueConversion::DeuxZonesRemplies, messageDeuxRemplies, Zone::Aucune,
                     Zone::Francs);
    }
    if (francs.empty() && euros.empty()) {
        return refus(IssueConversion::DeuxZonesVides, messageDeuxVides, Zone::Aucune, Zone::Francs);
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
        const auto montant = FrancsEnEurosArrondi(ValeurNumerique(francs, locale));
        if (!montant) {
            return francsRefuses(); // beyond what a double holds: refused as not a usable number
        }
        resultat.issue = IssueConversion::FrancsEnEuros;
        resultat.cible = Zone::Euros;
        resultat.texte = ecrire(*montant, locale);
    } else {
        const auto montant = EurosEnFrancsArrondi(ValeurNumerique(euros, locale));
        if (!montant) {
            return eurosRefuses();
        }
        resultat.issue = IssueConversion::EurosEnFrancs;
        resultat.cible = Zone::Francs;
        resultat.texte = ecrire(*montant, locale);
    }
    return resultat;
}
