#include "ui/about/Polices.h"

#include <QStringList>

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
