#pragma once

#include "core/LocaleNumerique.h"

#include <QLocale>

// Numbers read and written under a set of regional settings: the user's in the program
// (QLocale()), fixed ones in tests.
//
// What reads as a number is what QLocale::toDouble accepts, with three changes:
// - blanks around the number are ignored under every setting (QLocale ignores them under most
//   settings but not under the C one); a text made of blanks alone is not a number;
// - infinities and NaN are not numbers;
// - where the decimal separator is the comma and the full stop does not group digits (French
//   settings), a full stop stands for the comma, since the numeric keypad types one; a text that
//   holds both is not a number.
// Digit grouping is accepted as QLocale accepts it (under French settings "1 234,5", with the
// settings' narrow no-break space or an ordinary blank between the groups).
class LocaleQt : public LocaleNumerique {
public:
    explicit LocaleQt(QLocale locale);

    std::optional<double> lireNombre(std::string_view texte) const override;
    std::string separateurDecimal() const override;
    std::string signeMoins() const override;

private:
    QLocale locale_;
    bool pointPourVirgule_; // a full stop typed for the comma is read as the comma
};
