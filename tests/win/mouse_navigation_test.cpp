// The cursor over the real main window. Drag, wheel and double-click are
// driven end to end with real input; the cursor is checked here because under
// Wine another process's cursor handle cannot be read.

#include "app_fixture.h"

namespace {

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

using MouseCursorTest = AppWindowTest;

TEST_F(MouseCursorTest, TheMoveCursorShowsExactlyOverAZoomedStreamingPicture) {
    // A 16:9 camera whose picture fills the video area of the default window.
    SyntheticCamera camera = app_camera(L"\\\\?\\cam#1", L"One", 1280, 720);
    camera.block_at_read = 1;
    open({camera});
    ASSERT_TRUE(pump_until([] { return status == StatusStreaming && known_frame_width > 0; }));
    const RECT area = video_area_rect();
    const HCURSOR move = LoadCursorW(nullptr, IDC_SIZEALL);
    struct Case {
        const char* what;
        double zoom;
        StatusState state;
        int y;
        bool move_cursor;
    };
    const Case cases[] = {
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
