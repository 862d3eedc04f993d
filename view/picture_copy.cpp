#include "view/picture_copy.h"

#include <cstddef>
#include <cstring>

void copy_picture_rows(uint8_t* bitmap_rows, const uint8_t* frame, int32_t width, int32_t height,
                       bool mirror) {
    const size_t row_pixels = size_t(width);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* source = frame + size_t(height - 1 - y) * row_pixels * 4;
        uint8_t* target = bitmap_rows + size_t(y) * row_pixels * 4;
        for (size_t x = 0; x < row_pixels; ++x) {
            const size_t from = (mirror ? row_pixels - 1 - x : x) * 4;
            uint32_t pixel;
            std::memcpy(&pixel, source + from, 4);
            pixel |= 0xFF000000u; // little-endian: the fourth byte
            std::memcpy(target + x * 4, &pixel, 4);
        }
    }
}
