#include "platform/LocaleQt.h"

#include <cmath>
#include <QString>
#include <utility>

LocaleQt::LocaleQt(QLocale locale)
    : locale_(std::move(locale)),
      pointPourVirgule_(locale_.decimalPoint() == QLatin1String(",") &&
                        locale_.groupSeparator() != QLatin1String(".")) {}

std::optional<double> LocaleQt::lireNombre(std::string_view texte) const {
    QString nombre =
        QString::fromUtf8(texte.data(), static_cast<qsizetype>(texte.size())).trimmed();
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
