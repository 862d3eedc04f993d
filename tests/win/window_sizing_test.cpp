// Sizing messages sent to the real main window: the minimum size, DPI
// changes, and the adoption of a new frame size. The rules themselves are
// checked in the platform-free tests, the aspect lock in a real sizing loop
// end to end.

#include "app_fixture.h"

namespace {

using WindowSizingTest = AppWindowTest;

TEST_F(WindowSizingTest, DpiChangesRebuildTheFontsTheToolbarAndTheMinimumSize) {
    open({});
    RECT suggested{50, 60, 50 + 980, 60 + 700}; // in this test's own memory
    SendMessageW(main_window.handle, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(xywh(outer()), xywh(suggested));
    LOGFONTW status_font{}, text_font{};
    GetObjectW(main_window.toolbar.status_font.get(), sizeof status_font, &status_font);
    GetObjectW(main_window.toolbar.text_font.get(), sizeof text_font, &text_font);
    EXPECT_EQ(std::pair(status_font.lfHeight, text_font.lfHeight), std::pair(-20L, -18L))
        << "fonts made anew for 144 DPI";
    EXPECT_EQ(place_in(main_window.handle, main_window.toolbar.pin)[2], 42)
        << "the toolbar's pin follows the new DPI";
    int32_t nc_w = 0, nc_h = 0; // the frame and the caption at 144 DPI
    nonclient_size(&nc_w, &nc_h);
    MINMAXINFO info{};
    SendMessageW(main_window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::pair(info.ptMinTrackSize.x, info.ptMinTrackSize.y),
              std::pair(480L + nc_w, 324L + nc_h))
        << "a 480 x 270 video area below the 54 px toolbar";
}

TEST_F(WindowSizingTest, ANewFrameSizeReshapesOnlyANormalWindow) {
    open({frozen_camera(640, 480)});
    ASSERT_TRUE(pump_until([] { return main_window.known_frame_width == 640; }));

    // A frame of a new, square size in the store, as a media-type change leaves it.
    const std::pair<int, bool> cases[] = {
        {SW_MINIMIZE, false}, {SW_RESTORE, true}, {SW_MAXIMIZE, false}};
    int32_t size = 320;
    for (const auto& [show, reshaped] : cases) {
        SCOPED_TRACE(show);
        ShowWindow(main_window.handle, show);
        pump(50);
        const RECT before = outer();
        {
            CaptureLockGuard lock;
            frame_store.frame_width = frame_store.frame_height = size;
        }
        SendMessageW(main_window.handle, WM_APP_FRAME, 0, 0);
        EXPECT_EQ(main_window.known_frame_width, size);
        const RECT after = outer();
        RECT client;
        GetClientRect(main_window.handle, &client);
        if (reshaped) {
            EXPECT_EQ(client.bottom - 36, client.right);
            EXPECT_EQ(std::pair(after.left, after.top), std::pair(before.left, before.top));
        } else {
            EXPECT_EQ(xywh(after), xywh(before));
        }
        size += 16;
    }
}

} // namespace
