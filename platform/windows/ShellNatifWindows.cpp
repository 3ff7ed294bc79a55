#include "platform/windows/ShellNatifWindows.h"

#include <cstring>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace natif {

namespace {

LRESULT CALLBACK procedureIcone(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR donnees) {
    const auto* interception = reinterpret_cast<const Interception*>(donnees);
    if (message == interception->message && wParam == interception->uID && HIWORD(lParam) == 0) {
        interception->receveur(interception->contexte, LOWORD(lParam));
        return 0;
    }
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

} // namespace

bool intercepter(std::uintptr_t hWnd, const Interception* interception) {
    return ::SetWindowSubclass(reinterpret_cast<HWND>(hWnd), procedureIcone,
                               reinterpret_cast<UINT_PTR>(interception),
                               reinterpret_cast<DWORD_PTR>(interception)) != FALSE;
}

void cesserIntercepter(std::uintptr_t hWnd, const Interception* interception) {
    ::RemoveWindowSubclass(reinterpret_cast<HWND>(hWnd), procedureIcone,
                           reinterpret_cast<UINT_PTR>(interception));
}

std::uint32_t tailleEnregistrementV1() {
    return NOTIFYICONDATAA_V1_SIZE;
}

bool notifierIcone(std::uint32_t message, const EnregistrementIcone& enregistrement) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = reinterpret_cast<HWND>(enregistrement.hWnd);
    nid.uID = enregistrement.uID;
    nid.uFlags = enregistrement.uFlags;
    nid.uCallbackMessage = enregistrement.uCallbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(enregistrement.hIcon);
    static_assert(sizeof(nid.szTip) >= sizeof(enregistrement.szTip));
    std::memcpy(nid.szTip, enregistrement.szTip.data(), enregistrement.szTip.size());
    nid.szTip[sizeof(enregistrement.szTip) - 1] = '\0'; // the shell reads up to a NUL
    return ::Shell_NotifyIconA(message, &nid) != FALSE;
}

std::uintptr_t creerIcone(const QIcon& image) {
    const int cote = ::GetSystemMetrics(SM_CXSMICON);
    const QPixmap dessin = image.pixmap(QSize(cote, cote));
    if (dessin.isNull()) {
        return 0;
    }
    return reinterpret_cast<std::uintptr_t>(dessin.toImage().toHICON());
}

void detruireIcone(std::uintptr_t hIcon) {
    if (hIcon != 0) {
        ::DestroyIcon(reinterpret_cast<HICON>(hIcon));
    }
}

std::uint32_t messageBarreCreee() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

void accepterMessageBarreCreee(std::uintptr_t hWnd) {
    ::ChangeWindowMessageFilterEx(reinterpret_cast<HWND>(hWnd), messageBarreCreee(), MSGFLT_ALLOW,
                                  nullptr);
}

Message lireMessage(const void* msg) {
    const auto* m = static_cast<const MSG*>(msg);
    return {reinterpret_cast<std::uintptr_t>(m->hwnd), m->message, m->wParam, m->lParam};
}

std::optional<std::size_t> ouvrirMenu(std::uintptr_t hWnd, const std::vector<ElementMenu>& elements,
                                      std::optional<std::size_t> parDefaut, int x, int y) {
    const HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) {
        return std::nullopt;
    }
    // Each item's command is its position plus one: the menu answers 0 when nothing is chosen.
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const ElementMenu& element = elements[i];
        const UINT_PTR commande = i + 1;
        if (element.separateur) {
            ::AppendMenuW(menu, MF_SEPARATOR, commande, nullptr);
        } else {
            ::AppendMenuW(menu, MF_STRING | (element.actif ? MF_ENABLED : MF_GRAYED), commande,
                          element.texte.c_str());
        }
    }
    if (parDefaut && *parDefaut < elements.size()) {
        ::SetMenuDefaultItem(menu, static_cast<UINT>(*parDefaut + 1), FALSE);
    }

    const auto fenetre = reinterpret_cast<HWND>(hWnd);
    UINT options = TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
    options |= ::GetSystemMetrics(SM_MENUDROPALIGNMENT) != 0 ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    ::SetForegroundWindow(fenetre);
    const BOOL commande = ::TrackPopupMenuEx(menu, options, x, y, fenetre, nullptr);
    ::PostMessageW(fenetre, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
    if (commande <= 0 || static_cast<std::size_t>(commande) > elements.size()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(commande) - 1;
}

} // namespace natif
