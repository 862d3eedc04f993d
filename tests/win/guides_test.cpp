// The guides on the real main window: their pixels where the platform-free
// tables put them, the picture beside them, a copy without them and the
// choice kept for the next start. The saved file is checked in
// picture_save_test.

#include <algorithm>

#include "app/window_calls.h"
#include "app_fixture.h"
#include "view/picture_copy_win.h"

namespace {

constexpr COLORREF light = RGB(240, 240, 240);
constexpr COLORREF dark = RGB(24, 24, 24);

// A pixel between its neighbours: left, it, right, above, below.
std::array<COLORREF, 5> around(int32_t x, int32_t y) {
    return {window_pixel(x - 1, y), window_pixel(x, y), window_pixel(x + 1, y),
            window_pixel(x, y - 1), window_pixel(x, y + 1)};
}

TEST_F(AppWindowTest, GuidesTurnAndZoomWithThePictureAndStayOutOfItsCopy) {
    open({frozen_camera(640, 360)}, "version=1\nguides=grid\n");
    ASSERT_TRUE(pump_until([] { return main_window.known_frame_width == 640; }));
    const RECT area = video_area_rect();
    ASSERT_EQ(xywh(area), (std::array<LONG, 4>{0, 36, 640, 360}));
    // One to one: a third across is column 213, a third down row 120.
    ASSERT_TRUE(pump_until([] { return window_pixel(213, 36 + 60) == light; }));
    EXPECT_EQ(around(213, 36 + 60), (std::array{dark, light, dark, light, light}));
    EXPECT_EQ(around(100, 36 + 120), (std::array{light, light, light, dark, dark}));
    EXPECT_EQ(window_pixel(300, 36 + 60), pattern_colour(300, 60)) << "off the guide";

    command(IDC_COPY_PICTURE);
    {
        ScopedClipboard clipboard(main_window.handle);
        HGLOBAL data = clipboard.opened ? GetClipboardData(CF_DIB) : nullptr;
        ASSERT_NE(data, nullptr);
        ScopedGlobalLock locked(data);
        const auto* pixels = reinterpret_cast<const uint32_t*>(
            static_cast<const BITMAPINFOHEADER*>(locked.data) + 1);
        EXPECT_EQ(std::count_if(pixels, pixels + 640 * 360,
                                [](uint32_t p) {
                                    return (p & 0xFFFFFF) == 0xF0F0F0 || (p & 0xFFFFFF) == 0x181818;
                                }),
                  0);
    }

    // Turned a quarter and zoomed to 1.5, the crop 427 x 240 from (107, 60)
    // over 360 x 640: the frame's centre at column 180, row 355.25.
    command(IDC_GUIDES_CROSSHAIR);
    command(IDC_ROTATE_RIGHT);
    int32_t nw = 0, nh = 0;
    nonclient_size(&nw, &nh);
    SetWindowPos(main_window.handle, nullptr, 0, 0, 360 + nw, 640 + 36 + nh,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    command(IDC_ZOOM_IN);
    UpdateWindow(main_window.handle);
    ASSERT_EQ(xywh(video_area_rect()), (std::array<LONG, 4>{0, 36, 360, 640}));
    EXPECT_EQ(around(180, 100), (std::array{dark, light, dark, light, light}));
    EXPECT_EQ(around(100, 355), (std::array{light, light, light, dark, dark}));
    InvalidateRect(main_window.handle, nullptr, FALSE); // the toolbar's strip too
    UpdateWindow(main_window.handle);
    EXPECT_EQ(window_pixel(180, 35), GetSysColor(COLOR_BTNFACE)) << "kept to the picture";

    reopen({frozen_camera(640, 360)});
    EXPECT_EQ(settings.guides, GuideCrosshair);
}

} // namespace
