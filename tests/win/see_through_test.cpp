// See-through and click-through on the real main window, with a window of
// another process below it.

#include "../e2e/e2e_support.h"
#include "app_fixture.h"

#include <shellapi.h>

#include "base/messages_win.h"
#include "view/picture_save_win.h"

namespace {

struct SeeThroughTest : AppWindowTest {
    static DWORD layering() {
        const auto style = DWORD(GetWindowLongW(main_window.handle, GWL_EXSTYLE));
        return style & (WS_EX_LAYERED | WS_EX_TRANSPARENT);
    }
    static int alpha() { // -1 without LWA_ALPHA
        BYTE alpha = 0;
        DWORD flags = 0;
        const bool read = GetLayeredWindowAttributes(main_window.handle, nullptr, &alpha, &flags);
        return read && flags == LWA_ALPHA ? alpha : -1;
    }
    // Only an icon that is there can be changed.
    static bool icon_there(DWORD change = NIM_MODIFY) {
        NOTIFYICONDATAW icon{};
        icon.cbSize = sizeof icon;
        icon.hWnd = main_window.handle;
        icon.uID = 1;
        return Shell_NotifyIconW(change, &icon) != FALSE;
    }
    static bool hotkey_free() {
        return RegisterHotKey(nullptr, 9, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'T') &&
               UnregisterHotKey(nullptr, 9);
    }
    static bool through() { return main_window.click_through.on; }
};

TEST_F(SeeThroughTest, TheMouseGoesToAnotherProgramUntilTheHotkeyOrTheIconGivesItBack) {
    open({frozen_camera(640, 480)}, "version=1\ncompact=1\n");
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(launch_demo(appdata.path, SW_SHOWNOACTIVATE, process,
                            executable_folder() + L"\\tavisko-window-below.exe"));
    const OwnedHandle helper(process.hProcess), helper_thread(process.hThread);
    HWND below = nullptr;
    ASSERT_TRUE(pump_until([&] { return (below = FindWindowW(L"Button", L"Below Tavisko")); }));
    const RECT r = outer();
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(centre), main_window.handle);

    command(IDC_CLICK_THROUGH);
    EXPECT_EQ(std::pair(layering(), alpha()),
              std::pair(DWORD(WS_EX_LAYERED | WS_EX_TRANSPARENT), 255));
    EXPECT_STREQ(save_tip_text(), L"Click through: Ctrl+Alt+Shift+T gives the mouse back");
    EXPECT_TRUE(icon_there());
    const HWND hit = WindowFromPoint(centre); // the helper's, made by its first thread
    EXPECT_EQ(std::pair(hit, GetWindowThreadProcessId(hit, nullptr)),
              std::pair(below, process.dwThreadId));
    TerminateProcess(helper.get(), 0);

    // The hotkey as typed, then a click on the icon and its menu's row, as
    // Explorer reports them (NOTIFYICON_VERSION_4).
    press_keys({VK_CONTROL, VK_MENU, VK_SHIFT, 'T'});
    EXPECT_TRUE(pump_until([] { return !through(); }));
    EXPECT_FALSE(layering() != 0 || icon_there() || !hotkey_free());
    command(IDC_CLICK_THROUGH);
    SendMessageW(main_window.handle, WM_APP_NOTIFY_ICON, 0, MAKELPARAM(NIN_SELECT, 1));
    EXPECT_FALSE(through() || icon_there());
    command(IDC_CLICK_THROUGH);
    // The menu's first row, chosen with the keys inside its modal loop.
    PostMessageW(main_window.handle, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(main_window.handle, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(main_window.handle, WM_APP_NOTIFY_ICON, 0, MAKELPARAM(WM_CONTEXTMENU, 1));
    EXPECT_FALSE(through() || icon_there());

    // Explorer started again: the icon is back. Full screen is not compact,
    // leaving the compact view ends it all, and a normal opaque window keeps
    // its mouse.
    command(IDC_CLICK_THROUGH);
    icon_there(NIM_DELETE);
    SendMessageW(main_window.handle, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(icon_there());
    command(IDC_FULL_SCREEN);
    EXPECT_FALSE(through());
    command(IDC_FULL_SCREEN);
    command(IDC_CLICK_THROUGH);
    command(IDC_COMPACT);
    EXPECT_FALSE(through() || layering() != 0 || icon_there() || !hotkey_free());
    command(IDC_CLICK_THROUGH);
    EXPECT_FALSE(through());
}

TEST_F(SeeThroughTest, EachOpacityFadesTheWindowInEveryViewAndAHeldHotkeyKeepsTheMouse) {
    open({frozen_camera(640, 480)}, "version=1\nopacity=50\n");
    EXPECT_EQ(std::pair(layering(), alpha()), std::pair(DWORD(WS_EX_LAYERED), 128))
        << "created with the remembered opacity";
    // Another program holds the hotkey: no click-through without it.
    ASSERT_TRUE(RegisterHotKey(nullptr, 9, MOD_CONTROL | MOD_ALT | MOD_SHIFT, 'T'));
    command(IDC_CLICK_THROUGH);
    UnregisterHotKey(nullptr, 9);
    EXPECT_FALSE(through() || icon_there() || layering() != WS_EX_LAYERED);
    EXPECT_STREQ(save_tip_text(), L"Click through is off: another program uses Ctrl+Alt+Shift+T");
    command(IDC_CLICK_THROUGH);
    command(IDC_OPACITY_100);
    EXPECT_FALSE(through() || icon_there()) << "opaque again";

    for (const auto& [id, expected] : {std::pair{IDC_OPACITY_85, 217}, {IDC_OPACITY_70, 179}}) {
        command(id);
        EXPECT_EQ(alpha(), expected) << id;
    }
    command(IDC_COMPACT);
    command(IDC_FULL_SCREEN);
    EXPECT_EQ(alpha(), 179) << "compact, then full screen";
    command(IDC_OPACITY_100);
    EXPECT_EQ(layering(), 0u) << "opaque: the window as it always was";
}

} // namespace
