#pragma once
// The picture as shown: the frame turned clockwise by quarter turns, then
// mirrored left to right. The view (zoom and centre) stays in the frame's own
// coordinates, so only the mapping to and from the screen changes.
// Platform-free.

#include <cstdint>

#include "view/view_model.h"

struct PictureTurn {
    int32_t quarter; // clockwise quarter turns, 0..3
    bool mirror;
};

// Settings store degrees: 90, 180 or 270 turn the picture, anything else
// is no turn.
int32_t quarter_of_degrees(int32_t degrees);
int32_t degrees_of_quarter(int32_t quarter);
// One quarter turn more (clockwise) or less.
int32_t turned_quarter(int32_t quarter, int32_t by);

// The shown size of a width x height frame.
int32_t shown_width(int32_t width, int32_t height, int32_t quarter);
int32_t shown_height(int32_t width, int32_t height, int32_t quarter);

// A point of the shown picture in unit coordinates (0..1 across and down)
// as a point of the frame, and a movement on the screen as one in the frame.
UnitPoint shown_to_frame(UnitPoint shown, const PictureTurn& turn);
UnitPoint shown_move_to_frame(double du, double dv, const PictureTurn& turn);

// A point (x, y) of a width x height picture as the turned and mirrored
// picture shows it, in that picture's own units, with its size: the inverse
// of shown_to_frame, kept exact for whole numbers.
struct ShownPoint {
    double x;
    double y;
    double width;
    double height;
};
ShownPoint frame_to_shown(double x, double y, double width, double height, const PictureTurn& turn);

// The frame pixel shown at column x, row y of the shown picture of a
// width x height frame (both in pixels).
void frame_pixel_of(int32_t x, int32_t y, int32_t width, int32_t height, const PictureTurn& turn,
                    int32_t* frame_x, int32_t* frame_y);

// Copies the crop (x, y, w, h) of a frame `stride` pixels wide into `out`,
// turned by `quarter` (1 or 3): h pixels wide and w rows, top row first.
// With `shrink` 2, each out pixel is the mean of a 2 x 2 block, so the out
// picture is h / 2 wide and w / 2 high (an odd last row or column is left
// out): when the picture is shown at half the crop's size or less, that
// halves what is written and what the stretch reads. Mirroring is left to the
// stretch. Works in tiles, so that neither side is walked across rows pixel
// by pixel.
// 2 when a crop of crop_w x crop_h, turned a quarter, is shown in a
// dest_w x dest_h rectangle at half its size or less both ways; else 1.
int32_t turn_shrink(int32_t crop_w, int32_t crop_h, int32_t dest_w, int32_t dest_h);
void turn_crop(uint32_t* out, const uint32_t* frame, int32_t stride, int32_t x, int32_t y,
               int32_t w, int32_t h, int32_t quarter, int32_t shrink = 1);
