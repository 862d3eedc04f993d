#include "layout/window_shape.h"

#include "app/main_window.h"
#include "app/window_calls.h"
#include "base/geometry_win.h"
#include "layout/sizing_rules.h"
#include "layout/window_sizing.h"

namespace {

// The window takes the aspect of the shape about its centre, so that the
// middle of the picture stays where it is on the screen; a maximised window
// takes the largest rectangle of that aspect.
void reshape_window() {
    if (IsIconic(main_window.handle)) {
        return;
    }
    RECT r;
    if (IsZoomed(main_window.handle)) {
        const Aspect aspect = shown_aspect();
        r = win_rect(
            largest_aspect_rect(pixel_rect(window_monitor().rcWork), aspect.width, aspect.height));
    } else {
        GetWindowRect(main_window.handle, &r);
        r = win_rect(keep_inside(reshape_about_centre(pixel_rect(r), shown_aspect()),
                                 pixel_rect(window_monitor().rcWork)));
    }
    SetWindowPos(main_window.handle, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_NOZORDER);
}

} // namespace

int32_t shape_shown() {
    return shape_applies() ? settings.shape : int32_t{ShapeRectangle};
}

void shape_update_region() {
    const int32_t shape = shape_shown();
    RECT box;
    if (shape != ShapeRounded && shape != ShapeCircle) {
        // No call at all for a window that never had a region.
        if (GetWindowRgnBox(main_window.handle, &box) != ERROR) {
            SetWindowRgn(main_window.handle, nullptr, TRUE);
        }
        return;
    }
    // Regions count from the window's top-left corner, and a rounded or
    // elliptic region leaves out its right and bottom edges.
    GetWindowRect(main_window.handle, &box);
    const int32_t width = box.right - box.left;
    const int32_t height = box.bottom - box.top;
    const int32_t radius = shape_radius(shape, width, height, main_window.dpi);
    HRGN region = shape == ShapeCircle
                      ? CreateEllipticRgn(0, 0, width + 1, height + 1)
                      : CreateRoundRectRgn(0, 0, width + 1, height + 1, 2 * radius, 2 * radius);
    // From a successful SetWindowRgn on the system owns the region.
    if (region != nullptr && SetWindowRgn(main_window.handle, region, TRUE) == 0) {
        DeleteObject(region);
    }
}

void shape_window_pos_changed(const WINDOWPOS* pos) {
    if ((pos->flags & SWP_NOSIZE) == 0) {
        shape_update_region();
    }
}

void set_shape(int32_t shape) {
    const bool was_circle = shape_shown() == ShapeCircle;
    settings.shape = shape;
    arm_timer(TIMER_SAVE);
    if (shape_applies()) {
        // Only the circle has an aspect of its own.
        if (was_circle != (shape == ShapeCircle)) {
            reshape_window();
        }
        shape_update_region();
        relayout();
    }
}

bool shape_applies() {
    return settings.compact != 0 && !main_window.full_screen.on;
}

void step_shape() {
    if (shape_applies()) {
        set_shape(settings.shape == ShapeRectangle ? ShapeRounded
                  : settings.shape == ShapeRounded ? ShapeCircle
                                                   : ShapeRectangle);
    }
}
