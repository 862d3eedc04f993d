// The cursor over the real main window. Drag, wheel and double-click are
// driven end to end with real input; the cursor is checked here because under
// Wine another process's cursor handle cannot be read.

#include "app_fixture.h"

namespace {

// Moves the window, not the pointer, so that the pointer lies over client
// point p: under Wine a pointer move lands some time later.
void put_pointer_over(POINT p) {
    POINT pointer;
    GetCursorPos(&pointer);
    ClientToScreen(main_window, &p);
    RECT outer;
    GetWindowRect(main_window, &outer);
    SetWindowPos(main_window, nullptr, outer.left + pointer.x - p.x, outer.top + pointer.y - p.y, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

using MouseCursorTest = AppWindowTest;

TEST_F(MouseCursorTest, TheMoveCursorShowsExactlyOverAZoomedStreamingPicture) {
    // A 16:9 camera whose picture fills the video area of the default window.
    open({frozen_camera(1280, 720)});
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
        put_pointer_over({300, c.y});
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
