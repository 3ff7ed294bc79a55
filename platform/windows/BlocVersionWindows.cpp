#include "platform/BlocVersionProgramme.h"
#include "platform/BlocVersionSysteme.h"
#include "platform/Journal.h"

#include <QCoreApplication>
#include <QDir>
#include <vector>
#include <windows.h>

namespace {

// One text of the block's StringFileInfo table, in UTF-8; empty when the entry is missing.
std::string texte(const std::vector<char>& bloc, const QString& table, const wchar_t* entree) {
    const std::wstring chemin =
        (QStringLiteral("\\StringFileInfo\\") + table + QLatin1Char('\\')).toStdWString() + entree;
    void* valeur = nullptr;
    UINT longueur = 0;
    if (!::VerQueryValueW(bloc.data(), chemin.c_str(), &valeur, &longueur) || longueur == 0) {
        return {};
    }
    // The length counts the final NUL.
    const auto* caracteres = static_cast<const wchar_t*>(valeur);
    QString lu = QString::fromWCharArray(caracteres, static_cast<qsizetype>(longueur));
    while (lu.endsWith(QChar(u'\0'))) {
        lu.chop(1);
    }
    return lu.toStdString();
}

} // namespace

std::optional<BlocVersion> lireBlocVersion(const QString& fichier) {
    const std::wstring nom = QDir::toNativeSeparators(fichier).toStdWString();
    DWORD inutile = 0;
    const DWORD taille = ::GetFileVersionInfoSizeW(nom.c_str(), &inutile);
    if (taille == 0) {
        return std::nullopt;
    }
    std::vector<char> bloc(taille);
    if (!::GetFileVersionInfoW(nom.c_str(), 0, taille, bloc.data())) {
        return std::nullopt;
    }

    void* valeur = nullptr;
    UINT longueur = 0;
    if (!::VerQueryValueW(bloc.data(), L"\\", &valeur, &longueur) ||
        longueur < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixe = static_cast<const VS_FIXEDFILEINFO*>(valeur);
    BlocVersion lu;
    lu.majeure = HIWORD(fixe->dwFileVersionMS);
    lu.mineure = LOWORD(fixe->dwFileVersionMS);
    lu.revision = HIWORD(fixe->dwFileVersionLS);
    lu.construction = LOWORD(fixe->dwFileVersionLS);

    // The texts are in the table of the block's first language and code page ("040C04B0").
    struct Traduction {
        WORD langue;
        WORD pageDeCode;
    };
    if (!::VerQueryValueW(bloc.data(), L"\\VarFileInfo\\Translation", &valeur, &longueur) ||
        longueur < sizeof(Traduction)) {
        return std::nullopt;
    }
    const auto* traduction = static_cast<const Traduction*>(valeur);
    const QString table = QStringLiteral("%1%2")
                              .arg(traduction->langue, 4, 16, QLatin1Char('0'))
                              .arg(traduction->pageDeCode, 4, 16, QLatin1Char('0'))
                              .toUpper();
    lu.FileVersion = texte(bloc, table, L"FileVersion");
    lu.ProductVersion = texte(bloc, table, L"ProductVersion");
    lu.ProductName = texte(bloc, table, L"ProductName");
    lu.InternalName = texte(bloc, table, L"InternalName");
    lu.OriginalFilename = texte(bloc, table, L"OriginalFilename");
    lu.Comments = texte(bloc, table, L"Comments");
    lu.FileDescription = texte(bloc, table, L"FileDescription");
    lu.LegalCopyright = texte(bloc, table, L"LegalCopyright");
    lu.CompanyName = texte(bloc, table, L"CompanyName");
    lu.LegalTrademarks = texte(bloc, table, L"LegalTrademarks");
    return lu;
}

BlocVersion BlocVersionSysteme() {
    const QString executable = QCoreApplication::applicationFilePath();
    if (auto lu = lireBlocVersion(executable)) {
        return *std::move(lu);
    }
    qCWarning(journalPlateforme) << executable
                                 << "carries no version resource: the compiled-in block is shown";
    return BlocVersionProgramme();
}
