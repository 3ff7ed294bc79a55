#include "platform/unix/JetonActivation.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace {

const char* const VariableJeton = "XDG_ACTIVATION_TOKEN";

bool surWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

void JetonActivation::recevoir(const QString& jeton) {
    if (!surWayland()) {
        return; // an X server takes no such token, and the programs started later must not see it
    }
    m_jeton = jeton;
    qputenv(VariableJeton, jeton.toLatin1());
}

void JetonActivation::utiliser(QWidget& fenetre) {
    if (m_jeton.isEmpty()) {
        return;
    }
    if (qEnvironmentVariable(VariableJeton) != m_jeton) {
        m_jeton.clear(); // used by the click, or replaced by a later one
        return;
    }
    QWidget* cible = QApplication::activeModalWidget();
    if (cible == nullptr) {
        cible = fenetre.window();
    }
    m_jeton.clear();
    if (cible->isVisible() && cible->windowHandle() != nullptr) {
        cible->windowHandle()->requestActivate();
    } else {
        // Nothing to raise: a token kept for later would be stale by then, and the compositor
        // refuses an activation that brings one.
        qunsetenv(VariableJeton);
    }
}
