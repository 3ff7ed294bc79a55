#include "platform/windows/ShellDocumentsWindows.h"

#include "platform/Journal.h"

#include <QWidget>
#include <windows.h>
#include <shellapi.h>

long ShellDocumentsWindows::ShellExecuteA(QWidget* hwnd, const QByteArray& lpOperation,
                                          const QByteArray& lpFile, const QByteArray& lpParameters,
                                          const QByteArray& lpDirectory, int nShowCmd) {
    const HWND proprietaire = hwnd != nullptr ? reinterpret_cast<HWND>(hwnd->winId()) : nullptr;
    // constData() of an empty array is an empty text, never a null pointer.
    const HINSTANCE reponse =
        ::ShellExecuteA(proprietaire, lpOperation.constData(), lpFile.constData(),
                        lpParameters.constData(), lpDirectory.constData(), nShowCmd);
    const auto resultat = static_cast<long>(reinterpret_cast<INT_PTR>(reponse));
    if (resultat <= 32) {
        qCWarning(journalPlateforme)
            << "opening" << lpFile << "failed: the shell answered" << resultat;
    }
    return resultat;
}
