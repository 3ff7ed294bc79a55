#pragma once

#include "platform/ShellDocuments.h"

class QUrl;

// Results of the shell call that this stand-in can give.
inline constexpr long SE_ERR_FNF = 2;      // the file cannot be found
inline constexpr long SE_ERR_NOASSOC = 31; // nothing could open the target
inline constexpr long SE_OUVERT = 42;      // any value above 32 means success

// Opens documents, web pages and e-mail addresses with the desktop's associated programs through
// QDesktopServices. The owner window and the show command have no counterpart there: the desktop
// places the program it starts.
class ShellDocumentsQt : public ShellDocuments {
public:
    long ShellExecuteA(QWidget* hwnd, const QByteArray& lpOperation, const QByteArray& lpFile,
                       const QByteArray& lpParameters, const QByteArray& lpDirectory,
                       int nShowCmd) override;

    // The URL handed to the desktop: a target with a scheme as it stands, a file name as an
    // absolute file URL, resolved against the directory, or the current one when it is empty;
    // an empty URL when that directory no longer exists.
    static QUrl adresseCible(const QByteArray& lpFile, const QByteArray& lpDirectory);
};
