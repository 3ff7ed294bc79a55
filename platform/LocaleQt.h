#pragma once

#include "core/LocaleNumerique.h"

#include <QLocale>

// Numbers read and written under a set of regional settings: the user's in the program
// (QLocale()), fixed ones in tests.
//
// What reads as a number is what QLocale::toDouble accepts, with these changes:
// - blanks around the number are ignored under every setting (QLocale ignores them under most
//   settings but not under the C one); a text made of blanks alone is not a number;
// - the bidirectional marks (U+200E, U+200F, U+061C) that some settings put in their minus sign
//   are ignored, so that every amount the program writes reads back;
// - where the settings group digits with a blank, the ordinary space, the no-break space and the
//   narrow no-break space all group them, as word processors and web pages use any of the three;
//   where they do not, a blank between digits is not a number;
// - infinities, NaN and amounts beyond the range of doubles are not numbers;
// - where the decimal separator is the comma and the full stop does not group digits (French
//   settings), a full stop stands for the comma, since the numeric keypad types one; a text that
//   holds both is not a number.
// The number is then taken digit for digit from the text, not from the double.
class LocaleQt : public LocaleNumerique {
public:
    explicit LocaleQt(QLocale locale);

    std::optional<NombreDecimal> lireNombre(std::string_view texte) const override;
    std::string separateurDecimal() const override;
    std::string signeMoins() const override;

private:
    QLocale m_locale;
    bool m_pointPourVirgule;   // a full stop typed for the comma is read as the comma
    QString m_separateurBlanc; // the settings' group separator when it is a blank, else empty
};
