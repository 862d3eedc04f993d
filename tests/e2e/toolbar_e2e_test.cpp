#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <utility>

#include "e2e_fixture.h"
#include "layout/toolbar_layout.h"

namespace {

using ToolbarE2e = E2eTest;

BOOL CALLBACK find_tooltip(HWND window, LPARAM lparam) {
    if (class_name(window) == L"tooltips_class32") {
        *reinterpret_cast<HWND*>(lparam) = window;
        return FALSE;
    }
    return TRUE;
}

TEST_F(ToolbarE2e, ControlsSitWhereTheLayoutPutsThem) {
    ASSERT_TRUE(start(no_cameras));
    struct Expected {
        int id;
        const wchar_t* cls;
        const wchar_t* text;
    };
    const Expected controls[] = {{101, L"ComboBox", nullptr}, {102, L"Button", L"\uE738"},
                                 {103, L"Button", L"\uE710"}, {104, L"Button", L"\uE72C"},
                                 {105, L"Button", nullptr},   {106, L"Button", nullptr},
                                 {0, L"Static", L"100%"}};
    for (const Expected& e : controls) {
        ASSERT_NE(run.control(e.id), nullptr) << e.id;
        EXPECT_EQ(class_name(run.control(e.id)), e.cls) << e.id;
        if (e.text != nullptr) {
            EXPECT_EQ(window_text(run.control(e.id)), e.text) << e.id;
        }
    }
    EXPECT_FALSE(IsWindowVisible(run.control(106)));
    HWND tooltip = nullptr;
    EnumThreadWindows(GetWindowThreadProcessId(run.window, nullptr), find_tooltip,
                      reinterpret_cast<LPARAM>(&tooltip));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 4);

    // At the default width, then narrower than the window may go: it stops at
    // its minimum, and only the combo box gives up width.
    int default_combo_width = 0;
    for (int outer_width : {0, 200}) {
        SCOPED_TRACE(outer_width);
        if (outer_width != 0) {
            const RECT outer = window_rect(run.window);
            SetWindowPos(run.window, nullptr, 0, 0, outer_width, outer.bottom - outer.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RECT client;
        GetClientRect(run.window, &client);
        const RECT combo = child_rect(run.control(101));
        const ToolbarPlaces places = toolbar_places(dpi, client.right, combo.bottom - combo.top);
        EXPECT_EQ(combo.left, places.combo.x);
        EXPECT_EQ(combo.top, (toolbar_height(dpi) - (combo.bottom - combo.top)) / 2);
        EXPECT_EQ(combo.right - combo.left, places.combo.width);
        const std::pair<int, ControlPlace> fixed[] = {{102, places.zoom_out},
                                                      {0, places.zoom_label},
                                                      {103, places.zoom_in},
                                                      {104, places.reset},
                                                      {105, places.pin}};
        for (const auto& [id, at] : fixed) {
            EXPECT_EQ(xywh(child_rect(run.control(id))), xywh(at)) << id;
        }
        if (outer_width == 0) {
            default_combo_width = places.combo.width;
            if (dpi == 96) { // the sample layout at a client width of 640
                EXPECT_EQ(places.combo.width, 448);
                EXPECT_EQ(places.zoom_out.x, 462);
                EXPECT_EQ(places.pin.x, 606);
            }
        } else {
            EXPECT_EQ(client.right, scale_units(320, dpi));
            EXPECT_LT(places.combo.width, default_combo_width);
        }
    }
}

TEST_F(ToolbarE2e, ZoomCommandsUpdateTheLabel) {
    ASSERT_TRUE(start(no_cameras));
    EXPECT_EQ(zoom_label(), L"100%");
    struct Step {
        int id;
        const wchar_t* label;
    };
    const Step steps[] = {{103, L"150%"}, {103, L"225%"}, {103, L"338%"},
                          {102, L"225%"}, {104, L"100%"}, {102, L"100%"}};
    for (const Step& s : steps) {
        click_command(run.window, s.id);
        EXPECT_TRUE(wait_until([&] { return zoom_label() == s.label; }, 2000)) << s.id;
    }
}

TEST_F(ToolbarE2e, PinTogglesTopmostAndGlyph) {
    ASSERT_TRUE(start(no_cameras));
    click_command(run.window, 105);
    EXPECT_TRUE(
        wait_until([&] { return (GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }));
    EXPECT_EQ(SendMessageW(run.control(105), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(window_text(run.control(105)), L"\uE718");
    EXPECT_TRUE(wait_until(
        [&] { return read_settings(appdata.path).find("on_top=0\n") != std::string::npos; }, 3000));
    click_command(run.window, 105);
    EXPECT_TRUE(wait_until(
        [&] { return SendMessageW(run.control(105), BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    if (platform_restores_topmost_with_owned_popup()) {
        EXPECT_TRUE(wait_until(
            [&] { return (GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
    } else {
        std::printf("note: this platform does not restore topmost over an owned popup\n");
    }
    EXPECT_TRUE(wait_until(
        [&] { return read_settings(appdata.path).find("on_top=1\n") != std::string::npos; }, 3000));
}

TEST_F(ToolbarE2e, AcceleratorsWorkAlsoWithTheComboBoxFocused) {
    ASSERT_TRUE(start(camera_a));
    SetForegroundWindow(run.window);
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == run.window; }, 3000));
    struct Keys {
        std::initializer_list<WORD> keys;
        const wchar_t* label;
    };
    const Keys sequence[] = {
        {{VK_CONTROL, VK_OEM_PLUS}, L"150%"},   {{VK_CONTROL, VK_SHIFT, VK_OEM_PLUS}, L"225%"},
        {{VK_CONTROL, VK_ADD}, L"338%"},        {{VK_CONTROL, VK_OEM_MINUS}, L"225%"},
        {{VK_CONTROL, VK_SUBTRACT}, L"150%"},   {{VK_CONTROL, VK_SHIFT, VK_OEM_MINUS}, L"150%"},
        {{VK_CONTROL, VK_SHIFT, '0'}, L"150%"}, {{VK_CONTROL, '0'}, L"100%"},
        {{VK_CONTROL, VK_OEM_PLUS}, L"150%"},   {{VK_CONTROL, VK_NUMPAD0}, L"100%"},
    };
    for (const Keys& k : sequence) {
        press_keys(k.keys);
        Sleep(100);
        EXPECT_TRUE(wait_until([&] { return zoom_label() == k.label; }, 2000)) << k.label;
    }
    const bool topmost = (GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    press_keys({VK_CONTROL, 'T'});
    EXPECT_TRUE(wait_until([&] {
        return ((GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) != topmost;
    }));

    // Focus the combo box the way a user does: click it, close the list.
    const RECT combo = child_rect(run.control(101));
    POINT p{(combo.left + combo.right) / 2, (combo.top + combo.bottom) / 2};
    ClientToScreen(run.window, &p);
    mouse_move_to(p.x, p.y);
    mouse_button(true);
    mouse_button(false);
    Sleep(200);
    press_keys({VK_ESCAPE});
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(wait_until(
        [&] {
            GetGUIThreadInfo(GetWindowThreadProcessId(run.window, nullptr), &info);
            return info.hwndFocus == run.control(101);
        },
        3000));
    press_keys({VK_CONTROL, VK_OEM_PLUS});
    EXPECT_TRUE(wait_until([&] { return zoom_label() == L"150%"; }, 2000));
    press_keys({VK_CONTROL, '0'});
    EXPECT_TRUE(wait_until([&] { return zoom_label() == L"100%"; }, 2000));
}

} // namespace
