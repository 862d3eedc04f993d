#include "view/mouse_navigation.h"

#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/geometry_win.h"
#include "layout/view_modes.h"
#include "layout/window_shape.h"
#include "layout/window_sizing.h"
#include "view/shown_picture.h"

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
    return navigation_picture(pixel_rect(area), shown_known_width(), shown_known_height(),
                              shape_shown() == ShapeCircle);
}

} // namespace

bool video_hit_test(POINT client_point) {
    const RECT area = video_area_rect();
    return main_window.status == StatusStreaming && PtInRect(&area, client_point);
}

bool navigation_set_cursor(WPARAM wparam, LPARAM lparam) {
    if (LOWORD(lparam) != HTCLIENT || reinterpret_cast<HWND>(wparam) != main_window.handle ||
        !(settings.view.zoom > 1.0)) {
        return false;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(main_window.handle, &cursor);
    if (!video_hit_test(cursor)) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
    return true;
}

void navigation_button_down(WPARAM wparam, LPARAM lparam) {
    const POINT p = point_of(lparam);
    if (drag_moves_window(settings.compact != 0 && !main_window.full_screen.on, settings.view.zoom,
                          main_window.status == StatusStreaming, (wparam & MK_CONTROL) != 0)) {
        POINT screen = p;
        ClientToScreen(main_window.handle, &screen);
        main_window.drag_state = {drag_move, screen.x, screen.y};
        SetCapture(main_window.handle);
    } else if (video_hit_test(p) && settings.view.zoom > 1.0) {
        main_window.drag_state = {drag_pan, p.x, p.y};
        SetCapture(main_window.handle);
    }
}

void navigation_mouse_move(LPARAM lparam) {
    if (main_window.drag_state.dragging == 0) {
        return;
    }
    const POINT p = point_of(lparam);
    if (main_window.drag_state.dragging == drag_move) {
        POINT screen = p;
        ClientToScreen(main_window.handle, &screen);
        RECT r;
        GetWindowRect(main_window.handle, &r);
        SetWindowPos(main_window.handle, nullptr, r.left + screen.x - main_window.drag_state.last_x,
                     r.top + screen.y - main_window.drag_state.last_y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        main_window.drag_state.last_x = screen.x;
        main_window.drag_state.last_y = screen.y;
        return;
    }
    if (drag_step(main_window.drag_state, settings.view, picture(), p.x, p.y, picture_turn())) {
        on_view_changed();
    }
}

void navigation_button_up() {
    if (main_window.drag_state.dragging != 0) {
        ReleaseCapture(); // the flag drops with the WM_CAPTURECHANGED that follows
    }
}

void navigation_capture_changed() {
    main_window.drag_state.dragging = 0;
}

void navigation_double_click(LPARAM lparam) {
    if (video_hit_test(point_of(lparam))) {
        view_reset(settings.view);
        on_view_changed();
    }
}

void navigation_wheel(WPARAM wparam, LPARAM lparam) {
    POINT p = point_of(lparam);
    ScreenToClient(main_window.handle, &p);
    if (!video_hit_test(p)) {
        return;
    }
    wheel_zoom(settings.view, picture(), p.x, p.y, static_cast<int16_t>(HIWORD(wparam)),
               picture_turn());
    on_view_changed();
}
