// The cursor over the real main window. Drag, wheel and double-click are
// driven end to end with real input; the cursor is checked here because under
// Wine another process's cursor handle cannot be read.

#include "app_fixture.h"

#include <tuple>

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
    // {zoom, state, pointer y, window under the pointer, move cursor}
    const std::tuple<double, StatusState, LONG, HWND, bool> cases[] = {
        {2, StatusStreaming, area.top + 50, main_window, true},
        {1, StatusStreaming, area.top + 50, main_window, false},
        {2, StatusStreaming, area.top - 10, main_window, false}, // the toolbar
        {2, StatusWaiting, area.top + 50, main_window, false},
        {2, StatusStreaming, area.top + 50, toolbar.combo, false}, // a child control
    };
    for (const auto& [zoom, state, y, under, moves] : cases) {
        settings.view = {zoom, 0.5, 0.5};
        status = state;
        put_pointer_over({300, y});
        SetCursor(nullptr);
        const LRESULT handled = SendMessageW(main_window, WM_SETCURSOR, WPARAM(under),
                                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(handled == TRUE && GetCursor() == move, moves) << zoom << " " << y;
    }
}

} // namespace
