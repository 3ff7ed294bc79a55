#pragma once

#include <functional>
#include <QFont>
#include <QList>
#include <QString>

class QLabel;

// A font of the About box's design. Qt does not follow the system's aliases when a family is
// missing, so the fonts drawn with the same widths are named after it, before Qt's own fallback.
QFont policeDessin(const QString& famille, double points, bool gras, bool italique = false);

// The box was laid out for Arial's widths; a machine without them draws its texts wider. Returns
// the designed font if the text fits in it, or else the first that does among narrower families
// at the same size, then smaller sizes half a point at a time; the smallest tried if none fits.
QFont policeQuiTient(const QFont& dessin, const std::function<bool(const QFont&)>& tient);

// Gives the labels, from the font they have as designed, one font in which each whole text fits
// its label's width.
void ajusterPolice(const QList<QLabel*>& etiquettes);
