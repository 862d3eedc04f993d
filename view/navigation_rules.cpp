#include "view/navigation_rules.h"

#include <algorithm>
#include <cmath>

PixelRect navigation_picture(const PixelRect& area, int32_t known_width, int32_t known_height,
                             bool fill) {
    const int32_t width = known_width < 1 ? 16 : known_width;
    const int32_t height = known_height < 1 ? 9 : known_height;
    if (!fill) {
        return fit_rect_pixels(area, width, height);
    }
    const double side = std::min(width, height);
    const double shown_width = double(width) * (area.right - area.left) / side;
    const double shown_height = double(height) * (area.bottom - area.top) / side;
    const double centre_x = (area.left + area.right) / 2.0;
    const double centre_y = (area.top + area.bottom) / 2.0;
    return {int32_t(std::lround(centre_x - shown_width / 2)),
            int32_t(std::lround(centre_y - shown_height / 2)),
            int32_t(std::lround(centre_x + shown_width / 2)),
            int32_t(std::lround(centre_y + shown_height / 2))};
}

bool drag_step(DragState& drag, ViewState& view, const PixelRect& picture, int32_t x, int32_t y,
               const PictureTurn& turn) {
    bool panned = false;
    if (picture.right > picture.left && picture.bottom > picture.top) {
        const double dx = double(x - drag.last_x) / double(picture.right - picture.left);
        const double dy = double(y - drag.last_y) / double(picture.bottom - picture.top);
        const UnitPoint move = shown_move_to_frame(dx, dy, turn);
        view_pan(view, move.u, move.v);
        panned = true;
    }
    drag.last_x = x;
    drag.last_y = y;
    return panned;
}

void wheel_zoom(ViewState& view, const PixelRect& picture, int32_t x, int32_t y, int32_t delta,
                const PictureTurn& turn) {
    const double factor = std::pow(1.25, delta / 120.0);
    const DoubleRect r{double(picture.left), double(picture.top),
                       double(picture.right - picture.left), double(picture.bottom - picture.top)};
    const UnitPoint p = shown_to_frame(fit_point_to_unit(r, x, y), turn);
    view_zoom_at(view, p.u, p.v, factor);
}

bool drag_moves_window(bool compact, double zoom, bool picture_shown, bool control_key) {
    return compact && (control_key || !(zoom > 1.0) || !picture_shown);
}
