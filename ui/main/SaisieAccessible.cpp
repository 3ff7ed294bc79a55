#include "ui/main/SaisieAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>

namespace {

// What Qt's line edit interface answers, through the line edit's public functions, save for
// attributes(). Its character rectangles are placed as Qt places them: from the left text margin,
// whatever the alignment.
class SaisieAccessible : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface {
public:
    explicit SaisieAccessible(QLineEdit* zone)
        : QAccessibleWidget(zone, QAccessible::EditableText) {
        addControllingSignal(QStringLiteral("textChanged(const QString&)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    QString text(QAccessible::Text quoi) const override {
        QString texte;
        if (quoi == QAccessible::Value) {
            if (zone()->echoMode() == QLineEdit::Normal) {
                texte = zone()->text();
            } else if (zone()->echoMode() != QLineEdit::NoEcho) {
                texte = QString(zone()->text().size(), QLatin1Char('*'));
            }
        }
        if (texte.isEmpty()) {
            texte = QAccessibleWidget::text(quoi);
        }
        if (texte.isEmpty() && quoi == QAccessible::Description) {
            texte = zone()->placeholderText();
        }
        return texte;
    }

    // A reader writes what a user could type, no more: the field's validator decides.
    void setText(QAccessible::Text quoi, const QString& texte) override {
        if (quoi != QAccessible::Value) {
            QAccessibleWidget::setText(quoi, texte);
            return;
        }
        QString nouveau = texte;
        if (const QValidator* validateur = zone()->validator()) {
            int position = 0;
            if (validateur->validate(nouveau, position) != QValidator::Acceptable) {
                return;
            }
        }
        zone()->setText(nouveau);
    }

    QAccessible::State state() const override {
        QAccessible::State etat = QAccessibleWidget::state();
        etat.editable = true;
        etat.readOnly = zone()->isReadOnly();
        etat.passwordEdit = zone()->echoMode() != QLineEdit::Normal;
        etat.selectableText = true;
        return etat;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        if (type == QAccessible::EditableTextInterface) {
            return static_cast<QAccessibleEditableTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    // A line edit has no attributes, so one run: its whole text, whatever the offset.
    QString attributes(int, int* debut, int* fin) const override {
        *debut = 0;
        *fin = characterCount();
        return QString();
    }

    void selection(int indice, int* debut, int* fin) const override {
        *debut = *fin = 0;
        if (indice != 0) {
            return;
        }
        *debut = zone()->selectionStart();
        *fin = *debut + static_cast<int>(zone()->selectedText().size());
    }
    int selectionCount() const override { return zone()->hasSelectedText() ? 1 : 0; }
    void addSelection(int debut, int fin) override { setSelection(0, debut, fin); }
    void removeSelection(int indice) override {
        if (indice == 0) {
            zone()->deselect();
        }
    }
    void setSelection(int indice, int debut, int fin) override {
        if (indice == 0) {
            zone()->setSelection(debut, fin - debut);
        }
    }

    int cursorPosition() const override { return zone()->cursorPosition(); }
    void setCursorPosition(int position) override { zone()->setCursorPosition(position); }

    QString text(int debut, int fin) const override {
        if (debut > fin || zone()->echoMode() != QLineEdit::Normal) {
            return QString();
        }
        return zone()->text().mid(debut, fin - debut);
    }
    int characterCount() const override { return static_cast<int>(zone()->text().size()); }

    QRect characterRect(int offset) const override {
        const QString caractere = text(offset, offset + 1);
        if (caractere.isEmpty()) {
            return QRect();
        }
        const QFontMetrics metriques(zone()->font());
        const QString avant = zone()->text().left(offset);
        QRect rectangle(metriques.horizontalAdvance(avant), zone()->textMargins().top(),
                        metriques.horizontalAdvance(caractere), metriques.height());
        rectangle.moveTo(zone()->mapToGlobal(rectangle.topLeft()));
        return rectangle;
    }
    int offsetAtPoint(const QPoint& point) const override {
        return zone()->cursorPositionAt(zone()->mapFromGlobal(point));
    }
    void scrollToSubstring(int debut, int fin) override {
        zone()->setCursorPosition(fin);
        zone()->setCursorPosition(debut);
    }

    // Nothing of a hidden text is handed out; -2 is the cursor's offset.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType limite, int* debut,
                             int* fin) const override {
        if (!lisible(debut, fin)) {
            return QString();
        }
        return QAccessibleTextInterface::textBeforeOffset(ouCurseur(offset), limite, debut, fin);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType limite, int* debut,
                            int* fin) const override {
        if (!lisible(debut, fin)) {
            return QString();
        }
        return QAccessibleTextInterface::textAfterOffset(ouCurseur(offset), limite, debut, fin);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType limite, int* debut,
                         int* fin) const override {
        if (!lisible(debut, fin)) {
            return QString();
        }
        return QAccessibleTextInterface::textAtOffset(ouCurseur(offset), limite, debut, fin);
    }

    void deleteText(int debut, int fin) override {
        zone()->setText(zone()->text().remove(debut, fin - debut));
    }
    void insertText(int offset, const QString& texte) override {
        zone()->setText(zone()->text().insert(offset, texte));
    }
    void replaceText(int debut, int fin, const QString& texte) override {
        zone()->setText(zone()->text().replace(debut, fin - debut, texte));
    }

private:
    QLineEdit* zone() const { return static_cast<QLineEdit*>(object()); }

    bool lisible(int* debut, int* fin) const {
        if (zone()->echoMode() == QLineEdit::Normal) {
            return true;
        }
        *debut = *fin = -1;
        return false;
    }
    int ouCurseur(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

QAccessibleInterface* fabrique(const QString& classe, QObject* objet) {
    // A spin box's own line edit is read through its spin box, as Qt does.
    if (classe == QLatin1String("QLineEdit") &&
        objet->objectName() != QLatin1String("qt_spinbox_lineedit")) {
        return new SaisieAccessible(static_cast<QLineEdit*>(objet));
    }
    return nullptr;
}

} // namespace

void installerSaisieAccessible() {
    static const bool installee = [] {
        QAccessible::installFactory(&fabrique);
        return true;
    }();
    static_cast<void>(installee);
}
