#include "layout/window_sizing.h"

#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/geometry_win.h"
#include "capture/capture.h"
#include "layout/sizing_rules.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"
#include "layout/view_modes.h"
#include "layout/window_shape.h"
#include "view/shown_picture.h"

// The platform-free sizing rules take the WMSZ_* values as they come.
static_assert(EdgeLeft == WMSZ_LEFT && EdgeRight == WMSZ_RIGHT && EdgeTop == WMSZ_TOP &&
              EdgeTopLeft == WMSZ_TOPLEFT && EdgeTopRight == WMSZ_TOPRIGHT &&
              EdgeBottom == WMSZ_BOTTOM && EdgeBottomLeft == WMSZ_BOTTOMLEFT &&
              EdgeBottomRight == WMSZ_BOTTOMRIGHT);

namespace {

// The compact window is the picture alone: no toolbar, no frame, and a
// smaller least width.
SizingFrame sizing_frame() {
    SizingFrame frame;
    const bool compact = settings.compact != 0;
    frame.toolbar = compact ? 0 : toolbar_height(main_window.dpi);
    frame.min_video_width = scale_units(compact ? 160 : 320, main_window.dpi);
    nonclient_size(&frame.nonclient_width, &frame.nonclient_height);
    return frame;
}

// A maximised compact window is the picture alone, so the usual maximised
// rectangle (the work area with the sizing frame hanging over its edges)
// would put picture off screen: it is the largest rectangle of the picture's
// aspect inside the work area instead.
PixelRect compact_maximised_rect(const MONITORINFO& monitor) {
    const Aspect aspect = shown_aspect();
    return largest_aspect_rect(pixel_rect(monitor.rcWork), aspect.width, aspect.height);
}

} // namespace

void nonclient_size(int32_t* width, int32_t* height) {
    if (frameless()) {
        *width = 0;
        *height = 0;
        return;
    }
    RECT r{0, 0, 0, 0};
    const auto style = DWORD(GetWindowLongW(main_window.handle, GWL_STYLE));
    const auto ex_style = DWORD(GetWindowLongW(main_window.handle, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&r, style, FALSE, ex_style, main_window.dpi);
    *width = r.right - r.left;
    *height = r.bottom - r.top;
}

void on_get_min_max_info(MINMAXINFO* info) {
    int32_t width;
    int32_t height;
    if (settings.compact != 0) {
        const Aspect aspect = shown_aspect();
        compact_minimum_size(sizing_frame().min_video_width, aspect.width, aspect.height, &width,
                             &height);
    } else {
        minimum_track_size(sizing_frame(), &width, &height);
    }
    info->ptMinTrackSize.x = width;
    info->ptMinTrackSize.y = height;
    if (settings.compact != 0 && !main_window.full_screen.on) {
        // The maximised position counts from the monitor's top-left corner:
        // Windows moves it to the monitor the window maximises on.
        const MONITORINFO monitor = window_monitor();
        const PixelRect r = compact_maximised_rect(monitor);
        info->ptMaxPosition = {r.left - monitor.rcMonitor.left, r.top - monitor.rcMonitor.top};
        info->ptMaxSize = {r.right - r.left, r.bottom - r.top};
    }
}

void on_sizing(WPARAM edge, RECT* rect) {
    const Aspect aspect = shown_aspect();
    *rect = win_rect(
        sizing_rect(int32_t(edge), pixel_rect(*rect), aspect.width, aspect.height, sizing_frame()));
}

void on_dpi_changed(WPARAM wparam, const RECT* suggested) {
    main_window.dpi = HIWORD(wparam);
    status_font_create();
    // Full screen covers its monitor whatever Windows suggests.
    if (full_screen_refit()) {
        relayout();
        return;
    }
    SetWindowPos(main_window.handle, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    shape_update_region(); // the rounded corners' radius follows the DPI
    relayout();
}

int32_t shown_known_width() {
    return shown_width(main_window.known_frame_width, main_window.known_frame_height,
                       settings.rotation);
}

int32_t shown_known_height() {
    return shown_height(main_window.known_frame_width, main_window.known_frame_height,
                        settings.rotation);
}

Aspect shown_aspect() {
    return window_aspect(shown_known_width(), shown_known_height(), shape_shown() == ShapeCircle);
}

MONITORINFO window_monitor() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(main_window.handle, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor;
}

void fit_window_to_picture() {
    if (main_window.known_frame_width <= 0 || main_window.known_frame_height <= 0 ||
        IsIconic(main_window.handle) || main_window.full_screen.on) {
        return;
    }
    if (IsZoomed(main_window.handle)) {
        // A maximised framed window keeps the work area; a compact one takes
        // the new aspect, still maximised.
        if (settings.compact != 0) {
            const RECT r = win_rect(compact_maximised_rect(window_monitor()));
            SetWindowPos(main_window.handle, nullptr, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, SWP_NOACTIVATE | SWP_NOZORDER);
        }
        return;
    }
    RECT outer;
    RECT client;
    GetWindowRect(main_window.handle, &outer);
    GetClientRect(main_window.handle, &client);
    const MONITORINFO monitor = window_monitor();
    const Aspect aspect = shown_aspect();
    const RECT fitted =
        win_rect(fit_window_to_frame(pixel_rect(outer), client.right, aspect.width, aspect.height,
                                     sizing_frame(), pixel_rect(monitor.rcWork)));
    SetWindowPos(main_window.handle, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                 fitted.bottom - fitted.top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void on_app_frame() {
    // A frozen picture neither repaints nor takes a new size: the frame
    // pending flag stays raised, so the worker posts nothing more until the
    // picture is live again.
    if (main_window.frozen.on) {
        return;
    }
    FramePeek frame{};
    bool present;
    {
        const PeekedFrame peeked; // only the size is needed here
        frame = peeked.frame;
        present = peeked.held;
    }
    if (present && (frame.width != main_window.known_frame_width ||
                    frame.height != main_window.known_frame_height)) {
        main_window.known_frame_width = frame.width;
        main_window.known_frame_height = frame.height;
        fit_window_to_picture();
    }
    const RECT area = video_area_rect();
    InvalidateRect(main_window.handle, &area, FALSE);
}

void remember_window_rect() {
    // Full screen is never remembered: the window before it is.
    if (main_window.handle == nullptr || IsIconic(main_window.handle) ||
        IsZoomed(main_window.handle) || main_window.full_screen.on) {
        return;
    }
    RECT r;
    GetWindowRect(main_window.handle, &r);
    const int32_t w = r.right - r.left;
    const int32_t h = r.bottom - r.top;
    if (settings.window_valid != 0 && r.left == settings.window_x && r.top == settings.window_y &&
        w == settings.window_w && h == settings.window_h) {
        return;
    }
    settings.window_x = r.left;
    settings.window_y = r.top;
    settings.window_w = w;
    settings.window_h = h;
    settings.window_valid = 1;
    arm_timer(TIMER_SAVE);
}
