#pragma once

#include "core/LocaleNumerique.h"
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

// Whether the locale's number conversion accepts the text as a finite number.
bool EstNumerique(std::string_view texte, const LocaleNumerique& locale);

// The number that conversion gives; only called on texts for which EstNumerique holds.
double ValeurNumerique(std::string_view texte, const LocaleNumerique& locale);

// The amount with the "0.00" pattern: no grouping, two decimals, the locale's separator and
// minus sign, rounded to the nearest cent with a half cent away from zero; zero is never negative.
std::string FormaterMontant(double montant, const LocaleNumerique& locale);
