#include "platform/BoiteMessageQt.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon icone(int style) {
    constexpr int groupeIcone = 0x70;
    switch (style & groupeIcone) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// On X11 Qt replaces an empty window title with the application's name; a lone blank shows an
// empty title bar and is the nearest title to no title at all.
QString titreAffiche(const QString& titre) {
    return titre.isEmpty() ? QStringLiteral(" ") : titre;
}

} // namespace

void BoiteMessageQt::MsgBox(QWidget* parent, const QString& texte, int style,
                            const QString& titre) {
    QMessageBox boite(icone(style), titreAffiche(titre), texte, QMessageBox::Ok, parent);
    // Messages are shown as written, never read as markup.
    boite.setTextFormat(Qt::PlainText);
    // A plain "OK", without the picture that some styles put beside a dialog button's text.
    boite.button(QMessageBox::Ok)->setIcon(QIcon());
    boite.exec();
}
