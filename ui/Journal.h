#pragma once

#include <QLoggingCategory>

// Failures that the windows survive (a tray that refuses the icon, a tray that goes away) leave
// one warning here. Silent by default; shown with QT_LOGGING_RULES="tarvane.*=true".
Q_DECLARE_LOGGING_CATEGORY(journalUi)
