#include "ui/main/AnnonceLecteur.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QtGlobal>
#include <QWidget>

namespace {

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)

const QString NomPorteur = QStringLiteral("AnnonceLecteur");

// A notification that nothing draws: reachable from the window's side (its parent) alone, shown to
// the reader once, when it is made. Each announcement is a new one, so that a reader's cache of
// the previous name is never read for the new text.
class NotificationLecteur : public QAccessibleObject {
public:
    NotificationLecteur(QObject* porteur, QWidget& fenetre, const QString& texte)
        : QAccessibleObject(porteur), m_fenetre(&fenetre), m_texte(texte) {}

    QAccessibleInterface* parent() const override {
        return m_fenetre ? QAccessible::queryAccessibleInterface(m_fenetre) : nullptr;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text quoi) const override {
        return quoi == QAccessible::Name ? m_texte : QString();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return {}; } // shown, enabled, nothing else

private:
    QPointer<QWidget> m_fenetre;
    QString m_texte;
};

#endif

} // namespace

void annoncerAuLecteur(QWidget& source, const QString& texte) {
    if (texte.isEmpty() || !QAccessible::isActive()) {
        return;
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent annonce(&source, texte);
    QAccessible::updateAccessibility(&annonce);
#else
    // The previous notification goes with its object; the interface is the accessibility cache's,
    // which deletes it with the object.
    delete source.findChild<QObject*>(NomPorteur, Qt::FindDirectChildrenOnly);
    auto* porteur = new QObject(&source);
    porteur->setObjectName(NomPorteur);
    auto* notification = new NotificationLecteur(porteur, *source.window(), texte);
    QAccessible::registerAccessibleInterface(notification);
    QAccessibleEvent montree(notification, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&montree);
#endif
}
