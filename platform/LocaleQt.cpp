#include "platform/LocaleQt.h"

#include "core/ConvertirMontants.h"

#include <cmath>
#include <QString>
#include <utility>

namespace {

constexpr char16_t MarqueGaucheDroite = u'\u200e';
constexpr char16_t MarqueDroiteGauche = u'\u200f';
constexpr char16_t MarqueLettreArabe = u'\u061c';
constexpr char16_t Espace = u' ';
constexpr char16_t EspaceInsecable = u'\u00a0';
constexpr char16_t EspaceFineInsecable = u'\u202f';
constexpr char16_t SigneMoinsUnicode = u'\u2212';

bool blancDeGroupe(QChar c) {
    return c == Espace || c == EspaceInsecable || c == EspaceFineInsecable;
}

QString sansMarquesBidi(const QString& texte) {
    QString resultat = texte;
    resultat.remove(QChar(MarqueGaucheDroite));
    resultat.remove(QChar(MarqueDroiteGauche));
    resultat.remove(QChar(MarqueLettreArabe));
    return resultat;
}

} // namespace

LocaleQt::LocaleQt(QLocale locale)
    : m_locale(std::move(locale)),
      m_pointPourVirgule(m_locale.decimalPoint() == QLatin1String(",") &&
                         m_locale.groupSeparator() != QLatin1String(".")) {
    const QString groupe = m_locale.groupSeparator();
    if (groupe.size() == 1 && blancDeGroupe(groupe.front())) {
        m_separateurBlanc = groupe;
    }
}

std::optional<NombreDecimal> LocaleQt::lireNombre(std::string_view texte) const {
    const auto longueurMaximale = static_cast<std::size_t>(LongueurSaisieMaximale);
    if (texte.size() > 4 * longueurMaximale) {
        return std::nullopt; // more characters than allowed, at 4 bytes a character at most
    }
    QString nombre = QString::fromUtf8(texte.data(), static_cast<qsizetype>(texte.size()));
    if (static_cast<std::size_t>(nombre.size()) > longueurMaximale) {
        return std::nullopt;
    }
    nombre = sansMarquesBidi(nombre).trimmed();
    if (m_pointPourVirgule && nombre.contains(QLatin1Char('.'))) {
        if (nombre.contains(QLatin1Char(','))) {
            return std::nullopt; // "1.234,5": no telling which one separates the decimals
        }
        nombre.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    if (!m_separateurBlanc.isEmpty()) {
        for (QChar& c : nombre) {
            if (blancDeGroupe(c)) {
                c = m_separateurBlanc.front();
            }
        }
    }
    bool lu = false;
    const double valeur = m_locale.toDouble(nombre, &lu);
    if (!lu || !std::isfinite(valeur)) {
        return std::nullopt;
    }

    // The toolkit has checked the form; its characters are now brought to the plain one that
    // keeps every digit (digits of any script, some of them outside the basic plane).
    const QString point = m_locale.decimalPoint();
    const QString groupe = m_locale.groupSeparator();
    const QString moins = sansMarquesBidi(m_locale.negativeSign());
    const QString plus = sansMarquesBidi(m_locale.positiveSign());
    const QString exposant = m_locale.exponential();
    const auto debutePar = [](QStringView reste, const QString& mot) {
        return !mot.isEmpty() && reste.startsWith(mot, Qt::CaseInsensitive);
    };
    std::string simple;
    simple.reserve(static_cast<std::size_t>(nombre.size()));
    for (qsizetype i = 0; i < nombre.size();) {
        const QStringView reste = QStringView(nombre).mid(i);
        char32_t point32 = reste.front().unicode();
        qsizetype longueur = 1;
        if (reste.size() > 1 && reste[0].isHighSurrogate() && reste[1].isLowSurrogate()) {
            point32 = QChar::surrogateToUcs4(reste[0], reste[1]);
            longueur = 2;
        }
        if (QChar::isDigit(point32)) {
            simple += static_cast<char>('0' + QChar::digitValue(point32));
        } else if (debutePar(reste, point)) {
            simple += '.';
            longueur = point.size();
        } else if (debutePar(reste, groupe)) {
            longueur = groupe.size();
        } else if (point32 == u'-' || point32 == SigneMoinsUnicode) {
            simple += '-';
        } else if (debutePar(reste, moins)) {
            simple += '-';
            longueur = moins.size();
        } else if (point32 == u'+') {
            simple += '+';
        } else if (debutePar(reste, plus)) {
            simple += '+';
            longueur = plus.size();
        } else if (point32 == u'e' || point32 == u'E') {
            simple += 'e';
        } else if (debutePar(reste, exposant)) {
            simple += 'e';
            longueur = exposant.size();
        } else {
            return std::nullopt; // a form the toolkit reads that has no plain equivalent
        }
        i += longueur;
    }
    return lireNombreDecimal(simple);
}

std::string LocaleQt::separateurDecimal() const {
    return m_locale.decimalPoint().toStdString();
}

std::string LocaleQt::signeMoins() const {
    return m_locale.negativeSign().toStdString();
}
