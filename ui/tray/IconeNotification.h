#pragma once

#include "platform/ShellIcone.h"

#include <cstdint>
#include <optional>
#include <QString>

// What the program writes in the record's size field: the size in bytes of the record's form that
// it fills, in the shell's 8-bit characters, for the architecture it is built for.
inline constexpr std::uint32_t TailleEnregistrementIcone = TailleNotifyIconDataV1;
// The program has one icon; the shell knows it by its window and this number.
inline constexpr std::uint32_t IdentifiantIcone = 1;

// The notification-icon record, as the program holds it: the shell's record, and its tooltip
// field as text of exactly LongueurInfobulle characters, turned into the 8-bit code page for each
// call. One record lives as long as the icon's owner and is reused by every call: a field that a
// call does not set keeps the value of the previous call.
struct DonneesIcone {
    NOTIFYICONDATA nid;
    QString szTip = QString(LongueurInfobulle, QChar(u'\0'));
};

// Fills the record for the window and hands it to the shell with the given action (NIM_ADD,
// NIM_DELETE). The icon and the tooltip are set only when passed; a tooltip is followed by a NUL
// and blanks up to the field's width, and a longer one is cut there. Returns the shell's answer;
// a refusal also leaves a warning.
bool IconeNotification(ShellIcone& shell, DonneesIcone& donnees, QWidget* fenetre,
                       std::int16_t action, const std::optional<QIcon>& icone = std::nullopt,
                       const std::optional<QString>& infobulle = std::nullopt);
