#include "view/picture_turn.h"

#include <algorithm>
#include <cstddef>

int32_t quarter_of_degrees(int32_t degrees) {
    switch (degrees) {
    case 90:
        return 1;
    case 180:
        return 2;
    case 270:
        return 3;
    default:
        return 0;
    }
}

int32_t degrees_of_quarter(int32_t quarter) {
    return (quarter & 3) * 90;
}

int32_t turned_quarter(int32_t quarter, int32_t by) {
    return (quarter + by) & 3;
}

int32_t shown_width(int32_t width, int32_t height, int32_t quarter) {
    return (quarter & 1) != 0 ? height : width;
}

int32_t shown_height(int32_t width, int32_t height, int32_t quarter) {
    return (quarter & 1) != 0 ? width : height;
}

UnitPoint shown_to_frame(UnitPoint shown, const PictureTurn& turn) {
    const double u = turn.mirror ? 1.0 - shown.u : shown.u;
    const double v = shown.v;
    switch (turn.quarter & 3) {
    case 1:
        return {v, 1.0 - u};
    case 2:
        return {1.0 - u, 1.0 - v};
    case 3:
        return {1.0 - v, u};
    default:
        return {u, v};
    }
}

ShownPoint frame_to_shown(double x, double y, double width, double height,
                          const PictureTurn& turn) {
    ShownPoint shown{x, y, width, height};
    switch (turn.quarter & 3) {
    case 1:
        shown = {height - y, x, height, width};
        break;
    case 2:
        shown = {width - x, height - y, width, height};
        break;
    case 3:
        shown = {y, width - x, height, width};
        break;
    default:
        break;
    }
    if (turn.mirror) {
        shown.x = shown.width - shown.x;
    }
    return shown;
}

UnitPoint shown_move_to_frame(double du, double dv, const PictureTurn& turn) {
    const double u = turn.mirror ? -du : du;
    switch (turn.quarter & 3) {
    case 1:
        return {dv, -u};
    case 2:
        return {-u, -dv};
    case 3:
        return {-dv, u};
    default:
        return {u, dv};
    }
}

void frame_pixel_of(int32_t x, int32_t y, int32_t width, int32_t height, const PictureTurn& turn,
                    int32_t* frame_x, int32_t* frame_y) {
    const int32_t shown = shown_width(width, height, turn.quarter);
    const int32_t sx = turn.mirror ? shown - 1 - x : x;
    switch (turn.quarter & 3) {
    case 1:
        *frame_x = y;
        *frame_y = height - 1 - sx;
        break;
    case 2:
        *frame_x = width - 1 - sx;
        *frame_y = height - 1 - y;
        break;
    case 3:
        *frame_x = width - 1 - y;
        *frame_y = sx;
        break;
    default:
        *frame_x = sx;
        *frame_y = y;
        break;
    }
}

namespace {

// The mean of four pixels, each byte on its own: the bytes are summed in
// 16-bit lanes, two lanes of a 32-bit word at a time.
uint32_t mean_of_four(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    constexpr uint32_t lanes = 0x00FF00FFu;
    const uint32_t even = (a & lanes) + (b & lanes) + (c & lanes) + (d & lanes);
    const uint32_t odd =
        ((a >> 8) & lanes) + ((b >> 8) & lanes) + ((c >> 8) & lanes) + ((d >> 8) & lanes);
    return ((even >> 2) & lanes) | (((odd >> 2) & lanes) << 8);
}

} // namespace

int32_t turn_shrink(int32_t crop_w, int32_t crop_h, int32_t dest_w, int32_t dest_h) {
    // Turned, the crop's height runs across the screen.
    return int64_t{dest_w} * 2 <= crop_h && int64_t{dest_h} * 2 <= crop_w ? 2 : 1;
}

void turn_crop(uint32_t* out, const uint32_t* frame, int32_t stride, int32_t x, int32_t y,
               int32_t w, int32_t h, int32_t quarter, int32_t shrink) {
    // Out row r, column c shows crop pixel (r, h - 1 - c) for a clockwise
    // turn and (w - 1 - r, c) for an anticlockwise one; shrunk, the 2 x 2
    // block of turned pixels from (2r, 2c).
    constexpr int32_t tile = 32;
    const bool clockwise = (quarter & 3) == 1;
    const int32_t s = shrink == 2 ? 2 : 1;
    const int32_t rows = w / s;
    const int32_t columns = h / s;
    // The frame pixel of turned pixel (0, 0), and the steps to the next
    // turned row and column.
    const ptrdiff_t line_step = ptrdiff_t(stride);
    const uint32_t* origin = frame + size_t(y + (clockwise ? h - 1 : 0)) * size_t(stride) +
                             size_t(x + (clockwise ? 0 : w - 1));
    const ptrdiff_t row_step = clockwise ? 1 : -1;
    const ptrdiff_t column_step = clockwise ? -line_step : line_step;
    for (int32_t r0 = 0; r0 < rows; r0 += tile) {
        for (int32_t c0 = 0; c0 < columns; c0 += tile) {
            const int32_t r1 = std::min(rows, r0 + tile);
            const int32_t c1 = std::min(columns, c0 + tile);
            for (int32_t r = r0; r < r1; ++r) {
                uint32_t* row = out + size_t(r) * size_t(columns);
                const uint32_t* first = origin + ptrdiff_t(r) * s * row_step;
                if (s == 1) {
                    for (int32_t c = c0; c < c1; ++c) {
                        row[c] = first[ptrdiff_t(c) * column_step];
                    }
                } else {
                    for (int32_t c = c0; c < c1; ++c) {
                        const uint32_t* p = first + ptrdiff_t(c) * 2 * column_step;
                        row[c] = mean_of_four(p[0], p[column_step], p[row_step],
                                              p[row_step + column_step]);
                    }
                }
            }
        }
    }
}
