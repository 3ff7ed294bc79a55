#pragma once
// What the Windows tests ask of the system directly, apart from the program's records whose
// names the system's headers take as macros.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace natiftest {

// Whether the task bar holds the icon (hWnd, uID): it accepts a change only to an icon it holds.
bool iconePresente(std::uintptr_t hWnd, std::uint32_t uID);
// Deletes the icon behind the program's back, as a dying task bar takes its icons along.
void oublierIcone(std::uintptr_t hWnd, std::uint32_t uID);
// What a new task bar broadcasts, sent to one window.
void annoncerBarreCreee(std::uintptr_t hWnd);
// A message sent to the window from another thread without waiting for it, as the shell sends
// the icon's callback: it never passes through the event loop's queue.
void notifier(std::uintptr_t hWnd, std::uint32_t message, std::uintptr_t wParam,
              std::intptr_t lParam);

// The system's own pop-up menu on screen, as its window holds it.
struct MenuVu {
    std::vector<std::wstring> textes; // empty for a separator
    std::vector<bool> grises;         // never a separator
    int parDefaut = -1;               // the default item's position
    int x = 0;                        // the window's top left corner, in the screen's pixels
    int y = 0;
    std::uintptr_t premierPlan = 0; // the foreground window while it is up
};
// The one up, if any.
std::optional<MenuVu> menuOuvert();
// A key pressed in the menu that is up: a character chooses the item it marks, Escape closes it.
void taperDansMenu(wchar_t caractere);
void echapperMenu();
// Closes whatever menu of this thread is up, as the program's own end would.
void finirMenu();

} // namespace natiftest
