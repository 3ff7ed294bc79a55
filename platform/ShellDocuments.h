#pragma once

#include <QByteArray>

class QWidget;

inline constexpr int SW_SHOWMAXIMIZED = 3;

// The shell's "open with the associated program" call. The program's implementation stands on
// QDesktopServices; tests hand a recorder. Texts are in the 8-bit code page.
class ShellDocuments {
public:
    virtual ~ShellDocuments() = default;

    // Returns a value above 32 on success, as the shell does; callers here never look at it.
    virtual long ShellExecuteA(QWidget* hwnd, const QByteArray& lpOperation,
                               const QByteArray& lpFile, const QByteArray& lpParameters,
                               const QByteArray& lpDirectory, int nShowCmd) = 0;
};
