#pragma once
// Zoom-and-pan record and the aspect-fit geometry. Plain arithmetic on doubles
// with no window-system calls; the user-interface thread is the only user.

#include <cstdint>

#include "base/geometry.h"

struct ViewState {
    double zoom;     // 1..8 after view_normalize
    double center_x; // normalised frame units, 0 = left edge, 1 = right edge
    double center_y; // 0 = top edge, 1 = bottom edge
};

struct DoubleRect {
    double x;
    double y;
    double width;
    double height;
};

struct UnitPoint {
    double u;
    double v;
};

inline constexpr double view_min_zoom = 1.0;
inline constexpr double view_max_zoom = 8.0;
inline constexpr double zoom_out_factor = 0.6666666666666666; // 2/3
inline constexpr double zoom_in_factor = 1.5;

void view_reset(ViewState& view);
void view_normalize(ViewState& view);
void view_zoom_at(ViewState& view, double anchor_x, double anchor_y, double factor);
void view_pan(ViewState& view, double dx, double dy);
DoubleRect view_visible_rect(const ViewState& view);
int view_zoom_percent(const ViewState& view);

DoubleRect fit_rect(double content_width, double content_height, double area_width,
                    double area_height);
UnitPoint fit_point_to_unit(const DoubleRect& rect, double px, double py);
PixelRect fit_rect_pixels(const PixelRect& area, int32_t frame_width, int32_t frame_height);
