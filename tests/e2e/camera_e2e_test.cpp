#include <cstring>

#include "e2e_fixture.h"
#include "settings/settings.h"

namespace {

using CameraE2e = E2eTest;

std::string two_cameras() {
    return std::string(camera_a) + "\n" + camera_b + "\n";
}

void pick_row(HWND window, int row) {
    HWND combo = GetDlgItem(window, 101);
    SendMessageW(combo, CB_SETCURSEL, WPARAM(row), 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(101, CBN_SELCHANGE), LPARAM(combo));
}

TEST_F(CameraE2e, FirstRunStartsTheFirstCameraAndRemembersIt) {
    ASSERT_TRUE(start(two_cameras()));
    EXPECT_TRUE(wait_picture());
    HWND combo = run.control(101);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(wait_until(
        [&] {
            return read_settings(appdata.path).find("camera_name=Camera A\n") != std::string::npos;
        },
        3000));
}

TEST_F(CameraE2e, PickingCamerasRestartsOnlyForAnotherOne) {
    ASSERT_TRUE(start(two_cameras()));
    ASSERT_TRUE(wait_picture());
    click_command(run.window, 103);
    ASSERT_TRUE(wait_until([&] { return zoom_label() == L"150%"; }));

    pick_row(run.window, 0); // the running camera again: nothing changes
    Sleep(300);
    EXPECT_EQ(zoom_label(), L"150%");
    EXPECT_TRUE(shows_picture(run.window, dpi));

    pick_row(run.window, 1); // another camera: view reset, restart
    EXPECT_TRUE(wait_until([&] { return zoom_label() == L"100%"; }));
    EXPECT_TRUE(wait_picture());
    EXPECT_TRUE(wait_until(
        [&] {
            return read_settings(appdata.path).find("camera_name=Camera B\n") != std::string::npos;
        },
        3000));
}

TEST_F(CameraE2e, DeviceChangeBurstsCollapseIntoOneRescan) {
    ASSERT_TRUE(start(std::string(camera_a) + "\n"));
    ASSERT_TRUE(wait_picture());
    HWND combo = run.control(101);
    set_cameras(two_cameras());
    for (int i = 0; i < 10; ++i) {
        PostMessageW(run.window, WM_DEVICECHANGE, 7 /* DBT_DEVNODES_CHANGED */, 0);
        Sleep(50);
    }
    const ULONGLONG last = GetTickCount64();
    // Other kinds of device events do nothing.
    PostMessageW(run.window, WM_DEVICECHANGE, 0x8001 /* DBT_DEVICEQUERYREMOVE */, 0);
    Sleep(600);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 1) << "no scan before the burst settles";
    EXPECT_TRUE(wait_until([&] { return SendMessageW(combo, CB_GETCOUNT, 0, 0) == 2; }, 3000));
    const auto settled = GetTickCount64() - last;
    EXPECT_GE(settled, 900u);
    EXPECT_TRUE(shows_picture(run.window, dpi)) << "the running camera is left alone";
}

TEST_F(CameraE2e, SettingsAreSavedAfterABurstAndOnCloseAndReadBack) {
    ASSERT_TRUE(start(std::string(camera_a) + "\n"));
    ASSERT_TRUE(wait_picture());
    Sleep(1500); // the first save, after the camera was chosen
    const std::string before = read_settings(appdata.path);
    ASSERT_NE(before.find("zoom=1.000000\n"), std::string::npos) << before;

    for (int i = 0; i < 3; ++i) {
        click_command(run.window, 103);
        Sleep(100);
    }
    Sleep(500);
    EXPECT_EQ(read_settings(appdata.path), before) << "saved one second after the last change";
    EXPECT_TRUE(wait_until(
        [&] { return read_settings(appdata.path).find("zoom=3.375000\n") != std::string::npos; },
        2000));
    click_command(run.window, 105); // pin off

    RECT outer;
    GetWindowRect(run.window, &outer);
    ASSERT_EQ(run.close(), 0u);
    Settings expected;
    settings_reset(expected);
    std::strcpy(expected.camera_id, "\\\\?\\synthetic#camera-a");
    std::strcpy(expected.camera_name, "Camera A");
    expected.view = {3.375, 0.5, 0.5};
    expected.window_valid = 1;
    expected.window_x = outer.left;
    expected.window_y = outer.top;
    expected.window_w = outer.right - outer.left;
    expected.window_h = outer.bottom - outer.top;
    expected.on_top = 0;
    char text[2048];
    const size_t length = settings_format(expected, text, sizeof text);
    EXPECT_EQ(read_settings(appdata.path), std::string(text, length));

    run.reset();
    ASSERT_TRUE(run.start(appdata.path));
    EXPECT_EQ(zoom_label(), L"338%");
    EXPECT_EQ(SendMessageW(run.control(105), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(combo_row_text(run.control(101), 0), L"Camera A");
    EXPECT_EQ(SendMessageW(run.control(101), CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(wait_picture());
    save_screenshot(run.window, L"streaming-zoomed");
}

} // namespace
