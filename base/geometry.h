#pragma once
// Pixel rectangles and the DPI arithmetic every subsystem shares: sizes are
// designed at 96 DPI and scaled like MulDiv(units, dpi, 96). Platform-free.

#include <cstdint>

// A client-pixel rectangle, right and bottom exclusive. The Windows side
// converts RECT to and from this at its boundary (base/geometry_win.h).
struct PixelRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// MulDiv: a x b / c rounded to the nearest integer, halves away from zero;
// -1 for a zero divisor or a result beyond 32 bits, as MulDiv answers.
int32_t mul_div(int32_t a, int32_t b, int32_t c);

inline int32_t scale_units(int32_t units, uint32_t dpi) {
    return mul_div(units, int32_t(dpi), 96);
}

// Font height for a point size: -MulDiv(points, dpi, 72).
inline int32_t font_height(int32_t points, uint32_t dpi) {
    return -mul_div(points, int32_t(dpi), 72);
}
