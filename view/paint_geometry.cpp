#include "view/paint_geometry.h"

#include "layout/toolbar_layout.h"

#include <algorithm>
#include <cmath>

FrameCrop frame_crop(int32_t frame_width, int32_t frame_height, const ViewState& view) {
    const DoubleRect v = view_visible_rect(view);
    FrameCrop crop;
    crop.width = int32_t(std::lround(frame_width * v.width));
    crop.height = int32_t(std::lround(frame_height * v.height));
    crop.width = crop.width <= 0 ? 1 : crop.width;
    crop.height = crop.height <= 0 ? 1 : crop.height;
    crop.x = int32_t(std::lround(frame_width * v.x));
    crop.y = int32_t(std::lround(frame_height * v.y));
    crop.x = std::max(0, std::min(crop.x, frame_width - crop.width));
    crop.y = std::max(0, std::min(crop.y, frame_height - crop.height));
    return crop;
}

FrameCrop square_crop(const FrameCrop& crop) {
    const int32_t side = std::min(crop.width, crop.height);
    return {crop.x + (crop.width - side) / 2, crop.y + (crop.height - side) / 2, side, side};
}

PixelRect shape_inner_area(const PixelRect& area, bool circle) {
    if (!circle) {
        return area;
    }
    // The square inside the circle: its side is the diameter over root 2.
    const auto side =
        int32_t(std::min(area.right - area.left, area.bottom - area.top) * 0.70710678);
    const int32_t left = area.left + (area.right - area.left - side) / 2;
    const int32_t top = area.top + (area.bottom - area.top - side) / 2;
    return {left, top, left + side, top + side};
}

StretchColumns stretch_columns(const PixelRect& picture, bool mirror) {
    const int32_t width = picture.right - picture.left;
    if (!mirror) {
        return {picture.left, width};
    }
    return {picture.right - 1, -width};
}

StretchColumns stretch_rows(const PixelRect& picture, bool flip) {
    const int32_t height = picture.bottom - picture.top;
    if (!flip) {
        return {picture.top, height};
    }
    return {picture.bottom - 1, -height};
}

PauseSign pause_sign(const PixelRect& area, uint32_t dpi) {
    const int32_t box = scale_units(16, dpi);
    const int32_t left = area.right - scale_units(8, dpi) - box;
    const int32_t top = area.top + scale_units(8, dpi);
    const int32_t bar = scale_units(5, dpi);
    const int32_t first = left + scale_units(1, dpi);
    const int32_t second = left + scale_units(10, dpi);
    return {{{first, top, first + bar, top + box}, {second, top, second + bar, top + box}}};
}

PixelRect save_tip_box(const PixelRect& area, int32_t text_width, int32_t text_height,
                       uint32_t dpi) {
    const int32_t width = std::min(text_width + 2 * scale_units(8, dpi), area.right - area.left);
    const int32_t height = text_height + 2 * scale_units(4, dpi);
    const int32_t left = area.left + (area.right - area.left - width) / 2;
    const int32_t bottom = std::max(area.bottom - scale_units(12, dpi), area.top + height);
    return {left, std::max(bottom - height, area.top), left + width, std::min(bottom, area.bottom)};
}

PixelRect status_text_bounds(const PixelRect& area, double scale) {
    const auto margin = int32_t(24 * scale); // truncated toward zero
    return {area.left + margin, area.top, area.right - margin, area.bottom};
}

PixelRect status_text_place(const PixelRect& bounds, const PixelRect& area, double scale,
                            int32_t text_height) {
    PixelRect r = bounds;
    r.bottom = area.top + (area.bottom - area.top) / 2 - int32_t(8 * scale);
    r.top = r.bottom - text_height;
    return r;
}

Bars bars_around(const PixelRect& area, const PixelRect& picture) {
    return {{
        {area.left, area.top, area.right, picture.top},
        {area.left, picture.bottom, area.right, area.bottom},
        {area.left, picture.top, picture.left, picture.bottom},
        {picture.right, picture.top, area.right, picture.bottom},
    }};
}
