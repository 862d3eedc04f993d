#include "e2e_fixture.h"

namespace {

using StatusE2e = E2eTest;

const char* const remember_a =
    "version=1\ncamera_id=\\\\?\\synthetic#camera-a\ncamera_name=Camera A\n";

TEST_F(StatusE2e, NoCameraFound) {
    ASSERT_TRUE(start(no_cameras));
    EXPECT_TRUE(wait_text(L"No camera found. Plug one in."));
    EXPECT_EQ(SendMessageW(run.control(101), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(run.control(101), CB_GETCURSEL, 0, 0), CB_ERR);
    save_screenshot(run.window, L"status-no-camera");
}

TEST_F(StatusE2e, WaitsForTheRememberedCameraAndPicksItUpWhenItIsBack) {
    write_settings(remember_a);
    ASSERT_TRUE(start(std::string(camera_b) + "\n"));
    EXPECT_TRUE(wait_text(L"Waiting for Camera A\u2026"));
    HWND combo = run.control(101);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(combo_row_text(combo, 0), L"Camera B");
    EXPECT_EQ(combo_row_text(combo, 1), L"Camera A (disconnected)");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    save_screenshot(run.window, L"status-waiting");

    // Picking the "(disconnected)" row does nothing.
    PostMessageW(run.window, WM_COMMAND, MAKEWPARAM(101, CBN_SELCHANGE), LPARAM(combo));
    Sleep(300);
    EXPECT_TRUE(shows_status_text(run.window, dpi, L"Waiting for Camera A\u2026"));

    set_cameras(std::string(camera_b) + "\n" + camera_a + "\n");
    PostMessageW(run.window, WM_DEVICECHANGE, 0x8000 /* DBT_DEVICEARRIVAL */, 0);
    EXPECT_TRUE(wait_picture());
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(combo_row_text(combo, 1), L"Camera A");
    save_screenshot(run.window, L"streaming");
}

TEST_F(StatusE2e, AccessDeniedShowsTheSettingsButtonUntilAllowed) {
    write_settings(remember_a);
    ASSERT_TRUE(start(std::string(camera_a) + " denied\n"));
    EXPECT_TRUE(wait_text(L"Camera access is off for Tavisko."));
    HWND button = run.control(106);
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_EQ(window_text(button), L"Open Camera Settings");
    for (int width : {0, 500}) {
        if (width != 0) {
            const RECT outer = window_rect(run.window);
            SetWindowPos(run.window, nullptr, 0, 0, width, outer.bottom - outer.top + 40,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RECT client;
        GetClientRect(run.window, &client);
        const PixelRect area = video_area_of({0, 0, client.right, client.bottom}, dpi);
        EXPECT_EQ(xywh(child_rect(button)), xywh(settings_button_place(area, dpi))) << width;
    }
    save_screenshot(run.window, L"status-access-denied");

    // Access allowed: the retry picks the camera up and the button goes.
    set_cameras(std::string(camera_a) + "\n");
    EXPECT_TRUE(wait_picture(6000));
    EXPECT_FALSE(IsWindowVisible(button));
}

TEST_F(StatusE2e, InUseAndFailedRetryUntilTheCameraStreams) {
    struct Case {
        const char* fault;
        const wchar_t* text;
        const wchar_t* shot;
    };
    const Case cases[] = {
        {" busy", L"Camera A is in use by another app. Retrying\u2026", L"status-in-use"},
        {" fail=0xC00D3E85", L"Camera A failed (0xC00D3E85). Retrying\u2026", L"status-failed"},
    };
    for (const Case& c : cases) {
        write_settings(remember_a);
        ASSERT_TRUE(start(std::string(camera_a) + c.fault + "\n")) << c.fault;
        EXPECT_TRUE(wait_text(c.text)) << c.fault;
        save_screenshot(run.window, c.shot);
        // Fixed: the retry, every three seconds, picks the camera up.
        set_cameras(std::string(camera_a) + "\n");
        EXPECT_TRUE(wait_picture(6000)) << c.fault;
        EXPECT_EQ(run.close(), 0u);
        run.reset();
    }
}

TEST_F(StatusE2e, ALostCameraIsWaitedFor) {
    ASSERT_TRUE(start(std::string(camera_a) + " lost=15\n"));
    EXPECT_TRUE(wait_picture());
    set_cameras(no_cameras);
    EXPECT_TRUE(wait_text(L"Waiting for Camera A\u2026"));
    // The list follows at the next scan, three seconds on.
    EXPECT_TRUE(wait_until(
        [&] { return combo_row_text(run.control(101), 0) == L"Camera A (disconnected)"; }, 5000));
}

} // namespace
