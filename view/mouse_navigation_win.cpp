#include "view/mouse_navigation.h"

#include "app/app_state.h"
#include "app/support_win.h"
#include "layout/view_modes.h"
#include "layout/window_sizing.h"
#include "view/shown_picture.h"

DragState drag_state;

namespace {

// DragState.dragging: a pan of the picture, or a move of the compact window
// (whose positions are then screen coordinates).
constexpr int drag_pan = 1;
constexpr int drag_move = 2;

} // namespace

namespace {

POINT point_of(LPARAM lparam) {
    return {static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam))};
}

PixelRect picture() {
    const RECT area = video_area_rect();
    return navigation_picture(pixel_rect(area), shown_known_width(), shown_known_height());
}

} // namespace

bool video_hit_test(POINT client_point) {
    const RECT area = video_area_rect();
    return status == StatusStreaming && PtInRect(&area, client_point);
}

bool navigation_set_cursor(WPARAM wparam, LPARAM lparam) {
    if (LOWORD(lparam) != HTCLIENT || reinterpret_cast<HWND>(wparam) != main_window ||
        !(settings.view.zoom > 1.0)) {
        return false;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(main_window, &cursor);
    if (!video_hit_test(cursor)) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
    return true;
}

void navigation_button_down(WPARAM wparam, LPARAM lparam) {
    const POINT p = point_of(lparam);
    if (drag_moves_window(settings.compact != 0 && !full_screen.on, settings.view.zoom,
                          status == StatusStreaming, (wparam & MK_CONTROL) != 0)) {
        POINT screen = p;
        ClientToScreen(main_window, &screen);
        drag_state = {drag_move, screen.x, screen.y};
        SetCapture(main_window);
    } else if (video_hit_test(p) && settings.view.zoom > 1.0) {
        drag_state = {drag_pan, p.x, p.y};
        SetCapture(main_window);
    }
}

void navigation_mouse_move(LPARAM lparam) {
    if (drag_state.dragging == 0) {
        return;
    }
    const POINT p = point_of(lparam);
    if (drag_state.dragging == drag_move) {
        POINT screen = p;
        ClientToScreen(main_window, &screen);
        RECT r;
        GetWindowRect(main_window, &r);
        SetWindowPos(main_window, nullptr, r.left + screen.x - drag_state.last_x,
                     r.top + screen.y - drag_state.last_y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        drag_state.last_x = screen.x;
        drag_state.last_y = screen.y;
        return;
    }
    if (drag_step(drag_state, settings.view, picture(), p.x, p.y, picture_turn())) {
        on_view_changed();
    }
}

void navigation_button_up() {
    if (drag_state.dragging != 0) {
        ReleaseCapture(); // the flag drops with the WM_CAPTURECHANGED that follows
    }
}

void navigation_capture_changed() {
    drag_state.dragging = 0;
}

void navigation_double_click(LPARAM lparam) {
    if (video_hit_test(point_of(lparam))) {
        view_reset(settings.view);
        on_view_changed();
    }
}

void navigation_wheel(WPARAM wparam, LPARAM lparam) {
    POINT p = point_of(lparam);
    ScreenToClient(main_window, &p);
    if (!video_hit_test(p)) {
        return;
    }
    wheel_zoom(settings.view, picture(), p.x, p.y, static_cast<int16_t>(HIWORD(wparam)),
               picture_turn());
    on_view_changed();
}
