#pragma once
// Which part of a decoded frame is the picture. Compressed video is coded in
// whole macroblocks, so 1080 rows arrive as 1088; the media type then names
// the area that holds the picture (an aperture), and the rows and columns
// outside it are never shown, copied or saved. Platform-free: the worker
// reads the apertures off the type and passes them here.

#include <cstdint>

// An aperture as Media Foundation's MFVideoArea carries it: each offset in
// 16.16 fixed point (MFOffset: value + fraction / 65536, the whole part
// signed), the size in whole pixels.
struct VideoArea {
    uint16_t x_fraction;
    int16_t x;
    uint16_t y_fraction;
    int16_t y;
    int32_t width;
    int32_t height;
};

// A rectangle of the coded frame, in whole pixels.
struct PictureArea {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

// The picture inside a coded frame: the minimum display aperture when the
// type has a usable one, else the geometric aperture, else the whole frame
// (null: the type has no such aperture). Offsets go to the nearest whole
// pixel; an aperture reaching past the frame is cut to it, and one with no
// pixel inside it, or without a size, is not usable.
PictureArea picture_area(const VideoArea* minimum_display, const VideoArea* geometric,
                         int32_t coded_width, int32_t coded_height);
