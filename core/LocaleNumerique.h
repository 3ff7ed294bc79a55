#pragma once

#include "core/NombreDecimal.h"

#include <optional>
#include <string>
#include <string_view>

// The user's regional settings for numbers, as the conversion rules need them.
// Implemented over the toolkit's locale in the program, and by hand in tests.
class LocaleNumerique {
public:
    virtual ~LocaleNumerique() = default;

    // One parse answers both "is it a number" and "which number", so the two never disagree.
    // Texts are UTF-8. Returns the number digit for digit as typed, or nothing for a text that is
    // not a number.
    virtual std::optional<NombreDecimal> lireNombre(std::string_view texte) const = 0;

    // UTF-8 decimal separator and minus sign of the settings ("," and "-" under French ones).
    virtual std::string separateurDecimal() const = 0;
    virtual std::string signeMoins() const = 0;
};
