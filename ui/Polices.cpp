#include "ui/Polices.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QStringList>

namespace {

// Below this a bold caption no longer reads at 96 dpi.
constexpr double PointsMinimum = 6.0;
constexpr double PasPoints = 0.5;

} // namespace

QFont policeDessin(const QString& famille, double points, bool gras, bool italique) {
    static const QStringList semblables = {
        QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
        QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")};
    QStringList familles{famille};
    for (const QString& semblable : semblables) {
        if (!familles.contains(semblable)) {
            familles << semblable;
        }
    }
    QFont police;
    police.setFamilies(familles);
    police.setStyleHint(QFont::SansSerif);
    police.setPointSizeF(points);
    police.setBold(gras);
    police.setItalic(italique);
    return police;
}

QFont policeQuiTient(const QFont& dessin, const std::function<bool(const QFont&)>& tient) {
    if (tient(dessin) || dessin.pointSizeF() <= 0) {
        return dessin;
    }
    static const QStringList etroites = {
        QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
        QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("DejaVu Sans Condensed")};
    QList<QStringList> familles{dessin.families()};
    for (const QString& etroite : etroites) {
        // A missing family would give Qt's fallback, which may be the wide font itself.
        if (QFontDatabase::hasFamily(etroite)) {
            familles << QStringList{etroite};
        }
    }
    QFont essai = dessin;
    for (double points = dessin.pointSizeF(); points >= PointsMinimum; points -= PasPoints) {
        essai.setPointSizeF(points);
        for (const QStringList& famille : familles) {
            essai.setFamilies(famille);
            if (tient(essai)) {
                return essai;
            }
        }
    }
    return essai;
}

void ajusterPolice(const QList<QLabel*>& etiquettes) {
    if (etiquettes.isEmpty()) {
        return;
    }
    const QFont police = policeQuiTient(etiquettes.first()->font(), [&](const QFont& essai) {
        const QFontMetrics mesure(essai);
        for (const QLabel* etiquette : etiquettes) {
            const int place = etiquette->contentsRect().width() - 2 * etiquette->margin();
            if (mesure.horizontalAdvance(etiquette->text()) > place) {
                return false;
            }
        }
        return true;
    });
    for (QLabel* etiquette : etiquettes) {
        etiquette->setFont(police);
    }
}
