#pragma once
// The arithmetic of mouse navigation. Platform-free.

#include <cstdint>

#include "view/picture_turn.h"
#include "view/view_model.h"

struct DragState {
    int dragging; // a pan drag holds the mouse capture
    int32_t last_x;
    int32_t last_y;
};

// The picture rectangle navigation works with: the area fitted to the known
// frame size, 16 x 9 until a frame is known. With `fill` (the round window)
// the picture's middle square fills the area, as painting shows it, and the
// rest of the picture lies beyond the area's edges.
PixelRect navigation_picture(const PixelRect& area, int32_t known_width, int32_t known_height,
                             bool fill = false);

// The view stays in frame coordinates when the picture is shown turned or
// mirrored; only its mapping to the screen changes, and both gestures follow
// the picture as shown.

// One drag step from the previous pointer position to (x, y). Pans when the
// picture is not empty and returns whether it did; the position is recorded
// in every case. The picture follows the pointer as the user sees it.
bool drag_step(DragState& drag, ViewState& view, const PixelRect& picture, int32_t x, int32_t y,
               const PictureTurn& turn);

// One wheel event of `delta` at client point (x, y): zoom by 1.25 a notch
// about the picture point under the pointer (clamped onto the picture).
void wheel_zoom(ViewState& view, const PixelRect& picture, int32_t x, int32_t y, int32_t delta,
                const PictureTurn& turn);

// In the compact view a drag of the picture moves the window whenever it
// would not pan (zoom 1, or no picture shown); Ctrl+drag moves it at any zoom.
bool drag_moves_window(bool compact, double zoom, bool picture_shown, bool control_key);
