#include "layout/see_through_win.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/messages_win.h"
#include "base/owned_win.h"
#include "layout/see_through.h"
#include "view/picture_save_win.h"

namespace {

// The hotkey's and the icon's ids, the window's own.
constexpr int click_through_hotkey_id = 1;
constexpr UINT click_through_icon_id = 1;
constexpr UINT give_back_item = 1;
constexpr wchar_t icon_tip[] = L"Tavisko: click to give the mouse back";
constexpr wchar_t started_tip[] = L"Click through: Ctrl+Alt+Shift+T gives the mouse back";
constexpr wchar_t refused_tip[] = L"Click through is off: another program uses Ctrl+Alt+Shift+T";

// WS_EX_LAYERED only while something needs it: an opaque window without
// click-through is exactly the window it always was. The alpha covers the
// child controls too. Taking the bit away asks for a repaint, as Microsoft
// describes for making a layered window opaque again:
// https://learn.microsoft.com/en-us/windows/win32/winmsg/using-windows#using-layered-windows
void apply_layering() {
    const HWND window = main_window.handle;
    const bool through = main_window.click_through.on;
    const auto current = DWORD(GetWindowLongW(window, GWL_EXSTYLE));
    DWORD wanted = current & ~DWORD(WS_EX_LAYERED | WS_EX_TRANSPARENT);
    wanted |= settings.opacity < opacity_opaque || through ? WS_EX_LAYERED : 0;
    wanted |= through ? WS_EX_TRANSPARENT : 0;
    if (wanted != current) {
        SetWindowLongW(window, GWL_EXSTYLE, LONG(wanted));
    }
    if ((wanted & WS_EX_LAYERED) != 0) {
        // A newly layered window shows nothing until this call.
        SetLayeredWindowAttributes(window, 0, opacity_alpha(settings.opacity), LWA_ALPHA);
    } else if ((current & WS_EX_LAYERED) != 0) {
        RedrawWindow(window, nullptr, nullptr,
                     RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

// The icon by its id, not a GUID: Windows ties an icon's GUID to the path of
// the program that first showed it, and this one runs from wherever it was
// unzipped.
NOTIFYICONDATAW icon_data() {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = main_window.handle;
    icon.uID = click_through_icon_id;
    return icon;
}

// Without the icon (no notification area, Explorer not running) the hotkey
// is still the way back.
void show_icon() {
    NOTIFYICONDATAW icon = icon_data();
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    icon.uCallbackMessage = WM_APP_NOTIFY_ICON;
    // Shared: the system keeps it, nothing to destroy.
    icon.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    static_assert(std::size(icon_tip) <= std::size(NOTIFYICONDATAW{}.szTip));
    std::copy(std::begin(icon_tip), std::end(icon_tip), icon.szTip);
    main_window.click_through.icon_shown = Shell_NotifyIconW(NIM_ADD, &icon) != FALSE;
    if (main_window.click_through.icon_shown) {
        icon.uVersion = NOTIFYICON_VERSION_4; // NIN_SELECT and WM_CONTEXTMENU
        Shell_NotifyIconW(NIM_SETVERSION, &icon);
    }
}

void remove_icon() {
    if (main_window.click_through.icon_shown) {
        NOTIFYICONDATAW icon = icon_data();
        Shell_NotifyIconW(NIM_DELETE, &icon);
        main_window.click_through.icon_shown = false;
    }
}

void start_click_through() {
    // Without its hotkey there would be no sure way back: another program
    // holding the combination keeps click-through off.
    if (!RegisterHotKey(main_window.handle, click_through_hotkey_id,
                        MOD_CONTROL | MOD_ALT | MOD_SHIFT | MOD_NOREPEAT, 'T')) {
        show_window_tip(refused_tip);
        return;
    }
    main_window.click_through.on = true;
    show_icon();
    apply_layering();
    show_window_tip(started_tip);
}

void end_click_through() {
    if (!main_window.click_through.on) {
        return;
    }
    main_window.click_through.on = false;
    UnregisterHotKey(main_window.handle, click_through_hotkey_id);
    remove_icon();
    apply_layering();
}

// The icon's menu, opened as TrackPopupMenu's remarks ask for a notification
// icon: the window in the foreground first, or the menu would not close on a
// click elsewhere, and a WM_NULL afterwards so that a second opening works.
// https://learn.microsoft.com/en-us/windows/win32/api/winuser/nf-winuser-trackpopupmenu
void open_icon_menu(POINT at) {
    const OwnedMenu menu{CreatePopupMenu()};
    AppendMenuW(menu.get(), MF_STRING, give_back_item, L"Give the mouse back");
    SetForegroundWindow(main_window.handle);
    const auto choice = UINT(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                              at.y, main_window.handle, nullptr));
    PostMessageW(main_window.handle, WM_NULL, 0, 0);
    if (choice == give_back_item) {
        end_click_through();
    }
}

// NOTIFYICON_VERSION_4: the event in lParam's low word, the anchor point on
// the screen in wParam.
void on_icon_event(WPARAM wparam, LPARAM lparam) {
    switch (LOWORD(lparam)) {
    case NIN_SELECT:
    case NIN_KEYSELECT:
        end_click_through();
        break;
    case WM_CONTEXTMENU:
        open_icon_menu(POINT{GET_X_LPARAM(wparam), GET_Y_LPARAM(wparam)});
        break;
    default:
        break;
    }
}

} // namespace

void see_through_create() {
    main_window.click_through.taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    apply_layering();
}

void see_through_destroy() {
    end_click_through();
}

void set_opacity(int32_t percent) {
    settings.opacity = percent;
    click_through_follow_view();
    apply_layering();
    arm_timer(TIMER_SAVE);
}

bool click_through_possible() {
    const bool compact = settings.compact != 0 && !main_window.full_screen.on;
    return settings.opacity < opacity_opaque || compact;
}

void toggle_click_through() {
    if (main_window.click_through.on) {
        end_click_through();
    } else if (click_through_possible()) {
        start_click_through();
    }
}

void click_through_follow_view() {
    if (!click_through_possible()) {
        end_click_through();
    }
}

bool on_click_through_message(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_HOTKEY && wparam == click_through_hotkey_id) {
        end_click_through();
    } else if (message == WM_APP_NOTIFY_ICON) {
        on_icon_event(wparam, lparam);
    } else if (message != 0 && message == main_window.click_through.taskbar_created) {
        // Explorer started again, with an empty notification area. An icon
        // that survived is taken away first, or the new one would not be added.
        if (main_window.click_through.on) {
            remove_icon();
            show_icon();
        }
    } else {
        return false;
    }
    return true;
}
