#pragma once

#include <array>
#include <cstdint>
#include <QIcon>

class QAction;
class QMenu;
class QPoint;
class QWidget;

// Messages and flags of the shell's notification-icon call.
inline constexpr std::uint32_t NIM_ADD = 0;
inline constexpr std::uint32_t NIM_MODIFY = 1;
inline constexpr std::uint32_t NIM_DELETE = 2;
inline constexpr std::uint32_t NIF_MESSAGE = 1;
inline constexpr std::uint32_t NIF_ICON = 2;
inline constexpr std::uint32_t NIF_TIP = 4;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x200;

// Mouse-message codes that the shell reports for a click on the icon.
inline constexpr int WM_LBUTTONDOWN = 0x201;
inline constexpr int WM_LBUTTONDBLCLK = 0x203;
inline constexpr int WM_RBUTTONDOWN = 0x204;
inline constexpr int WM_RBUTTONUP = 0x205;
inline constexpr int WM_MBUTTONDOWN = 0x207;

// Width of the record's tooltip field, in 8-bit characters.
inline constexpr int LongueurInfobulle = 64;

// The size of the record's first form, up to its tooltip, as the shell of this architecture lays
// it out: 88 bytes where handles take 32 bits, 104 where they take 64 (the handles are aligned).
namespace disposition {
struct NotifyIconDataV1 {
    std::uint32_t cbSize;
    void* hWnd;
    std::uint32_t uID;
    std::uint32_t uFlags;
    std::uint32_t uCallbackMessage;
    void* hIcon;
    char szTip[LongueurInfobulle];
};
} // namespace disposition
inline constexpr auto TailleNotifyIconDataV1 =
    static_cast<std::uint32_t>(sizeof(disposition::NotifyIconDataV1));
static_assert(sizeof(void*) != 4 || TailleNotifyIconDataV1 == 88);

// The record handed to the shell for the notification icon, in its 8-bit-character form.
struct NOTIFYICONDATA {
    std::uint32_t cbSize = 0;
    QWidget* hWnd = nullptr; // the window that receives the icon's callback message
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    QIcon hIcon;
    std::array<char, LongueurInfobulle> szTip{}; // NUL-terminated, in the 8-bit code page
};

// Where the toolkit delivers a mouse-move message to a window: its form's handler, with the
// horizontal position X in twips. A window named in hWnd offers it to receive the icon's clicks.
class ProcedureFenetre {
public:
    virtual void Form_MouseMove(int Button, int Shift, float X, float Y) = 0;

protected:
    ~ProcedureFenetre() = default;
};

// The shell's notification-icon call. The program's implementation stands on QSystemTrayIcon and
// reports clicks on the icon to hWnd as its callback message; tests hand a recorder.
class ShellIcone {
public:
    virtual ~ShellIcone() = default;

    virtual bool Shell_NotifyIconA(std::uint32_t dwMessage, const NOTIFYICONDATA& lpData) = 0;

    // The menu that trays drawing their own menus (StatusNotifierItem hosts) show on a right
    // click, where the icon's messages cannot open it. Given before the icon is added.
    virtual void associerMenu(QMenu*) {}

    // Opens the icon's pop-up menu at a screen position and returns once it is closed: the item
    // chosen, which has been triggered as well, or nullptr. The toolkit's own menu, unless the
    // shell has one of its own.
    virtual QAction* ouvrirMenu(QMenu& menu, const QPoint& position);
};
