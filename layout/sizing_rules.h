#pragma once
// The arithmetic that keeps the video area at the picture's aspect ratio.
// Platform-free: the window side supplies the non-client and toolbar sizes.

#include <cstdint>

#include "view/view_model.h"

// WMSZ_* edge values.
enum SizingEdge : int32_t {
    EdgeLeft = 1,
    EdgeRight = 2,
    EdgeTop = 3,
    EdgeTopLeft = 4,
    EdgeTopRight = 5,
    EdgeBottom = 6,
    EdgeBottomLeft = 7,
    EdgeBottomRight = 8,
};

struct SizingFrame {
    int32_t toolbar;          // toolbar height T
    int32_t min_video_width;  // Wmin
    int32_t nonclient_width;  // NW
    int32_t nonclient_height; // NH
};

// The aspect the window keeps: the picture's, where a known size below 1
// counts as 16 (width) or 9 (height), each on its own; or 1:1 for the round
// compact window, whatever the picture.
struct Aspect {
    int32_t width;
    int32_t height;
};
Aspect window_aspect(int32_t known_width, int32_t known_height, bool square);
// `r` given the aspect aw:ah about its centre, its shorter side kept: the
// square of a rectangle is its middle, and the rectangle around a square has
// the square as its middle.
PixelRect reshape_about_centre(const PixelRect& r, const Aspect& aspect);

// Adjusts the proposed outer rectangle `r` for a drag of `edge` so the video
// area keeps aw:ah and at least the minimum width.
PixelRect sizing_rect(int32_t edge, const PixelRect& r, double aw, double ah,
                      const SizingFrame& frame);

// The minimum tracking size: Wmin wide, 9/16 of that high, plus the toolbar
// and the frame.
void minimum_track_size(const SizingFrame& frame, int32_t* width, int32_t* height);

// The video height that gives a client of `client_width` the frame's aspect.
int32_t fitted_video_height(int32_t client_width, int32_t frame_width, int32_t frame_height);

// The outer rectangle for a new frame size: the window keeps its place and
// width and takes the frame's aspect, unless that runs past the bottom of the
// work area; then it shrinks, aspect kept, to end there, and when even the
// minimum width is too tall for the room below its top, it moves up (never
// above the work area's top).
PixelRect fit_window_to_frame(const PixelRect& outer, int32_t client_width, int32_t frame_width,
                              int32_t frame_height, const SizingFrame& frame,
                              const PixelRect& work);

// The compact window is the picture alone: no frame, no toolbar. It can be
// resized from a band of `band` pixels inside each edge; returns the edge
// (a SizingEdge) under client point (x, y) of a width x height window, or 0
// inside the band.
int32_t compact_edge_at(int32_t width, int32_t height, int32_t x, int32_t y, int32_t band);
// The radius of the corners the shape (a WindowShape) cuts off a width x
// height window: none, 12 units, or half the shorter side for the circle.
int32_t shape_radius(int32_t shape, int32_t width, int32_t height, uint32_t dpi);
// compact_edge_at for a window whose corners are arcs of `radius`: in a
// corner the band runs along the arc, and the edge is the one of the eight
// nearest to the point's direction from the arc's centre. For the circle
// every point lies in a corner.
int32_t shape_edge_at(int32_t width, int32_t height, int32_t x, int32_t y, int32_t band,
                      int32_t radius);
// The smallest compact window: `min_width` wide, its height by the aspect.
void compact_minimum_size(int32_t min_width, double aw, double ah, int32_t* width, int32_t* height);
// The maximised compact window: the largest rectangle of the aspect aw:ah
// inside `work`, centred in it.
PixelRect largest_aspect_rect(const PixelRect& work, double aw, double ah);
// `r` moved, not resized, so that it lies inside `work` as far as it fits;
// a rectangle larger than the work area keeps to its left and top edges.
PixelRect keep_inside(const PixelRect& r, const PixelRect& work);

// The middle of the top edge of a remembered window rectangle, the point
// that decides whether the rectangle is still on a monitor. False when it lies
// outside 32-bit screen coordinates, where no monitor can be: the window is
// then placed as if nothing were remembered.
bool top_edge_middle(int32_t x, int32_t width, int32_t* middle_x);
