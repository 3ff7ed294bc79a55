#pragma once

#include "platform/ShellIcone.h"

#include <cstdint>
#include <optional>
#include <QString>

// The notification-icon record, as the program holds it: the shell's record, and its tooltip
// field as text of exactly 64 characters, turned into the 8-bit code page for each call.
struct DonneesIcone {
    NOTIFYICONDATA nid;
    QString szTip = QString(64, QChar(u'\0'));
};

// The one record of the process, reused by every call: a field that a call does not set keeps
// the value of the previous call.
DonneesIcone& DonneesIconeProcessus();

// Fills the process-wide record for the window and hands it to the shell with the given action
// (NIM_ADD, NIM_DELETE). The icon and the tooltip are set only when passed; a tooltip is followed
// by a NUL and blanks up to 64 characters, and a longer one is cut at 64. The shell's answer is
// not looked at.
void IconeNotification(ShellIcone& shell, QWidget* fenetre, std::int16_t action,
                       const std::optional<QIcon>& icone = std::nullopt,
                       const std::optional<QString>& infobulle = std::nullopt);
