#include "view/guides.h"

#include <algorithm>
#include <cmath>

#include "settings/settings.h"

namespace {

// The centre mark's arms from the centre out, in units.
constexpr int32_t mark_arm_units = 10;

// The pixel a window coordinate falls in. Whole coordinates come out of the
// mapping exact, but a hair's breadth keeps a product like 159.99999999999997
// in the pixel it means.
int32_t pixel_of(double coordinate) {
    return int32_t(std::floor(coordinate + 1e-9));
}

// `width` pixels across, around pixel `at`.
void stroke_across(int32_t at, int32_t width, int32_t* from, int32_t* to) {
    *from = at - (width - 1) / 2;
    *to = *from + width;
}

} // namespace

FrameGuides frame_guides(int32_t kind, int32_t width, int32_t height) {
    FrameGuides guides{};
    const double w = width;
    const double h = height;
    guides.centre = {w / 2, h / 2};
    if (kind == GuideGrid) {
        // Whole thirds stay whole: the product before the division.
        for (int32_t k = 1; k <= 2; ++k) {
            const double x = double(width * k) / 3;
            const double y = double(height * k) / 3;
            guides.line[guides.lines++] = {{x, 0}, {x, h}};
            guides.line[guides.lines++] = {{0, y}, {w, y}};
        }
    } else if (kind == GuideCrosshair) {
        guides.line[guides.lines++] = {{w / 2, 0}, {w / 2, h}};
        guides.line[guides.lines++] = {{0, h / 2}, {w, h / 2}};
        const double shorter = std::min(w, h);
        guides.radius[guides.circles++] = shorter / 4;
        guides.radius[guides.circles++] = shorter / 2;
    } else if (kind == GuideCentre) {
        guides.mark = true;
    }
    return guides;
}

GuidePoint window_point(GuidePoint frame_point, const PicturePlace& place) {
    const FrameCrop& crop = place.crop;
    const ShownPoint shown = frame_to_shown(frame_point.x - crop.x, frame_point.y - crop.y,
                                            crop.width, crop.height, place.turn);
    // Multiplied before divided, so that a whole answer comes out whole.
    const PixelRect& p = place.picture;
    return {p.left + shown.x * (p.right - p.left) / shown.width,
            p.top + shown.y * (p.bottom - p.top) / shown.height};
}

GuideStrokes guide_strokes(int32_t kind, const PicturePlace& place, uint32_t dpi) {
    GuideStrokes strokes{};
    strokes.width = std::max(1, scale_units(1, dpi));
    const int32_t width = strokes.width;
    const FrameGuides guides = frame_guides(kind, place.frame_width, place.frame_height);
    for (int32_t i = 0; i < guides.lines; ++i) {
        const GuidePoint a = window_point(guides.line[i].from, place);
        const GuidePoint b = window_point(guides.line[i].to, place);
        // A quarter turn makes the frame's upright lines level.
        const bool upright = guides.line[i].from.x == guides.line[i].to.x;
        PixelRect& r = strokes.stroke[strokes.strokes++];
        if (upright == ((place.turn.quarter & 1) == 0)) {
            stroke_across(pixel_of(a.x), width, &r.left, &r.right);
            r.top = pixel_of(std::min(a.y, b.y));
            r.bottom = pixel_of(std::max(a.y, b.y));
        } else {
            stroke_across(pixel_of(a.y), width, &r.top, &r.bottom);
            r.left = pixel_of(std::min(a.x, b.x));
            r.right = pixel_of(std::max(a.x, b.x));
        }
    }
    const GuidePoint centre = window_point(guides.centre, place);
    if (guides.mark) {
        const int32_t arm = scale_units(mark_arm_units, dpi);
        const int32_t x = pixel_of(centre.x);
        const int32_t y = pixel_of(centre.y);
        PixelRect across{x - arm, 0, x + arm + 1, 0};
        stroke_across(y, width, &across.top, &across.bottom);
        PixelRect down{0, y - arm, 0, y + arm + 1};
        stroke_across(x, width, &down.left, &down.right);
        strokes.stroke[strokes.strokes++] = across;
        strokes.stroke[strokes.strokes++] = down;
    }
    // A circle's box is its frame box mapped: a quarter turn keeps it a box.
    for (int32_t i = 0; i < guides.circles; ++i) {
        const double r = guides.radius[i];
        const GuidePoint a = window_point({guides.centre.x - r, guides.centre.y - r}, place);
        const GuidePoint b = window_point({guides.centre.x + r, guides.centre.y + r}, place);
        strokes.circle[strokes.circles++] = {
            int32_t(std::lround(std::min(a.x, b.x))), int32_t(std::lround(std::min(a.y, b.y))),
            int32_t(std::lround(std::max(a.x, b.x))), int32_t(std::lround(std::max(a.y, b.y)))};
    }
    return strokes;
}

PixelRect stroke_outline(const PixelRect& stroke, int32_t width) {
    return {stroke.left - width, stroke.top - width, stroke.right + width, stroke.bottom + width};
}
