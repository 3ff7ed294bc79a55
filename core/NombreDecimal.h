#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A number as the user typed it, kept in decimal: the cents are computed from these digits, so no
// binary rounding comes between the text and the result.
struct NombreDecimal {
    bool negatif = false;       // never true for zero
    std::string chiffres = "0"; // significant digits, no leading or trailing zero; "0" for zero
    std::int64_t exposant = 0;  // the number is chiffres * 10^exposant
    double valeur = 0;          // the nearest double, infinite beyond the range of doubles

    bool operator==(const NombreDecimal&) const = default;
};

// Reads the plain form [+|-]digits[.digits][(e|E)[+|-]digits], with at least one digit before the
// exponent, and nothing else: no blanks, no grouping, no words such as "inf" or "nan". Each
// regional setting's reader brings its text to this form once it has accepted it.
std::optional<NombreDecimal> lireNombreDecimal(std::string_view texte);
