#include "view/picture_copy.h"

#include <cstddef>
#include <cstring>

void copy_picture_rows(uint8_t* bitmap_rows, const uint8_t* frame, int32_t width, int32_t height,
                       const PictureTurn& turn, RowOrder order) {
    const int32_t shown_w = shown_width(width, height, turn.quarter);
    const int32_t shown_h = shown_height(width, height, turn.quarter);
    for (int32_t y = 0; y < shown_h; ++y) {
        const int32_t row = order == RowOrder::TopDown ? y : shown_h - 1 - y;
        uint8_t* target = bitmap_rows + size_t(row) * size_t(shown_w) * 4;
        for (int32_t x = 0; x < shown_w; ++x) {
            int32_t fx = 0;
            int32_t fy = 0;
            frame_pixel_of(x, y, width, height, turn, &fx, &fy);
            uint32_t pixel;
            std::memcpy(&pixel, frame + (size_t(fy) * size_t(width) + size_t(fx)) * 4, 4);
            pixel |= 0xFF000000u; // little-endian: the fourth byte
            std::memcpy(target + size_t(x) * 4, &pixel, 4);
        }
    }
}
