#pragma once

#include <initializer_list>
#include <QIcon>
#include <QString>

// An icon read from a PNG file with its format named, so that Qt uses its own PNG reader and
// neither loads nor asks any image plugin; the file's "@2x" companion is added on screens that
// draw two pixels to the point, as an icon built from the file name would. A file that cannot be
// read gives an empty icon and one warning.
QIcon lireIconePng(const QString& chemin);

// One icon of the drawings of the same picture at several sizes, each used at its own size: Qt
// then rescales none of them where one is drawn for the size asked.
QIcon lireIconePng(std::initializer_list<QString> chemins);
