#pragma once

#include "platform/ShellDocuments.h"

// The shell's own ShellExecuteA: the owner window's handle, the operation, the target, the
// parameters and the directory as given (empty texts, not null pointers), and the show command.
class ShellDocumentsWindows : public ShellDocuments {
public:
    long ShellExecuteA(QWidget* hwnd, const QByteArray& lpOperation, const QByteArray& lpFile,
                       const QByteArray& lpParameters, const QByteArray& lpDirectory,
                       int nShowCmd) override;
};
