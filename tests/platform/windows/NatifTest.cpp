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

HWND fenetreMenu() {
    HWND fenetre = nullptr;
    while ((fenetre = ::FindWindowExW(nullptr, fenetre, L"#32768", nullptr)) != nullptr) {
        if (::IsWindowVisible(fenetre) != FALSE) {
            return fenetre;
        }
    }
    return nullptr;
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

std::optional<MenuVu> menuOuvert() {
    const HWND fenetre = fenetreMenu();
    if (fenetre == nullptr) {
        return std::nullopt;
    }
    const auto menu = reinterpret_cast<HMENU>(::SendMessageW(fenetre, MN_GETHMENU, 0, 0));
    if (menu == nullptr) {
        return std::nullopt;
    }
    MenuVu vu;
    const int nombre = ::GetMenuItemCount(menu);
    for (int i = 0; i < nombre; ++i) {
        wchar_t texte[128] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), texte, 128, MF_BYPOSITION);
        const UINT etat = ::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        vu.textes.emplace_back(texte);
        vu.grises.push_back((etat & MF_SEPARATOR) == 0 && (etat & (MF_GRAYED | MF_DISABLED)) != 0);
    }
    vu.parDefaut = static_cast<int>(::GetMenuDefaultItem(menu, TRUE, 0));
    RECT cadre{};
    ::GetWindowRect(fenetre, &cadre);
    vu.x = cadre.left;
    vu.y = cadre.top;
    vu.premierPlan = reinterpret_cast<std::uintptr_t>(::GetForegroundWindow());
    return vu;
}

void taperDansMenu(wchar_t caractere) {
    ::PostMessageW(fenetreMenu(), WM_CHAR, caractere, 0);
}

void echapperMenu() {
    ::PostMessageW(fenetreMenu(), WM_KEYDOWN, VK_ESCAPE, 0);
}

void finirMenu() {
    ::EndMenu();
}

} // namespace natiftest
