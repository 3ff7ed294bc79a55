#pragma once

#include "core/NombreDecimal.h"

#include <optional>
#include <string>

// An amount rounded to the cent: its sign and its digits, before any regional formatting.
struct MontantArrondi {
    bool negatif = false; // never true for a zero amount
    std::string unites;   // at least one digit, no leading zeros
    std::string centimes; // exactly two digits
};

// The exact quotient (francs to euros) or product (euros to francs) of the amount as typed and the
// legal rate, rounded to the cent with a half cent away from zero. Nothing when the amount is not
// finite or the result leaves the range of a double.
std::optional<MontantArrondi> francsEnEurosArrondi(const NombreDecimal& francs);
std::optional<MontantArrondi> eurosEnFrancsArrondi(const NombreDecimal& euros);
