#include "platform/unix/ShellDocumentsQt.h"

#include "platform/Journal.h"

#include <cstdlib>
#include <optional>
#include <QDesktopServices>
#include <QDir>
#include <QRegularExpression>
#include <QString>
#include <QUrl>
#include <unistd.h>

namespace {

// "mailto:", "http:", "https:"... A single letter before the colon would be a drive, not a scheme.
bool aUnSchema(const QString& cible) {
    static const QRegularExpression schema(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return schema.match(cible).hasMatch();
}

// The current directory as the system has it, byte for byte, or nothing where it cannot be known:
// deleted, or out of this process's reach. Never through text, which would turn a name that is
// not valid in the locale's encoding into another, perhaps another account's.
std::optional<QByteArray> repertoireCourant() {
    char* courant = ::getcwd(nullptr, 0);
    if (courant == nullptr) {
        return std::nullopt;
    }
    const QByteArray chemin(courant);
    std::free(courant);
    if (!chemin.startsWith('/')) {
        return std::nullopt;
    }
    return chemin;
}

// The directory a relative name is resolved against, or nothing where it cannot be known.
std::optional<QByteArray> repertoireDeBase(const QByteArray& lpDirectory) {
    if (lpDirectory.startsWith('/')) {
        return lpDirectory;
    }
    const auto courant = repertoireCourant();
    if (!courant || lpDirectory.isEmpty()) {
        return courant;
    }
    return *courant + '/' + lpDirectory;
}

// The file URL of a path, its bytes percent-encoded as they are.
QUrl adresseFichier(const QByteArray& chemin) {
    // Latin-1 takes each byte to one character and back: the cleaning sees the bytes unchanged.
    const QByteArray propre = QDir::cleanPath(QString::fromLatin1(chemin)).toLatin1();
    return QUrl::fromEncoded("file://" + propre.toPercentEncoding("/"), QUrl::StrictMode);
}

} // namespace

QUrl ShellDocumentsQt::adresseCible(const QByteArray& lpFile, const QByteArray& lpDirectory) {
    const QString cible = QString::fromLocal8Bit(lpFile);
    if (aUnSchema(cible)) {
        return QUrl(cible, QUrl::TolerantMode);
    }
    if (lpFile.startsWith('/')) {
        return adresseFichier(lpFile);
    }
    // A relative file: URL would be resolved by whoever receives it, against its own directory.
    const auto base = repertoireDeBase(lpDirectory);
    if (!base) {
        return QUrl();
    }
    return adresseFichier(*base + '/' + lpFile);
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
