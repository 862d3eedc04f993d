#include "view/view_model.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// Anything below this counts as zoom 1, so that a zoom that drifted a hair
// above 1 through repeated steps does not leave a sliver of pan room.
constexpr double zoom_one_threshold = 1.000000001;

int32_t clamp_to_int32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

void view_reset(ViewState& view) {
    view.zoom = 1.0;
    view.center_x = 0.5;
    view.center_y = 0.5;
}

void view_normalize(ViewState& view) {
    double lo;
    double hi;
    if (!std::isfinite(view.zoom) || view.zoom < zoom_one_threshold) {
        view.zoom = 1.0;
        lo = 0.5;
        hi = 0.5;
    } else if (view.zoom > view_max_zoom) {
        view.zoom = view_max_zoom;
        lo = 0.0625;
        hi = 0.9375;
    } else {
        lo = 0.5 / view.zoom;
        hi = 1.0 - lo;
    }
    for (double* center : {&view.center_x, &view.center_y}) {
        if (!std::isfinite(*center)) {
            *center = 0.5;
        }
        if (*center < lo) {
            *center = lo;
        } else if (*center > hi) {
            *center = hi;
        }
    }
}

void view_zoom_at(ViewState& view, double anchor_x, double anchor_y, double factor) {
    if (!std::isfinite(factor) || factor <= 0.0) {
        return;
    }
    const double z = view.zoom;
    const double r = factor * z;
    double z2 = r;
    if (r < view_min_zoom) {
        z2 = view_min_zoom;
    } else if (r > view_max_zoom) {
        z2 = view_max_zoom;
    }
    view.center_x = ((anchor_x - 0.5) / z + view.center_x) - (anchor_x - 0.5) / z2;
    view.center_y = ((anchor_y - 0.5) / z + view.center_y) - (anchor_y - 0.5) / z2;
    view.zoom = z2;
    view_normalize(view);
}

void view_pan(ViewState& view, double dx, double dy) {
    view.center_x -= dx / view.zoom;
    view.center_y -= dy / view.zoom;
    view_normalize(view);
}

DoubleRect view_visible_rect(const ViewState& view) {
    const double s = 1.0 / view.zoom;
    return {view.center_x - 0.5 * s, view.center_y - 0.5 * s, s, s};
}

int view_zoom_percent(const ViewState& view) {
    return static_cast<int>(std::lround(100.0 * view.zoom));
}

DoubleRect fit_rect(double content_width, double content_height, double area_width,
                    double area_height) {
    if (content_width <= 0.0 || content_height <= 0.0 || area_width <= 0.0 || area_height <= 0.0) {
        return {0.0, 0.0, area_width, area_height};
    }
    const double s = std::min(area_height / content_height, area_width / content_width);
    return {(area_width - content_width * s) * 0.5, 0.5 * (area_height - content_height * s),
            content_width * s, content_height * s};
}

UnitPoint fit_point_to_unit(const DoubleRect& rect, double px, double py) {
    auto unit = [](double origin, double size, double p) {
        if (size <= 0.0) {
            return 0.5;
        }
        const double t = (p - origin) / size;
        return t < 0.0 ? 0.0 : std::min(1.0, t);
    };
    return {unit(rect.x, rect.width, px), unit(rect.y, rect.height, py)};
}

PixelRect fit_rect_pixels(const PixelRect& area, int32_t frame_width, int32_t frame_height) {
    // Widths are taken in 64 bits, and llround rounds like lround (halves away
    // from zero) without the 32-bit long of Windows, so no rectangle overflows.
    const int64_t area_width = int64_t{area.right} - area.left;
    const int64_t area_height = int64_t{area.bottom} - area.top;
    const DoubleRect r = fit_rect(frame_width, frame_height, static_cast<double>(area_width),
                                  static_cast<double>(area_height));
    const int64_t left = area.left + std::llround(r.x);
    const int64_t top = area.top + std::llround(r.y);
    const int64_t right = left + std::llround(r.width);
    const int64_t bottom = top + std::llround(r.height);
    return {clamp_to_int32(left), clamp_to_int32(top), clamp_to_int32(right),
            clamp_to_int32(bottom)};
}
