#pragma once

#include "platform/ServiceMessages.h"

// Real message boxes: a modal QMessageBox with one OK button, returning when it is pressed.
// The style's icon group is honoured (16 critical stop, 32 question, 48 exclamation,
// 64 information); the button group is not, since callers get no answer back.
// An empty title stays empty on screen: Qt would otherwise show the program's name there.
class BoiteMessageQt : public ServiceMessages {
public:
    void MsgBox(QWidget* parent, const QString& texte, int style, const QString& titre) override;
};
