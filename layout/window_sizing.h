#pragma once
// Window sizing: the minimum size, the aspect lock while an edge is dragged,
// DPI changes, the adoption of a new frame size and the remembered normal
// rectangle. User-interface thread only.

#include <windows.h>

#include <cstdint>

#include "layout/sizing_rules.h"

void nonclient_size(int32_t* width, int32_t* height);
void on_get_min_max_info(MINMAXINFO* info);
void on_sizing(WPARAM edge, RECT* rect);
void on_dpi_changed(WPARAM wparam, const RECT* suggested);
void on_app_frame();
// The known frame size as the picture is shown, turned or not.
int32_t shown_known_width();
int32_t shown_known_height();
// The aspect the window keeps now: the shown picture's, 1:1 for the round
// compact window. The aspect lock, the least and the maximised compact sizes
// and the fit to a new frame size, turn or format all take it from here.
Aspect shown_aspect();
// Reshapes a normal window to the shown picture's aspect, as a new frame
// size does.
void fit_window_to_picture();
// The monitor the main window is on (or nearest to): its whole and its work
// area.
MONITORINFO window_monitor();
void remember_window_rect();
