// Real keyboard and mouse input through the input system, as a user gives it.

#include <cmath>

#include "e2e_fixture.h"

namespace {

// A 16:9 camera, so the picture fills the default video area.
const char* const wide_camera = "\\\\?\\synthetic#wide|Wide|1280x720@30|interval=20\n";

struct InputE2e : E2eTest {
    void open(const char* cameras) {
        ASSERT_TRUE(start(cameras));
        SetForegroundWindow(run.window);
        ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == run.window; }, 3000));
    }
    std::string saved(const char* key) { return settings_value(read_settings(appdata.path), key); }
    bool wait_saved(const char* key, const char* value) {
        return wait_until([&] { return saved(key) == value; }, 3000);
    }
    bool wait_label(const wchar_t* label) {
        return wait_until([&] { return zoom_label() == label; }, 2000);
    }
};

TEST_F(InputE2e, AcceleratorsWorkAlsoWithTheComboBoxFocused) {
    open(camera_a);
    // The first frame refits the window, which would close a list dropped
    // before it: the picture first.
    ASSERT_TRUE(wait_picture());
    // Focus the combo box the way a user does, click it and close the list;
    // every key below goes to it.
    const RECT combo = window_rect(run.control(101));
    const auto dropped = [&] {
        return SendMessageW(run.control(101), CB_GETDROPPEDSTATE, 0, 0) != 0;
    };
    click_at((combo.left + combo.right) / 2, (combo.top + combo.bottom) / 2);
    ASSERT_TRUE(wait_until(dropped, 3000));
    press_keys({VK_ESCAPE});
    ASSERT_TRUE(wait_until([&] { return !dropped(); }, 3000));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(wait_until(
        [&] {
            GetGUIThreadInfo(GetWindowThreadProcessId(run.window, nullptr), &info);
            return info.hwndFocus == run.control(101);
        },
        3000));
    // Keys reach their commands through the input system, whichever control
    // has the focus; the accelerator table itself is checked entry by entry
    // in process.
    for (const auto& [keys, label] :
         {std::pair<std::vector<WORD>, const wchar_t*>{{VK_CONTROL, VK_OEM_PLUS}, L"150%"},
          {{VK_CONTROL, VK_ADD}, L"225%"},
          {{VK_CONTROL, VK_NUMPAD0}, L"100%"}}) {
        press_keys(keys);
        EXPECT_TRUE(wait_label(label)) << label;
    }
    // The pin: the glyph, the topmost style and the saved choice follow.
    press_keys({VK_CONTROL, 'T'});
    EXPECT_TRUE(
        wait_until([&] { return (GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }));
    EXPECT_EQ(window_text(run.control(105)), installed_glyphs().pin);
    EXPECT_TRUE(wait_saved("on_top", "0"));
    press_keys({VK_CONTROL, VK_SHIFT, 'R'});
    EXPECT_TRUE(wait_saved("rotation", "270"));
    // Ctrl+C is the picture's even in the camera list, which has no text.
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    press_keys({VK_CONTROL, 'C'}); // the picture, as a device-independent bitmap
    EXPECT_TRUE(wait_until([] { return IsClipboardFormatAvailable(CF_DIB) != 0; }));

    // The compact view and full screen, and the menu from the keyboard; Esc
    // closes the menu first and only then leaves full screen.
    auto framed = [&] { return (GetWindowLongW(run.window, GWL_STYLE) & WS_CAPTION) != 0; };
    auto menu_open = [] {
        const HWND menu = FindWindowW(L"#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu);
    };
    press_keys({VK_CONTROL, 'H'});
    EXPECT_TRUE(wait_until([&] { return !framed(); }));
    EXPECT_TRUE(wait_saved("compact", "1"));
    const RECT compact = window_rect(run.window);
    press_keys({VK_F11});
    EXPECT_TRUE(wait_until([&] {
        return xywh(window_rect(run.window)) == xywh(RECT{0, 0, 1280, 800});
    }));
    press_keys({VK_SHIFT, VK_F10});
    EXPECT_TRUE(wait_until(menu_open));
    press_keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return !menu_open(); }));
    EXPECT_EQ(xywh(window_rect(run.window)), xywh(RECT{0, 0, 1280, 800}));
    press_keys({VK_ESCAPE});
    EXPECT_TRUE(wait_until([&] { return xywh(window_rect(run.window)) == xywh(compact); }));
    press_keys({VK_CONTROL, 'H'});
    EXPECT_TRUE(wait_until(framed));
    EXPECT_TRUE(wait_until([&] { return saved("compact").empty(); }));
}

