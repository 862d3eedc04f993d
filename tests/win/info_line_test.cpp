// The info line on the real main window: the rate the camera's time stamps
// show, the frames it skipped counted as dropped, the box over the picture,
// "frozen" while the picture is held, and nothing once it is turned off. The
// counting itself is checked in the platform-free tables and on the worker.

#include <cwchar>

#include "app/window_calls.h"
#include "app_fixture.h"
#include "view/info_line_win.h"

namespace {

struct InfoLineTest : AppWindowTest {
    // The line as the next paint draws it, and where.
    static std::wstring line(RECT* box = nullptr) {
        wchar_t text[info_line_units] = L"";
        HDC dc = GetDC(main_window.handle);
        const RECT r = info_line_rect(dc, video_area_rect(), main_window.toolbar.status_font.get(),
                                      text, info_line_units);
        ReleaseDC(main_window.handle, dc);
        if (box != nullptr) {
            *box = r;
        }
        return text;
    }
    static bool measured() {
        const std::wstring text = line();
        return !text.empty() && text.find(L"\u2026") == std::wstring::npos;
    }
    static long dropped() {
        const std::wstring text = line();
        const size_t at = text.rfind(L"\u00b7 ");
        return at == std::wstring::npos ? -1 : std::wcstol(text.c_str() + at + 2, nullptr, 10);
    }
    // A 640 x 360 camera stamping 60000/1001 a second, delivering far faster
    // than that so that its stamps cover a second in a third of one.
    static SyntheticCamera ntsc_camera(int skip_every) {
        SyntheticCamera camera = app_camera(L"\\\\?\\cam#1", L"One", 640, 360);
        camera.types[0].fps_numerator = 60000;
        camera.types[0].fps_denominator = 1001;
        camera.frame_interval_ms = 5;
        camera.skip_every = skip_every;
        return camera;
    }
};

TEST_F(InfoLineTest, ShowsTheStampedRateOverThePictureAndFrozenWhileItIsHeld) {
    open({ntsc_camera(0)}, "version=1\ninfo=1\n");
    ASSERT_TRUE(pump_until(measured));
    RECT box{};
    const std::wstring text = line(&box);
    EXPECT_EQ(text.substr(0, 35), L"640 \u00d7 360 NV12 \u00b7 59.94 fps \u00b7 shown ");
    EXPECT_EQ(text.substr(text.size() - 12), L" \u00b7 0 dropped");
    EXPECT_EQ(std::pair(box.left, box.top), std::pair(8L, 36L + 8));
    // Drawn in the text colour on a black box that hides the picture; the
    // picture again once the line is off.
    command(IDC_FREEZE);
    EXPECT_NE(line().find(L" fps \u00b7 frozen \u00b7 "), std::wstring::npos);
    UpdateWindow(main_window.handle);
    const auto corner = [&] { return window_pixel(box.left + 1, box.top + 1); };
    EXPECT_EQ(corner(), RGB(0, 0, 0));
    int lit = 0;
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.left + 40; ++x) {
            lit += window_pixel(x, y) == RGB(200, 200, 205);
        }
    }
    EXPECT_GT(lit, 10);
    command(IDC_INFO_LINE);
    UpdateWindow(main_window.handle);
    EXPECT_NE(corner(), RGB(0, 0, 0));
    command(IDC_FREEZE);
    EXPECT_EQ(settings.info, 0);
    EXPECT_EQ(line(&box), L"");
    EXPECT_TRUE(IsRectEmpty(&box));
    DeliveryFigures figures{};
    EXPECT_FALSE(capture_delivery(&figures)) << "nothing measured while it is off";
}

TEST_F(InfoLineTest, NamesTheSoundsGlitchesWhileItPlays) {
    open({ntsc_camera(0)}, "camera_id=\\\\?\\cam#1\ninfo=1\nsound={0.0.1.00000000}."
                           "{7a1c5e00-0000-4000-8000-746176697300}\n");
    EXPECT_TRUE(pump_until([] { return line().find(L" dropped \u00b7 ") != std::wstring::npos; }));
    EXPECT_TRUE(line().ends_with(L" sound glitches") || line().ends_with(L" sound glitch"));
}

TEST_F(InfoLineTest, CountsTheFramesACameraSkippedAsDropped) {
    open({ntsc_camera(10)}, "version=1\ninfo=1\n");
    ASSERT_TRUE(pump_until([] { return measured() && dropped() >= 3; }));
    DeliveryFigures figures{};
    ASSERT_TRUE(capture_delivery(&figures));
    EXPECT_LT(figures.rate_centi, 5994) << "the skipped frames are not delivered";
}

} // namespace
