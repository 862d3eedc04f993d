#pragma once
// The arithmetic of painting: which part of the frame the view shows, where
// the status text goes, and the black bars around the picture. Platform-free.

#include <cstdint>

#include "view/view_model.h"

// The source rectangle of the stretch: the crop of a fw x fh frame, in frame
// pixels, kept inside the frame.
struct FrameCrop {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};
FrameCrop frame_crop(int32_t frame_width, int32_t frame_height, const ViewState& view);
// The round window shows no bars: the stretch spreads the crop's middle
// square, around the same centre, over the whole square window.
FrameCrop square_crop(const FrameCrop& crop);
// Where the marks drawn near the edges (the pause sign, the save tip) show
// whole: the area, or for the circle the square inside it.
PixelRect shape_inner_area(const PixelRect& area, bool circle);

// The columns the stretch draws the picture into: its left edge and width, or
// for a mirrored picture its right-most column and the negative width. GDI
// mirrors when the source and destination widths differ in sign, and a
// negative width runs leftwards from its start column, that column included.
struct StretchColumns {
    int32_t start;
    int32_t width;
};
StretchColumns stretch_columns(const PixelRect& picture, bool mirror);
// The same for the rows: a picture turned upside down runs upwards from its
// last row.
StretchColumns stretch_rows(const PixelRect& picture, bool flip);

// The frozen picture's pause sign: two bars in a 16 x 16 unit box, 8 units in
// from the video area's top-right corner.
struct PauseSign {
    PixelRect bar[2];
};
PauseSign pause_sign(const PixelRect& area, uint32_t dpi);

// The rectangle the status text is laid out in before it is measured: the
// area less trunc(24 x scale) on each side.
PixelRect status_text_bounds(const PixelRect& area, double scale);
// Where a measured text block of `text_height` ends up: its bottom
// trunc(8 x scale) above the area's vertical centre, growing upward.
PixelRect status_text_place(const PixelRect& bounds, const PixelRect& area, double scale,
                            int32_t text_height);

// The save tip's box around a measured text of text_width x text_height:
// centred, 8 units of padding across and 4 down, its bottom 12 units above
// the area's; kept inside the area.
PixelRect save_tip_box(const PixelRect& area, int32_t text_width, int32_t text_height,
                       uint32_t dpi);

// The four bands around the picture, in painting order: above, below, left,
// right. A band may be empty.
struct Bars {
    PixelRect band[4];
};
Bars bars_around(const PixelRect& area, const PixelRect& picture);
