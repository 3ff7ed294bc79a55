#include "platform/unix/JetonActivation.h"

#include "platform/unix/Wayland.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

const char* const VariableJeton = "XDG_ACTIVATION_TOKEN";

} // namespace

void JetonActivation::recevoir(const QString& jeton) {
    if (!surWayland()) {
        return; // an X server takes no such token
    }
    oublier();
    m_jeton = jeton;
    m_suivi = connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
        if (w != nullptr) {
            activer(w);
        }
    });
}

void JetonActivation::utiliser(QWidget& fenetre) {
    if (m_jeton.isEmpty()) {
        return;
    }
    QWidget* cible = QApplication::activeModalWidget();
    if (cible == nullptr) {
        cible = fenetre.window();
    }
    QWindow* natif = cible->windowHandle();
    if (!cible->isVisible() || natif == nullptr) {
        oublier(); // nothing to raise: by a later click the token would be stale
    } else if (natif->isExposed()) {
        activer(natif);
    } else if (m_attendue != natif) {
        if (m_attendue != nullptr) {
            m_attendue->removeEventFilter(this);
        }
        m_attendue = natif;
        natif->installEventFilter(this);
    }
}

bool JetonActivation::eventFilter(QObject* objet, QEvent* evenement) {
    if (evenement->type() == QEvent::Expose && objet == m_attendue && m_attendue->isExposed()) {
        // After the window has handled its exposure, so that its first frame is there.
        QMetaObject::invokeMethod(
            this,
            [this, fenetre = QPointer<QWindow>(m_attendue)] {
                if (fenetre != nullptr && fenetre == m_attendue) {
                    activer(fenetre);
                }
            },
            Qt::QueuedConnection);
    }
    return false;
}

void JetonActivation::activer(QWindow* fenetre) {
    const QByteArray jeton = m_jeton.toLatin1();
    oublier();
    if (jeton.isEmpty()) {
        return;
    }
    qputenv(VariableJeton, jeton); // read by the activation, and kept from the programs started
    fenetre->requestActivate();
    qunsetenv(VariableJeton);
}

void JetonActivation::oublier() {
    m_jeton.clear();
    QObject::disconnect(m_suivi);
    m_suivi = {};
    if (m_attendue != nullptr) {
        m_attendue->removeEventFilter(this);
        m_attendue = nullptr;
    }
}
