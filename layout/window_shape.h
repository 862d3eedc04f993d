#pragma once
// The compact window's shape: a rectangle, rounded corners or a circle. What
// lies outside the shape is no part of the window: a window region, which
// the system owns once it is set, built anew for every size and DPI.
// User-interface thread only.

#include <windows.h>

#include <cstdint>

// The shape the window has now: the remembered one in the compact view, the
// rectangle in the framed window and in full screen.
int32_t shape_shown();
// The window region of the shape shown, or none for the rectangle.
void shape_update_region();
// WM_WINDOWPOSCHANGED: a new size needs a new region.
void shape_window_pos_changed(const WINDOWPOS* pos);

// The compact view without full screen: where the shape shows.
bool shape_applies();
// The commands: a shape, remembered for the compact view and taken on at
// once in it, and the next shape, which works only where the shape shows:
// elsewhere a key that changed nothing to be seen would be a surprise later.
void set_shape(int32_t shape);
void step_shape();
