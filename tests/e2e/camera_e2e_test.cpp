// Cameras coming, going and failing, as the demo's control file makes them,
// seen on the screen; and what the settings file keeps across runs.

#include "e2e_fixture.h"

namespace {

using CameraE2e = E2eTest;

std::string lines(std::initializer_list<const char*> cameras) {
    std::string text;
    for (const char* camera : cameras) {
        text += std::string(camera) + "\n";
    }
    return text;
}

void pick_row(HWND window, int row) {
    HWND combo = GetDlgItem(window, 101);
    SendMessageW(combo, CB_SETCURSEL, WPARAM(row), 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(101, CBN_SELCHANGE), LPARAM(combo));
}

TEST_F(CameraE2e, EachStateShowsItsTextUntilThePictureComes) {
    write_settings("version=1\ncamera_id=\\\\?\\synthetic#camera-a\ncamera_name=Camera A\n");
    ASSERT_TRUE(start(lines({camera_b})));
    HWND combo = run.control(101);
    HWND button = run.control(106);
    EXPECT_TRUE(wait_text(L"Waiting for Camera A\u2026"));
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(combo_row_text(combo, 0), L"Camera B");
    EXPECT_EQ(combo_row_text(combo, 1), L"Camera A (disconnected)");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    pick_row(run.window, 1); // the "(disconnected)" row does nothing
    Sleep(300);
    EXPECT_TRUE(shows_status_text(run.window, dpi, L"Waiting for Camera A\u2026"));
    // The camera comes back failing in each way in turn, then working: the
    // device change, or else the retry every three seconds, picks each up.
    const std::pair<std::string, const wchar_t*> states[] = {
        {" denied", L"Camera access is off for Tavisko."},
        {" busy", L"Camera A is in use by another app. Retrying\u2026"},
        {" fail=0xC00D3E85", L"Camera A failed (0xC00D3E85). Retrying\u2026"},
        {"", nullptr},
    };
    for (const auto& [fault, text] : states) {
        set_cameras(camera_a + fault + "\n");
        PostMessageW(run.window, WM_DEVICECHANGE, 0x8000 /* DBT_DEVICEARRIVAL */, 0);
        EXPECT_TRUE(text != nullptr ? wait_text(text, 6000) : wait_picture(6000)) << fault;
        EXPECT_EQ(window_text(button) == L"Open Camera Settings" && IsWindowVisible(button),
                  fault == " denied");
        EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 1);
    }
    EXPECT_EQ(combo_row_text(combo, SendMessageW(combo, CB_GETCURSEL, 0, 0)), L"Camera A");
}

TEST_F(CameraE2e, DeviceChangeBurstsCollapseIntoOneRescan) {
    ASSERT_TRUE(start(lines({camera_a})));
    ASSERT_TRUE(wait_picture());
    HWND combo = run.control(101);
    set_cameras(lines({camera_a, camera_b}));
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
    EXPECT_GE(GetTickCount64() - last, 900u);
    EXPECT_TRUE(shows_picture(run.window, dpi)) << "the running camera is left alone";
}

TEST_F(CameraE2e, SettingsAreSavedAfterABurstAndOnCloseAndReadBack) {
    ASSERT_TRUE(start(lines({camera_a})));
    ASSERT_TRUE(wait_picture());
    Sleep(1500); // the first save, after the camera was chosen
    const std::string before = read_settings(appdata.path);
    ASSERT_EQ(settings_value(before, "zoom"), "1.000000") << before;
    for (int i = 0; i < 3; ++i) {
        click_command(run.window, 103);
        Sleep(100);
    }
    Sleep(500);
    EXPECT_EQ(read_settings(appdata.path), before) << "saved one second after the last change";
    EXPECT_TRUE(wait_until(
        [&] { return settings_value(read_settings(appdata.path), "zoom") == "3.375000"; }, 3000));
    click_command(run.window, 105); // pin off

    const RECT outer = window_rect(run.window);
    ASSERT_EQ(run.close(), 0u);
    char window[128];
    std::snprintf(window, sizeof window, "window_x=%ld\nwindow_y=%ld\nwindow_w=%ld\nwindow_h=%ld\n",
                  outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top);
    EXPECT_EQ(read_settings(appdata.path),
              std::string("version=1\ncamera_id=\\\\?\\synthetic#camera-a\ncamera_name=Camera A\n"
                          "zoom=3.375000\ncenter_x=0.500000\ncenter_y=0.500000\n") +
                  window + "on_top=0\n");

    run.reset();
    ASSERT_TRUE(run.start(appdata.path));
    EXPECT_EQ(zoom_label(), L"338%");
    EXPECT_EQ(SendMessageW(run.control(105), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(GetWindowLongW(run.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(combo_row_text(run.control(101), 0), L"Camera A");
    EXPECT_EQ(SendMessageW(run.control(101), CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(wait_picture());
}

} // namespace
