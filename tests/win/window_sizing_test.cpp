// Sizing messages sent to the real main window: the aspect lock for every
// edge, the minimum size, DPI changes and the adoption of a new frame size.
// Real sizing loops and the remembered placement are driven end to end.

#include "app_fixture.h"

namespace {

using WindowSizingTest = AppWindowTest;

// The non-client size the window reports for itself.
SIZE frame_size() {
    int32_t w;
    int32_t h;
    nonclient_size(&w, &h);
    return {w, h};
}

TEST_F(WindowSizingTest, EveryEdgeKeepsTheAspectAndTheOppositeSide) {
    open({});
    const SIZE nc = frame_size();
    const int t = toolbar_height(current_dpi);
    // Which sides stay where they were proposed.
    struct Case {
        WPARAM edge;
        bool keeps_left, keeps_top;
    };
    const Case cases[] = {
        {WMSZ_LEFT, false, true},       {WMSZ_RIGHT, true, true},       {WMSZ_TOP, true, false},
        {WMSZ_TOPLEFT, false, false},   {WMSZ_TOPRIGHT, true, false},   {WMSZ_BOTTOM, true, true},
        {WMSZ_BOTTOMLEFT, false, true}, {WMSZ_BOTTOMRIGHT, true, true}, {0, true, true}};
    for (int32_t known : {0, 1}) {
        known_frame_width = known ? 640 : 0;
        known_frame_height = known ? 480 : 0;
        const double aspect = known ? 480.0 / 640.0 : 9.0 / 16.0;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "edge " << c.edge << " known " << known);
            const RECT proposed{100, 100, 100 + 500 + nc.cx, 100 + 300 + t + nc.cy};
            RECT r = proposed;
            EXPECT_EQ(SendMessageW(main_window, WM_SIZING, c.edge, reinterpret_cast<LPARAM>(&r)),
                      TRUE);
            const int vw = r.right - r.left - nc.cx;
            const int vh = r.bottom - r.top - nc.cy - t;
            const bool height_drives = c.edge == WMSZ_TOP || c.edge == WMSZ_BOTTOM;
            if (height_drives) {
                EXPECT_EQ(vw, std::max(320L, std::lround(300 / aspect)));
            } else {
                EXPECT_EQ(vw, 500);
            }
            EXPECT_EQ(vh, std::lround(vw * aspect));
            EXPECT_EQ(c.keeps_left ? r.left : r.right,
                      c.keeps_left ? proposed.left : proposed.right);
            EXPECT_EQ(c.keeps_top ? r.top : r.bottom, c.keeps_top ? proposed.top : proposed.bottom);
        }
    }
}

TEST_F(WindowSizingTest, MinimumTrackSizeFollowsTheDpi) {
    open({});
    const SIZE nc = frame_size();
    MINMAXINFO info{};
    SendMessageW(main_window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 320 + nc.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, 216 + nc.cy);
    current_dpi = 144;
    const SIZE nc144 = frame_size();
    SendMessageW(main_window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 480 + nc144.cx);
    EXPECT_EQ(info.ptMinTrackSize.y, 324 + nc144.cy);
    current_dpi = 96;
}

TEST_F(WindowSizingTest, DpiChangesRebuildFontsOnceAndApplyTheSuggestedRectangle) {
    open({});
    const HFONT text96 = toolbar.text_font;
    const HFONT status96 = toolbar.status_font;
    RECT suggested{50, 60, 50 + 980, 60 + 700}; // in this test's own memory
    SendMessageW(main_window, WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(current_dpi, 144u);
    EXPECT_EQ(toolbar.font_dpi, 144u);
    EXPECT_NE(toolbar.text_font, text96);
    EXPECT_NE(toolbar.status_font, status96);
    RECT outer;
    GetWindowRect(main_window, &outer);
    EXPECT_TRUE(EqualRect(&outer, &suggested));
    LOGFONTW font{};
    GetObjectW(toolbar.status_font, sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -20);
    GetObjectW(toolbar.text_font, sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -18);
    // The toolbar follows the new DPI.
    RECT pin;
    GetWindowRect(toolbar.pin, &pin);
    EXPECT_EQ(pin.right - pin.left, 42);

    // Later resizes at the same DPI rebuild nothing.
    const HFONT text144 = toolbar.text_font;
    const HFONT glyph144 = toolbar.glyph_font;
    const HFONT status144 = toolbar.status_font;
    SetWindowPos(main_window, nullptr, 0, 0, 900, 650, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(main_window, nullptr, 0, 0, 1000, 720, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(toolbar.text_font, text144);
    EXPECT_EQ(toolbar.glyph_font, glyph144);
    EXPECT_EQ(toolbar.status_font, status144);

    RECT back{50, 60, 50 + 660, 60 + 470};
    SendMessageW(main_window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
    EXPECT_EQ(toolbar.font_dpi, 96u);
    EXPECT_NE(toolbar.text_font, text144);
    GetObjectW(toolbar.status_font, sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -13);
}

TEST_F(WindowSizingTest, ANewFrameSizeReshapesOnlyANormalWindow) {
    SyntheticCamera camera = app_camera(L"\\\\?\\cam#1", L"One", 640, 480);
    camera.block_at_read = 1; // one frame, then nothing changes the store
    open({camera});
    ASSERT_TRUE(pump_until([] { return known_frame_width == 640; }));
    RECT client;
    GetClientRect(main_window, &client);
    EXPECT_EQ(client.bottom - toolbar_height(96), std::lround(client.right * 480.0 / 640.0));
    EXPECT_EQ(client.right, 640) << "the width is kept";

    struct Case {
        int show;
        bool reshaped;
    };
    const Case cases[] = {
        {SW_MINIMIZE, false}, {SW_RESTORE, true}, {SW_MAXIMIZE, false}, {SW_RESTORE, true}};
    int32_t size = 320;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.show);
        ShowWindow(main_window, c.show);
        pump(50);
        RECT before;
        GetWindowRect(main_window, &before);
        // A frame of a new size in the store, as a media-type change leaves it.
        {
            CaptureLockGuard lock;
            frame_store.frame_width = size;
            frame_store.frame_height = size; // square
        }
        SendMessageW(main_window, WM_APP_FRAME, 0, 0);
        EXPECT_EQ(known_frame_width, size);
        RECT after;
        GetWindowRect(main_window, &after);
        GetClientRect(main_window, &client);
        if (c.reshaped) {
            EXPECT_EQ(client.bottom - toolbar_height(96), client.right);
            EXPECT_EQ(after.left, before.left);
            EXPECT_EQ(after.top, before.top);
        } else {
            EXPECT_EQ(after.right - after.left, before.right - before.left);
            EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
        }
        size += 16;
    }
}

TEST_F(WindowSizingTest, APortraitFrameKeepsTheWindowInsideTheWorkArea) {
    SyntheticCamera camera = app_camera(L"\\\\?\\cam#1", L"Portrait", 1080, 1920);
    camera.block_at_read = 1;
    open({camera});
    ASSERT_TRUE(pump_until([] { return known_frame_width == 1080; }));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(main_window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT outer;
    GetWindowRect(main_window, &outer);
    EXPECT_GE(outer.top, monitor.rcWork.top);
    EXPECT_LE(outer.bottom, monitor.rcWork.bottom);
    RECT client;
    GetClientRect(main_window, &client);
    EXPECT_EQ(client.bottom - toolbar_height(96), std::lround(client.right * 1920.0 / 1080.0));
}

} // namespace
