#include "platform/Journal.h"

// Warnings are off unless a logging rule turns them on: the program prints nothing by itself.
Q_LOGGING_CATEGORY(journalPlateforme, "tarvane.platform", QtCriticalMsg)
