#include <cstdlib>

#include "e2e_fixture.h"

namespace {

using MouseE2e = E2eTest;

// A 16:9 camera, so the picture fills the default video area.
const char* const wide_camera = "\\\\?\\synthetic#wide|Wide|1280x720@30|interval=20\n";

double saved(const std::wstring& appdata, const char* key) {
    return std::atof(settings_value(read_settings(appdata), key).c_str());
}

struct MouseFixture : MouseE2e {
    RECT area{};
    void open() {
        ASSERT_TRUE(start(wide_camera));
        ASSERT_TRUE(wait_picture());
        SetForegroundWindow(run.window);
        ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == run.window; }, 3000));
        area = video_area_on_screen(run.window, dpi);
    }
    bool wait_saved(const char* key, const char* value) {
        return wait_until([&] { return settings_value(read_settings(appdata.path), key) == value; },
                          3000);
    }
};

TEST_F(MouseFixture, AWheelNotchOverTheTopLeftCornerZoomsAboutIt) {
    open();
    // A click first, as a user's hand would land: at zoom 1 it starts nothing.
    mouse_move_to(area.left, area.top);
    mouse_button(true);
    mouse_button(false);
    Sleep(100);
    mouse_wheel_at(area.left, area.top, 120);
    EXPECT_TRUE(wait_until([&] { return zoom_label() == L"125%"; }));
    EXPECT_TRUE(wait_saved("zoom", "1.250000"));
    EXPECT_EQ(settings_value(read_settings(appdata.path), "center_x"), "0.400000");
    EXPECT_EQ(settings_value(read_settings(appdata.path), "center_y"), "0.400000");
    save_screenshot(run.window, L"zoomed-by-wheel");

    // A double-click returns to the whole picture.
    mouse_double_click_at((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    EXPECT_TRUE(wait_until([&] { return zoom_label() == L"100%"; }));
}

TEST_F(MouseFixture, DragPanningKeepsTheFramePointUnderThePointer) {
    open();
    click_command(run.window, 103); // 150%
    click_command(run.window, 103); // 225%
    ASSERT_TRUE(wait_until([&] { return zoom_label() == L"225%"; }));
    const int x = (area.left + area.right) / 2;
    const int y = (area.top + area.bottom) / 2;
    mouse_move_to(x, y);
    Sleep(50);
    mouse_button(true);
    for (int step = 1; step <= 4; ++step) {
        mouse_move_to(x - 20 * step, y - 10 * step);
        Sleep(20);
    }
    mouse_button(false);
    ASSERT_TRUE(wait_until([&] { return saved(appdata.path, "center_x") > 0.5001; }, 3000));
    // The pointer moved 80 px left and 40 up over a picture of the area's
    // size: the centre follows by that fraction of the visible part.
    const double width = area.right - area.left;
    const double height = area.bottom - area.top;
    EXPECT_NEAR(saved(appdata.path, "center_x"), 0.5 + 80 / width / 2.25, 1e-6);
    EXPECT_NEAR(saved(appdata.path, "center_y"), 0.5 + 40 / height / 2.25, 1e-6);
}

TEST_F(MouseFixture, TheWheelOverTheToolbarDoesNothing) {
    open();
    // (Which cursor shows is checked in process: under Wine another
    // process's cursor handle cannot be read.)
    // The wheel over the toolbar strip does nothing.
    RECT client = client_on_screen(run.window);
    const int strip_y = client.top + toolbar_height(dpi) / 2;
    const RECT combo = child_rect(run.control(101));
    mouse_wheel_at(client.left + combo.right + 4, strip_y, 120);
    Sleep(300);
    EXPECT_EQ(zoom_label(), L"100%");
}

TEST_F(MouseE2e, NothingHappensWhileNotStreaming) {
    ASSERT_TRUE(start(no_cameras));
    ASSERT_TRUE(wait_text(L"No camera found. Plug one in."));
    SetForegroundWindow(run.window);
    const RECT area = video_area_on_screen(run.window, dpi);
    mouse_wheel_at((area.left + area.right) / 2, (area.top + area.bottom) / 2, 120);
    Sleep(300);
    EXPECT_EQ(zoom_label(), L"100%");
    click_command(run.window, 103); // the toolbar still zooms
    EXPECT_TRUE(wait_until([&] { return zoom_label() == L"150%"; }));
    mouse_double_click_at((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    Sleep(300);
    EXPECT_EQ(zoom_label(), L"150%");
}

} // namespace
