// Mouse messages sent to the real main window: drag, wheel, double-click and
// the cursor, each only over a streaming picture.

#include "app_fixture.h"

namespace {

using MouseNavigationTest = AppWindowTest;

LPARAM client_point(int x, int y) {
    return MAKELPARAM(x, y);
}

LPARAM screen_point(int x, int y) {
    POINT p{x, y};
    ClientToScreen(main_window, &p);
    return MAKELPARAM(p.x, p.y);
}

// Moves the pointer and waits until it stays there. Under Wine the motion
// event of an earlier move can arrive late and put the position back, so the
// position must hold across two pumps.
bool place_cursor(POINT p) {
    auto at_p = [&] {
        POINT at;
        GetCursorPos(&at);
        return at.x == p.x && at.y == p.y;
    };
    for (int attempt = 0; attempt < 50; ++attempt) {
        SetCursorPos(p.x, p.y);
        AppWindowTest::pump(40);
        if (at_p()) {
            AppWindowTest::pump(40);
            if (at_p()) {
                return true;
            }
        }
    }
    return false;
}

struct Streaming : MouseNavigationTest {
    // A 16:9 camera whose picture fills the video area of the default window.
    void open_streaming() {
        SyntheticCamera camera = app_camera(L"\\\\?\\cam#1", L"One", 1280, 720);
        camera.block_at_read = 1;
        open({camera});
        ASSERT_TRUE(pump_until([] { return status == StatusStreaming && known_frame_width > 0; }));
    }
};

TEST_F(Streaming, DragPansAndKeepsTheFramePointUnderThePointer) {
    open_streaming();
    settings.view = {2, 0.5, 0.5};
    const RECT area = video_area_rect();
    const int x0 = 320;
    const int y0 = area.top + 180;
    SendMessageW(main_window, WM_LBUTTONDOWN, MK_LBUTTON, client_point(x0, y0));
    EXPECT_EQ(drag_state.dragging, 1);
    EXPECT_EQ(GetCapture(), main_window);
    // The frame point under the pointer: centre + (pointer - middle) / zoom.
    const double u0 = settings.view.center_x + (double(x0) / 640 - 0.5) / 2;
    SendMessageW(main_window, WM_MOUSEMOVE, MK_LBUTTON, client_point(x0 + 64, y0 + 36));
    SendMessageW(main_window, WM_MOUSEMOVE, MK_LBUTTON, client_point(x0 + 128, y0 + 72));
    const double u1 = settings.view.center_x + (double(x0 + 128) / 640 - 0.5) / 2;
    EXPECT_NEAR(u1, u0, 1e-12);
    EXPECT_NEAR(settings.view.center_x, 0.4, 1e-12);
    EXPECT_NEAR(settings.view.center_y, 0.4, 1e-12);
    // Moves outside the window keep panning while the capture is held.
    SendMessageW(main_window, WM_MOUSEMOVE, MK_LBUTTON, client_point(x0 - 2000, y0));
    EXPECT_EQ(settings.view.center_x, 0.75);
    SendMessageW(main_window, WM_LBUTTONUP, 0, client_point(x0, y0));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(drag_state.dragging, 0) << "cleared by WM_CAPTURECHANGED";
}

TEST_F(Streaming, GesturesStartOnlyInsideTheVideoAreaWhileStreamingAndZoomed) {
    open_streaming();
    const RECT area = video_area_rect();
    struct Case {
        const char* what;
        double zoom;
        StatusState state;
        int x, y;
        bool drags;
    } cases[] = {
        {"zoomed picture", 2, StatusStreaming, 100, area.top + 10, true},
        {"zoom 1", 1, StatusStreaming, 100, area.top + 10, false},
        {"toolbar strip", 2, StatusStreaming, 100, area.top - 5, false},
        {"not streaming", 2, StatusFailed, 100, area.top + 10, false},
        {"starting", 2, StatusStarting, 100, area.top + 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.view = {c.zoom, 0.5, 0.5};
        status = c.state;
        SendMessageW(main_window, WM_LBUTTONDOWN, MK_LBUTTON, client_point(c.x, c.y));
        EXPECT_EQ(drag_state.dragging, c.drags ? 1 : 0);
        SendMessageW(main_window, WM_LBUTTONUP, 0, client_point(c.x, c.y));

        const ViewState before = settings.view;
        SendMessageW(main_window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), screen_point(c.x, c.y));
        const bool in_video = c.state == StatusStreaming && c.y >= area.top;
        EXPECT_EQ(settings.view.zoom != before.zoom, in_video && c.zoom < 8);
        SendMessageW(main_window, WM_LBUTTONDBLCLK, MK_LBUTTON, client_point(c.x, c.y));
        EXPECT_EQ(settings.view.zoom == 1.0, in_video || before.zoom == 1.0);
    }
}

TEST_F(Streaming, WheelZoomsAboutThePointer) {
    open_streaming();
    const RECT area = video_area_rect();
    settings.view = {1, 0.5, 0.5};
    // A notch over the picture's top-left corner keeps that corner fixed.
    SendMessageW(main_window, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), screen_point(0, area.top));
    EXPECT_DOUBLE_EQ(settings.view.zoom, 1.25);
    EXPECT_DOUBLE_EQ(settings.view.center_x, 0.4);
    EXPECT_DOUBLE_EQ(settings.view.center_y, 0.4);
    wchar_t label[16];
    GetWindowTextW(toolbar.zoom_label, label, 16);
    EXPECT_STREQ(label, L"125%");
    struct Case {
        short delta;
        double factor;
    } cases[] = {{-120, 0.8}, {240, 1.5625}, {-240, 0.64}, {60, 1.118033988749895}};
    for (const Case& c : cases) {
        settings.view = {2, 0.5, 0.5};
        SendMessageW(main_window, WM_MOUSEWHEEL, MAKEWPARAM(0, c.delta),
                     screen_point(320, area.top + 180));
        EXPECT_NEAR(settings.view.zoom, 2 * c.factor, 1e-12) << c.delta;
    }
    settings.view = {1, 0.5, 0.5};
    SendMessageW(main_window, WM_MOUSEWHEEL, MAKEWPARAM(0, -120),
                 screen_point(320, area.top + 180));
    EXPECT_EQ(settings.view.zoom, 1.0) << "zooming out at 1 changes nothing";
}

