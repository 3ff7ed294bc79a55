// The buttons that open documents, web pages and a new e-mail with the desktop's programs.
#include "platform/ShellDocuments.h"
#include "ui/about/Apropos.h"
#include "ui/about/DocumentsApropos.h"

#include <QByteArray>
#include <QString>

void Apropos::OuvrirDocument(const QString& cible) {
    // The box itself owns whatever the shell opens, not the main window. Parameters and
    // directory are empty texts, not null ones: a file name is then looked for in the current
    // directory. Whether anything opened is of no concern here: nothing is reported.
    m_services.documents.ShellExecuteA(this, QByteArray("Open"), cible.toLocal8Bit(),
                                       QByteArray(""), QByteArray(""), SW_SHOWMAXIMIZED);
}

void Apropos::EMail_Click() {
    OuvrirDocument(QStringLiteral("mailto:") + QString::fromUtf8(AdresseEMail));
}

void Apropos::Internet_Click() {
    OuvrirDocument(QString::fromUtf8(SiteAuteur));
}

void Apropos::SSCommand1_Click() {
    OuvrirDocument(QString::fromUtf8(DocumentVelk));
}

void Apropos::SSCommand2_Click() {
    OuvrirDocument(QString::fromUtf8(DocumentAdhesion));
}

void Apropos::SSCommand3_Click() {
    OuvrirDocument(QString::fromUtf8(DocumentAide));
}

void Apropos::SSCommand4_Click() {
    OuvrirDocument(QString::fromUtf8(DocumentPage));
}

void Apropos::SSCommand5_Click() {
    OuvrirDocument(QString::fromUtf8(SiteVelk));
}
