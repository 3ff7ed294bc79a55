#pragma once

#include <optional>
#include <string>

// An amount rounded to the cent: its sign and its digits, before any regional formatting.
struct MontantArrondi {
    bool negatif = false; // never true for a zero amount
    std::string unites;   // at least one digit, no leading zeros
    std::string centimes; // exactly two digits
};

// The exact quotient (francs to euros) or product (euros to francs) of the amount and the legal
// rate, rounded to the cent with a half cent away from zero. Nothing when the amount is not finite
// or the result leaves the range of a double.
std::optional<MontantArrondi> FrancsEnEurosArrondi(double francs);
std::optional<MontantArrondi> EurosEnFrancsArrondi(double euros);

// The amount itself rounded to the cent the same way; nothing when it is not finite.
std::optional<MontantArrondi> ArrondirAuCentime(double montant);
