#include "platform/ShellDocumentsQt.h"

#include "platform/Journal.h"

#include <optional>
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

// The directory a relative name is resolved against, or nothing where it cannot be known: the
// current directory deleted leaves no absolute path to build.
std::optional<QDir> repertoireDeBase(const QByteArray& lpDirectory) {
    const QDir donne(QString::fromLocal8Bit(lpDirectory));
    if (!lpDirectory.isEmpty() && donne.isAbsolute()) {
        return donne;
    }
    const QString courant = QDir::currentPath();
    if (courant.isEmpty() || !QDir(courant).exists()) {
        return std::nullopt;
    }
    return lpDirectory.isEmpty() ? QDir(courant) : QDir(QDir(courant).filePath(donne.path()));
}

} // namespace

QUrl ShellDocumentsQt::adresseCible(const QByteArray& lpFile, const QByteArray& lpDirectory) {
    const QString cible = QString::fromLocal8Bit(lpFile);
    if (aUnSchema(cible)) {
        return QUrl(cible, QUrl::TolerantMode);
    }
    if (QDir::isAbsolutePath(cible)) {
        return QUrl::fromLocalFile(QDir::cleanPath(cible));
    }
    // A relative file: URL would be resolved by whoever receives it, against its own directory.
    const auto base = repertoireDeBase(lpDirectory);
    if (!base) {
        return QUrl();
    }
    return QUrl::fromLocalFile(QDir::cleanPath(base->absoluteFilePath(cible)));
}

long ShellDocumentsQt::ShellExecuteA(QWidget*, const QByteArray& lpOperation,
                                     const QByteArray& lpFile, const QByteArray&,
                                     const QByteArray& lpDirectory, int) {
    // Only opening is offered here, as the desktop knows no other verb.
    const QByteArray operation = lpOperation.toLower();
    if (!operation.isEmpty() && operation != "open") {
        qCWarning(journalPlateforme)
            << "opening" << lpFile << "refused: the desktop knows no verb" << lpOperation;
        return SE_ERR_NOASSOC;
    }
    if (lpFile.isEmpty()) {
        qCWarning(journalPlateforme) << "opening refused: no target given";
        return SE_ERR_NOASSOC;
    }
    const QUrl adresse = adresseCible(lpFile, lpDirectory);
    if (adresse.isEmpty()) {
        qCWarning(journalPlateforme)
            << "opening" << lpFile << "refused: the current directory no longer exists";
        return SE_ERR_FNF;
    }
    // The desktop starts the associated program in the background and does not wait for it.
    if (!QDesktopServices::openUrl(adresse)) {
        qCWarning(journalPlateforme)
            << "opening" << adresse.toString()
            << "failed: the desktop's opener refused it or could not start";
        return SE_ERR_NOASSOC;
    }
    return SE_OUVERT;
}
