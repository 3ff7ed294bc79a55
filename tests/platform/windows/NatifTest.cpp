#include "tests/platform/windows/NatifTest.h"

#include <thread>
#include <windows.h>
#include <shellapi.h>

namespace natiftest {

namespace {

NOTIFYICONDATAA enregistrement(std::uintptr_t hWnd, std::uint32_t uID) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = reinterpret_cast<HWND>(hWnd);
    nid.uID = uID;
    return nid;
}

} // namespace

bool iconePresente(std::uintptr_t hWnd, std::uint32_t uID) {
    NOTIFYICONDATAA nid = enregistrement(hWnd, uID);
    return ::Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

void oublierIcone(std::uintptr_t hWnd, std::uint32_t uID) {
    NOTIFYICONDATAA nid = enregistrement(hWnd, uID);
    ::Shell_NotifyIconA(NIM_DELETE, &nid);
}

void annoncerBarreCreee(std::uintptr_t hWnd) {
    ::SendMessageA(reinterpret_cast<HWND>(hWnd), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
}

void notifier(std::uintptr_t hWnd, std::uint32_t message, std::uintptr_t wParam,
              std::intptr_t lParam) {
    std::thread([=] {
        ::SendNotifyMessageA(reinterpret_cast<HWND>(hWnd), message, wParam, lParam);
    }).join();
}

} // namespace natiftest
