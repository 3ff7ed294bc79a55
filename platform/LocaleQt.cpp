#include "platform/LocaleQt.h"

#include <cmath>
#include <QString>
#include <utility>

LocaleQt::LocaleQt(QLocale locale)
    : locale_(std::move(locale)),
      pointPourVirgule_(locale_.decimalPoint() == QLatin1String(",") &&
                        locale_.groupSeparator() != QLatin1String(".")) {}

namespace {

// Longer than any number a person types, with room for the 309 digits of the largest double written
// out in full; a pasted page of text is refused at once instead of going through the parser.
constexpr std::size_t longueurMaximale = 512;

} // namespace

std::optional<double> LocaleQt::lireNombre(std::string_view texte) const {
    if (texte.size() > 4 * longueurMaximale) {
        return std::nullopt; // more characters than allowed, at 4 bytes a character at most
    }
    QString nombre = QString::fromUtf8(texte.data(), static_cast<qsizetype>(texte.size()));
    if (static_cast<std::size_t>(nombre.size()) > longueurMaximale) {
        return std::nullopt;
    }
    nombre = nombre.trimmed();
    if (pointPourVirgule_ && nombre.contains(QLatin1Char('.'))) {
        if (nombre.contains(QLatin1Char(','))) {
            return std::nullopt; // "1.234,5": no telling which one separates the decimals
        }
        nombre.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    bool lu = false;
    const double valeur = locale_.toDouble(nombre, &lu);
    if (!lu || !std::isfinite(valeur)) {
        return std::nullopt;
    }
    return valeur;
}

std::string LocaleQt::separateurDecimal() const {
    return locale_.decimalPoint().toStdString();
}

std::string LocaleQt::signeMoins() const {
    return locale_.negativeSign().toStdString();
}
