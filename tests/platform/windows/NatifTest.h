#pragma once
// What the Windows tests ask of the system directly, apart from the program's records whose
// names the system's headers take as macros.

#include <cstdint>
#include <string>

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

} // namespace natiftest
