#pragma once
// The info line's Windows side: the command that shows it, the measuring of
// the window's own paints, and the box it is drawn in. User-interface thread
// only; what the camera delivers is measured by the capture worker.

#include <windows.h>

#include <cstdint>

#include "capture/frame_timing.h"
#include "view/info_line.h"

// The window's part of the line: when it showed a new frame, in 100 ns of
// the performance counter, and the rate last published from that.
struct InfoLineState {
    FrameTiming shown;
    int32_t shown_centi;
};

// From the remembered setting, when the window is made.
void info_line_start();
// The command: on or off, remembered; turning it on counts afresh.
void toggle_info_line();
// After each paint: whether it showed a frame that was new.
void info_line_note_paint(bool new_frame);

// The line's text and its box in `area`, measured in `font`; an empty box
// when the line is off or there is no picture to show it over.
RECT info_line_rect(HDC dc, const RECT& area, HFONT font, wchar_t* text, size_t units);
// Light text on a black box, drawn in one call so that it does not flicker.
void paint_info_line(HDC dc, const RECT& box, const wchar_t* text, HFONT font);
