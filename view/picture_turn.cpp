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

void turn_crop(uint32_t* out, const uint32_t* frame, int32_t stride, int32_t x, int32_t y,
               int32_t w, int32_t h, int32_t quarter) {
    // Out row r, column c shows crop pixel (r, h - 1 - c) for a clockwise
    // turn and (w - 1 - r, c) for an anticlockwise one.
    constexpr int32_t tile = 32;
    const bool clockwise = (quarter & 3) == 1;
    for (int32_t r0 = 0; r0 < w; r0 += tile) {
        for (int32_t c0 = 0; c0 < h; c0 += tile) {
            const int32_t r1 = std::min(w, r0 + tile);
            const int32_t c1 = std::min(h, c0 + tile);
            for (int32_t r = r0; r < r1; ++r) {
                uint32_t* row = out + size_t(r) * size_t(h);
                const int32_t column = x + (clockwise ? r : w - 1 - r);
                for (int32_t c = c0; c < c1; ++c) {
                    const int32_t line = y + (clockwise ? h - 1 - c : c);
                    row[c] = frame[size_t(line) * size_t(stride) + size_t(column)];
                }
            }
        }
    }
}
