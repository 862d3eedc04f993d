#pragma once
// Mouse navigation of the picture: drag to pan, wheel to zoom about the
// pointer, double-click to reset, the move cursor over a zoomed picture.
// Each gesture starts only while streaming and inside the video area.
// User-interface thread only.

#include <windows.h>

#include "view/navigation_rules.h"

bool video_hit_test(POINT client_point);
// WM_SETCURSOR; true when it set the move cursor.
bool navigation_set_cursor(WPARAM wparam, LPARAM lparam);
// In the compact view a drag that would not pan moves the window instead.
void navigation_button_down(WPARAM wparam, LPARAM lparam);
void navigation_mouse_move(LPARAM lparam);
void navigation_button_up();
void navigation_capture_changed();
void navigation_double_click(LPARAM lparam);
void navigation_wheel(WPARAM wparam, LPARAM lparam);
