#pragma once

#include "core/ArrondiLegal.h"
#include "core/LocaleNumerique.h"
#include "core/NombreDecimal.h"
#include "core/ResultatConversion.h"

#include <string>
#include <string_view>

// The longest text read as an amount, in characters: longer than any amount a person types, with
// room for the 309 digits of the largest double written out in full. The entry fields take no more.
inline constexpr int LongueurSaisieMaximale = 512;

// The whole decision behind the convert button: a pure function of the two texts, as typed,
// and of the user's regional settings.
ResultatConversion ConvertirMontants(std::string_view francs, std::string_view euros,
                                     const LocaleNumerique& locale);

// Whether the locale's number conversion accepts the text as a number within the range of doubles.
bool EstNumerique(std::string_view texte, const LocaleNumerique& locale);

// The number that conversion gives, digit for digit as typed; only called on texts for which
// EstNumerique holds.
NombreDecimal ValeurNumerique(std::string_view texte, const LocaleNumerique& locale);

// The amount rounded to the cent, with the "0.00" pattern: no grouping, two decimals, the
// locale's separator and minus sign.
std::string FormaterMontant(const MontantArrondi& montant, const LocaleNumerique& locale);

// What a screen reader says of a conversion that wrote its result: the amount as written and its
// currency, singular below two as French has it ("0,50 euro", "15,24 euros", "655,96 francs").
// Empty for a refusal, whose message box speaks for itself.
std::string AnnonceResultat(const ResultatConversion& verdict);
