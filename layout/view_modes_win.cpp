#include "layout/view_modes.h"

#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/geometry_win.h"
#include "layout/see_through_win.h"
#include "layout/sizing_rules.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"
#include "layout/window_shape.h"
#include "layout/window_sizing.h"

namespace {

// The window-state bits stay as they are when the kind of window changes.
void set_style(DWORD style) {
    const auto current = DWORD(GetWindowLongW(main_window.handle, GWL_STYLE));
    SetWindowLongW(main_window.handle, GWL_STYLE,
                   LONG(style | (current & (WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE))));
}

RECT client_on_screen() {
    RECT r;
    GetClientRect(main_window.handle, &r);
    MapWindowPoints(main_window.handle, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void move_to(const RECT& r) {
    SetWindowPos(main_window.handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void cover_monitor() {
    const RECT m = window_monitor().rcMonitor;
    SetWindowPos(main_window.handle, nullptr, m.left, m.top, m.right - m.left, m.bottom - m.top,
                 SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

// The picture stays where it is on the screen: the compact window becomes
// the video area, and the framed window is built around it again.
void restore_if_maximised() {
    if (IsZoomed(main_window.handle) || IsIconic(main_window.handle)) {
        ShowWindow(main_window.handle, SW_RESTORE);
    }
}

void enter_compact() {
    restore_if_maximised();
    RECT area = video_area_rect();
    MapWindowPoints(main_window.handle, nullptr, reinterpret_cast<POINT*>(&area), 2);
    settings.compact = 1;
    set_style(compact_window_style);
    toolbar_show(false);
    // The circle is the picture's middle square, where it was on the screen.
    if (settings.shape == ShapeCircle) {
        area = win_rect(reshape_about_centre(pixel_rect(area), {1, 1}));
    }
    move_to(area);
}

// A maximised compact window is restored first too, so the framed window is
// built around a picture that fits the work area.
void leave_compact() {
    restore_if_maximised();
    RECT area = client_on_screen();
    // Around the circle: the whole picture whose middle it showed.
    if (shape_shown() == ShapeCircle) {
        area = win_rect(reshape_about_centre(
            pixel_rect(area), window_aspect(shown_known_width(), shown_known_height(), false)));
    }
    RECT framed{area.left, area.top - toolbar_height(main_window.dpi), area.right, area.bottom};
    AdjustWindowRectExForDpi(&framed, main_window_style, FALSE,
                             DWORD(GetWindowLongW(main_window.handle, GWL_EXSTYLE)),
                             main_window.dpi);
    settings.compact = 0;
    set_style(main_window_style);
    toolbar_show(true);
    move_to(win_rect(keep_inside(pixel_rect(framed), pixel_rect(window_monitor().rcWork))));
}

void enter_full_screen() {
    main_window.full_screen.placement_before.length = sizeof(WINDOWPLACEMENT);
    GetWindowPlacement(main_window.handle, &main_window.full_screen.placement_before);
    main_window.full_screen.style_before = GetWindowLongW(main_window.handle, GWL_STYLE);
    main_window.full_screen.on = true;
    main_window.full_screen.pointer_hidden = false;
    GetCursorPos(&main_window.full_screen.last_pointer);
    SetWindowLongW(main_window.handle, GWL_STYLE,
                   LONG((DWORD(main_window.full_screen.style_before) & WS_VISIBLE) | WS_POPUP |
                        WS_CLIPCHILDREN));
    toolbar_show(false);
    SetFocus(main_window.handle);
    cover_monitor();
    arm_timer(TIMER_POINTER);
}

void leave_full_screen() {
    main_window.full_screen.on = false;
    KillTimer(main_window.handle, TIMER_POINTER);
    if (main_window.full_screen.pointer_hidden) {
        main_window.full_screen.pointer_hidden = false;
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
    // Without WS_MAXIMIZE: a window that already carries it is not maximised
    // again, and would stay monitor-sized over the taskbar. The placement
    // maximises it to the work area when it was maximised before.
    SetWindowLongW(main_window.handle, GWL_STYLE,
                   LONG(DWORD(main_window.full_screen.style_before) & ~DWORD(WS_MAXIMIZE)));
    toolbar_show(settings.compact == 0);
    SetWindowPlacement(main_window.handle, &main_window.full_screen.placement_before);
    SetWindowPos(main_window.handle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

bool pointer_over_picture() {
    POINT p;
    GetCursorPos(&p);
    return WindowFromPoint(p) == main_window.handle;
}

} // namespace

DWORD initial_window_style() {
    return settings.compact != 0 ? compact_window_style : main_window_style;
}

bool toolbar_shown() {
    return settings.compact == 0 && !main_window.full_screen.on;
}

bool frameless() {
    return settings.compact != 0 || main_window.full_screen.on;
}

void toggle_compact() {
    if (main_window.full_screen.on) {
        leave_full_screen();
    }
    if (settings.compact != 0) {
        leave_compact();
    } else {
        enter_compact();
    }
    click_through_follow_view();
    relayout();
    arm_timer(TIMER_SAVE);
}

void toggle_full_screen() {
    if (main_window.full_screen.on) {
        leave_full_screen();
    } else {
        enter_full_screen();
    }
    click_through_follow_view();
    relayout();
}

LRESULT compact_hit_test(LPARAM lparam) {
    POINT p{static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam))};
    ScreenToClient(main_window.handle, &p);
    RECT client;
    GetClientRect(main_window.handle, &client);
    const int32_t edge =
        shape_edge_at(client.right, client.bottom, p.x, p.y, scale_units(6, main_window.dpi),
                      shape_radius(shape_shown(), client.right, client.bottom, main_window.dpi));
    // HTLEFT .. HTBOTTOMRIGHT run in the order of the WMSZ_* edges.
    return edge == 0 ? HTCLIENT : HTLEFT + (edge - WMSZ_LEFT);
}

bool full_screen_refit() {
    if (!main_window.full_screen.on) {
        return false;
    }
    cover_monitor();
    return true;
}

void full_screen_pointer_moved(LPARAM lparam) {
    POINT p{static_cast<int16_t>(LOWORD(lparam)), static_cast<int16_t>(HIWORD(lparam))};
    ClientToScreen(main_window.handle, &p);
    // Windows repeats WM_MOUSEMOVE without a move (after a repaint, a new
    // window under the pointer): only a real move shows the pointer again.
    if (p.x == main_window.full_screen.last_pointer.x &&
        p.y == main_window.full_screen.last_pointer.y) {
        return;
    }
    main_window.full_screen.last_pointer = p;
    if (main_window.full_screen.pointer_hidden) {
        main_window.full_screen.pointer_hidden = false;
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    }
    arm_timer(TIMER_POINTER);
}

void full_screen_pointer_timer() {
    if (main_window.full_screen.on && pointer_over_picture()) {
        main_window.full_screen.pointer_hidden = true;
        SetCursor(nullptr);
    }
}

bool full_screen_set_cursor() {
    if (main_window.full_screen.on && main_window.full_screen.pointer_hidden) {
        SetCursor(nullptr);
        return true;
    }
    return false;
}