TEST_F(Streaming, TheMoveCursorShowsExactlyOverAZoomedStreamingPicture) {
    open_streaming();
    const RECT area = video_area_rect();
    const HCURSOR move = LoadCursorW(nullptr, IDC_SIZEALL);
    struct Case {
        const char* what;
        double zoom;
        StatusState state;
        int y;
        bool move_cursor;
    } cases[] = {
        {"zoomed picture", 2, StatusStreaming, area.top + 50, true},
        {"zoom 1", 1, StatusStreaming, area.top + 50, false},
        {"toolbar", 2, StatusStreaming, area.top - 10, false},
        {"waiting", 2, StatusWaiting, area.top + 50, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.view = {c.zoom, 0.5, 0.5};
        status = c.state;
        POINT p{300, c.y};
        ClientToScreen(main_window, &p);
        ASSERT_TRUE(place_cursor(p));
        SetCursor(nullptr);
        const LRESULT handled =
            SendMessageW(main_window, WM_SETCURSOR, reinterpret_cast<WPARAM>(main_window),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(handled == TRUE && GetCursor() == move, c.move_cursor);
    }
    // Over a child control the window never sets it.
    settings.view = {2, 0.5, 0.5};
    status = StatusStreaming;
    SetCursor(nullptr);
    EXPECT_EQ(SendMessageW(main_window, WM_SETCURSOR, reinterpret_cast<WPARAM>(toolbar.combo),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == TRUE &&
                  GetCursor() == move,
              false);
}

} // namespace