TEST_F(InputE2e, TheSizingLoopKeepsTheAspectAndTheOppositeEdges) {
    open(camera_a);
    ASSERT_TRUE(wait_picture()); // the window has taken the frame's 4:3
    const RECT before = window_rect(run.window);
    // The system's own loop from the keyboard: the first arrow key picks the
    // edge, the next ones move it, Enter ends the loop.
    const auto sizing = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(run.window, nullptr), &info);
        return (info.flags & GUI_INMOVESIZE) != 0;
    };
    PostMessageW(run.window, WM_SYSCOMMAND, SC_SIZE, 0);
    ASSERT_TRUE(wait_until(sizing, 3000)) << "the loop runs before the keys are typed";
    for (WORD key : {VK_RIGHT, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT}) {
        press_keys({key});
        Sleep(60); // typed as a hand would: the loop drops keys that come at once
    }
    press_keys({VK_RETURN});
    // The loop applies the new rectangle as it ends.
    EXPECT_TRUE(wait_until(
        [&] { return !sizing() && window_rect(run.window).right != before.right; }, 3000));
    const RECT after = window_rect(run.window);
    RECT client;
    GetClientRect(run.window, &client);
    EXPECT_LT(after.right, before.right) << "the loop moved the right edge";
    EXPECT_EQ(std::pair(after.left, after.top), std::pair(before.left, before.top));
    // 4:3 below the toolbar, rounded.
    const int toolbar = MulDiv(36, int(dpi), 96);
    EXPECT_EQ(client.bottom - toolbar, std::lround(client.right * 3.0 / 4.0)) << client.right;
}

TEST_F(InputE2e, WheelDragAndDoubleClickOverThePicture) {
    open(wide_camera);
    ASSERT_TRUE(wait_picture());
    const RECT area = video_area_on_screen(run.window, dpi);
    // A click first, as a hand would land: at zoom 1 it starts nothing. Then
    // a notch over the top-left corner zooms about it.
    click_at(area.left, area.top);
    Sleep(100);
    send_mouse(MOUSEEVENTF_WHEEL, area.left, area.top, 120);
    EXPECT_TRUE(wait_label(L"125%"));
    EXPECT_TRUE(wait_saved("center_x", "0.400000"));
    EXPECT_EQ(saved("center_y"), "0.400000");

    // Dragging 64 px left and 36 up, a tenth of the picture, moves the view
    // right and down by a tenth of its visible part (0.8 at 125%).
    const int x = (area.left + area.right) / 2;
    const int y = (area.top + area.bottom) / 2;
    send_mouse(0, x, y);
    Sleep(50);
    send_mouse(MOUSEEVENTF_LEFTDOWN, x, y);
    for (int step = 1; step <= 4; ++step) {
        send_mouse(0, x - 16 * step, y - 9 * step);
        Sleep(20);
    }
    send_mouse(MOUSEEVENTF_LEFTUP, x - 64, y - 36);
    EXPECT_TRUE(wait_saved("center_x", "0.480000"));
    EXPECT_EQ(saved("center_y"), "0.480000");
    click_at(x, y);
    click_at(x, y); // a double-click
    EXPECT_TRUE(wait_label(L"100%"));
    EXPECT_TRUE(wait_saved("center_x", "0.500000"));
}

} // namespace
