#include "layout/sizing_rules.h"

#include "settings/settings.h"

#include <algorithm>
#include <cmath>

Aspect window_aspect(int32_t known_width, int32_t known_height, bool square) {
    if (square) {
        return {1, 1};
    }
    return {known_width < 1 ? 16 : known_width, known_height < 1 ? 9 : known_height};
}

PixelRect reshape_about_centre(const PixelRect& r, const Aspect& aspect) {
    const int32_t side = std::min(r.right - r.left, r.bottom - r.top);
    int32_t width = side;
    int32_t height = side;
    if (aspect.width >= aspect.height) {
        width = int32_t(std::lround(double(side) * aspect.width / aspect.height));
    } else {
        height = int32_t(std::lround(double(side) * aspect.height / aspect.width));
    }
    const int32_t left = r.left + (r.right - r.left - width) / 2;
    const int32_t top = r.top + (r.bottom - r.top - height) / 2;
    return {left, top, left + width, top + height};
}

PixelRect sizing_rect(int32_t edge, const PixelRect& proposed, double aw, double ah,
                      const SizingFrame& frame) {
    PixelRect r = proposed;
    int32_t vw;
    int32_t vh;
    if (edge == EdgeTop || edge == EdgeBottom) {
        vh = r.bottom - r.top - frame.nonclient_height - frame.toolbar;
        vw = std::max(frame.min_video_width, int32_t(std::lround(vh * aw / ah)));
        vh = int32_t(std::lround(vw * ah / aw));
        r.right = r.left + vw + frame.nonclient_width;
    } else {
        vw = std::max(frame.min_video_width, r.right - r.left - frame.nonclient_width);
        vh = int32_t(std::lround(vw * ah / aw));
        if (edge == EdgeLeft || edge == EdgeTopLeft || edge == EdgeBottomLeft) {
            r.left = r.right - (vw + frame.nonclient_width);
        } else {
            r.right = r.left + vw + frame.nonclient_width;
        }
    }
    const int32_t outer_height = vh + frame.toolbar + frame.nonclient_height;
    if (edge == EdgeTop || edge == EdgeTopLeft || edge == EdgeTopRight) {
        r.top = r.bottom - outer_height;
    } else {
        r.bottom = r.top + outer_height;
    }
    return r;
}

void minimum_track_size(const SizingFrame& frame, int32_t* width, int32_t* height) {
    *width = frame.min_video_width + frame.nonclient_width;
    *height = frame.min_video_width * 9 / 16 + frame.toolbar + frame.nonclient_height;
}

int32_t fitted_video_height(int32_t client_width, int32_t frame_width, int32_t frame_height) {
    return int32_t(std::lround(double(client_width) * frame_height / frame_width));
}

PixelRect fit_window_to_frame(const PixelRect& outer, int32_t client_width, int32_t frame_width,
                              int32_t frame_height, const SizingFrame& frame,
                              const PixelRect& work) {
    const int32_t vh = fitted_video_height(client_width, frame_width, frame_height);
    PixelRect r{outer.left, outer.top, outer.right,
                outer.top + vh + frame.toolbar + frame.nonclient_height};
    if (r.bottom <= work.bottom) {
        return r;
    }
    // As if the user had dragged the bottom edge up to the work area's.
    r = sizing_rect(EdgeBottom, {outer.left, outer.top, outer.right, work.bottom},
                    double(frame_width), double(frame_height), frame);
    if (r.bottom > work.bottom) {
        const int32_t up = std::min(r.bottom - work.bottom, std::max(0, r.top - work.top));
        r.top -= up;
        r.bottom -= up;
    }
    return r;
}

bool top_edge_middle(int32_t x, int32_t width, int32_t* middle_x) {
    // In 64 bits: a damaged or crafted file can hold any two 32-bit values.
    const int64_t middle = int64_t{x} + width / 2;
    if (middle < INT32_MIN || middle > INT32_MAX) {
        return false;
    }
    *middle_x = int32_t(middle);
    return true;
}

int32_t compact_edge_at(int32_t width, int32_t height, int32_t x, int32_t y, int32_t band) {
    const bool left = x < band;
    const bool right = x >= width - band;
    const bool top = y < band;
    const bool bottom = y >= height - band;
    if (top) {
        return left ? EdgeTopLeft : right ? EdgeTopRight : EdgeTop;
    }
    if (bottom) {
        return left ? EdgeBottomLeft : right ? EdgeBottomRight : EdgeBottom;
    }
    return left ? EdgeLeft : right ? EdgeRight : 0;
}

int32_t shape_radius(int32_t shape, int32_t width, int32_t height, uint32_t dpi) {
    if (shape == ShapeRounded) {
        return scale_units(12, dpi);
    }
    return shape == ShapeCircle ? std::min(width, height) / 2 : 0;
}

int32_t shape_edge_at(int32_t width, int32_t height, int32_t x, int32_t y, int32_t band,
                      int32_t radius) {
    // Pixel centres, from the centre of the corner's arc.
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double dx = px < radius ? px - radius : px - (width - radius);
    const double dy = py < radius ? py - radius : py - (height - radius);
    if (radius <= 0 || (px >= radius && px <= width - radius) ||
        (py >= radius && py <= height - radius)) {
        return compact_edge_at(width, height, x, y, band);
    }
    if (std::hypot(dx, dy) < radius - band) {
        return 0;
    }
    // tan 22.5 degrees parts the eight directions.
    constexpr double parting = 0.41421356;
    const bool left = dx < 0;
    const bool top = dy < 0;
    if (std::abs(dy) <= parting * std::abs(dx)) {
        return left ? EdgeLeft : EdgeRight;
    }
    if (std::abs(dx) <= parting * std::abs(dy)) {
        return top ? EdgeTop : EdgeBottom;
    }
    return top ? (left ? EdgeTopLeft : EdgeTopRight) : (left ? EdgeBottomLeft : EdgeBottomRight);
}

void compact_minimum_size(int32_t min_width, double aw, double ah, int32_t* width,
                          int32_t* height) {
    *width = min_width;
    *height = int32_t(std::lround(min_width * ah / aw));
}

PixelRect largest_aspect_rect(const PixelRect& work, double aw, double ah) {
    const int32_t work_width = work.right - work.left;
    const int32_t work_height = work.bottom - work.top;
    int32_t width = work_width;
    int32_t height = int32_t(std::lround(work_width * ah / aw));
    if (height > work_height) {
        height = work_height;
        width = int32_t(std::lround(work_height * aw / ah));
    }
    const int32_t left = work.left + (work_width - width) / 2;
    const int32_t top = work.top + (work_height - height) / 2;
    return {left, top, left + width, top + height};
}

PixelRect keep_inside(const PixelRect& r, const PixelRect& work) {
    const int32_t width = r.right - r.left;
    const int32_t height = r.bottom - r.top;
    const int32_t left = std::max(work.left, std::min(r.left, work.right - width));
    const int32_t top = std::max(work.top, std::min(r.top, work.bottom - height));
    return {left, top, left + width, top + height};
}
