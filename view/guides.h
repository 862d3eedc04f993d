#pragma once
// The guides over the picture: a thirds grid, a crosshair with two circles,
// a centre mark. They belong to the picture, not the window: they lie in
// frame coordinates and reach the window through the crop, stretch, quarter
// turn and mirror that painting gives the pixels, so they zoom, pan, turn and
// mirror with it. Their strokes do not grow with the zoom: one unit wide, a
// light stroke on a dark outline. Platform-free.

#include <cstdint>

#include "base/geometry.h"
#include "view/paint_geometry.h"
#include "view/picture_turn.h"

// Where a paint put the picture: the crop of a frame_width x frame_height
// frame stretched over `picture`, turned clockwise, then mirrored.
struct PicturePlace {
    int32_t frame_width;
    int32_t frame_height;
    FrameCrop crop;
    PixelRect picture;
    PictureTurn turn;
};

// A point between pixels: (0, 0) is the top-left corner of the first pixel,
// (width, height) the bottom-right corner of the last.
struct GuidePoint {
    double x;
    double y;
};

// A guide in frame coordinates: lines from one end to the other, circles
// around the centre, and the centre mark, whose size is the screen's.
struct GuideLine {
    GuidePoint from;
    GuidePoint to;
};
struct FrameGuides {
    GuideLine line[4];
    int32_t lines;
    double radius[2];
    int32_t circles;
    bool mark;
    GuidePoint centre;
};
// The guide of a GuideKind over a width x height frame; an unknown kind is none.
FrameGuides frame_guides(int32_t kind, int32_t width, int32_t height);

// Where a frame point shows in the window.
GuidePoint window_point(GuidePoint frame_point, const PicturePlace& place);

// What painting draws: the light strokes as pixel rectangles, and the
// circles' bounding boxes in window pixels. The dark outline of a stroke is
// the stroke grown by `width` all round; a circle's dark pen is three widths.
struct GuideStrokes {
    PixelRect stroke[4];
    int32_t strokes;
    PixelRect circle[2];
    int32_t circles;
    int32_t width; // of the light stroke: one unit at the window's DPI
};
GuideStrokes guide_strokes(int32_t kind, const PicturePlace& place, uint32_t dpi);
PixelRect stroke_outline(const PixelRect& stroke, int32_t width);
