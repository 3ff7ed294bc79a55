#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QIcon;

// The Windows shell's notification-icon calls, in types of this file's own. The system's headers
// define macros and types under the very names the program's records use (NOTIFYICONDATA,
// NIM_ADD, WM_MOUSEMOVE), so they are included in ShellNatifWindows.cpp alone.
namespace natif {

// The fields of NOTIFYICONDATAA that the program fills, handles as integers.
struct EnregistrementIcone {
    std::uintptr_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uintptr_t hIcon = 0;
    std::array<char, 64> szTip{};
};

// NOTIFYICONDATAA_V1_SIZE: the record up to its 64-character tooltip, as this architecture lays
// it out (88 bytes with 32-bit handles, 104 with 64-bit ones).
std::uint32_t tailleEnregistrementV1();

// Shell_NotifyIconA with a record of that size; its answer.
bool notifierIcone(std::uint32_t message, const EnregistrementIcone& enregistrement);

// A system icon of the small-icon size drawn from the picture (0 when it cannot be made), and
// its release.
std::uintptr_t creerIcone(const QIcon& image);
void detruireIcone(std::uintptr_t hIcon);

// The message that Windows broadcasts to every top-level window when the task bar is created
// anew (Explorer restarted). Windows below the program's integrity level may send it too.
std::uint32_t messageBarreCreee();
void accepterMessageBarreCreee(std::uintptr_t hWnd);

// Hands the icon's messages to the window to a handler before the toolkit sees them: the shell
// sends them (a sent message never passes through the toolkit's event filters), and the toolkit
// would take them for real mouse moves. A message of the icon carries the icon's number in
// wParam and the mouse message alone in lParam, where a real move has its position.
using ReceveurIcone = void (*)(void* contexte, std::uint32_t code);
struct Interception {
    std::uint32_t message = 0;
    std::uint32_t uID = 0;
    ReceveurIcone receveur = nullptr;
    void* contexte = nullptr;
};
bool intercepter(std::uintptr_t hWnd, const Interception* interception);
void cesserIntercepter(std::uintptr_t hWnd, const Interception* interception);

// A window message as Qt's native event filter hands it (an MSG).
struct Message {
    std::uintptr_t hWnd = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};
Message lireMessage(const void* msg);

// An item of the system's own pop-up menu: its text, with & before the letter that chooses it, or
// a separator.
struct ElementMenu {
    std::wstring texte;
    bool separateur = false;
    bool actif = true; // greyed otherwise
};

// Opens a pop-up menu of the system's own with those items, the one at parDefaut (if any) in
// bold, at a screen position in the screen's own pixels, for the window hWnd; returns once it is
// closed: the position of the item chosen, or nothing. The window is put in the foreground
// first, or the menu would not close when the user clicks elsewhere, and is sent a message
// after, or a second opening would close at once.
std::optional<std::size_t> ouvrirMenu(std::uintptr_t hWnd, const std::vector<ElementMenu>& elements,
                                      std::optional<std::size_t> parDefaut, int x, int y);

} // namespace natif
