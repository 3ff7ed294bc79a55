#include "platform/ShellDocumentsQt.h"

#include <QDesktopServices>
#include <QDir>
#include <QRegularExpression>
#include <QString>
#include <QUrl>

namespace {

// "mailto:", "http:", "https:"... A single letter before the colon would be a drive, not a scheme.
bool aUnSchema(const QString& cible) {
    static const QRegularExpression schema(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return schema.match(cible).hasMatch();
}

} // namespace

QUrl ShellDocumentsQt::adresseCible(const QByteArray& lpFile, const QByteArray& lpDirectory) {
    const QString cible = QString::fromLocal8Bit(lpFile);
    if (aUnSchema(cible)) {
        return QUrl(cible, QUrl::TolerantMode);
    }
    // A relative file: URL would be resolved by whoever receives it, against its own directory.
    const QDir base =
        lpDirectory.isEmpty() ? QDir::current() : QDir(QString::fromLocal8Bit(lpDirectory));
    return QUrl::fromLocalFile(QDir::cleanPath(base.absoluteFilePath(cible)));
}

long ShellDocumentsQt::ShellExecuteA(QWidget* hwnd, const QByteArray& lpOperation,
                                     const QByteArray& lpFile, const QByteArray& lpParameters,
                                     const QByteArray& lpDirectory, int nShowCmd) {
    (void)hwnd;
    (void)lpParameters;
    (void)nShowCmd;
    // Only opening is offered here, as the desktop knows no other verb.
    const QByteArray operation = lpOperation.toLower();
    if (!operation.isEmpty() && operation != "open") {
        return SE_ERR_NOASSOC;
    }
    if (lpFile.isEmpty()) {
        return SE_ERR_NOASSOC;
    }
    // The desktop starts the associated program in the background and does not wait for it.
    return QDesktopServices::openUrl(adresseCible(lpFile, lpDirectory)) ? SE_OUVERT
                                                                        : SE_ERR_NOASSOC;
}
