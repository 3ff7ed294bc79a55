#pragma once

#include <QFont>
#include <QString>

// A font of the About box's design. Qt does not follow the system's aliases when a family is
// missing, so the fonts drawn with the same widths are named after it, before Qt's own fallback.
QFont policeDessin(const QString& famille, double points, bool gras, bool italique = false);
