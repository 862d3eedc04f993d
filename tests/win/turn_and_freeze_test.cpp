// Turning and freezing the picture on the real main window: the pixels read
// back from the window, the window's refit, and what a frozen picture does
// while the camera runs on. The turned copy is checked with the clipboard's
// other cases in app_window_test, the mapping of the gestures in the
// platform-free tables.

#include "app/window_calls.h"
#include "app_fixture.h"
#include "view/shown_picture.h"

namespace {

struct TurnAndFreezeTest : AppWindowTest {
    // Sizes the window so that its video area is exactly width x height.
    static void video_area_of_size(int32_t width, int32_t height) {
        int32_t nw = 0, nh = 0;
        nonclient_size(&nw, &nh);
        SetWindowPos(main_window.handle, nullptr, 0, 0, width + nw, height + 36 + nh,
                     SWP_NOZORDER | SWP_NOACTIVATE); // all of it on the screen
        UpdateWindow(main_window.handle);
    }
    static COLORREF shown_pixel(int32_t x, int32_t y) { return window_pixel(x, 36 + y); }
    void TearDown() override {
        unfreeze_picture();
        AppWindowTest::TearDown();
    }
};

TEST_F(TurnAndFreezeTest, AQuarterTurnRefitsTheWindowAndShowsTheFrameTurnedThenMirrored) {
    open({frozen_camera(640, 360)});
    ASSERT_TRUE(pump_until([] { return main_window.known_frame_width == 640; }));
    video_area_of_size(320, 180);
    command(IDC_ROTATE_RIGHT);
    const RECT area = video_area_rect();
    EXPECT_EQ(std::tuple(settings.rotation, area.right - area.left, area.bottom - area.top),
              std::tuple(1, 320L, 569L))
        << "the width kept, the height for 360 x 640";
    // Two shown points, (5, 9) and the far one, and the frame pixels they
    // must show: {quarter, mirror, frame x, y of the first, of the second}.
    const std::tuple<int32_t, int, int32_t, int32_t, int32_t, int32_t> cases[] = {
        {0, 0, 5, 9, 600, 300},  {0, 1, 634, 9, 39, 300},  {1, 0, 9, 354, 600, 59},
        {1, 1, 9, 5, 600, 300},  {2, 0, 634, 350, 39, 59}, {2, 1, 5, 350, 600, 59},
        {3, 0, 630, 5, 39, 300}, {3, 1, 630, 354, 39, 59},
    };
    for (const auto& [quarter, mirror, x1, y1, x2, y2] : cases) {
        while (settings.rotation != quarter) {
            command(IDC_ROTATE_RIGHT);
        }
        if (settings.mirror != mirror) {
            command(IDC_MIRROR);
        }
        const bool upright = quarter % 2 == 0;
        video_area_of_size(upright ? 640 : 360, upright ? 360 : 640);
        EXPECT_EQ(shown_pixel(5, 9), pattern_colour(x1, y1)) << quarter << " " << mirror;
        EXPECT_EQ(shown_pixel(upright ? 600 : 300, upright ? 300 : 600), pattern_colour(x2, y2))
            << quarter << " " << mirror;
    }
    command(IDC_ROTATE_LEFT);
    EXPECT_EQ(settings.rotation, 2) << "3 back by one";
}

TEST_F(TurnAndFreezeTest, AFrozenPictureStaysWhileTheCameraRunsOnUntilLiveAgain) {
    SyntheticCamera camera = app_camera(L"\\\\?\\cam#1", L"One", 640, 360);
    camera.types = {{MFVideoFormat_RGB32, 640, 360, 30, 1}};
    open({});
    command(IDC_FREEZE);
    EXPECT_FALSE(main_window.frozen.on) << "no picture, nothing to freeze";
    synthetic_set_cameras({camera});
    SendMessageW(main_window.handle, WM_TIMER, TIMER_RESCAN, 0);
    ASSERT_TRUE(pump_until([] {
        return main_window.status == StatusStreaming && main_window.known_frame_width == 640;
    }));

    command(IDC_FREEZE);
    ASSERT_TRUE(main_window.frozen.on);
    UpdateWindow(main_window.handle);
    const COLORREF held = shown_pixel(100, 100);
    const long delivered = synthetic_stats().samples_delivered;
    ASSERT_TRUE(pump_until([&] { return synthetic_stats().samples_delivered > delivered + 10; }));
    EXPECT_FALSE(GetUpdateRect(main_window.handle, nullptr, FALSE)) << "no repaint for new frames";
    EXPECT_EQ(shown_pixel(100, 100), held);
    EXPECT_EQ(shown_pixel(619, 16), RGB(255, 255, 255)) << "inside the pause sign's left bar";
    command(IDC_ZOOM_IN);
    UpdateWindow(main_window.handle);
    EXPECT_EQ(settings.view.zoom, 1.5);
    EXPECT_TRUE(main_window.frozen.on) << "zoomed, still frozen";

    command(IDC_FREEZE);
    EXPECT_FALSE(main_window.frozen.on);
    ASSERT_TRUE(pump_until([&] { return shown_pixel(100, 100) != held; })) << "live again";

    command(IDC_FREEZE);
    ASSERT_TRUE(main_window.frozen.on);
    SendMessageW(main_window.handle, WM_APP_STATUS, CaptureLost, LPARAM(int32_t(0xC00D3EA2)));
    EXPECT_FALSE(main_window.frozen.on) << "the capture's end ends the freeze";
}

} // namespace
