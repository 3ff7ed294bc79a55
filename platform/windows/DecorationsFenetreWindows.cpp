#include "platform/DecorationsFenetre.h"

// Qt's flags are Windows' own: a tool window has no task-bar button, and a window without
// minimise and maximise boxes is offered neither.
void decorerFenetre(QWidget&, bool) {}

bool barreDeTitreParLaFenetre() {
    return false;
}

bool reductionSignalee() {
    return true;
}
