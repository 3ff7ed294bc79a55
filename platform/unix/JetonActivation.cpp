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
    if (!m_suivi) {
        m_suivi = QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, qGuiApp,
                                   [this](QWindow* fenetre) { fenetreActive(fenetre); });
    }
}

JetonActivation::~JetonActivation() {
    QObject::disconnect(m_suivi);
}

void JetonActivation::fenetreActive(QWindow* fenetre) {
    if (fenetre == nullptr) {
        return;
    }
    const bool enAttente = !m_jeton.isEmpty() && qEnvironmentVariable(VariableJeton) == m_jeton;
    oublier();
    if (enAttente) {
        fenetre->requestActivate();
    }
}

void JetonActivation::oublier() {
    m_jeton.clear();
    QObject::disconnect(m_suivi);
    m_suivi = {};
}

void JetonActivation::utiliser(QWidget& fenetre) {
    if (m_jeton.isEmpty()) {
        return;
    }
    if (qEnvironmentVariable(VariableJeton) != m_jeton) {
        oublier(); // used by the click, or replaced by a later one
        return;
    }
    QWidget* cible = QApplication::activeModalWidget();
    if (cible == nullptr) {
        cible = fenetre.window();
    }
    oublier();
    if (cible->isVisible() && cible->windowHandle() != nullptr) {
        cible->windowHandle()->requestActivate();
    } else {
        // Nothing to raise: a token kept for later would be stale by then, and the compositor
        // refuses an activation that brings one.
        qunsetenv(VariableJeton);
    }
}
