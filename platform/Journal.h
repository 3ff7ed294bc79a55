#pragma once

#include <QLoggingCategory>

// Failures that the platform layer survives (a lock that cannot be taken, an opener that fails,
// a translation that is missing) leave one warning here. Silent by default; shown with
// QT_LOGGING_RULES="tarvane.*=true".
Q_DECLARE_LOGGING_CATEGORY(journalPlateforme)
